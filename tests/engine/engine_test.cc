#include <functional>

#include <gtest/gtest.h>

#include "engine/build_driver.h"
#include "engine/mass_placement.h"
#include "engine/tiny_islands.h"
#include "engine/world_hash.h"
#include "platform/headless_platform.h"
#include "support/engine_rig.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

// The golden worlds rest on this fingerprint: a part of the world left out of it would let
// a changed world pass.
WorldState SmallWorld() {
  WorldState world;
  world.SetMapSize(13, 9, true);  // 117 squares: not a whole number of 8-letter words
  world.CreateInitialMap();
  world.WorldMap(4, 4) = 'Y';
  world.MassOfSquare(4, 4) = 0;
  world.CityOfSquare(4, 4) = 0;
  world.MassTable = {{kLarge, 1}};
  world.CityProduction = {120};
  world.CitySpecialty = {9};
  world.CityOwner = {0};
  return world;
}

TEST(WorldHash, AnyOneChangeOfTheWorldIsSeen) {
  const WorldState base = SmallWorld();
  ASSERT_EQ(WorldHash(base), WorldHash(SmallWorld()));
  const std::function<void(WorldState&)> changes[] = {
      [](WorldState& w) { w.WorldMap(12, 8) = 'S'; },  // the last letter, in the tail word
      [](WorldState& w) { w.MassOfSquare(5, 5) = 0; },
      [](WorldState& w) { w.CityOfSquare(4, 4) = 1; },
      [](WorldState& w) { w.MassTable[0].squares = 2; },
      [](WorldState& w) { w.MassTable[0].sizeClass = kMedium; },
      [](WorldState& w) { w.CityProduction[0] = 121; },
      [](WorldState& w) { w.CitySpecialty[0] = 10; },
      [](WorldState& w) { w.CityOwner.push_back(0); },
      [](WorldState& w) { w.MapWrap = false; },
      [](WorldState& w) {  // the same squares in another shape
        w.SetMapSize(9, 13, true);
        w.WorldMap.Reset(9, 13, 'S');
        w.WorldMap.Cells() = SmallWorld().WorldMap.Cells();
      },
  };
  for (std::size_t i = 0; i < std::size(changes); ++i) {
    WorldState changed = SmallWorld();
    changes[i](changed);
    EXPECT_NE(WorldHash(changed), WorldHash(base)) << "world change " << i;
  }
}


using platform::ControlSet;
using platform::MessageAnswer;

// The checks before a build, in order; the land warning when lo + hi exceeds the map's
// squares (no masses; tiny islands 5000 .. Hi on 10 000 squares).
TEST(ValidateBuild, RefusesWithTheWindowsMessagesAndWarnsAboveHalfTheMap) {
  const char* warning = "Warning: Average Land % is Greater than 50%.  This may take\r\n"
                        "an unusually long time to complete.  Continue with Build?";
  const struct { bool algorithms, shapes; const char* tinyHi; MessageAnswer answer; bool valid; const char* message; } rows[] = {
      {false, true, "5000", MessageAnswer::kYes, false, "Please Select at least One Building Algorithm"},
      {true, false, "5000", MessageAnswer::kYes, false, "Shapes Algorithm is Selected, Please Select at least One Shape"},
      {true, true, "5000", MessageAnswer::kNo, true, nullptr},  // lo + hi exactly the map
      {true, true, "5001", MessageAnswer::kNo, false, warning},
      {true, true, "5001", MessageAnswer::kYes, true, warning},
  };
  for (const auto& row : rows) {
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    window.World().SetMapSize(100, 100, false);
    ControlSet& c = window.Controls();
    for (int i = 0; i < 3; ++i) c.At("chkAlgorithm", i).SetValue(row.algorithms ? 1 : 0);
    for (int i = 0; i < 24; ++i) c.At("chkShape", i).SetValue(row.shapes && i == 5 ? 1 : 0);
    for (int i : {0, 1, 6, 7, 12, 13}) c.At("txtLandMass", i).SetText("0");
    c.At("txtLandMass", 18).SetText("5000");
    c.At("txtLandMass", 19).SetText(row.tinyHi);
    platform.QueueAnswer(row.answer);
    EXPECT_EQ(window.ValidateBuild(), row.valid) << row.tinyHi;
    ASSERT_EQ(platform.Messages().size(), row.message == nullptr ? 0u : 1u) << row.tinyHi;
    if (row.message != nullptr) {
      EXPECT_EQ(platform.Messages()[0].text, row.message);
    }
  }
}

