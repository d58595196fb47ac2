// The builder at the edges of its parameters: figures far outside what the boxes let a
// person type, masses larger than the map, sea borders wider than a box holds, maps with
// almost no sea, city counts in the millions, and the queries and loads around a build.
// Every figure a build draws is used as drawn; where memory alone sets a limit, the limit
// is a fixed constant, and a build that asks for absurd work still shows its progress and
// stops on the stop key.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/draw_count.h"
#include "engine/build_driver.h"
#include "engine/mass_placement.h"
#include "engine/tiny_islands.h"
#include "engine/world_hash.h"
#include "host/cls_build.h"
#include "params/form_fixture.h"
#include "platform/headless_platform.h"
#include "shaping/blob_growth.h"
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

using Setting = std::pair<const char*, const char*>;  // a parameter box and its text

using shaping::testing::CountCode;
using shaping::testing::ShapingFixture;  // records the mass preview's canvas and land squares

// A whole build on a flat map through the driver, with the window's defaults but for the
// given boxes.
struct DriverBuild {
  DriverBuild(std::int32_t width, std::int32_t height, std::uint64_t seed,
              const std::vector<Setting>& settings)
      : rig(seed) {
    for (const auto& [key, text] : settings) {
      const std::string name(key);
      const auto open = name.find('(');
      rig.controls.At(name.substr(0, open), std::stoi(name.substr(open + 1))).SetText(text);
    }
    rig.world.SetMapSize(width, height, false);
    BuildContext context = rig.Context();
    BuildWorld(context);
  }
  checks::EngineRig<> rig;
};

// 10 x 10, seed 9: 50 Large and 50 Medium masses, 5 tiny-island squares, and 0, 7 or 50
// Small masses. Every mass drawn has its row (and the tiny islands one more), and the
// progress bar counts two steps a mass: none is left out because the map is full.
TEST(Edges, EveryMassDrawnHasItsRowAndItsProgress) {
  const struct {
    const char* small;
    std::size_t rows;
    int progressMax;
  } rows[] = {{"0", 101, 221}, {"7", 108, 235}, {"50", 151, 321}};
  for (const auto& row : rows) {
    const DriverBuild build(10, 10, 9,
                            {{"txtLandMass(0)", "50"}, {"txtLandMass(1)", "50"},
                             {"txtLandMass(6)", "50"}, {"txtLandMass(7)", "50"},
                             {"txtLandMass(12)", row.small}, {"txtLandMass(13)", row.small},
                             {"txtLandMass(18)", "5"}, {"txtLandMass(19)", "5"}});
    EXPECT_EQ(build.rig.world.MassTable.size(), row.rows) << row.small << " Small";
    EXPECT_EQ(build.rig.hooks.progressMax, row.progressMax) << row.small << " Small";
    EXPECT_EQ(checks::CheckWorld(build.rig.world), "") << row.small << " Small";
  }
}

// 20 x 20, seed 4: Large masses of 400 and of 600 squares are both shaped and dropped (no
// room on the map), but shaping them draws differently, so the two worlds differ.
TEST(Edges, AMassLargerThanTheMapIsShapedAsDrawnAndDropped) {
  std::vector<std::uint64_t> hashes;
  for (const char* size : {"400", "600"}) {
    const DriverBuild build(20, 20, 4, {{"txtLandMass(2)", size}, {"txtLandMass(3)", size}});
    for (const LandMass& mass : build.rig.world.MassTable)
      if (mass.sizeClass == kLarge) {
        EXPECT_EQ(mass.squares, 0) << size;
      }
    hashes.push_back(WorldHash(build.rig.world));
  }
  EXPECT_NE(hashes[0], hashes[1]);
}

// A 9-wide mass on a 5-wide wrapping map lands on some squares twice: its middle row
// S C C C C C C C S falls, from grid column 0, on x = 3 4 0 1 2 3 4 0 1. Every "C" written
// counts, also over land the mass wrote before, and writing "S" over its own land leaves
// the square's mass number alone: the map keeps C S C C C, the row counts 7.
TEST(Edges, EveryLandSquareWrittenCountsAndSeaBorderKeepsTheMassNumber) {
  checks::EngineRig<> rig;
  rig.world.SetMapSize(5, 7, true);
  rig.world.CreateInitialMap();
  rig.world.MassTable.assign(1, LandMass{});
  Grid<char> grid(9, 3, 'S');
  for (int i = 1; i <= 7; ++i) grid(i, 1) = 'C';
  BuildContext context = rig.Context();
  WriteMassAt(context, grid, 2, 3, 0);
  std::string row;
  for (int x = 0; x < 5; ++x) row += rig.world.WorldMap(x, 3);
  EXPECT_EQ(row, "CSCCC");
  EXPECT_EQ(rig.world.MassTable[0].squares, 7);
  EXPECT_EQ(rig.world.MassOfSquare(1, 3), 0);
}

