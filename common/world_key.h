// A world's key: the seed of the window's generator and the draws it gave away before Build
// was pressed (to Recommend, or to a build that was then stopped, in the same window). One
// key and one parameter set always give one world. Written "SEED" when nothing was drawn
// before the build, "SEED-DRAWS" otherwise, e.g. "42-1873".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lorvex {

struct WorldKey {
  std::uint64_t seed = 0;
  std::uint64_t draws = 0;  // draws skipped after seeding, before the build's first draw

  friend bool operator==(const WorldKey&, const WorldKey&) = default;
};

// The most draws a key may skip. Skipping costs about a nanosecond a draw (a window that
// opens with such a key skips them before it shows), so a key of 2^40 draws opens in some
// twenty minutes; a build stopped after making that many has run for hours. Without a bound
// a typed key could ask for centuries of skipping.
inline constexpr std::uint64_t kMostKeyDraws = std::uint64_t{1} << 40;

// "SEED" or "SEED-DRAWS": decimal digits only, SEED below 2^64, DRAWS at most
// kMostKeyDraws. Nothing for any other text.
std::optional<WorldKey> ParseWorldKey(std::string_view text);

// "SEED" when draws is 0, "SEED-DRAWS" otherwise.
std::string FormatWorldKey(const WorldKey& key);

}  // namespace lorvex
