// Number helpers used everywhere: rounding half to even, conversions to the 16- and 32-bit
// whole numbers the builder keeps, and the field reading rule of the parameter boxes.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline double RoundHalfEven(double value) { return std::nearbyint(value); }

// Round half to even, then clamp into the range of the target type (NaN gives 0). Inline:
// the stages convert draws with them square by square.
template <typename Int>
Int RoundInto(double value) {
  if (std::isnan(value)) return 0;
  const double r = RoundHalfEven(value);
  if (r <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  if (r >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  return static_cast<Int>(r);
}
inline std::int16_t ToInt16(double value) { return RoundInto<std::int16_t>(value); }
inline std::int32_t ToInt32(double value) { return RoundInto<std::int32_t>(value); }

// The number a field's text begins with: leading blanks are skipped, then an optional
// sign, digits, an optional fraction and an optional exponent. "12abc" reads 12, "" and
// "abc" read 0, "-7" reads -7, "2.5" reads 2.5. Too large a number saturates at the
// largest finite double instead of overflowing.
double ReadFieldNumber(std::string_view text);

// A seed as written on a command line or typed into a box: decimal digits alone, 0 to
// 18446744073709551615; anything else (a sign, a blank, a number past the top) is none.
std::optional<std::uint64_t> ReadSeed(std::string_view text);

// A decimal number as the C locale writes it ("2.5", "-7", "1e+20"), read whatever locale
// the process has set, the nearest double (an overflow gives an infinity). The text must be
// such a number alone.
double ReadCDecimal(std::string_view text);

// printf's "%.*g" of a number as the C locale writes it, whatever locale the process has
// set: up to `significantDigits` (1 to 17) significant digits, "1e+20" past them.
std::string FormatCGeneral(double value, int significantDigits);

// "###,##0": thousands separated by commas, at least one digit.
std::string FormatThousands(std::int64_t value);

}  // namespace lorvex
