#include "common/numbers.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <locale.h>

namespace lorvex {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The C locale made current for this thread while it lives, so that strtod and snprintf
// read and write a '.' whatever locale the process has set (a window toolkit sets the
// user's). uselocale changes only the calling thread, so builders on other threads are
// not disturbed.
class CLocaleScope {
 public:
  CLocaleScope() : previous_(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(previous_); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  static locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c != static_cast<locale_t>(0) ? c : LC_GLOBAL_LOCALE;
  }
  locale_t previous_;
};

}  // namespace

double ReadCDecimal(std::string_view text) {
  const std::string copy(text);  // strtod needs the end of the number marked
  const CLocaleScope c;
  return std::strtod(copy.c_str(), nullptr);
}

std::string FormatCGeneral(double value, int significantDigits) {
  char text[64];
  int length = 0;
  {
    const CLocaleScope c;
    length = std::snprintf(text, sizeof text, "%.*g", std::clamp(significantDigits, 1, 17), value);
  }
  return length > 0 ? std::string(text, static_cast<std::size_t>(std::min<int>(length, sizeof text - 1)))
                    : std::string();
}

double ReadFieldNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t start = i;  // the digits, without the sign
  // The decimal magnitude of the leading digit: the count of whole-part digits after its
  // leading zeros, or minus the zeros that open the fraction of a number below 1.
  std::int64_t magnitude = 0;
  bool nonZeroSeen = false;
  while (i < text.size() && IsDigit(text[i])) {
    nonZeroSeen = nonZeroSeen || text[i] != '0';
    if (nonZeroSeen) ++magnitude;
    ++i;
  }
  std::size_t mantissaDigits = i - start;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < text.size() && IsDigit(text[i])) {
      if (!nonZeroSeen && text[i] == '0') --magnitude;
      nonZeroSeen = nonZeroSeen || text[i] != '0';
      ++i;
    }
    mantissaDigits += i - fractionStart;
  }
  if (mantissaDigits == 0) return 0.0;
  // An exponent counts only when at least one digit follows it ("5e" reads 5).
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    const bool negativeExponent = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      std::int64_t exponent = 0;
      for (; j < text.size() && IsDigit(text[j]); ++j)
        exponent = std::min<std::int64_t>(exponent * 10 + (text[j] - '0'), 1'000'000'000);
      magnitude += negativeExponent ? -exponent : exponent;
      i = j;
    }
  }
  // The digits read as the C locale reads them, whatever locale the process has set; a
  // number past the largest double saturates there.
  double value = ReadCDecimal(text.substr(start, i - start));
  if (std::isinf(value)) value = DBL_MAX;
  return negative ? -value : value;
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

std::optional<std::uint64_t> ReadSeed(std::string_view text) {
  std::uint64_t seed = 0;
  const char* end = text.data() + text.size();
  const auto [at, failure] = std::from_chars(text.data(), end, seed);
  if (text.empty() || failure != std::errc() || at != end) return std::nullopt;
  return seed;
}

}  // namespace lorvex
