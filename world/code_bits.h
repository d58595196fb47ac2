// Rows of terrain codes as bits, eight squares at a time: scans that only ask whether a
// square is land, or open sea, read a word of eight codes and get eight bits back. Bit i of
// a result is byte i of the word in memory order, square x + i for the word at column x.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "world/world_state.h"

namespace lorvex {

// Byte i of a word read from memory is its bits 8i .. 8i + 7 on the processors this builds for.
static_assert(std::endian::native == std::endian::little, "rows of codes are read as little-endian words");

namespace codebits {
inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
inline constexpr std::uint64_t kAllSea = kOnes * static_cast<unsigned char>(terrain::kSea);

// 0x80 in each byte of `eight` equal to `code`, exactly: no borrow runs from byte to byte.
inline std::uint64_t EqualBytes(std::uint64_t eight, char code) {
  const std::uint64_t t = eight ^ (kOnes * static_cast<unsigned char>(code));
  return ~(((t & kLow7) + kLow7) | t | kLow7);
}

// 0x80 in each byte of `eight` that is water ("T", "B", "A" or "S"), given `seaBytes`, its
// EqualBytes for "S".
inline std::uint64_t WaterBytes(std::uint64_t eight, std::uint64_t seaBytes) {
  return seaBytes | EqualBytes(eight, terrain::kTopBorder) |
         EqualBytes(eight, terrain::kBottomBorder) | EqualBytes(eight, terrain::kAllBorder);
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

// Bit i set when code i of the eight is `code`.
inline std::uint64_t CodeBits8(std::uint64_t eight, char code) {
  return codebits::GatherBytes(codebits::EqualBytes(eight, code));
}

// How many of the eight codes are `code`.
inline int CountCodes8(std::uint64_t eight, char code) {
  return static_cast<int>(((codebits::EqualBytes(eight, code) >> 7) * codebits::kOnes) >> 56);
}

// Bit i set when code i of the eight is land: none of "TBAS".
inline std::uint64_t LandBits8(std::uint64_t eight) {
  using namespace codebits;
  if (eight == kAllSea) return 0;
  return GatherBytes(~WaterBytes(eight, EqualBytes(eight, terrain::kSea)));
}

// Land bits and open-sea bits of a row of `count` codes from one read of each word of eight:
// bit x % 64 of word x / 64 of `land` is set when code x is land, of `sea` when it is "S".
// Writes every word the row's bits fall into (bits past the row's end 0); open sea, most of
// a map, costs one comparison a word of codes.
inline void LandAndSeaBits(const char* codes, std::int32_t count, std::uint64_t* land,
                           std::uint64_t* sea) {
  using namespace codebits;
  std::uint64_t landWord = 0, seaWord = 0;
  // Adds the eight codes of columns x .. x + 7 to the words being made.
  const auto take = [&](std::int32_t x, std::uint64_t eight) {
    const int shift = x % 64;
    if (eight == kAllSea) {
      seaWord |= std::uint64_t{0xff} << shift;
      return;
    }
    const std::uint64_t seaBytes = EqualBytes(eight, terrain::kSea);
    landWord |= GatherBytes(~WaterBytes(eight, seaBytes)) << shift;
    seaWord |= GatherBytes(seaBytes) << shift;
  };
  std::int32_t x = 0;
  for (; x + 8 <= count; x += 8) {
    take(x, EightCodes(codes + x));
    if (x % 64 == 56) {
      land[x / 64] = landWord;
      sea[x / 64] = seaWord;
      landWord = seaWord = 0;
    }
  }
  if (x < count) {
    // The last few codes, the word's other bytes 0: not sea, and their land bits dropped.
    std::uint64_t rest = 0;
    std::memcpy(&rest, codes + x, static_cast<std::size_t>(count - x));
    take(x, rest);
    landWord &= ~std::uint64_t{0} >> (64 - count % 64);
  }
  if (count % 64 != 0) {
    land[count / 64] = landWord;
    sea[count / 64] = seaWord;
  }
}

// The set bits of a word. std::popcount becomes a library call on processors the build may
// not assume a bit-count instruction on; this is a dozen plain instructions.
inline int CountBits(std::uint64_t v) {
  v = v - ((v >> 1) & 0x5555555555555555ULL);
  v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
  v = (v + (v >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
  return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
}

// Sets bit `offset` + x of `bits` (bit i of a row is bit i % 64 of word i / 64) for every x
// of the `count` codes from `codes` that `kind` picks out; `kind` maps a word of eight codes
// to their eight bits, bit i for code i. Eight codes at a time, so `offset` is a multiple of
// 8: then the eight bits of a word of codes fall into one word of bits.
template <typename Kind>
void OrCodeBits(const char* codes, std::int32_t count, std::uint64_t* bits, std::int32_t offset, Kind kind) {
  const auto put = [bits, offset](std::int32_t x, std::uint64_t eight) {
    bits[(offset + x) / 64] |= eight << ((offset + x) % 64);
  };
  std::int32_t x = 0;
  for (; x + 8 <= count; x += 8)
    if (const std::uint64_t eight = kind(EightCodes(codes + x)); eight != 0) put(x, eight);
  if (x == count) return;
  // The last few codes, the word's other bytes 0 and their bits dropped.
  std::uint64_t rest = 0;
  std::memcpy(&rest, codes + x, static_cast<std::size_t>(count - x));
  put(x, kind(rest) & ((std::uint64_t{1} << (count - x)) - 1));
}

}  // namespace lorvex
