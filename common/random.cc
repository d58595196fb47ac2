#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace lorvex {

namespace {

// The standard's parameters of mt19937_64: word size 64, state size n = 312, shift size
// m = 156, mask bits r = 31, twist matrix a, tempering u, d, s, b, t, c, l, and the
// initialisation multiplier f.
constexpr std::size_t kN = 312;
constexpr std::size_t kM = 156;
constexpr std::uint64_t kMatrix = 0xb5026f5aa96619e9ULL;
constexpr std::uint64_t kUpperMask = ~std::uint64_t{0} << 31;
constexpr std::uint64_t kLowerMask = ~kUpperMask;
constexpr std::uint64_t kInitMultiplier = 6364136223846793005ULL;

// One step of the twist: the upper 33 bits of one word and the lower 31 of the next,
// shifted and mixed with the matrix when odd, against the word m further on.
inline std::uint64_t Twist(std::uint64_t current, std::uint64_t following, std::uint64_t far) {
  const std::uint64_t y = (current & kUpperMask) | (following & kLowerMask);
  return far ^ (y >> 1) ^ ((0 - (y & 1)) & kMatrix);
}

inline std::uint64_t Temper(std::uint64_t z) {
  z ^= (z >> 29) & 0x5555555555555555ULL;
  z ^= (z << 17) & 0x71d67fffeda60000ULL;
  z ^= (z << 37) & 0xfff7eee000000000ULL;
  z ^= z >> 43;
  return z;
}

}  // namespace

void Random::Seed(std::uint64_t seed) {
  seed_ = seed;
  state_[0] = seed;
  for (std::size_t i = 1; i < kN; ++i)
    state_[i] = kInitMultiplier * (state_[i - 1] ^ (state_[i - 1] >> 62)) + i;
  next_ = kN;
  refills_ = 0;
}

// The refill runs four words at once where the processor has 256-bit vector instructions,
// two at once otherwise: the compiler makes both and the loader picks one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void Random::Refill() {
  static_assert(kN == kStateWords);
  std::uint64_t* x = state_.data();
  // The first n - m words mix with old words m further on, the rest with words this twist
  // has already made: each loop reads nothing it writes within a few words, so it runs on
  // several words at once.
  for (std::size_t i = 0; i < kN - kM; ++i) x[i] = Twist(x[i], x[i + 1], x[i + kM]);
  for (std::size_t i = kN - kM; i < kN - 1; ++i) x[i] = Twist(x[i], x[i + 1], x[i + kM - kN]);
  x[kN - 1] = Twist(x[kN - 1], x[0], x[kM - 1]);
  for (std::size_t i = 0; i < kN; ++i) outputs_[i] = Temper(x[i]);
  next_ = 0;
  ++refills_;
}

void Random::Discard(std::uint64_t n) {
  while (n > 0) {
    if (next_ == kN) Refill();
    const std::uint64_t step = std::min<std::uint64_t>(n, kN - next_);
    next_ += static_cast<std::size_t>(step);
    n -= step;
  }
}

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
