#include "common/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "common/error_text.h"

namespace lorvex {

namespace {
// Saves of one file at once in one process, or partial files left by a process that died;
// beyond this many the save fails instead of searching on.
constexpr int kMostPartialNames = 1000;
// errno can be 0 when an earlier buffered write failed and the flush itself did not.
std::string Reason(int error) { return error == 0 ? "write failed" : ErrorText(error); }
// Links followed before a chain counts as a loop (the system's own limit, ELOOP, is 40).
constexpr int kMostLinks = 40;

// What a destination that exists but is not a regular file is, for the message.
const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// The file `path` names once its links are followed, link by link, so that a link to a
// file not yet there names that file. Empty, with the reason, when it cannot be told or it
// is something other than a regular file.
std::string Destination(const std::string& path, std::string& reason) {
  std::filesystem::path at = path;
  for (int links = 0;; ++links) {
    struct stat status {};
    if (::lstat(at.c_str(), &status) != 0) {
      if (errno == ENOENT) return at.string();  // a new file
      reason = ErrorText(errno);
      return "";
    }
    if (S_ISREG(status.st_mode)) return at.string();
    if (!S_ISLNK(status.st_mode)) {
      reason = std::string("it is ") + KindOf(status.st_mode) + ", not a regular file";
      return "";
    }
    if (links == kMostLinks) {
      reason = ErrorText(ELOOP);
      return "";
    }
    std::error_code failed;
    const std::filesystem::path link = std::filesystem::read_symlink(at, failed);
    if (failed) {
      reason = failed.message();
      return "";
    }
    at = link.is_absolute() ? link : at.parent_path() / link;
  }
}
}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  if (!published_ && !partialPath_.empty()) std::remove(partialPath_.c_str());
}

bool AtomicFile::Open(std::string& error) {
  if (path_.empty()) {
    error = "no file name given";
    return false;
  }
  std::string reason;
  target_ = Destination(path_, reason);
  if (target_.empty()) {
    error = "cannot write " + path_ + ": " + reason;
    return false;
  }
  // The partial file is created only if no file of its name exists ("x"): two processes,
  // or two threads of one, that save to one file at once each write a partial file of
  // their own, the process id and a number telling them apart.
  for (int attempt = 0; attempt < kMostPartialNames; ++attempt) {
    partialPath_ = target_ + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    stream_ = std::fopen(partialPath_.c_str(), "wbx");
    if (stream_ != nullptr) return true;
    if (errno != EEXIST) break;
  }
  const int failure = errno;
  partialPath_.clear();
  error = "cannot create " + path_ + ": " + Reason(failure);
  return false;
}

bool AtomicFile::Finish(std::string& error) {
  if (stream_ == nullptr) {
    error = "cannot write " + path_ + ": the file is not open";
    return false;
  }
  errno = 0;
  const bool failed = std::fflush(stream_) != 0 || std::ferror(stream_) != 0;
  const int flushError = errno;
  std::FILE* stream = std::exchange(stream_, nullptr);
  const bool closeFailed = std::fclose(stream) != 0;
  if (failed || closeFailed) {
    error = "cannot write " + path_ + ": " + Reason(failed ? flushError : errno);
    return false;
  }
  finished_ = true;
  return true;
}

bool AtomicFile::Publish(std::string& error) {
  if (!finished_) {
    error = "cannot write " + path_ + ": the file is not complete";
    return false;
  }
  if (std::rename(partialPath_.c_str(), target_.c_str()) != 0) {
    error = "cannot write " + path_ + ": " + Reason(errno);
    return false;
  }
  published_ = true;
  return true;
}

}  // namespace lorvex
