#include "world/world_state.h"

#include <string>

#include <gtest/gtest.h>

namespace lorvex {
namespace {

std::string Row(const WorldState& w, int y) {
  std::string row;
  for (int x = 0; x < w.MapWidth; ++x) row += w.WorldMap(x, y);
  return row;
}

TEST(InitialMap, NonWrappingMapHasABorderRing) {
  WorldState w;
  w.SetMapSize(3, 3, false);
  w.CreateInitialMap();
  EXPECT_EQ(Row(w, 0), "AAA");
  EXPECT_EQ(Row(w, 1), "ASA");
  EXPECT_EQ(Row(w, 2), "AAA");
  EXPECT_EQ(w.CityOfSquare(1, 1), -1);
  EXPECT_EQ(w.MassOfSquare(2, 2), -1);
  EXPECT_EQ(w.SquareCount, 9);
}

TEST(InitialMap, WrappingMapHasTopAndBottomRowsOnly) {
  WorldState w;
  w.SetMapSize(4, 3, true);
  w.CreateInitialMap();
  EXPECT_EQ(Row(w, 0), "TTTT");
  EXPECT_EQ(Row(w, 1), "SSSS");
  EXPECT_EQ(Row(w, 2), "BBBB");

  w.SetMapSize(3, 2, true);
  w.CreateInitialMap();
  EXPECT_EQ(Row(w, 0), "TTT");
  EXPECT_EQ(Row(w, 1), "BBB");

  w.SetMapSize(3, 1, true);  // the bottom row is written after the top row
  w.CreateInitialMap();
  EXPECT_EQ(Row(w, 0), "BBB");
}

TEST(InitialMap, DegenerateSizesMakeEmptyGrids) {
  WorldState w;
  w.SetMapSize(0, 0, false);
  w.CreateInitialMap();
  EXPECT_EQ(w.WorldMap.Cells().size(), 0u);
  w.SetMapSize(1, 1, false);
  w.CreateInitialMap();
  EXPECT_EQ(w.WorldMap(0, 0), 'A');
}

TEST(NeighbourSteps, StepXWrapsAlwaysAndStepYNeverClamps) {
  WorldState w;
  w.SetMapSize(10, 5, false);
  EXPECT_EQ(w.StepX(0, kWest), 9);
  EXPECT_EQ(w.StepX(9, kEast), 0);
  EXPECT_EQ(w.StepX(5, kNorth), 5);
  EXPECT_EQ(w.StepX(0, kNorthWest), 9);
  EXPECT_EQ(w.StepX(9, kSouthEast), 0);
  EXPECT_EQ(w.StepX(4, kSouthWest), 3);
  EXPECT_EQ(w.StepX(4, kNorthEast), 5);
  EXPECT_EQ(WorldState::StepY(0, kNorthWest), -1);
  EXPECT_EQ(WorldState::StepY(4, kSouth), 5);
  EXPECT_EQ(WorldState::StepY(3, kEast), 3);
  EXPECT_EQ(w.WrapX(-1), 9);
  EXPECT_EQ(w.WrapX(10), 0);
  EXPECT_EQ(w.WrapX(19), 9);  // one correction only
}

TEST(TerrainCodes, WaterIsTheBorderAndTheSea) {
  for (char c : std::string("TBAS")) EXPECT_TRUE(IsWater(c)) << c;
  for (char c : std::string("CMGFRYZ")) EXPECT_TRUE(IsLand(c)) << c;
}

}  // namespace
}  // namespace lorvex
