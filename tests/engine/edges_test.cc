// The builder at the edges of its parameters: figures far outside what the boxes let a
// person type, masses larger than the map, sea borders wider than a box holds, city counts
// in the millions, and the queries around a build.
// Every figure a build draws is used as drawn; where memory alone sets a limit, the limit
// is a fixed constant, and a build that asks for absurd work still shows its progress and
// stops on the stop key.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/draw_count.h"
#include "engine/build_driver.h"
#include "engine/world_hash.h"
#include "host/cls_build.h"
#include "platform/headless_platform.h"
#include "shaping/shapes.h"
#include "shaping/shaping_fixture.h"
#include "shaping/stick_blob.h"
#include "shaping/wandering_blob.h"
#include "stages/cities.h"
#include "stages/stage_fixture.h"
#include "support/engine_rig.h"
#include "support/parameter_values.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

using shaping::testing::CountCode;
using shaping::testing::ShapingFixture;  // records the mass preview's canvas and land squares

// A whole build through the driver, with the window's defaults but for what `setup` changes.
struct DriverBuild {
  DriverBuild(std::int32_t width, std::int32_t height, bool wrap, std::uint64_t seed,
              const std::function<void(platform::ControlSet&)>& setup)
      : rig(seed) {
    setup(rig.controls);
    rig.world.SetMapSize(width, height, wrap);
    BuildContext context = rig.Context();
    BuildWorld(context);
  }
  checks::EngineRig<> rig;
};

// 20 x 20, seed 4: Large masses of 400 and of 600 squares are both shaped and dropped (no
// room on the map), but shaping them draws differently, so the two worlds differ.
TEST(Edges, AMassLargerThanTheMapIsShapedAsDrawnAndDropped) {
  std::vector<std::uint64_t> hashes;
  for (const char* size : {"400", "600"}) {
    const DriverBuild build(20, 20, false, 4, [&](platform::ControlSet& c) {
      c.At("txtLandMass", 2).SetText(size);
      c.At("txtLandMass", 3).SetText(size);
    });
    const auto& table = build.rig.world.MassTable;
    EXPECT_FALSE(std::any_of(table.begin(), table.end(), [](const LandMass& m) { return m.sizeClass == kLarge && m.squares != 0; })) << size;
    hashes.push_back(WorldHash(build.rig.world));
  }
  EXPECT_NE(hashes[0], hashes[1]);
}

