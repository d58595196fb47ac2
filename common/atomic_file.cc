#include "common/atomic_file.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

#include "common/error_text.h"

namespace lorvex {

namespace {
// Saves of one file at once in one process, or partial files left by a process that died;
// beyond this many the save fails instead of searching on.
constexpr int kMostPartialNames = 1000;
// errno can be 0 when an earlier buffered write failed and the flush itself did not.
std::string Reason(int error) { return error == 0 ? "write failed" : ErrorText(error); }
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
  // The partial file is created only if no file of its name exists ("x"): two processes,
  // or two threads of one, that save to one file at once each write a partial file of
  // their own, the process id and a number telling them apart.
  for (int attempt = 0; attempt < kMostPartialNames; ++attempt) {
    partialPath_ = path_ + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
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
  if (std::rename(partialPath_.c_str(), path_.c_str()) != 0) {
    error = "cannot write " + path_ + ": " + Reason(errno);
    return false;
  }
  published_ = true;
  return true;
}

}  // namespace lorvex
