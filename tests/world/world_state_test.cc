#include "world/world_state.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lorvex {
namespace {

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
