// A file written beside its destination and renamed into place only when it is complete,
// so that a failed export leaves either the old file or nothing, never half a file.
//
// The destination is a regular file or nothing yet: a save to a device, a FIFO, a folder
// or a socket is refused, as renaming over it would put a plain file in its place (as root,
// over /dev/null). A symbolic link is followed, link by link, and the file it names is
// written (beside that file, and renamed over it), so the link stays a link.
#pragma once

#include <cstdio>
#include <string>

namespace lorvex {

class AtomicFile {
 public:
  explicit AtomicFile(std::string path);
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  // Removes the partial file unless it was published.
  ~AtomicFile();

  // Follows the destination's links, refuses one that is not a regular file, and creates
  // the partial file beside it, under a name no other file has.
  bool Open(std::string& error);
  // The partial file's stream, between Open and Finish.
  std::FILE* Stream() const { return stream_; }
  // Flushes and closes the partial file; false when any write to it failed.
  bool Finish(std::string& error);
  // Renames the finished partial file over the destination.
  bool Publish(std::string& error);

  const std::string& Path() const { return path_; }
  const std::string& PartialPath() const { return partialPath_; }  // once opened

 private:
  std::string path_;
  std::string target_;  // path_ with its symbolic links followed, once opened
  std::string partialPath_;
  std::FILE* stream_ = nullptr;
  bool finished_ = false;
  bool published_ = false;
};

}  // namespace lorvex
