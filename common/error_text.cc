#include "common/error_text.h"

#include <string.h>

namespace lorvex {

namespace {

// GNU strerror_r answers a pointer to the text (in the buffer or a constant one); the XSI
// form answers 0 and fills the buffer. Whichever the C library declares, one of these
// overloads takes its answer.
[[maybe_unused]] std::string Answer(const char* text, const char*) { return text; }
[[maybe_unused]] std::string Answer(int status, const char* buffer) {
  return status == 0 ? buffer : "unknown error";
}

}  // namespace

std::string ErrorText(int error) {
  char buffer[256] = {};
  return Answer(strerror_r(error, buffer, sizeof buffer), buffer);
}

}  // namespace lorvex
