// The one random generator of a build: uniform draws in [0, 1) from a 64-bit seed.
// Built on std::mt19937_64 with an explicit 53-bit conversion, so one seed gives one
// sequence on every compiler and standard library.
#pragma once

#include <cstdint>
#include <random>

namespace lorvex {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0) : engine_(seed), seed_(seed) {}

  void Seed(std::uint64_t seed) {
    engine_.seed(seed);
    seed_ = seed;
  }
  std::uint64_t SeedValue() const { return seed_; }

  // One fresh draw r, uniform in [0, 1): the top 53 bits of one engine output.
  double Next() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

  // Skips n draws: the generator then stands where n calls of Next would leave it.
  void Discard(std::uint64_t n) { engine_.discard(n); }

  // A whole number from lo to hi inclusive: floor(r * (hi - lo + 1) + lo).
  std::int64_t DrawInt(std::int64_t lo, std::int64_t hi);

  // Item floor(n * r) of n items (0 when n is 0 or less).
  std::int64_t Item(std::int64_t n);

 private:
  std::mt19937_64 engine_;
  std::uint64_t seed_;
};

}  // namespace lorvex