using BlobShaper = shaping::MassGrid (*)(BuildContext&, std::int32_t, std::int32_t, std::int16_t,
                                         std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                         std::int16_t);
const struct {
  const char* name;
  BlobShaper shape;
} kBlobShapers[] = {{"Stick Blob", shaping::MakeStickBlob}, {"Wandering Blob", shaping::MakeWanderingBlob}};

// A mass larger than the inside of its frame fills x from Pad to XMax - Pad - 1 and, in
// each column, y from Pad to YMax - Pad - 1. With no sea border that is from column and row
// 0, which the crop never sees: 5 squares on a 3 x 3 fill (spans 1) keep only (1, 1).
TEST(Edges, TheFallbackFillStartsAtTheSeaBorder) {
  const struct {
    int pad, squares;
    std::pair<int, int> first;
    int land;
  } rows[] = {
      {0, 5, {0, 0}, 1},    // (0, 0) (0, 1) (0, 2) (1, 0) (1, 1): only (1, 1) is cropped in
      {0, 9, {0, 0}, 4},    // the whole 3 x 3: x, y = 1 .. 2 remain
      {2, 5, {2, 2}, 5},    // (2, 2) (2, 3) (2, 4) (3, 2) (3, 3), all inside the crop
  };
  for (const auto& row : rows)
    for (const auto& shaper : kBlobShapers) {
      ShapingFixture rig;
      BuildContext context = rig.Context();
      const shaping::MassGrid grid = shaper.shape(context, row.squares, row.pad, 1, 1, 6, 25, 50, 15);
      ASSERT_EQ(rig.hooks.land.size(), static_cast<std::size_t>(row.squares)) << shaper.name;
      EXPECT_EQ(rig.hooks.land.front(), row.first) << shaper.name << " pad " << row.pad;
      EXPECT_EQ(CountCode(grid, shaping::kLand), row.land) << shaper.name << " pad " << row.pad;
    }
}

// With a tightness of 50 every candidate is refused (x <= XMax / 2 or x >= XMax / 2), so
// every anchor point is its 101st candidate, taken as drawn: on a 7 x 7 canvas (no sea
// border, spans 4) a third of them fall on column 0 or row 0. The growth beside such a
// point treats the outside of the canvas as closed and stays on it, with no draw more or
// less than the square tests ask for: the twenty masses take the draws they always took.
TEST(Edges, TheLastAnchorCandidateIsTakenAsDrawn) {
  int onTheEdge = 0;
  std::uint64_t draws = 0;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    ShapingFixture rig(seed);
    BuildContext context = rig.Context();
    const shaping::MassGrid grid = shaping::MakeStickBlob(context, 20, 0, 4, 4, 3, 50, 50, 15);
    draws += DrawsBetween(Random(seed), rig.random, 1'000'000).value_or(0);
    const auto [xMax, yMax] = rig.hooks.previews.back();
    ASSERT_EQ(xMax, 6);
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

  // Land on column 0: a step west finds neither open canvas nor frame, so it counts no hit
  // on the west side (north and south lie on the frame ring of column 0; east is open).
  for (std::uint64_t seed = 1; seed <= 50; ++seed) {
    ShapingFixture rig(seed);
    BuildContext context = rig.Context();
    shaping::BlobCanvas blob(2, 0, 4, 4);
    blob.AddLand(context, 0, 3);
    std::int32_t low = 0;
    ASSERT_EQ(blob.AddGrowthSquare(context, low, 15), shaping::Growth::kGrown) << "seed " << seed;
    EXPECT_EQ(blob.Hits(shaping::kLeftSide), 0) << "seed " << seed;
    EXPECT_EQ(blob.At(1, 3), shaping::kLand) << "seed " << seed;
  }
}

