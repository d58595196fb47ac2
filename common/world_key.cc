#include "common/world_key.h"

#include <limits>

#include "common/numbers.h"

namespace lorvex {

namespace {

// A run of 1 to 20 decimal digits whose value is at most `most`.
std::optional<std::uint64_t> ReadDecimal(std::string_view digits, std::uint64_t most) {
  const std::optional<std::uint64_t> value = digits.size() <= 20 ? ReadSeed(digits) : std::nullopt;
  return value && *value <= most ? value : std::nullopt;
}

}  // namespace

std::optional<WorldKey> ParseWorldKey(std::string_view text) {
  const std::size_t dash = text.find('-');
  const std::optional<std::uint64_t> seed =
      ReadDecimal(text.substr(0, dash), std::numeric_limits<std::uint64_t>::max());
  if (!seed) return std::nullopt;
  if (dash == std::string_view::npos) return WorldKey{*seed, 0};
  const std::optional<std::uint64_t> draws = ReadDecimal(text.substr(dash + 1), kMostKeyDraws);
  if (!draws) return std::nullopt;
  return WorldKey{*seed, *draws};
}

std::string FormatWorldKey(const WorldKey& key) {
  std::string text = std::to_string(key.seed);
  if (key.draws > 0) text += "-" + std::to_string(key.draws);
  return text;
}

}  // namespace lorvex
