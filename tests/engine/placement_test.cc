// Mass placement and the tiny islands, against the figures and edge cases of their rules.
#include <gtest/gtest.h>

#include "engine/mass_placement.h"
#include "engine/tiny_islands.h"
#include "support/engine_rig.h"
#include "support/world_invariants.h"

namespace lorvex {
namespace {

// A world of the given size with its initial sea and border and one row of the mass table.
struct Rig : checks::EngineRig<> {
  Rig(int width, int height, bool wrap, std::uint64_t seed = 1) : EngineRig(seed) {
    world.SetMapSize(width, height, wrap);
    world.CreateInitialMap();
    world.MassTable.assign(1, LandMass{kTinyIslands, 0});
  }
  std::string Row(int y) const { return std::string(&world.WorldMap(0, y), static_cast<std::size_t>(world.MapWidth)); }
  int Land() const { return static_cast<int>(std::count_if(world.WorldMap.Cells().begin(), world.WorldMap.Cells().end(), IsLand)); }
};

// A grid from rows of letters; row j is rows[j].
Grid<char> MakeGrid(const std::vector<std::string>& rows) {
  Grid<char> grid(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'X');
  for (int j = 0; j < grid.Height(); ++j)
    for (int i = 0; i < grid.Width(); ++i) grid(i, j) = rows[j][i];
  return grid;
}

// A ring of sea border round a 3 x 3 of land.
const Grid<char> kRinged = MakeGrid({"SSSSS", "SCCCS", "SCCCS", "SCCCS", "SSSSS"});

TEST(EvenSpacing, CellsAndCentresOfTheTwoRowLayout) {
  WorldState world;
  world.SetMapSize(100, 45, false);
  const struct { int n, width, height; } cells[] = {
      {1, 100, 45}, {2, 100, 22}, {3, 50, 22}, {4, 50, 22}, {5, 33, 22}, {6, 33, 22}, {0, 100, 22}};
  for (const auto& row : cells) {
    const auto n = static_cast<std::int16_t>(row.n);
    EXPECT_EQ(std::make_pair(EvenColumnWidth(world, n), EvenRowHeight(world, n)),
              std::make_pair(static_cast<std::int16_t>(row.width), static_cast<std::int16_t>(row.height))) << row.n;
  }
  world.SetMapSize(100, 60, false);
  const struct { std::int16_t m, n; MapSquare centre; } centres[] = {
      {1, 4, {12, 15}}, {2, 4, {38, 45}}, {3, 4, {62, 15}}, {4, 4, {88, 45}}, {1, 1, {50, 30}}, {3, 3, {62, 15}}};
  for (const auto& row : centres) EXPECT_EQ(EvenCentre(world, row.m, row.n), row.centre) << row.m << " of " << row.n;
  Grid<char> grid(60, 10, 'S');  // land spanning columns 2 .. 52 fits a cell 50 wide
  grid(2, 5) = grid(52, 5) = 'C';
  EXPECT_TRUE(FitsEvenSpacing(world, grid, 3));
  grid(53, 5) = 'C';
  EXPECT_FALSE(FitsEvenSpacing(world, grid, 3));
  EXPECT_TRUE(FitsEvenSpacing(world, Grid<char>(80, 80, 'S'), 3));
}

// The ringed grid at the west edge of a flat sea: at centre (1, 10) only its all-"S" column
// falls off the map; at (0, 10) a column of land does too.
TEST(PlaceMass, EdgeOptionsDecideWhatMayHangOverTheEdge) {
  const struct { int cx; bool seaBorders, allowOffEdge, fits; } rows[] = {
      {1, false, false, true},  {1, false, true, true},  {1, true, false, false},
      {0, false, false, false}, {0, true, false, false}, {0, false, true, true}};
  Rig rig(30, 30, false);
  for (const auto& row : rows)
    EXPECT_EQ(MassFitsAt(rig.world, kRinged, row.cx, 10, row.seaBorders, row.allowOffEdge), row.fits)
        << row.cx << row.seaBorders << row.allowOffEdge;
}

// Land written off the map or on border water is lost and not counted; on a wrapping map x
// wraps round the width, and a grid wider than the map counts every "C" it writes, also
// over its own land (its S C C C C C C C S lands on x = 3 4 0 1 2 3 4 0 1). Even spacing
// writes over land, never over border.
TEST(PlaceMass, WritingCutsAtTheBorderAndWrapsOnAWrappingMap) {
  const struct { const char* what; int width; bool wrap; Grid<char> grid; int cx, cy; std::string row; int counted; } cases[] = {
      {"flat, centre 0", 8, false, kRinged, 0, 11, "ACSSSSSA", 3},
      {"wrapping, centre 0", 8, true, kRinged, 0, 11, "CCSSSSSC", 9},
      {"wrapping, centre 7", 8, true, kRinged, 7, 11, "CSSSSSCC", 9},
      {"wider than the map", 5, true, MakeGrid({"SSSSSSSSS", "SCCCCCCCS", "SSSSSSSSS"}), 2, 10, "CSCCC", 7},
  };
  for (const auto& c : cases) {
    Rig rig(c.width, 20, c.wrap);
    BuildContext context = rig.Context();
    WriteMassAt(context, c.grid, c.cx, c.cy, 0);
    EXPECT_EQ(rig.Row(10), c.row) << c.what;
    EXPECT_EQ(rig.world.MassTable[0].squares, c.counted) << c.what;
    EXPECT_EQ(checks::CheckWorld(rig.world), "") << c.what;
  }
  Rig rig(20, 20, false);
  rig.world.WorldMap(10, 10) = 'M';
  BuildContext context = rig.Context();
  PlaceMassEvenly(context, MakeGrid({std::string(24, 'C')}), 1, 1, 0);
  EXPECT_EQ(rig.Row(10), "ACCCCCCCCCCCCCCCCCCA");
}

// Sixty ringed masses on a 40 x 40 map: each is dropped, placed whole, or placed with a side
// of its land on the border, after at most t + 1 = 801 tries; a stop ends the search unwritten.
TEST(PlaceMass, NeverOverlapsAndGivesUpOnAFullMap) {
  Rig rig(40, 40, false, 99);
  rig.world.MassTable.assign(60, LandMass{});
  BuildContext context = rig.Context();
  for (int row = 0; row < 60; ++row) PlaceMass(context, kRinged, false, false, row);
  for (const LandMass& mass : rig.world.MassTable)
    EXPECT_TRUE(mass.squares == 0 || mass.squares == 9 || mass.squares == 6 || mass.squares == 4) << mass.squares;
  EXPECT_LT(rig.Land(), 60 * 9);
  EXPECT_LE(rig.hooks.yields, 60LL * 801);
  EXPECT_EQ(checks::CheckWorld(rig.world), "");
  rig.world.StopRequested = true;
  const int land = rig.Land();
  PlaceMass(context, MakeGrid({"C"}), false, false, 0);
  EXPECT_EQ(rig.Land(), land);
}

// The total is exact and only sea is taken; with no sea left the stage ends.
TEST(TinyIslands, PlaceExactlyTheTotalOnSeaOnly) {
  const struct { int width, height; bool wrap; int total, placed; } rows[] = {
      {40, 30, false, 1, 1}, {40, 30, false, 2, 2}, {40, 30, false, 9, 9}, {40, 30, true, 700, 700},
      {6, 5, false, 100, 12},  // more than the sea holds
      {3, 1, true, 5, 0}};     // a wrapping map one row high has no sea
  for (const auto& row : rows) {
    Rig rig(row.width, row.height, row.wrap, static_cast<std::uint64_t>(row.total));
    BuildContext context = rig.Context();
    EXPECT_EQ(PlaceTinyIslands(context, row.total, 0), row.placed) << row.total;
    EXPECT_EQ(rig.Land(), row.placed) << row.total;
    rig.world.MassTable[0].squares = row.placed;
    EXPECT_EQ(checks::CheckWorld(rig.world), "") << row.total;
  }
}

}  // namespace
}  // namespace lorvex