// A sea border of 150 or 1000 rings is padded in full: the mass grid is the land's box
// widened by the border on every side. A border of a billion would size a canvas beyond
// memory: it is held to the most rings a mass is shaped with.
TEST(Edges, SeaBordersWiderThanTheBoxesHoldArePaddedInFull) {
  const struct {
    std::int32_t asked, rings;
  } rows[] = {{150, 150}, {1000, 1000}, {1'000'000'000, shaping::kMostPadRings}};
  for (const auto& [pad, rings] : rows)
    for (const bool shapes : {false, true}) {
      checks::EngineRig<> rig;
      BuildContext context = rig.Context();
      // A Wandering Blob of one square, or a whole Rectangle of 100 squares.
      const shaping::MassGrid grid =
          shapes ? shaping::MakeShapeMass(context, 100, 0, 0, 1.0f, pad)
                 : shaping::MakeWanderingBlob(context, 1, pad, 10, 10, 40, 15, 50, 15);
      int minX = grid.Width(), maxX = -1, minY = grid.Height(), maxY = -1;
      for (int y = 0; y < grid.Height(); ++y)
        for (int x = 0; x < grid.Width(); ++x)
          if (grid(x, y) == shaping::kLand) {
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
          }
      const char* what = shapes ? "Rectangle" : "one square";
      EXPECT_EQ(minX, rings) << what << ", pad " << pad;
      EXPECT_EQ(minY, rings) << what << ", pad " << pad;
      EXPECT_EQ(grid.Width() - 1 - maxX, rings) << what << ", pad " << pad;
      EXPECT_EQ(grid.Height() - 1 - maxY, rings) << what << ", pad " << pad;
    }
}

// A map of land with one or two sea squares: the seed search goes on until it finds them
// (on the largest map often past four million misses), and the stage ends when no sea is
// left, short of the squares asked for.
TEST(Edges, TinyIslandsTakeTheLastSeaSquares) {
  const struct {
    std::uint64_t seed;
    int side;
    std::vector<std::pair<int, int>> sea;
    std::int32_t asked, placed;
  } rows[] = {
      {6, 4096, {{2000, 3000}}, 1, 1},  // found at the 4 835 006th draw
      {2, 64, {{17, 40}, {40, 17}}, 5, 2},
  };
  for (const auto& row : rows) {
    checks::EngineRig<> rig(row.seed);
    WorldState& world = rig.world;
    world.SetMapSize(row.side, row.side, false);
    world.WorldMap.Reset(row.side, row.side, 'C');
    world.MassOfSquare.Reset(row.side, row.side, 0);
    for (const auto& [x, y] : row.sea) world.WorldMap(x, y) = 'S';
    BuildContext context = rig.Context();
    EXPECT_EQ(PlaceTinyIslands(context, row.asked, 1), row.placed) << "seed " << row.seed;
    for (const auto& [x, y] : row.sea) {
      EXPECT_EQ(world.WorldMap(x, y), 'C') << "seed " << row.seed;
      EXPECT_EQ(world.MassOfSquare(x, y), 1) << "seed " << row.seed;
    }
  }
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

// The square queries read AryPos with the width of the last Build, completed or not. The
// host holds a 20 x 10 world with "C" at (1, 1), "A" along row 0 and "S" elsewhere.
TEST(Edges, SquareQueriesUseTheWidthOfTheLastBuild) {
  const struct {
    std::int16_t width, height;  // of a Build that is cancelled or refused (0: none)
    std::int32_t pos;
    std::int16_t answer;
  } rows[] = {
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
  }
}

// Loading revalidates every field whether the file was read, is missing, is a folder or
// has a name the file system refuses: "0" in a weight box becomes "1" each time.
TEST(Edges, EveryLoadRevalidatesTheFields) {
  const struct {
    const char* what;
    std::string file;
    bool folder;
  } rows[] = {
      {"a missing file", "gone.kst", false},
      {"a folder", "folder.kst", true},
      {"a name too long for the file system", std::string(5000, 'x') + ".kst", false},
  };
  for (const auto& row : rows) {
    params::testing::InEmptyDirectory dir;
    params::testing::FormFixture f;
    if (row.folder) std::filesystem::create_directory(row.file);
    f.At("txtAlgorithm", 0).SetText("0");
    f.form.LoadSettingsFile(row.file);
    EXPECT_EQ(f.Text("txtAlgorithm", 0), "1") << row.what;
  }
}

// The mass preview centres the canvas with Int, the floor: a canvas 400 wide on the 301
// pixels of picMass starts at Int(-49.5) = -50.
TEST(Edges, MassPreviewOffsetsAreFloored) {
  const struct {
    int width, height, cell, offsetX, offsetY;
  } rows[] = {
      {50, 50, 5, 25, 9},
      {400, 300, 1, -50, -16},
      {301, 269, 1, 0, 0},
      {302, 270, 1, -1, -1},
  };
  for (const auto& row : rows) {
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    window.World().WatchMode = true;
    window.StartMassPreview(row.width, row.height);
    const WorldState& world = window.World();
    EXPECT_EQ(world.MassPreviewCell, row.cell) << row.width << " x " << row.height;
    EXPECT_EQ(world.MassPreviewOffsetX, row.offsetX) << row.width << " x " << row.height;
    EXPECT_EQ(world.MassPreviewOffsetY, row.offsetY) << row.width << " x " << row.height;
  }
}

// Figures that ask for hours of work: the build makes every mass as asked, one at a time,
// shows two progress steps a mass out of 2 N + 21 (N the masses drawn, up to the bound of a
// size class), and the stop key ends it within a few yields once three masses are placed.
TEST(Edges, AbsurdWorkShowsItsProgressAndStopsOnTheStopKey) {
  const struct {
    const char* what;
    int width, height;
    bool wrap, watch;
    std::uint64_t seed;
    std::vector<Setting> settings;  // over the window's defaults
    int progressMax;
  } rows[] = {
      // Whole Shapes figures, so that each mass is quick to make.
      {"a thousand Large masses of a million squares", 10, 10, false, false, 11,
       {{"txtLandMass(0)", "1000"}, {"txtLandMass(1)", "1000"}, {"txtLandMass(2)", "1000000"},
        {"txtLandMass(3)", "1000000"}, {"txtLandMass(6)", "0"}, {"txtLandMass(7)", "0"},
        {"txtLandMass(12)", "0"}, {"txtLandMass(13)", "0"}, {"txtLandMass(18)", "0"},
        {"txtLandMass(19)", "0"}, {"chkAlgorithm(0)", "0"}, {"chkAlgorithm(1)", "0"},
        {"txtShape(0)", "100"}},
       2 * 1000 + 21},
      // Found by the build fuzz target, as two builds that once ended at the map's squares.
      {"1e308 Large masses of 7003 squares", 64, 48, true, false, 768,
       {{"txtLandMass(0)", ""}, {"txtLandMass(1)", "1e308"}, {"txtLandMass(2)", "7003"},
        {"txtLandMass(3)", ""}, {"txtLandMass(6)", "0"}, {"txtLandMass(7)", "0"},
        {"txtLandMass(12)", "0"}, {"txtLandMass(13)", "0"}, {"chkAlgorithm(1)", "0"},
        {"chkAlgorithm(2)", "0"}},
       2 * kMostMassesPerClass + 21},
      {"1e83 Medium masses ringed by sea borders 67 wide, in watch mode", 64, 64, true, true, 5,
       {{"txtLandMass(0)", "3"}, {"txtLandMass(1)", "3"}, {"txtLandMass(2)", "400"},
        {"txtLandMass(3)", "602"}, {"txtLandMass(4)", "02"}, {"txtLandMass(5)", "02"},
        {"txtLandMass(6)", "1e83"}, {"txtLandMass(7)", "1e83"}, {"txtLandMass(8)", ""},
        {"txtLandMass(9)", "0"}, {"txtLandMass(10)", "67"}, {"txtLandMass(11)", "67"},
        {"txtLandMass(12)", "11"}, {"txtLandMass(13)", "11"}, {"txtLandMass(14)", ""},
        {"txtLandMass(15)", ""}, {"txtLandMass(18)", "10"}, {"txtLandMass(19)", "0"},
        {"chkLandPlace(1)", "1"}, {"chkAlgorithm(0)", "0"}, {"chkAlgorithm(2)", "0"}},
       2 * (3 + kMostMassesPerClass + 11) + 21},
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
      for (const auto& [key, text] : row.settings)
        window.Form().ApplySettingsLine(std::string(key) + " = " + text);
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
