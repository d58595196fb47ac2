// The text of a system error number. std::strerror may hand back a buffer that every thread
// shares; this copies the text through strerror_r, so builds on several threads can report
// their file errors at once.
#pragma once

#include <string>

namespace lorvex {

// The system's text for errno value `error`, e.g. "No such file or directory".
std::string ErrorText(int error);

}  // namespace lorvex
