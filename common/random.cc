#include "common/random.h"

#include <cmath>

namespace lorvex {

std::int64_t Random::DrawInt(std::int64_t lo, std::int64_t hi) {
  const double r = Next();
  return static_cast<std::int64_t>(
      std::floor(r * (static_cast<double>(hi) - static_cast<double>(lo) + 1.0) +
                 static_cast<double>(lo)));
}

std::int64_t Random::Item(std::int64_t n) {
  const double r = Next();
  if (n <= 0) return 0;
  return static_cast<std::int64_t>(std::floor(static_cast<double>(n) * r));
}

}  // namespace lorvex
