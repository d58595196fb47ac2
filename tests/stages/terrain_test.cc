#include "stages/terrain.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stage_fixture.h"
#include "support/world_invariants.h"

namespace lorvex::stages {
namespace {

using stagetest::CountCode;
using stagetest::FilledRows;
using stagetest::LoadRows;
using stagetest::StageFixture;

const std::vector<std::string> kTerrainStatuses = {"Terrain - Mountain", "Terrain - Rough",
                                                   "Terrain - Forest", "Terrain - Rivers"};

long long LandCount(const WorldState& world) {
  long long n = 0;
  for (char c : world.WorldMap.Cells()) n += IsLand(c) ? 1 : 0;
  return n;
}

TEST(CapTerrainFractions, ScalesAllFourUntilTheSumIsAtMostThreeQuarters) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
  const struct { TerrainFractions in, out; } rows[] = {
      {{0.3f, 0.3f, 0.3f, 0.3f}, {0.177147f, 0.177147f, 0.177147f, 0.177147f}},  // 0.9^5
      {{0.2f, 0.2f, 0.2f, 0.2f}, {0.18f, 0.18f, 0.18f, 0.18f}},                  // once
      {{0.1875f, 0.1875f, 0.1875f, 0.1875f}, {0.1875f, 0.1875f, 0.1875f, 0.1875f}},  // 0.75 stays
      {{0.5f, 0.3f, 0.2f, 0.0f}, {0.3645f, 0.2187f, 0.1458f, 0.0f}},  // 1.0 scaled three times
      {{inf, 0.1f, nan, 0.1f}, {0.0f, 0.1f, 0.0f, 0.1f}},            // not a number: nothing
  };
  for (const auto& row : rows) {
    const TerrainFractions f = CapTerrainFractions(row.in);
    EXPECT_NEAR(f.rivers, row.out.rivers, 2e-6) << row.in.rivers;
    EXPECT_NEAR(f.forest, row.out.forest, 2e-6) << row.in.rivers;
    EXPECT_NEAR(f.rough, row.out.rough, 2e-6) << row.in.rivers;
    EXPECT_NEAR(f.mountains, row.out.mountains, 2e-6) << row.in.rivers;
  }
}

TEST(ClusterSizeRange, EachTestAppliesOnItsOwnFromItsThreshold) {
  const struct { LandWindow w; std::int32_t lo, hi; } rows[] = {
      {{18, 36, 60, 126, 217}, 2, 5},  // every count one short (c8 must be above 217)
      {{19, 0, 0, 0, 0}, 5, 10},       // replaces the start values
      {{0, 37, 0, 0, 0}, 5, 12},       {{0, 0, 61, 0, 0}, 5, 14},
      {{0, 0, 0, 127, 0}, 7, 16},      {{0, 0, 0, 0, 218}, 7, 18},
      {{19, 37, 61, 127, 217}, 16, 37}, {{25, 49, 81, 169, 289}, 21, 50},
  };
  for (const auto& row : rows) {
    const ClusterRange r = ClusterSizeRange(row.w);
    EXPECT_EQ(r.lo, row.lo) << row.w.c2 << " " << row.w.c8;
    EXPECT_EQ(r.hi, row.hi) << row.w.c2 << " " << row.w.c8;
  }
}

// A fraction of 0 lays nothing of its kind (and draws no start square), but shows its
// status and raises the bar by 2 like the others.
TEST(PlaceTerrain, AZeroFractionLaysNothingButShowsItsStatus) {
  const char codes[4] = {'R', 'F', 'G', 'M'};  // in the order of the call's fractions
  for (int zero = -1; zero < 4; ++zero) {
    StageFixture f(7);
    LoadRows(f.world, FilledRows(60, 40, false, 'C'), false);
    float p[4] = {0.05f, 0.05f, 0.05f, 0.05f};
    for (int k = 0; k < 4; ++k)
      if (zero < 0 || k == zero) p[k] = 0;
    BuildContext context = f.Context();
    PlaceTerrain(context, p[0], p[1], p[2], p[3]);
    EXPECT_EQ(f.hooks.statuses, kTerrainStatuses);
    EXPECT_EQ(f.hooks.progressValue, 8);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(CountCode(f.world, codes[k]) == 0, p[k] == 0) << codes[k];
    EXPECT_EQ(f.random.Next() == Random(7).Next(), zero < 0);  // no start square drawn for nothing
  }
}

// Whatever the map and the fractions, the stage ends, shows its four statuses, raises the
// bar by 8 and changes no square from land to water or back.
TEST(PlaceTerrain, WorldsWithLittleOrNoClearLandFinish) {
  const struct { const char* what; std::vector<std::string> rows; bool wrap; } cases[] = {
      {"empty map", {}, false},
      {"one square", {"A"}, false},
      {"no land", FilledRows(40, 30, false, 'S'), false},
      {"all land, wrapping", FilledRows(40, 30, true, 'C'), true},
      {"one wrapping row of land", FilledRows(7, 3, true, 'C'), true},
      {"all mountains", FilledRows(30, 20, false, 'M'), false},
  };
  const float inf = std::numeric_limits<float>::infinity();
  const TerrainFractions fractions[] = {{1, 1, 1, 1}, {0.75f, std::nanf(""), inf, -1}, {0, 0, 0, 100}};
  for (const auto& c : cases)
    for (const TerrainFractions& p : fractions) {
      StageFixture f;
      LoadRows(f.world, c.rows, c.wrap);
      const long long land = LandCount(f.world);
      BuildContext context = f.Context();
      PlaceTerrain(context, p.rivers, p.forest, p.rough, p.mountains);
      EXPECT_EQ(f.hooks.progressValue, 8) << c.what;
      EXPECT_EQ(f.hooks.statuses, kTerrainStatuses) << c.what;
      EXPECT_EQ(LandCount(f.world), land) << c.what;
    }
}

}  // namespace
}  // namespace lorvex::stages
