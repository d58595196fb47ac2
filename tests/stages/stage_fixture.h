// A world, its parameters, a generator and hooks that record status texts: everything one
// call of the terrain or city stage needs, and the worlds the stage tests build by hand.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/random.h"
#include "world/build_context.h"
#include "params/build_parameters.h"
#include "support/engine_rig.h"

namespace lorvex::stagetest {

class RecordingHooks : public SilentHooks {
 public:
  void ShowStatus(std::string_view stage, std::string_view detail) override {
    statuses.push_back(std::string(stage) + " - " + std::string(detail));
  }
  std::vector<std::string> statuses;
};

using StageFixture = checks::EngineRig<RecordingHooks>;

// Fills a world from rows of letters (row y is rows[y]): "T", "B", "A", "S" and the terrain
// letters stand for themselves; a digit is clear land of that land mass. Letters other than
// digits on land belong to mass 0. The mass table gets one row per class given (row m has
// class classes[m]) with its squares counted.
inline void LoadRows(WorldState& world, const std::vector<std::string>& rows, bool wrap,
                     const std::vector<std::int16_t>& classes = {0}) {
  const int height = static_cast<int>(rows.size());
  const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
  world.SetMapSize(width, height, wrap);
  world.CreateInitialMap();
  world.MassTable.clear();
  for (std::int16_t sizeClass : classes) world.MassTable.push_back({sizeClass, 0});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      char code = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      int mass = -1;
      if (code >= '0' && code <= '9') {
        mass = code - '0';
        code = 'C';
      } else if (IsLand(code)) {
        mass = 0;
      }
      world.WorldMap(x, y) = code;
      world.MassOfSquare(x, y) = mass;
      if (mass >= 0 && static_cast<std::size_t>(mass) < world.MassTable.size())
        ++world.MassTable[static_cast<std::size_t>(mass)].squares;
    }
}

// A map of the given size with its border and `fill` on every other square.
inline std::vector<std::string> FilledRows(int width, int height, bool wrap, char fill) {
  std::vector<std::string> rows(static_cast<std::size_t>(height),
                                std::string(static_cast<std::size_t>(width), fill));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      char& c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      if (wrap) {
        if (y == 0) c = 'T';
        if (y == height - 1) c = 'B';
      } else if (y == 0 || y == height - 1 || x == 0 || x == width - 1) {
        c = 'A';
      }
    }
  return rows;
}

// Rectangular islands scattered over the sea of a bordered map, one land mass each, each
// with at least one square of sea round it; rows of the mass table in class order (the
// largest islands Large, then Medium, Small, and the last ones tiny). Deterministic for a
// seed.
inline void ScatterIslands(WorldState& world, int width, int height, bool wrap, int islands,
                           std::uint64_t seed) {
  std::vector<std::string> rows = FilledRows(width, height, wrap, 'S');
  world.SetMapSize(width, height, wrap);
  world.CreateInitialMap();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      world.WorldMap(x, y) = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
  world.MassTable.clear();
  Random random(seed);
  const auto draw = [&](int lo, int hi) { return static_cast<int>(random.DrawInt(lo, hi)); };
  for (int m = 0; m < islands; ++m) {
    // Island m: larger for smaller m, so the class order of the table follows the rows.
    const std::int16_t sizeClass =
        static_cast<std::int16_t>(std::min(3, 4 * m / std::max(islands, 1)));
    const int side = std::max(1, 14 - 4 * sizeClass);
    const int w = draw(1, side), h = draw(1, side);
    world.MassTable.push_back({sizeClass, 0});
    for (int attempt = 0; attempt < 50; ++attempt) {
      const int x0 = draw(2, std::max(2, width - w - 3)), y0 = draw(2, std::max(2, height - h - 3));
      bool free = x0 + w + 1 < width && y0 + h + 1 < height;
      for (int y = y0 - 1; free && y <= y0 + h; ++y)
        for (int x = x0 - 1; free && x <= x0 + w; ++x) free = world.WorldMap(x, y) == 'S';
      if (!free) continue;
      for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
          world.WorldMap(x, y) = 'C';
          world.MassOfSquare(x, y) = m;
          ++world.MassTable.back().squares;
        }
      break;
    }
  }
}

inline long long CountCode(const WorldState& world, char code) {
  long long n = 0;
  for (char c : world.WorldMap.Cells()) n += c == code ? 1 : 0;
  return n;
}

}  // namespace lorvex::stagetest
