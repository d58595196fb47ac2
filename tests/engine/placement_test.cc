#include <gtest/gtest.h>

#include <algorithm>

#include "engine/mass_placement.h"
#include "engine/tiny_islands.h"
#include "params/build_parameters.h"
#include "support/engine_rig.h"
#include "support/world_invariants.h"

namespace lorvex {
namespace {

// A world, its parameters and silent hooks, ready for one stage.
struct Bench : checks::EngineRig<> {
  Bench(int width, int height, bool wrap, std::uint64_t seed = 1) : EngineRig(seed) {
    world.SetMapSize(width, height, wrap);
    world.CreateInitialMap();
  }
};

// A grid from rows of letters; row j is rows[j].
Grid<char> MakeGrid(const std::vector<std::string>& rows) {
  Grid<char> grid(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'X');
  for (int j = 0; j < grid.Height(); ++j)
    for (int i = 0; i < grid.Width(); ++i) grid(i, j) = rows[j][i];
  return grid;
}

// The 5 x 5 grid: a ring of sea border round a 3 x 3 of land.
Grid<char> RingedGrid() { return MakeGrid({"SSSSS", "SCCCS", "SCCCS", "SCCCS", "SSSSS"}); }

int LandCount(const WorldState& world) {
  int land = 0;
  for (char code : world.WorldMap.Cells()) land += IsLand(code) ? 1 : 0;
  return land;
}

TEST(EvenSpacing, CellSizes) {
  WorldState world;
  world.SetMapSize(100, 45, false);
  const struct { int n, width, height; } rows[] = {
      {1, 100, 45}, {2, 100, 22}, {3, 50, 22}, {4, 50, 22}, {5, 33, 22}, {6, 33, 22}};
  for (const auto& row : rows) {
    EXPECT_EQ(EvenColumnWidth(world, static_cast<std::int16_t>(row.n)), row.width) << row.n;
    EXPECT_EQ(EvenRowHeight(world, static_cast<std::int16_t>(row.n)), row.height) << row.n;
  }
  EXPECT_EQ(EvenColumnWidth(world, 0), 100);  // no division by zero
}

TEST(EvenSpacing, FitsCountsTheLandSpanOnly) {
  WorldState world;
  world.SetMapSize(100, 60, false);  // 3 masses: cells 50 x 30
  Grid<char> grid(60, 10, 'S');
  grid(2, 5) = 'C';
  grid(52, 5) = 'C';
  EXPECT_TRUE(FitsEvenSpacing(world, grid, 3));  // 52 - 2 = 50
  grid(53, 5) = 'C';
  EXPECT_FALSE(FitsEvenSpacing(world, grid, 3));
  EXPECT_TRUE(FitsEvenSpacing(world, Grid<char>(80, 80, 'S'), 3));  // no land fits
}

TEST(EvenSpacing, CentresOfFourMassesOn100By60) {
  WorldState world;
  world.SetMapSize(100, 60, false);
  EXPECT_EQ(EvenCentre(world, 1, 4), (MapSquare{12, 15}));
  EXPECT_EQ(EvenCentre(world, 2, 4), (MapSquare{38, 45}));
  EXPECT_EQ(EvenCentre(world, 3, 4), (MapSquare{62, 15}));
  EXPECT_EQ(EvenCentre(world, 4, 4), (MapSquare{88, 45}));
  EXPECT_EQ(EvenCentre(world, 1, 1), (MapSquare{50, 30}));
  EXPECT_EQ(EvenCentre(world, 3, 3), (MapSquare{62, 15}));  // three of four positions
}

TEST(PlaceMassEvenly, OverwritesLandButNotBorderWater) {
  Bench bench(20, 20, false);
  bench.world.MassTable.assign(1, LandMass{});
  bench.world.WorldMap(10, 10) = 'M';
  BuildContext context = bench.Context();
  PlaceMassEvenly(context, MakeGrid({"CCCCCCCCCCCCCCCCCCCCCCCC"}), 1, 1, 0);
  EXPECT_EQ(bench.world.WorldMap(10, 10), 'C');
  EXPECT_EQ(bench.world.WorldMap(0, 10), 'A');
  EXPECT_EQ(bench.world.MassTable[0].squares, 18);  // columns 1 .. 18
}

// The ringed 5 x 5 grid near the west edge of an all-sea, non-wrapping map.
TEST(PlaceMass, EdgeOptionsDecideWhatMayHangOverTheEdge) {
  const struct {
    int cx;
    bool seaBorders, allowOffEdge, fits;
  } rows[] = {
      // centre (1, 10): only the all-"S" grid column 0 falls off, at x = -1
      {1, false, false, true},  {1, false, true, true},  {1, true, false, false},
      // centre (0, 10): grid column 1, which holds land, falls off too
      {0, false, false, false}, {0, true, false, false}, {0, false, true, true},
  };
  Bench bench(30, 30, false);
  for (const auto& row : rows)
    EXPECT_EQ(MassFitsAt(bench.world, RingedGrid(), row.cx, 10, row.seaBorders, row.allowOffEdge),
              row.fits)
        << row.cx << row.seaBorders << row.allowOffEdge;
}

TEST(PlaceMass, LandOffTheMapOrOnTheBorderIsCutAndNotCounted) {
  Bench bench(30, 30, false);
  bench.world.MassTable.assign(1, LandMass{});
  BuildContext context = bench.Context();
  WriteMassAt(context, RingedGrid(), 0, 10, 0);
  // Grid columns 1 .. 3 are land; column 1 is off the map, column 2 is on the border "A".
  EXPECT_EQ(bench.world.WorldMap(0, 10), 'A');
  EXPECT_EQ(bench.world.WorldMap(1, 10), 'C');
  EXPECT_EQ(bench.world.MassTable[0].squares, 3);
  EXPECT_EQ(bench.world.MassOfSquare(1, 9), 0);
  EXPECT_EQ(bench.world.WorldMap(2, 10), 'S');  // the ring's east side
}

TEST(PlaceMass, WrapsAcrossTheSeamOnAWrappingMap) {
  Bench bench(30, 30, true);
  bench.world.MassTable.assign(1, LandMass{});
  BuildContext context = bench.Context();
  ASSERT_TRUE(MassFitsAt(bench.world, RingedGrid(), 0, 10, true, false));
  WriteMassAt(context, RingedGrid(), 0, 10, 0);
  EXPECT_EQ(bench.world.WorldMap(29, 10), 'C');
  EXPECT_EQ(bench.world.WorldMap(28, 10), 'S');
  EXPECT_EQ(bench.world.MassTable[0].squares, 9);
}

TEST(PlaceMass, NeverOverlapsEarlierLandAndGivesUpOnAFullMap) {
  Bench bench(40, 40, false, 99);
  bench.world.MassTable.assign(60, LandMass{});
  BuildContext context = bench.Context();
  for (int row = 0; row < 60; ++row) PlaceMass(context, RingedGrid(), false, false, row);
  int counted = 0;
  for (const LandMass& mass : bench.world.MassTable) {
    // A mass is dropped, placed whole, or placed with its land over the border column or
    // row "A", which counts as water for the test and is never written: one side of the
    // 3 x 3 lost (6 squares) or two (4).
    EXPECT_TRUE(mass.squares == 0 || mass.squares == 9 || mass.squares == 6 || mass.squares == 4)
        << mass.squares;
    counted += mass.squares;
  }
  EXPECT_EQ(counted, LandCount(bench.world));
  // Every land square belongs to the mass whose row it carries; the land of a cut mass lies
  // beside the border.
  std::vector<int> perRow(60, 0);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (IsLand(bench.world.WorldMap(x, y))) {
        const int row = bench.world.MassOfSquare(x, y);
        ++perRow.at(row);
        if (bench.world.MassTable[row].squares < 9) {
          EXPECT_LE(std::min({x, y, 39 - x, 39 - y}), 2) << x << "," << y;
        }
      }
  for (int row = 0; row < 60; ++row) EXPECT_EQ(perRow[row], bench.world.MassTable[row].squares);
  EXPECT_LT(counted, 60 * 9);  // sixty ringed masses do not fit a 40 x 40 map
  // t = round(1600 / 2) capped at 1000: a dropped mass costs at most 1001 tries (yields).
  EXPECT_LE(bench.hooks.yields, 60LL * 1001);
}

TEST(PlaceMass, AStopEndsTheSearchWithoutWriting) {
  Bench bench(30, 30, false);
  bench.world.MassTable.assign(1, LandMass{});
  bench.world.StopRequested = true;
  BuildContext context = bench.Context();
  PlaceMass(context, RingedGrid(), false, false, 0);
  EXPECT_EQ(LandCount(bench.world), 0);
}

TEST(TinyIslands, PlaceExactlyTheTotalAndNeverOnTheBorder) {
  for (int total : {1, 2, 9, 150, 700}) {
    Bench bench(40, 30, false, static_cast<std::uint64_t>(total));
    bench.world.MassTable.assign(1, LandMass{kTinyIslands, 0});
    BuildContext context = bench.Context();
    EXPECT_EQ(PlaceTinyIslands(context, total, 0), total);
    EXPECT_EQ(LandCount(bench.world), total);
    for (int x = 0; x < 40; ++x) {
      EXPECT_EQ(bench.world.WorldMap(x, 0), 'A');
      EXPECT_EQ(bench.world.WorldMap(x, 29), 'A');
    }
    for (int y = 0; y < 30; ++y) EXPECT_EQ(bench.world.WorldMap(0, y), 'A');
  }
}

TEST(TinyIslands, ASeedBoxedInByLandStaysOneSquare) {
  Bench bench(5, 5, false);
  // Only (2, 2) is sea; its eight neighbours are land.
  for (int y = 1; y <= 3; ++y)
    for (int x = 1; x <= 3; ++x) bench.world.WorldMap(x, y) = 'C';
  bench.world.WorldMap(2, 2) = 'S';
  BuildContext context = bench.Context();
  EXPECT_EQ(PlaceTinyIslands(context, 50, 0), 1);  // then no sea is left: the stage ends
  EXPECT_EQ(bench.world.MassOfSquare(2, 2), 0);
}

TEST(TinyIslands, EndWhenNoSeaIsLeft) {
  Bench bench(6, 6, true);
  for (int y = 1; y <= 4; ++y)
    for (int x = 0; x < 6; ++x) bench.world.WorldMap(x, y) = 'M';
  BuildContext context = bench.Context();
  EXPECT_EQ(PlaceTinyIslands(context, 100, 0), 0);
  Bench tiny(3, 1, true);  // a wrapping map of height 1 has no sea at all
  BuildContext tinyContext = tiny.Context();
  EXPECT_EQ(PlaceTinyIslands(tinyContext, 5, 0), 0);
}

TEST(TinyIslands, CrossTheSeamOfAWrappingMap) {
  // Only two sea squares, (0, 3) and (11, 3), neighbours across the seam. The stage yields
  // once per island, so both squares placed after a single yield means one island stepped
  // across the seam.
  bool crossed = false;
  for (std::uint64_t seed = 1; seed <= 60 && !crossed; ++seed) {
    Bench bench(12, 8, true, seed);
    for (int y = 1; y < 7; ++y)
      for (int x = 0; x < 12; ++x) bench.world.WorldMap(x, y) = 'M';
    bench.world.WorldMap(0, 3) = 'S';
    bench.world.WorldMap(11, 3) = 'S';
    BuildContext context = bench.Context();
    const int placed = PlaceTinyIslands(context, 2, 0);
    crossed = placed == 2 && bench.hooks.yields == 1;
  }
  EXPECT_TRUE(crossed);
}

TEST(TinyIslands, OneSeedPlacesTheSameIslands) {
  Bench a(50, 40, true, 7), b(50, 40, true, 7);
  BuildContext ca = a.Context(), cb = b.Context();
  PlaceTinyIslands(ca, 120, 0);
  PlaceTinyIslands(cb, 120, 0);
  EXPECT_EQ(a.world.WorldMap.Cells(), b.world.WorldMap.Cells());
}

}  // namespace
}  // namespace lorvex
