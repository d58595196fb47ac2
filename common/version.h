// The component's version numbers, shown by the window and the command-line tools.
#pragma once

namespace lorvex {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 3;
inline constexpr const char* kVersionText = "1.1.3";

}  // namespace lorvex