// Weights 1, 1, 2, all checked: Wandering Blob for p in [0, 1), Stick Blob for [1, 2), Shapes
// for [2, 4) and p = W; without Wandering Blob W = 3 (draws on a bound, which no golden world shows).
TEST(AlgorithmForDraw, PicksTheFirstRunningSumAboveTheDraw) {
  const struct { bool wandering; float p; int algorithm; } rows[] = {
      {true, 0.999f, 0}, {true, 1.0f, 1}, {true, 2.0f, 2}, {true, 4.0f, 2}, {false, 0.5f, 1}, {false, 1.0f, 2}};
  for (const auto& row : rows) {
    ControlSet controls = params::CreateWindowControls();
    controls.At("txtAlgorithm", 2).SetText("2");
    controls.At("chkAlgorithm", 0).SetValue(row.wandering ? 1 : 0);
    EXPECT_EQ(AlgorithmForDraw(params::ParameterView(controls), row.p), row.algorithm) << row.wandering << " " << row.p;
  }
}

// Mass placement and the tiny islands, against the figures and edge cases of their rules.
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

// The total is exact and only sea is taken; the seed search goes on until it finds the last
// sea squares (on the largest map often past four million misses), and the stage ends when
// no sea is left, short of the squares asked for.
TEST(TinyIslands, PlaceExactlyTheTotalOnSeaUntilNoSeaIsLeft) {
  const struct { int width, height; bool wrap; std::uint64_t seed; int total, placed; std::vector<std::pair<int, int>> sea; } rows[] = {
      {6, 5, false, 100, 100, 12, {}},  // more than the sea holds
      {5, 5, true, 3, 20, 15, {}},      // all of it, the columns on the seam included
      {3, 3, false, 2, 1, 1, {}},       // the one square of sea
      {3, 1, true, 5, 5, 0, {}},      // a wrapping map one row high has no sea
      // Land everywhere but on the squares given.
      {4096, 4096, false, 6, 1, 1, {{2000, 3000}}},  // found at the 4 835 006th draw
      {64, 64, false, 2, 5, 2, {{17, 40}, {40, 17}}},
  };
  for (const auto& row : rows) {
    Rig rig(row.width, row.height, row.wrap, row.seed);
    WorldState& world = rig.world;
    if (!row.sea.empty()) {
      std::replace(world.WorldMap.Cells().begin(), world.WorldMap.Cells().end(), 'S', 'C');
      for (const auto& [x, y] : row.sea) world.WorldMap(x, y) = 'S';
      for (int y = 0; y < row.height; ++y)
        for (int x = 0; x < row.width; ++x) world.MassOfSquare(x, y) = IsLand(world.WorldMap(x, y)) ? 0 : -1;
      world.MassTable.assign({LandMass{kLarge, rig.Land()}, LandMass{kTinyIslands, 0}});
    }
    const int before = rig.Land(), tiny = static_cast<int>(world.MassTable.size()) - 1;
    BuildContext context = rig.Context();
    EXPECT_EQ(PlaceTinyIslands(context, row.total, tiny), row.placed) << row.width << ", " << row.total;
    EXPECT_EQ(rig.Land(), before + row.placed) << row.width << ", " << row.total;
    for (const auto& [x, y] : row.sea) EXPECT_EQ(world.MassOfSquare(x, y), tiny) << x << ", " << y;
    world.MassTable.back().squares = row.placed;
    EXPECT_EQ(checks::CheckWorld(world), "") << row.width << ", " << row.total;
  }
}

}  // namespace
}  // namespace lorvex
