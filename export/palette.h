// The terrain colours of every picture of a world: the PNG map, the Tiled tileset and any
// other writer draw a square of a given terrain code in the one colour this table gives it.
// The table's order is also the tile order of the Tiled tileset.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/rgb.h"

namespace lorvex {

using Rgb = platform::Rgb;

struct PaletteEntry {
  char code;              // the terrain letter of the world map
  std::string_view name;  // what a map maker reads beside the colour
  Rgb colour;
};

// Every terrain letter the build writes, in tile order.
inline constexpr std::array<PaletteEntry, 10> kPalette = {{
    // code  name                   colour (r, g, b)
    {'S', "sea",                    {28, 78, 160}},
    {'T', "border water (top)",     {12, 36, 84}},
    {'B', "border water (bottom)",  {12, 36, 84}},
    {'A', "border water",           {12, 36, 84}},
    {'C', "clear",                  {118, 178, 82}},
    {'M', "mountains",              {128, 112, 96}},
    {'G', "rough",                  {184, 160, 96}},
    {'F', "forest",                 {30, 108, 44}},
    {'R', "river",                  {84, 160, 236}},
    {'Y', "city",                   {214, 40, 40}},
}};

// The position of a terrain letter in kPalette, or nothing for a letter the build never
// writes.
constexpr std::optional<int> PaletteIndex(char code) {
  for (std::size_t i = 0; i < kPalette.size(); ++i)
    if (kPalette[i].code == code) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace lorvex
