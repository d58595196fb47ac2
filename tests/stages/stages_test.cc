#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "stages/cities.h"
#include "stages/terrain.h"
#include "support/engine_rig.h"
#include "support/world_invariants.h"

namespace lorvex::stages {
namespace {

using StageFixture = checks::EngineRig<>;

// A flat world of open sea inside its border, with clear land of mass 0 on the squares given.
void SeaWorld(WorldState& world, int width, int height, const std::vector<std::pair<int, int>>& land) {
  world.SetMapSize(width, height, false);
  world.CreateInitialMap();
  world.MassTable = {{kLarge, static_cast<std::int32_t>(land.size())}};
  for (const auto& [x, y] : land) {
    world.WorldMap(x, y) = 'C';
    world.MassOfSquare(x, y) = 0;
  }
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
    const float got[] = {f.rivers, f.forest, f.rough, f.mountains}, want[] = {row.out.rivers, row.out.forest, row.out.rough, row.out.mountains};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], want[k], 2e-6) << row.in.rivers << ", fraction " << k;
  }
}


// The arguments of one PlaceCities call, named, with the window's defaults.
struct CityCall {
  std::int32_t numberHi = 150, numberLo = 100;
  char countMode = citymode::kSpecify;
  std::int16_t coastal = 65;
  std::int32_t productionLo = 75, productionHi = 200;
  std::int16_t specialty = 15;
  char mode = citymode::kRandomly;
  std::int16_t option = kNoMassOfItsOwn;
  char rule = citymode::kByTotalLand;
  std::array<std::int32_t, 4> perClass{35, 25, 20, 20};

  void Run(StageFixture& f) const {
    BuildContext context = f.Context();
    PlaceCities(context, numberHi, numberLo, countMode, coastal, productionLo, productionHi,
                specialty, mode, option, rule, perClass[0], perClass[1], perClass[2], perClass[3]);
  }
};

TEST(WorldCityCountRange, NumbersOrSquaresPerCity) {
  const struct { char mode; std::int32_t lo, hi; std::int64_t land, map, wantLo, wantHi; } rows[] = {
      {'N', 100, 150, 30000, 90000, 100, 150},
      {'L', 100, 150, 30000, 90000, 200, 300},
      {'M', 100, 150, 30000, 1000000, 6667, 10000},
      {'L', 100, 150, 250, 90000, 2, 2},        // 1.67 -> 2, 2.5 -> 2 (half to even)
      {'L', 0, 0, 30000, 90000, 30000, 30000},  // no squares per city reads as one
      {'L', 100, 150, 0, 90000, 0, 0},
      {'X', 5, 9, 30000, 90000, 5, 9},  // an unknown mode counts as "Specify"
  };
  for (const auto& row : rows) {
    const CityCountRange r = WorldCityCountRange(row.mode, row.lo, row.hi, row.land, row.map);
    EXPECT_EQ(std::make_pair(r.lo, r.hi), std::make_pair(row.wantLo, row.wantHi)) << row.mode << " " << row.lo << " " << row.hi;
  }
}

CityBucket MakeBucket(std::int16_t sizeClass, int coastal, int inland) {
  CityBucket b;
  b.sizeClass = sizeClass;
  b.coastal.assign(static_cast<std::size_t>(coastal), 0);
  b.inland.assign(static_cast<std::size_t>(inland), 0);
  return b;
}

TEST(PlanCityShares, EachRuleSharesAsItSays) {
  using P = std::pair<std::int64_t, std::int64_t>;  // coastal, inland
  const std::array<std::int32_t, 4> percent{35, 25, 20, 20}, counts{7, 5, 3, 1};
  const struct {
    const char* what;
    CityShareRule rule;
    std::vector<CityBucket> buckets;
    std::int64_t n;
    std::vector<P> want;
  } rows[] = {
      {"randomly 60 % of 101", {'R', -1, 'P', {}, 60}, {MakeBucket(3, 600, 400)}, 101, {{61, 40}}},
      {"randomly 50 % of 101", {'R', -1, 'P', {}, 50}, {MakeBucket(3, 600, 400)}, 101, {{50, 50}}},
      {"proportionately", {'P', 2, 'P', {}, 60}, {MakeBucket(0, 100, 200), MakeBucket(1, 350, 350)},
       100, {{18, 12}, {42, 28}}},
      {"evenly by land", {'E', 0, 'P', percent, 40},
       {MakeBucket(0, 50, 50), MakeBucket(0, 300, 0), MakeBucket(2, 0, 600)}, 50,
       {{4, 6}, {4, 6}, {12, 18}}},
      // The remaining land takes the Medium value under "Large Only"...
      {"evenly by percentage, Large Only", {'E', 0, '%', percent, 60},
       {MakeBucket(0, 10, 10), MakeBucket(0, 10, 10), MakeBucket(2, 10, 10)}, 100,
       {{10, 7}, {10, 7}, {15, 10}}},  // 10.5 -> 10
      // ... the Small value under "Large and Medium Only".
      {"evenly by percentage, Large and Medium", {'E', 1, '%', percent, 60},
       {MakeBucket(0, 10, 10), MakeBucket(1, 10, 10), MakeBucket(3, 10, 10)}, 100,
       {{21, 14}, {15, 10}, {12, 8}}},
      {"evenly by number: N unused, halves to even", {'E', 2, 'N', counts, 50},
       {MakeBucket(0, 1, 1), MakeBucket(1, 1, 1), MakeBucket(2, 1, 1), MakeBucket(3, 1, 1)}, 999,
       {{4, 4}, {2, 2}, {2, 2}, {0, 0}}},
      {"a bucket that holds no mass", {'E', 0, 'N', counts, 50},
       {MakeBucket(0, 5, 5), MakeBucket(-1, 0, 0)}, 0, {{4, 4}, {0, 0}}},
      {"more than 100 % coastal", {'R', -1, 'P', {}, 120}, {MakeBucket(3, 10, 10)}, 10, {{12, 0}}},
  };
  for (const auto& row : rows) {
    std::vector<CityBucket> buckets = row.buckets;
    const std::int64_t total = PlanCityShares(buckets, row.rule, row.n);
    std::vector<P> got;
    std::int64_t sum = 0;
    for (const CityBucket& b : buckets) {
      got.emplace_back(b.plannedCoastal, b.plannedInland);
      sum += b.plannedCoastal + b.plannedInland;
    }
    EXPECT_EQ(got, row.want) << row.what;
    EXPECT_EQ(total, sum) << row.what;
  }
}

