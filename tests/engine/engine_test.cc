#include <functional>
#include <memory>

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

// A window over a headless platform that answers its questions Yes: Build sets the land
// boxes, then what `setup` changes, and presses Build as a person would.
struct Session {
  bool Build(int width, int height, std::vector<const char*> land, const std::function<void(ControlSet&)>& setup = {}) {
    window->SetSeed(seed);
    platform.SetDefaultQuestionAnswer(MessageAnswer::kYes);
    platform.AddModalAction([&](platform::Window&) {
      for (std::size_t i = 0; i < land.size(); ++i) window->Controls().At("txtLandMass", static_cast<int>(i)).SetText(land[i]);
      if (setup) setup(window->Controls());
      window->Controls().At("cmdBuild", 0).Click();
      openAfterBuild = window->IsVisible();
    });
    HostWorld out;
    return window->GetMap(width, height, wrap, out);
  }
  const WorldState& World() const { return window->World(); }

  platform::HeadlessPlatform platform;
  std::unique_ptr<ui::frmBuild> window = std::make_unique<ui::frmBuild>(platform);
  std::uint64_t seed = 21;
  bool wrap = false;
  bool openAfterBuild = false;
};

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

// Weights 1, 1, 2, all checked: Wandering Blob for p in [0, 1), Stick Blob for [1, 2),
// Shapes for [2, 4) and p = W; without Wandering Blob W = 3.
TEST(AlgorithmForDraw, PicksTheFirstRunningSumAboveTheDraw) {
  const struct { bool wandering; float p; int algorithm; } rows[] = {
      {true, 0.0f, 0}, {true, 0.999f, 0}, {true, 1.0f, 1}, {true, 1.999f, 1}, {true, 2.0f, 2},
      {true, 3.999f, 2}, {true, 4.0f, 2}, {false, 0.5f, 1}, {false, 1.0f, 2}, {false, 3.0f, 2},
  };
  for (const auto& row : rows) {
    ControlSet controls = params::CreateWindowControls();
    controls.At("txtAlgorithm", 2).SetText("2");
    controls.At("chkAlgorithm", 0).SetValue(row.wandering ? 1 : 0);
    EXPECT_EQ(AlgorithmForDraw(params::ParameterView(controls), row.p), row.algorithm) << row.wandering << " " << row.p;
  }
}

// Lo = Hi gives exactly those numbers of masses, Large first, the tiny islands a last row
// only when there are some, and a progress maximum of 2 per mass plus 21; a mass of more
// than 32767 squares is counted in full.
TEST(BuildWorld, LoEqualHiGivesThoseCountsInClassOrder) {
  const struct { std::vector<const char*> land; std::vector<int> classes; int lastSquares; } rows[] = {
      {{"2", "2", "60", "60", "2", "2", "3", "3", "30", "30", "1", "1", "4", "4", "10", "10", "1", "1", "0", "0"},
       {0, 0, 1, 1, 1, 2, 2, 2, 2}, -1},
      {{"0", "0", "60", "60", "2", "2", "0", "0", "30", "30", "1", "1", "1", "1", "10", "10", "1", "1", "40", "40"}, {2, 3}, 40},
      {{"1", "1", "40000", "40000", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0"}, {0}, 32768},
  };
  for (const auto& row : rows) {
    Session session;
    session.seed = 6;
    session.wrap = true;
    int progressMax = 0;
    session.platform.OnYield([&](platform::Window&) { progressMax = session.window->Progress().max; });
    ASSERT_TRUE(session.Build(260, 200, row.land, [](ControlSet& c) {  // whole Rectangles, no terrain
      for (int i = 0; i < 2; ++i) c.At("chkAlgorithm", i).SetValue(0);
      c.At("txtShape", 0).SetText("100");
      for (int i = 1; i < 24; ++i) c.At("chkShape", i).SetValue(0);
      for (int i = 0; i < 8; ++i) c.At("txtTerrain", i).SetText("0");
    }));
    const auto& table = session.World().MassTable;
    std::vector<int> classes;
    for (const LandMass& mass : table) classes.push_back(mass.sizeClass);
    EXPECT_EQ(classes, row.classes);
    if (row.lastSquares > 0) {
      EXPECT_GE(table.back().squares, row.lastSquares);
    }
    EXPECT_EQ(progressMax, 2 * static_cast<int>(table.size() - (row.classes.back() == 3 ? 1 : 0)) + 21);
    EXPECT_EQ(checks::CheckWorld(session.World()), "");
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
