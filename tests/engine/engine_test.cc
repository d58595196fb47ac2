// The build driver and mass placement against the figures of their rules, and the builder at
// the edges of its parameters.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/build_driver.h"
#include "engine/mass_placement.h"
#include "engine/world_hash.h"
#include "host/cls_build.h"
#include "platform/headless_platform.h"
#include "shaping/shapes.h"
#include "shaping/wandering_blob.h"
#include "support/engine_rig.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

// The golden worlds rest on this fingerprint: a part of the world left out would let a
// changed world pass.
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


// The land warning when lo + hi exceeds the map's squares (no masses; tiny islands 5000 ..
// Hi on 10 000 squares): answered No, no build.
TEST(ValidateBuild, WarnsAboveHalfTheMap) {
  for (const auto& [tinyHi, warned] : {std::pair{"5000", false}, {"5001", true}}) {  // the map exactly, one over
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    window.World().SetMapSize(100, 100, false);
    for (int i : {0, 1, 6, 7, 12, 13}) window.Controls().At("txtLandMass", i).SetText("0");
    window.Controls().At("txtLandMass", 18).SetText("5000");
    window.Controls().At("txtLandMass", 19).SetText(tinyHi);
    platform.QueueAnswer(platform::MessageAnswer::kNo);
    EXPECT_EQ(window.ValidateBuild(), !warned) << tinyHi;
    EXPECT_EQ(platform.Messages().size(), warned ? 1u : 0u) << tinyHi;
  }
}

// Weights 1, 1, 2, all checked: Wandering Blob for p in [0, 1), Stick Blob for [1, 2), Shapes
// for [2, 4] (p = W included); without Wandering Blob W = 3.
TEST(AlgorithmForDraw, PicksTheFirstRunningSumAboveTheDraw) {
  const struct { bool wandering; float p; int algorithm; } rows[] = {
      {true, 0.999f, 0}, {true, 1.0f, 1}, {true, 2.0f, 2}, {true, 4.0f, 2}, {false, 0.5f, 1}, {false, 1.0f, 2}};
  for (const auto& row : rows) {
    platform::ControlSet controls = params::CreateWindowControls();
    controls.At("txtAlgorithm", 2).SetText("2");
    controls.At("chkAlgorithm", 0).SetValue(row.wandering ? 1 : 0);
    EXPECT_EQ(AlgorithmForDraw(params::ParameterView(controls), row.p), row.algorithm) << row.wandering << " " << row.p;
  }
}

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
      {1, 4, {12, 15}}, {1, 1, {50, 30}}, {3, 3, {62, 15}}};  // the rest of 4: the hand-worked world
  for (const auto& row : centres) EXPECT_EQ(EvenCentre(world, row.m, row.n), row.centre) << row.m << " of " << row.n;
  Grid<char> grid(60, 10, 'S');  // land spanning columns 2 .. 52 fits a cell 50 wide
  grid(2, 5) = grid(52, 5) = 'C';
  EXPECT_TRUE(FitsEvenSpacing(world, grid, 3));
  grid(53, 5) = 'C';
  EXPECT_FALSE(FitsEvenSpacing(world, grid, 3));
  EXPECT_TRUE(FitsEvenSpacing(world, Grid<char>(80, 80, 'S'), 3));
}

// Lo = Hi gives exactly those numbers of masses in class order, the tiny islands a last row
// only when there are some; a mass of more than 32767 squares is counted in full.
TEST(Edges, LoEqualHiGivesThoseCountsInClassOrder) {
  const struct { std::vector<const char*> land; std::vector<int> classes; int lastSquares; } rows[] = {
      {{"0", "0", "60", "60", "2", "2", "0", "0", "30", "30", "1", "1", "1", "1", "10", "10", "1", "1", "40", "40"}, {2, 3}, 40},
      {{"1", "1", "40000", "40000", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0"}, {0}, 32768},
  };
  for (const auto& row : rows) {
    checks::EngineRig<> rig(6);  // whole Rectangles, no terrain, on a wrapping 260 x 200
    platform::ControlSet& c = rig.controls;
    for (std::size_t i = 0; i < row.land.size(); ++i) c.At("txtLandMass", static_cast<int>(i)).SetText(row.land[i]);
    for (int i = 0; i < 2; ++i) c.At("chkAlgorithm", i).SetValue(0);
    c.At("txtShape", 0).SetText("100");
    for (int i = 1; i < 24; ++i) c.At("chkShape", i).SetValue(0);
    for (int i = 0; i < 8; ++i) c.At("txtTerrain", i).SetText("0");
    rig.world.SetMapSize(260, 200, true);
    BuildContext context = rig.Context();
    BuildWorld(context);
    const auto& table = rig.world.MassTable;
    std::vector<int> classes;
    for (const LandMass& mass : table) classes.push_back(mass.sizeClass);
    EXPECT_EQ(classes, row.classes);
    EXPECT_GE(table.back().squares, row.lastSquares);
    EXPECT_EQ(checks::CheckWorld(rig.world), "");
  }
}

// A sea border of 150 or 1000 rings is padded in full round the land's box; one of a billion
// is held to the most rings a mass is shaped with (a heavy build: it runs with the extremes).
void ExpectPaddedInFull(std::int32_t pad, std::int32_t rings) {
  for (const bool shapes : {false, true}) {
    checks::EngineRig<> rig;
    BuildContext context = rig.Context();
    const shaping::MassGrid grid = shapes ? shaping::MakeShapeMass(context, 100, 0, 0, 1.0f, pad)
                                          : shaping::MakeWanderingBlob(context, 1, pad, 10, 10, 40, 15, 50, 15);
    // A Wandering Blob of one square, or a whole Rectangle of 6 x 16.
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

// The square queries read AryPos with the width of the last Build, completed or not (width,
// height; 0: none), of the world the host holds, which a cancelled or refused Build keeps.
TEST(Edges, SquareQueriesUseTheWidthOfTheLastBuild) {
  const struct { std::int16_t width, height; std::int32_t pos; std::int16_t answer; } rows[] = {
      {0, 0, 8, 1},      // no later Build: (8, 0) of the 20-wide world
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

}  // namespace
}  // namespace lorvex
