// A world, its parameters, a generator and hooks: everything one call of the terrain or
// city stage needs, and the worlds the stage tests build by hand.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/engine_rig.h"

namespace lorvex::stagetest {

using StageFixture = checks::EngineRig<>;

// Fills a world from rows of letters (row y is rows[y]): the terrain letters stand for
// themselves, a digit is clear land of that land mass, other land belongs to mass 0. The
// mass table gets one row per class given, its squares counted.
inline void LoadRows(WorldState& world, const std::vector<std::string>& rows, bool wrap,
                     const std::vector<std::int16_t>& classes = {0}) {
  const int height = static_cast<int>(rows.size());
  world.SetMapSize(height > 0 ? static_cast<int>(rows[0].size()) : 0, height, wrap);
  world.CreateInitialMap();
  for (std::int16_t sizeClass : classes) world.MassTable.push_back({sizeClass, 0});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < world.MapWidth; ++x) {
      char code = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      const int mass = code >= '0' && code <= '9' ? code - '0' : IsLand(code) ? 0 : -1;
      if (code >= '0' && code <= '9') code = 'C';
      world.WorldMap(x, y) = code;
      world.MassOfSquare(x, y) = mass;
      if (mass >= 0 && static_cast<std::size_t>(mass) < world.MassTable.size())
        ++world.MassTable[static_cast<std::size_t>(mass)].squares;
    }
}

// A map of the given size with its border and `fill` on every other square.
inline std::vector<std::string> FilledRows(int width, int height, bool wrap, char fill) {
  std::vector<std::string> rows(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), fill));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (y == 0 || y == height - 1 || (!wrap && (x == 0 || x == width - 1)))
        rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = wrap ? (y == 0 ? 'T' : 'B') : 'A';
  return rows;
}

inline long long CountCode(const WorldState& world, char code) {
  return std::count(world.WorldMap.Cells().begin(), world.WorldMap.Cells().end(), code);
}

}  // namespace lorvex::stagetest
