#include "world/world_state.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lorvex {
namespace {

TEST(InitialMap, BorderRowsOrRingAroundTheSea) {
  const struct {
    int width, height;
    bool wrap;
    std::vector<std::string> rows;
  } cases[] = {
      {3, 3, false, {"AAA", "ASA", "AAA"}},
      {4, 3, true, {"TTTT", "SSSS", "BBBB"}},
      {3, 2, true, {"TTT", "BBB"}},
      {3, 1, true, {"BBB"}},  // the bottom row is written after the top row
      {1, 1, false, {"A"}},
      {0, 0, false, {}},
  };
  for (const auto& c : cases) {
    WorldState w;
    w.SetMapSize(c.width, c.height, c.wrap);
    w.CreateInitialMap();
    std::vector<std::string> rows;
    for (int y = 0; y < c.height; ++y) {
      rows.emplace_back();
      for (int x = 0; x < c.width; ++x) {
        rows.back() += w.WorldMap(x, y);
        EXPECT_EQ(w.CityOfSquare(x, y), -1);
        EXPECT_EQ(w.MassOfSquare(x, y), -1);
      }
    }
    EXPECT_EQ(rows, c.rows) << c.width << " x " << c.height;
    EXPECT_EQ(w.SquareCount, c.width * c.height);
  }
}

// On a map 10 wide: west and east wrap, once, whatever the map's wrap; north and south
// never clamp.
TEST(NeighbourSteps, XWrapsOnceAndYNeverClamps) {
  WorldState w;
  w.SetMapSize(10, 5, false);
  const struct { int x, y, d, stepX, stepY; } rows[] = {
      {0, 2, kWest, 9, 2},      {9, 2, kEast, 0, 2},      {5, 0, kNorth, 5, -1},
      {5, 4, kSouth, 5, 5},     {0, 0, kNorthWest, 9, -1}, {9, 4, kSouthEast, 0, 5},
      {4, 3, kSouthWest, 3, 4}, {4, 3, kNorthEast, 5, 2},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(w.StepX(row.x, row.d), row.stepX) << "direction " << row.d;
    EXPECT_EQ(WorldState::StepY(row.y, row.d), row.stepY) << "direction " << row.d;
  }
  EXPECT_EQ(w.WrapX(19), 9);  // one correction only
  for (char c : std::string("TBAS")) EXPECT_TRUE(IsWater(c)) << c;
  for (char c : std::string("CMGFRY")) EXPECT_TRUE(IsLand(c)) << c;
}

}  // namespace
}  // namespace lorvex