// Lo = Hi gives exactly those numbers of masses in class order (every golden world holds
// its mass table), the tiny islands a last row only when there are some, and a progress
// maximum of 2 per mass plus 21; a mass of more than 32767 squares is counted in full.
TEST(Edges, LoEqualHiGivesThoseCountsInClassOrder) {
  const struct { std::vector<const char*> land; std::vector<int> classes; int lastSquares; } rows[] = {
      {{"0", "0", "60", "60", "2", "2", "0", "0", "30", "30", "1", "1", "1", "1", "10", "10", "1", "1", "40", "40"}, {2, 3}, 40},
      {{"1", "1", "40000", "40000", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0"}, {0}, 32768},
  };
  for (const auto& row : rows) {
    const DriverBuild build(260, 200, true, 6, [&](platform::ControlSet& c) {  // whole Rectangles, no terrain
      for (std::size_t i = 0; i < row.land.size(); ++i) c.At("txtLandMass", static_cast<int>(i)).SetText(row.land[i]);
      for (int i = 0; i < 2; ++i) c.At("chkAlgorithm", i).SetValue(0);
      c.At("txtShape", 0).SetText("100");
      for (int i = 1; i < 24; ++i) c.At("chkShape", i).SetValue(0);
      for (int i = 0; i < 8; ++i) c.At("txtTerrain", i).SetText("0");
    });
    const auto& table = build.rig.world.MassTable;
    std::vector<int> classes;
    for (const LandMass& mass : table) classes.push_back(mass.sizeClass);
    EXPECT_EQ(classes, row.classes);
    EXPECT_GE(table.back().squares, row.lastSquares);
    EXPECT_EQ(build.rig.hooks.progressMax, 2 * static_cast<int>(table.size() - (row.classes.back() == 3 ? 1 : 0)) + 21);
    EXPECT_EQ(checks::CheckWorld(build.rig.world), "");
  }
}

// With a tightness of 50 every candidate is refused (x <= XMax / 2 or x >= XMax / 2), so
// every anchor point is its 101st candidate, taken as drawn: on a 7 x 7 canvas (no sea
// border, spans 4) a third of them fall on column 0 or row 0. The growth beside such a
// point treats the outside of the canvas as closed and stays on it, with no draw more or
// less than the square tests ask for: the twenty masses take the draws they always took.
// (A step off the canvas counts no frame hit.)
TEST(Edges, TheLastAnchorCandidateIsTakenAsDrawn) {
  int onTheEdge = 0;
  std::uint64_t draws = 0;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    ShapingFixture rig(seed);
    BuildContext context = rig.Context();
    const shaping::MassGrid grid = shaping::MakeStickBlob(context, 20, 0, 4, 4, 3, 50, 50, 15);
    draws += DrawsBetween(Random(seed), rig.random, 1'000'000).value_or(0);
    const int xMax = 6, yMax = 6;  // the 7 x 7 canvas
    const int points = shaping::AnchorPointCount(20, 3);
    for (std::size_t k = 0; k < rig.hooks.land.size(); ++k) {
      const auto [x, y] = rig.hooks.land[k];
      ASSERT_TRUE(x >= 0 && x <= xMax && y >= 0 && y <= yMax) << "seed " << seed;
      if (k < static_cast<std::size_t>(points) && (x == 0 || y == 0 || y == yMax)) ++onTheEdge;
    }
    EXPECT_GT(CountCode(grid, shaping::kLand), 0) << "seed " << seed;
  }
  EXPECT_GT(onTheEdge, 5);
  EXPECT_EQ(draws, 10913u);
}

// A sea border of 150 or 1000 rings is padded in full: the mass grid is the land's box
// widened by the border on every side. A border of a billion would size a canvas beyond
// memory: it is held to the most rings a mass is shaped with (a heavy build, 4000 x 4000
// squares ringed 2000 times, so it runs with the extremes).
void ExpectPaddedInFull(std::int32_t pad, std::int32_t rings) {
  for (const bool shapes : {false, true}) {
    checks::EngineRig<> rig;
    BuildContext context = rig.Context();
    // A Wandering Blob of one square, or a whole Rectangle of 100 squares.
    const shaping::MassGrid grid = shapes ? shaping::MakeShapeMass(context, 100, 0, 0, 1.0f, pad)
                                          : shaping::MakeWanderingBlob(context, 1, pad, 10, 10, 40, 15, 50, 15);
    // The land is 1 x 1, or a Rectangle of 6 x 16, ringed by the border on every side.
    const int w = shapes ? 6 : 1, h = shapes ? 16 : 1;
    EXPECT_EQ(grid(rings, rings), shaping::kLand) << shapes << ", pad " << pad;
    EXPECT_EQ(std::make_pair(grid.Width(), grid.Height()), std::make_pair(w + 2 * rings, h + 2 * rings))
        << shapes << ", pad " << pad;
  }
}

TEST(Edges, SeaBordersWiderThanTheBoxesHoldArePaddedInFull) {
  for (const int pad : {150, 1000}) ExpectPaddedInFull(pad, pad);
}

TEST(HeavyBuild, ASeaBorderBeyondMemoryIsHeldToTheMostRings) {
  ExpectPaddedInFull(1'000'000'000, shaping::kMostPadRings);
}

// "Calculate (Map)" at one square per city on 1100 x 1000 plans 1 100 000 cities, shared
// in proportion to the land of two masses of 1000 and 10 squares (653 465 + 435 644 and
// 6 535 + 4 356 at 60 % coastal): the second mass gets its share, and its cities.
TEST(Edges, MillionsOfCitiesArePlannedAsDrawn) {
  std::vector<std::string> rows = stagetest::FilledRows(1100, 1000, false, 'S');
  for (int y = 10; y < 35; ++y) rows[static_cast<std::size_t>(y)].replace(10, 40, 40, '0');
  for (int y = 900; y < 902; ++y) rows[static_cast<std::size_t>(y)].replace(1000, 5, 5, '1');
  stagetest::StageFixture f(7);
  stagetest::LoadRows(f.world, rows, false, {kLarge, kMedium});
  // Two billion cities would need three values each: the plan holds at its bound.
  std::vector<stages::CityBucket> buckets = stages::CollectCityBuckets(f.world, stages::kAllSizes);
  const stages::CityShareRule proportionately{stages::citymode::kProportionately, stages::kAllSizes,
                                              stages::citymode::kByTotalLand, {}, 60};
  EXPECT_EQ(stages::PlanCityShares(buckets, proportionately, 2'147'483'647), stages::kMostPlannedCities);
  BuildContext context = f.Context();
  stages::PlaceCities(context, 1, 1, 'M', 60, 75, 200, 10, 'P', 2, 'P', 0, 0, 0, 0);
  EXPECT_EQ(f.world.CityProduction.size(), 1'100'000u);
  int onSecond = 0;
  for (int y = 900; y < 902; ++y)
    for (int x = 1000; x < 1005; ++x) onSecond += f.world.WorldMap(x, y) == 'Y' ? 1 : 0;
  EXPECT_GT(onSecond, 0);
  EXPECT_EQ(checks::CheckWorld(f.world), "");
}

// The square queries read AryPos with the width of the last Build, completed or not, of the
// world the host holds: a 20 x 10 world with "C" at (1, 1), "A" along row 0 and "S"
// elsewhere, which a cancelled or refused Build leaves in place.
TEST(Edges, SquareQueriesUseTheWidthOfTheLastBuild) {
  // width, height: of a Build that is cancelled or refused (0: none).
  const struct { std::int16_t width, height; std::int32_t pos; std::int16_t answer; } rows[] = {
      {0, 0, 8, 1},      // no later Build: (8, 0) of the 20-wide world
      {7, 5, 8, 4},      // cancelled, 7 wide: (1, 1)
      {40, 5, 41, 4},    // cancelled, 40 wide: (1, 1)
      {0, 5, 8, 4},      // refused, no width: outside, without dividing by 0
      {-3, 5, 8, 4},     // refused, negative width: y = -2, outside
  };
  for (const auto& row : rows) {
    platform::HeadlessPlatform platform;
    clsBuild host(platform);
    HostWorld world;
    world.MapArray.Reset(20, 10, 'S');
    for (int x = 0; x < 20; ++x) world.MapArray(x, 0) = 'A';
    world.MapArray(1, 1) = 'C';
    host.SetWorld(world);
    if (row.width != 0 || row.height != 0) {
      EXPECT_FALSE(host.Build(row.width, row.height, false));
    }
    EXPECT_EQ(host.GetTerrainC(row.pos), row.answer) << row.width << " x " << row.height;
    EXPECT_EQ(host.GetTerrainVB(1, 1) + host.GetTerrainVB(1, 0), "CA") << row.width << " x " << row.height;
  }
}

// The mass preview centres the canvas with Int, the floor: a canvas 400 wide on the 301
// pixels of picMass starts at Int(-49.5) = -50.
TEST(Edges, MassPreviewOffsetsAreFloored) {
  const struct { int width, height; std::vector<int> cellAndOffsets; } rows[] = {
      {50, 50, {5, 25, 9}}, {400, 300, {1, -50, -16}}, {301, 269, {1, 0, 0}}, {302, 270, {1, -1, -1}}};
  for (const auto& row : rows) {
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    window.World().WatchMode = true;
    window.StartMassPreview(row.width, row.height);
    const WorldState& world = window.World();
    EXPECT_EQ(std::vector<int>({world.MassPreviewCell, world.MassPreviewOffsetX, world.MassPreviewOffsetY}), row.cellAndOffsets)
        << row.width << " x " << row.height;
  }
}

// Figures that ask for hours of work: the build makes every mass as asked, one at a time,
// shows two progress steps a mass out of 2 N + 21 (N the masses drawn, up to the bound of a
// size class), and the stop key ends it within a few yields once three masses are placed.
TEST(Edges, AbsurdWorkShowsItsProgressAndStopsOnTheStopKey) {
  const struct { const char* what; int width, height; bool wrap, watch; std::uint64_t seed; const char* lines; int progressMax; } rows[] = {
      // Whole Shapes figures, so that each mass is quick to make.
      {"a thousand Large masses of a million squares", 10, 10, false, false, 11,
       "txtLandMass(0) = 1000\ntxtLandMass(1) = 1000\ntxtLandMass(2) = 1000000\ntxtLandMass(3) = 1000000\n"
       "txtLandMass(6) = 0\ntxtLandMass(7) = 0\ntxtLandMass(12) = 0\ntxtLandMass(13) = 0\ntxtLandMass(18) = 0\n"
       "txtLandMass(19) = 0\nchkAlgorithm(0) = 0\nchkAlgorithm(1) = 0\ntxtShape(0) = 100", 2 * 1000 + 21},
      // Found by the build fuzz target, as two builds that once ended at the map's squares.
      {"1e308 Large masses of 7003 squares", 64, 48, true, false, 768,
       "txtLandMass(0) = \ntxtLandMass(1) = 1e308\ntxtLandMass(2) = 7003\ntxtLandMass(3) = \ntxtLandMass(6) = 0\n"
       "txtLandMass(7) = 0\ntxtLandMass(12) = 0\ntxtLandMass(13) = 0\nchkAlgorithm(1) = 0\nchkAlgorithm(2) = 0",
       2 * kMostMassesPerClass + 21},
      {"1e83 Medium masses ringed by sea borders 67 wide, in watch mode", 64, 64, true, true, 5,
       "txtLandMass(0) = 3\ntxtLandMass(1) = 3\ntxtLandMass(2) = 400\ntxtLandMass(3) = 602\ntxtLandMass(4) = 02\n"
       "txtLandMass(5) = 02\ntxtLandMass(6) = 1e83\ntxtLandMass(7) = 1e83\ntxtLandMass(8) = \ntxtLandMass(9) = 0\n"
       "txtLandMass(10) = 67\ntxtLandMass(11) = 67\ntxtLandMass(12) = 11\ntxtLandMass(13) = 11\ntxtLandMass(14) = \n"
       "txtLandMass(15) = \ntxtLandMass(18) = 10\ntxtLandMass(19) = 0\nchkLandPlace(1) = 1\nchkAlgorithm(0) = 0\n"
       "chkAlgorithm(2) = 0", 2 * (3 + kMostMassesPerClass + 11) + 21},
  };
  for (const auto& row : rows) {
    platform::HeadlessPlatform platform;
    platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
    ui::frmBuild window(platform);
    window.SetSeed(row.seed);
    int progressMax = 0;
    long long stopKeyAt = 0;
    platform.OnYield([&](platform::Window&) {
      progressMax = window.Progress().max;
      // Three masses made and placed: 1 + 3 * 2.
      if (stopKeyAt == 0 && window.Progress().value >= 7) {
        stopKeyAt = platform.YieldCount() + 1;
        platform.QueueKeyAtYield(stopKeyAt, {0, 0, 27});
      }
    });
    platform.AddModalAction([&](platform::Window&) {
      checks::ApplyWindowDefaults(window.Controls());
      std::istringstream lines(row.lines);
      for (std::string line; std::getline(lines, line);) window.Form().ApplySettingsLine(line);
      if (row.watch) window.Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
      window.Controls().At("cmdBuild", 0).Click();
    });
    HostWorld out;
    EXPECT_FALSE(window.GetMap(row.width, row.height, row.wrap, out)) << row.what;
    EXPECT_EQ(progressMax, row.progressMax) << row.what;
    ASSERT_GT(stopKeyAt, 0) << row.what;
    EXPECT_LT(platform.YieldCount() - stopKeyAt, 100) << row.what;
    EXPECT_EQ(checks::CheckWorld(window.World()), "") << row.what;
  }
}

}  // namespace
}  // namespace lorvex