// A plan larger than its list skips the surplus (its entries stay 0); specialty 0 % gives
// every city 9 and 100 % none; letters outside the lists and an empty map finish with a
// sound world. (The stress test builds hopeless maps and counts.)
TEST(PlaceCities, EdgeFiguresFinishWithASoundWorld) {
  std::vector<std::pair<int, int>> lone, strips;  // on 40 x 12 and 40 x 20
  for (int x : {4, 14, 24, 34}) lone.emplace_back(x, 6);
  for (int y = 3; y < 18; y += 2)
    for (int x = 3; x < 33; ++x) strips.emplace_back(x, y);
  // A count mode outside the list counts as "Specify": 100 .. 150 cities planned.
  const struct { const char* what; int height; std::vector<std::pair<int, int>> land; CityCall call; long long cities; std::size_t plannedLo, plannedHi; int specialties; } cases[] = {
      // cities: -1 any; specialties: cities with one, -1 any, -2 all
      {"ten planned on four squares", 12, lone, {.numberHi = 10, .numberLo = 10, .coastal = 100}, 4, 10, 10, -1},
      {"specialty 0 %", 20, strips, {.specialty = 0}, -1, 100, 150, 0},
      {"specialty 100 %", 20, strips, {.specialty = 100}, -1, 100, 150, -2},
      {"letters outside the lists", 20, strips, {.countMode = '?', .mode = 'Q', .option = 99, .rule = 'Z'}, -1, 100, 150, -1},
      {"empty map", 0, {}, {}, 0, 0, 0, -1},
  };
  for (const auto& c : cases) {
    StageFixture f(2);
    SeaWorld(f.world, c.height > 0 ? 40 : 0, c.height, c.land);
    c.call.Run(f);
    EXPECT_EQ(checks::CheckWorld(f.world, {.productionMin = c.call.productionLo, .productionMax = c.call.productionHi}), "") << c.what;
    EXPECT_EQ(f.hooks.progressValue, 2) << c.what;
    const long long cities = std::count(f.world.WorldMap.Cells().begin(), f.world.WorldMap.Cells().end(), 'Y');
    int specialties = 0;
    for (long long k = 0; k < cities; ++k) specialties += f.world.CitySpecialty[static_cast<std::size_t>(k)] >= 10 ? 1 : 0;
    EXPECT_TRUE(c.cities < 0 || cities == c.cities) << c.what << ": " << cities;
    EXPECT_TRUE(f.world.CityProduction.size() >= c.plannedLo && f.world.CityProduction.size() <= c.plannedHi)
        << c.what << ": " << f.world.CityProduction.size() << " planned";
    EXPECT_TRUE(c.specialties == -1 || (cities > 20 && specialties == (c.specialties == -2 ? cities : c.specialties)))
        << c.what << ": " << specialties << " of " << cities;
  }
}

// "Calculate (Map)" at one square per city on 1100 x 1000 plans 1 100 000 cities, shared
// in proportion to the land of two masses of 1000 and 10 squares (653 465 + 435 644 and
// 6 535 + 4 356 at 60 % coastal): the second mass gets its share, and its cities.
TEST(PlaceCities, MillionsOfCitiesArePlannedAsDrawn) {
  StageFixture f(7);
  f.world.SetMapSize(1100, 1000, false);
  f.world.CreateInitialMap();
  f.world.MassTable = {{kLarge, 1000}, {kMedium, 10}};
  for (const auto& [left, top, width, height, mass] : {std::array{10, 10, 40, 25, 0}, {1000, 900, 5, 2, 1}})
    for (int y = top; y < top + height; ++y)
      for (int x = left; x < left + width; ++x) {
        f.world.WorldMap(x, y) = 'C';
        f.world.MassOfSquare(x, y) = mass;
      }
  // Two billion cities would need three values each: the plan holds at its bound.
  std::vector<CityBucket> buckets = CollectCityBuckets(f.world, kAllSizes);
  const CityShareRule proportionately{citymode::kProportionately, kAllSizes,
                                      citymode::kByTotalLand, {}, 60};
  EXPECT_EQ(PlanCityShares(buckets, proportionately, 2'147'483'647), kMostPlannedCities);
  BuildContext context = f.Context();
  PlaceCities(context, 1, 1, 'M', 60, 75, 200, 10, 'P', 2, 'P', 0, 0, 0, 0);
  EXPECT_EQ(f.world.CityProduction.size(), 1'100'000u);
  int onSecond = 0;
  for (int y = 900; y < 902; ++y)
    for (int x = 1000; x < 1005; ++x) onSecond += f.world.WorldMap(x, y) == 'Y' ? 1 : 0;
  EXPECT_GT(onSecond, 0);
  EXPECT_EQ(checks::CheckWorld(f.world), "");
}

}  // namespace
}  // namespace lorvex::stages
