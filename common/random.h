// The one random generator of a build: uniform draws in [0, 1) from a 64-bit seed.
// The engine is the standard 64-bit Mersenne Twister (std::mt19937_64: the same seeding,
// the same outputs) with an explicit 53-bit conversion, so one seed gives one sequence on
// every compiler and standard library. It is written out here so that its outputs are made
// a block of 312 at a time in loops the compiler can run on several words at once: a large
// build makes tens of millions of draws.
#pragma once

#include <array>
#include <cstdint>

namespace lorvex {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0) { Seed(seed); }

  void Seed(std::uint64_t seed);
  std::uint64_t SeedValue() const { return seed_; }

  // One fresh draw r, uniform in [0, 1): the top 53 bits of one engine output.
  double Next() {
    if (next_ == kStateWords) Refill();
    // Below 2^53, so the signed conversion is exact.
    return static_cast<double>(static_cast<std::int64_t>(outputs_[next_++] >> 11)) * 0x1.0p-53;
  }

  // Skips n draws: the generator then stands where n calls of Next would leave it.
  void Discard(std::uint64_t n);

  // The draws made since the last Seed, by Next and by Discard: where a world's key says
  // the build began (see world_key.h).
  std::uint64_t DrawsMade() const { return refills_ * kStateWords - (kStateWords - next_); }

  // A whole number from lo to hi inclusive: floor(r * (hi - lo + 1) + lo).
  std::int64_t DrawInt(std::int64_t lo, std::int64_t hi);

  // Item floor(n * r) of n items (0 when n is 0 or less).
  std::int64_t Item(std::int64_t n);

 private:
  static constexpr std::size_t kStateWords = 312;

  // The next 312 outputs: the state advanced by one twist, then tempered.
  void Refill();

  std::array<std::uint64_t, kStateWords> state_{};
  std::array<std::uint64_t, kStateWords> outputs_{};
  std::size_t next_ = kStateWords;  // the next output to hand out; 312: a refill is due
  std::uint64_t seed_ = 0;
  std::uint64_t refills_ = 0;  // refills since the last Seed
};

}  // namespace lorvex
