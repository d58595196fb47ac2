#include "common/numbers.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace lorvex {

double RoundHalfEven(double value) { return std::nearbyint(value); }

namespace {

template <typename Int>
Int RoundInto(double value) {
  if (std::isnan(value)) return 0;
  const double r = RoundHalfEven(value);
  if (r <= static_cast<double>(std::numeric_limits<Int>::min()))
    return std::numeric_limits<Int>::min();
  if (r >= static_cast<double>(std::numeric_limits<Int>::max()))
    return std::numeric_limits<Int>::max();
  return static_cast<Int>(r);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int16_t ToInt16(double value) { return RoundInto<std::int16_t>(value); }
std::int32_t ToInt32(double value) { return RoundInto<std::int32_t>(value); }

double ReadFieldNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  std::size_t mantissaDigits = i - digitsStart;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    mantissaDigits += i - fractionStart;
  }
  if (mantissaDigits == 0) return 0.0;
  // An exponent counts only when at least one digit follows it ("5e" reads 5).
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  const std::string number(text.substr(start, i - start));
  double value = std::strtod(number.c_str(), nullptr);
  if (std::isinf(value)) value = value > 0 ? DBL_MAX : -DBL_MAX;
  return value;
}

std::string FormatThousands(std::int64_t value) {
  const bool negative = value < 0;
  const std::uint64_t magnitude =
      negative ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
  const std::string digits = std::to_string(magnitude);
  std::string out;
  const int n = static_cast<int>(digits.size());
  for (int k = 0; k < n; ++k) {
    if (k > 0 && (n - k) % 3 == 0) out += ',';
    out += digits[k];
  }
  return negative ? "-" + out : out;
}

}  // namespace lorvex
