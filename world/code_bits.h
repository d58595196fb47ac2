// Rows of terrain codes as bits, eight squares at a time: scans that only ask whether a
// square is land, or open sea, read a word of eight codes and get eight bits back. Bit i of
// a result is byte i of the word in memory order, square x + i for the word at column x.
#pragma once

#include <cstdint>
#include <cstring>

#include "world/world_state.h"

namespace lorvex {

namespace codebits {
inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
inline constexpr std::uint64_t kAllSea = kOnes * static_cast<unsigned char>(terrain::kSea);

// 0x80 in each byte of `eight` equal to `code`, exactly: no borrow runs from byte to byte.
inline std::uint64_t EqualBytes(std::uint64_t eight, char code) {
  const std::uint64_t t = eight ^ (kOnes * static_cast<unsigned char>(code));
  return ~(((t & kLow7) + kLow7) | t | kLow7);
}

// The high bit of each byte gathered into bits 0 .. 7: bit 8i + 7 moves to bit 56 + i and no
// two products meet, so nothing carries.
inline std::uint64_t GatherBytes(std::uint64_t highBits) {
  return (((highBits >> 7) & kOnes) * 0x0102040810204080ULL) >> 56;
}
}  // namespace codebits

// The eight codes from `codes` on, as one word.
inline std::uint64_t EightCodes(const char* codes) {
  std::uint64_t eight;
  std::memcpy(&eight, codes, sizeof eight);
  return eight;
}

// Bit i set when code i of the eight is open sea ("S").
inline std::uint64_t SeaBits8(std::uint64_t eight) {
  if (eight == codebits::kAllSea) return 0xff;
  return codebits::GatherBytes(codebits::EqualBytes(eight, terrain::kSea));
}

// Bit i set when code i of the eight is land: none of "TBAS".
inline std::uint64_t LandBits8(std::uint64_t eight) {
  using namespace codebits;
  if (eight == kAllSea) return 0;
  const std::uint64_t water = EqualBytes(eight, terrain::kSea) |
                              EqualBytes(eight, terrain::kTopBorder) |
                              EqualBytes(eight, terrain::kBottomBorder) |
                              EqualBytes(eight, terrain::kAllBorder);
  return GatherBytes(~water);
}

}  // namespace lorvex
