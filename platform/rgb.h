// A colour as red, green and blue, 0 to 255 each.
#pragma once

#include <cstdint>

namespace lorvex::platform {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace lorvex::platform
