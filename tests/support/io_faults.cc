// liblorvex_io_faults.so (io_faults.h). Called before any C++ object of the process may
// exist (libraries open files as they start), so its state is plain data set on first use.
#include "support/io_faults.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Step { kNone, kCreate, kWrite, kFlush, kClose, kRename, kVanish, kRead };

struct Fault {
  bool configured = false;  // armed or disarmed by a call, or taken from the environment
  Step step = Step::kNone;
  char pathText[512] = {};
  int hits = 0;
  std::FILE* stream = nullptr;  // the write, flush and close faults hit only this stream
};

Fault fault;

// The steps in the order of Step, from kCreate.
Step StepNamed(const char* name) {
  static constexpr const char* kNames[] = {"create", "write", "flush", "close", "rename", "vanish", "read"};
  for (int i = 0; i < 7; ++i)
    if (std::strcmp(kNames[i], name) == 0) return static_cast<Step>(i + 1);
  return Step::kNone;
}

void Set(const char* step, const char* pathText) {
  fault = Fault{};
  fault.configured = true;
  fault.step = StepNamed(step);
  std::snprintf(fault.pathText, sizeof fault.pathText, "%s", pathText);
}

Step Armed() {
  if (!fault.configured) {
    fault.configured = true;
    char step[32] = {};
    const char* setting = std::getenv("LORVEX_IO_FAULT");
    if (setting != nullptr && std::sscanf(setting, "%31[^:]", step) == 1 && setting[std::strlen(step)] == ':')
      Set(step, setting + std::strlen(step) + 1);
  }
  return fault.step;
}

bool Matches(const char* path) {
  return path != nullptr && fault.pathText[0] != '\0' && std::strstr(path, fault.pathText) != nullptr;
}

bool ForWriting(const char* mode) { return mode != nullptr && std::strpbrk(mode, "wa+") != nullptr; }

// The stream opened for writing on a matching path (a save writes one file at a time).
bool Tracked(std::FILE* stream) { return stream != nullptr && stream == fault.stream; }

// Whether the armed fault is `step` and `applies`; if so, a hit, with `error` in errno.
bool Hit(Step step, bool applies, int error) {
  if (Armed() != step || !applies) return false;
  ++fault.hits;
  errno = error;
  return true;
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using OpenFunction = std::FILE* (*)(const char*, const char*);

// The shared part of fopen and fopen64.
std::FILE* Open(OpenFunction real, const char* path, const char* mode) {
  if (Armed() != Step::kNone && Matches(path)) {
    if (ForWriting(mode)) {
      if (Hit(Step::kCreate, true, EROFS)) return nullptr;
      fault.stream = real(path, mode);  // what the write, flush and close faults hit
      return fault.stream;
    }
    if (Hit(Step::kVanish, true, errno)) ::unlink(path);
    // Reading the process's memory from address 0 fails with an input/output error.
    if (Hit(Step::kRead, true, errno)) return real("/proc/self/mem", "rb");
  }
  return real(path, mode);
}

}  // namespace

extern "C" {

void LorvexIoFaultArm(const char* step, const char* pathText) { Set(step, pathText); }

void LorvexIoFaultDisarm(void) { Set("", ""); }

int LorvexIoFaultHits(void) { return fault.hits; }

std::FILE* fopen(const char* path, const char* mode) {
  static const OpenFunction real = Real<OpenFunction>("fopen");
  return Open(real, path, mode);
}

std::FILE* fopen64(const char* path, const char* mode) {
  static const OpenFunction real = Real<OpenFunction>("fopen64");
  return Open(real, path, mode);
}

std::size_t fwrite(const void* data, std::size_t size, std::size_t count, std::FILE* stream) {
  using Function = std::size_t (*)(const void*, std::size_t, std::size_t, std::FILE*);
  static const Function real = Real<Function>("fwrite");
  return Hit(Step::kWrite, Tracked(stream) && size * count > 0, ENOSPC) ? 0 : real(data, size, count, stream);
}

int fflush(std::FILE* stream) {
  using Function = int (*)(std::FILE*);
  static const Function real = Real<Function>("fflush");
  return Hit(Step::kFlush, Tracked(stream), EDQUOT) ? EOF : real(stream);
}

int fclose(std::FILE* stream) {
  using Function = int (*)(std::FILE*);
  static const Function real = Real<Function>("fclose");
  const bool tracked = Tracked(stream);
  if (tracked) fault.stream = nullptr;
  const int result = real(stream);  // the file is closed whatever the fault
  return Hit(Step::kClose, tracked, EIO) ? EOF : result;
}

int rename(const char* from, const char* to) noexcept {
  using Function = int (*)(const char*, const char*);
  static const Function real = Real<Function>("rename");
  return Hit(Step::kRename, Matches(from), EBUSY) ? -1 : real(from, to);
}

}  // extern "C"
