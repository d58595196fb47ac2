// File faults on demand, for the tests of saving and loading. The shared library
// liblorvex_io_faults.so stands in front of the C library's fopen, fwrite, fflush, fclose
// and rename (linked into the test program, or put in front of the command-line tool with
// LD_PRELOAD) and makes one step fail for files whose path contains a given text:
//
//   create  fopen for writing fails            (Read-only file system)
//   write   fwrite writes nothing              (No space left on device)
//   flush   fflush fails                       (Disk quota exceeded)
//   close   fclose closes the file but fails   (Input/output error)
//   rename  rename from the path fails         (Device or resource busy)
//   vanish  fopen for reading finds the file gone: it is deleted just before the open
//   read    fopen for reading opens a stream whose first read fails (Input/output error)
//
// Disarmed it changes nothing. A process that does not call LorvexIoFaultArm takes its
// fault from the environment variable LORVEX_IO_FAULT="step:path-text" at start-up.
#pragma once

#include <string>

extern "C" {

// Arms one fault; it stays armed until disarmed and hits every matching call.
void LorvexIoFaultArm(const char* step, const char* pathText);
void LorvexIoFaultDisarm(void);
// How many calls the armed fault has failed since it was armed.
int LorvexIoFaultHits(void);

}

namespace lorvex::testing {

// Arms a fault for the life of the object.
class ScopedIoFault {
 public:
  ScopedIoFault(const std::string& step, const std::string& pathText) {
    LorvexIoFaultArm(step.c_str(), pathText.c_str());
  }
  ~ScopedIoFault() { LorvexIoFaultDisarm(); }
  int Hits() const { return LorvexIoFaultHits(); }
};

}  // namespace lorvex::testing
