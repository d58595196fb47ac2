#include "stages/cities.h"

#include <algorithm>
#include <cmath>
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
using stagetest::ScatterIslands;
using stagetest::StageFixture;

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
  CityShareRule Rule() const { return {mode, option, rule, perClass, coastal}; }
};

CityBucket MakeBucket(std::int16_t sizeClass, int coastal, int inland) {
  CityBucket b;
  b.sizeClass = sizeClass;
  b.coastal.assign(static_cast<std::size_t>(coastal), 0);
  b.inland.assign(static_cast<std::size_t>(inland), 0);
  return b;
}

// Cities on the squares of a list.
std::int64_t CitiesOn(const WorldState& world, const std::vector<SquareNumber>& list) {
  std::int64_t n = 0;
  for (const SquareNumber s : list)
    n += world.WorldMap(s % world.MapWidth, s / world.MapWidth) == terrain::kCity ? 1 : 0;
  return n;
}

std::string Sound(const WorldState& world, int productionLo = 75, int productionHi = 200) {
  checks::InvariantOptions options;
  options.productionMin = productionLo;
  options.productionMax = productionHi;
  return checks::CheckWorld(world, options);
}

TEST(WorldCityCountRange, NumbersOrSquaresPerCity) {
  const struct {
    char mode;
    std::int32_t lo, hi;
    std::int64_t land, map, wantLo, wantHi;
  } rows[] = {
      {'N', 100, 150, 30000, 90000, 100, 150},
      {'L', 100, 150, 30000, 90000, 200, 300},
      {'M', 100, 150, 30000, 1000000, 6667, 10000},
      {'L', 100, 150, 250, 90000, 2, 2},        // 1.67 -> 2, 2.5 -> 2 (half to even)
      {'L', 0, 0, 30000, 90000, 30000, 30000},  // no squares per city reads as one
      {'M', 0, 150, 30000, 90000, 600, 90000},
      {'L', 100, 150, 0, 90000, 0, 0},
      {'X', 5, 9, 30000, 90000, 5, 9},  // an unknown mode counts as "Specify"
  };
  for (const auto& row : rows) {
    const CityCountRange r = WorldCityCountRange(row.mode, row.lo, row.hi, row.land, row.map);
    EXPECT_EQ(r.lo, row.wantLo) << row.mode << " " << row.lo << " " << row.hi;
    EXPECT_EQ(r.hi, row.wantHi) << row.mode << " " << row.lo << " " << row.hi;
  }
}

TEST(PlanCityShares, EachRuleSharesAsItSays) {
  using P = std::pair<std::int64_t, std::int64_t>;  // coastal, inland
  struct Row {
    const char* what;
    CityShareRule rule;
    std::vector<CityBucket> buckets;
    std::int64_t n;
    std::vector<P> want;
  };
  const std::array<std::int32_t, 4> perClass{35, 25, 20, 20};
  const std::array<std::int32_t, 4> counts{7, 5, 3, 1};
  const Row rows[] = {
      {"randomly 60 % of 101", {'R', -1, 'P', {}, 60}, {MakeBucket(3, 600, 400)}, 101, {{61, 40}}},
      {"randomly 50 % of 101", {'R', -1, 'P', {}, 50}, {MakeBucket(3, 600, 400)}, 101, {{50, 50}}},
      {"proportionately",
       {'P', 2, 'P', {}, 60},
       {MakeBucket(0, 100, 200), MakeBucket(1, 350, 350)},
       100,
       {{18, 12}, {42, 28}}},
      {"evenly by land",
       {'E', 0, 'P', perClass, 40},
       {MakeBucket(0, 50, 50), MakeBucket(0, 300, 0), MakeBucket(2, 0, 600)},
       50,
       {{4, 6}, {4, 6}, {12, 18}}},
      // The remaining land takes the Medium value under "Large Only"...
      {"evenly by percentage, Large Only",
       {'E', 0, '%', perClass, 60},
       {MakeBucket(0, 10, 10), MakeBucket(0, 10, 10), MakeBucket(2, 10, 10)},
       100,
       {{10, 7}, {10, 7}, {15, 10}}},  // 10.5 -> 10
      // ... the Small value under "Large and Medium Only".
      {"evenly by percentage, Large and Medium",
       {'E', 1, '%', perClass, 60},
       {MakeBucket(0, 10, 10), MakeBucket(1, 10, 10), MakeBucket(3, 10, 10)},
       100,
       {{21, 14}, {15, 10}, {12, 8}}},
      // Every class its own value; N is not used; halves go to even.
      {"evenly by number",
       {'E', 2, 'N', counts, 50},
       {MakeBucket(0, 1, 1), MakeBucket(1, 1, 1), MakeBucket(2, 1, 1), MakeBucket(3, 1, 1)},
       999,
       {{4, 4}, {2, 2}, {2, 2}, {0, 0}}},
      {"a bucket that holds no mass",
       {'E', 0, 'N', counts, 50},
       {MakeBucket(0, 5, 5), MakeBucket(-1, 0, 0)},
       0,
       {{4, 4}, {0, 0}}},
      {"no land", {'P', 2, 'P', {}, 60}, {MakeBucket(0, 0, 0)}, 100, {{0, 0}}},
      {"more than 100 % coastal", {'R', -1, 'P', {}, 120}, {MakeBucket(3, 10, 10)}, 10, {{12, 0}}},
  };
  for (const Row& row : rows) {
    std::vector<CityBucket> buckets = row.buckets;
    const std::int64_t total = PlanCityShares(buckets, row.rule, row.n);
    std::int64_t sum = 0;
    ASSERT_EQ(buckets.size(), row.want.size()) << row.what;
    for (std::size_t b = 0; b < buckets.size(); ++b) {
      EXPECT_EQ(buckets[b].plannedCoastal, row.want[b].first) << row.what << " bucket " << b;
      EXPECT_EQ(buckets[b].plannedInland, row.want[b].second) << row.what << " bucket " << b;
      sum += row.want[b].first + row.want[b].second;
    }
    EXPECT_EQ(total, sum) << row.what;
  }
}

TEST(CityNeighbourTests, CoastIsSeaOnASideAndCitiesAreLookedForInASquare) {
  for (bool wrap : {false, true}) {
    WorldState world;
    LoadRows(world, {"ASAAAAAAA", "CCCCSAAAS", "AAAAAAAAA", "YCCCCCCCA", "AAAAAAAAA"}, wrap);
    EXPECT_TRUE(HasCoastNeighbour(world, 0, 1));   // west of column 0 is column 8, even when flat
    EXPECT_TRUE(HasCoastNeighbour(world, 1, 1));   // sea to the north
    EXPECT_TRUE(HasCoastNeighbour(world, 3, 1));   // sea to the east
    EXPECT_FALSE(HasCoastNeighbour(world, 2, 1));  // border water is not sea
    EXPECT_TRUE(HasCoastNeighbour(world, 0, 0));   // east; nothing north of the top row
    EXPECT_FALSE(HasCoastNeighbour(world, 2, 4));

    EXPECT_TRUE(CityWithin(world, 2, 3, 2));
    EXPECT_FALSE(CityWithin(world, 3, 3, 2));
    EXPECT_FALSE(CityWithin(world, 2, 3, 1));
    EXPECT_TRUE(CityWithin(world, 1, 3, 0));      // a radius below 1 counts as 1
    EXPECT_TRUE(CityWithin(world, 0, 3, 1));      // the square itself
    EXPECT_TRUE(CityWithin(world, 1, 4, 1));      // rows outside the map are skipped
    EXPECT_TRUE(CityWithin(world, 0, 0, 100));    // a radius past the map sees it all
    EXPECT_EQ(CityWithin(world, 7, 3, 2), wrap);  // columns 9 and 10 wrap to 0 and 1
    EXPECT_EQ(CityWithin(world, 8, 2, 1), wrap);
  }
}

TEST(CollectCityBuckets, OneScanGivesTheListsOfAScanPerBucket) {
  for (bool wrap : {false, true}) {
    WorldState world;
    ScatterIslands(world, 120, 90, wrap, 40, wrap ? 5 : 6);
    const auto masses = static_cast<std::int32_t>(world.MassTable.size());
    for (std::int16_t option : {-3, -1, 0, 1, 2, 5}) {
      const std::vector<CityBucket> buckets = CollectCityBuckets(world, option);
      const int held = std::clamp<int>(option, -1, 2);
      // The class-ordered table makes the masses that get a bucket of their own a prefix.
      std::int32_t own = 0;
      while (own < masses &&
             (held == 2 || world.MassTable[static_cast<std::size_t>(own)].sizeClass <= held))
        ++own;
      const std::int32_t count = held == 2 ? masses : own + 1;
      ASSERT_EQ(static_cast<std::int32_t>(buckets.size()), count) << option;
      for (std::int32_t m = 0; m < count; ++m) {
        const bool last = m == count - 1;
        CityBucket want;
        for (std::int32_t row = m; row < (last ? masses : m + 1); ++row)
          want.sizeClass =
              std::max(want.sizeClass, world.MassTable[static_cast<std::size_t>(row)].sizeClass);
        for (int y = 0; y < world.MapHeight; ++y)
          for (int x = 0; x < world.MapWidth; ++x) {
            const int mass = world.MassOfSquare(x, y);
            if (!IsLand(world.WorldMap(x, y)) || !(mass == m || (last && mass > m))) continue;
            (HasCoastNeighbour(world, x, y) ? want.coastal : want.inland)
                .push_back(y * world.MapWidth + x);
          }
        EXPECT_EQ(buckets[static_cast<std::size_t>(m)].sizeClass, want.sizeClass)
            << option << " " << m;
        EXPECT_EQ(buckets[static_cast<std::size_t>(m)].coastal, want.coastal) << option << " " << m;
        EXPECT_EQ(buckets[static_cast<std::size_t>(m)].inland, want.inland) << option << " " << m;
      }
    }
  }
}

TEST(PlaceCities, EveryModeKeepsItsCitiesApartOnTheirOwnLand) {
  const struct {
    char mode;
    std::int16_t option;
    char rule;
  } shares[] = {{'R', -1, 'P'}, {'P', 0, 'P'}, {'P', 1, 'P'}, {'P', 2, 'P'}, {'E', 0, 'P'},
                {'E', 1, '%'},  {'E', 2, 'N'}, {'E', 0, 'N'}, {'E', 2, '%'}};
  for (const auto& share : shares)
    for (std::uint64_t seed : {1u, 2u}) {
      StageFixture f(seed);
      ScatterIslands(f.world, 150, 100, seed == 2, 60, seed);
      const std::vector<CityBucket> before = CollectCityBuckets(f.world, share.option);
      CityCall call;
      call.mode = share.mode;
      call.option = share.option;
      call.rule = share.rule;
      call.perClass = share.rule == 'N' ? std::array<std::int32_t, 4>{6, 4, 2, 1}
                                        : std::array<std::int32_t, 4>{40, 30, 20, 10};
      call.Run(f);
      const std::string what =
          std::string(1, share.mode) + std::to_string(share.option) + share.rule;
      EXPECT_EQ(Sound(f.world), "") << what;

      // The world count is the stage's first draw, unless the rule needs none.
      Random replay(seed);
      std::int64_t n = 0;
      if (NeedsWorldCityCount(call.Rule()))
        n = static_cast<std::int64_t>(std::floor(replay.Next() * 51 + 100));
      std::vector<CityBucket> planned = before;
      const std::int64_t total = PlanCityShares(planned, call.Rule(), n);
      EXPECT_EQ(static_cast<std::int64_t>(f.world.CityProduction.size()), total) << what;
      std::int64_t placed = 0;
      for (const CityBucket& b : planned) {
        EXPECT_LE(CitiesOn(f.world, b.coastal), b.plannedCoastal) << what;
        EXPECT_LE(CitiesOn(f.world, b.inland), b.plannedInland) << what;
        placed += CitiesOn(f.world, b.coastal) + CitiesOn(f.world, b.inland);
      }
      EXPECT_EQ(placed, CountCode(f.world, 'Y'));
      EXPECT_GT(placed, 0) << what;
      EXPECT_EQ(f.hooks.statuses,
                (std::vector<std::string>{"Cities - Placing", "Cities - Placing"}));
      EXPECT_EQ(f.hooks.progressValue, 2);
    }
}

TEST(PlaceCities, DrawsTheCountThenPerCityTheJitterProductionAndSpecialty) {
  // 24 lone coastal squares four columns apart: every city takes its first try.
  std::vector<std::string> rows = FilledRows(100, 5, false, 'S');
  std::vector<CitySquare> list;
  for (int x = 2; x < 98; x += 4) {
    rows[2][static_cast<std::size_t>(x)] = 'C';
    list.push_back({x, 2});
  }
  for (std::uint64_t seed : {5u, 6u, 7u}) {
    StageFixture f(seed);
    LoadRows(f.world, rows, false);
    CityCall call;
    call.numberLo = call.numberHi = 5;
    call.coastal = 100;
    call.specialty = 50;
    call.Run(f);

    Random replay(seed);
    replay.Next();  // the world count, 5 whatever the draw
    const float spacing = 24.0f / 5.0f;
    ASSERT_EQ(f.world.CityProduction.size(), 5u);
    for (int j = 1; j <= 5; ++j) {
      const double jitter = 0.5 * replay.Next() - 0.25;
      const double nearest =
          std::nearbyint(static_cast<double>(spacing) * j + static_cast<double>(spacing) * jitter);
      const auto index = static_cast<std::size_t>(std::min(nearest, 23.0));  // the last square
      const std::int16_t production =
          static_cast<std::int16_t>(std::floor(replay.Next() * 126) + 75);
      const double r1 = replay.Next(), r2 = replay.Next();
      const std::int16_t specialty = std::floor(100 * r1) < 50
                                         ? static_cast<std::int16_t>(std::floor(10 * r2) + 10)
                                         : std::int16_t{9};
      const CitySquare at = list.at(index);
      ASSERT_EQ(f.world.WorldMap(at.x, at.y), 'Y') << "city " << j;
      EXPECT_EQ(f.world.CityOfSquare(at.x, at.y), j - 1);
      EXPECT_EQ(f.world.CityProduction[static_cast<std::size_t>(j - 1)], production);
      EXPECT_EQ(f.world.CitySpecialty[static_cast<std::size_t>(j - 1)], specialty);
      EXPECT_EQ(f.world.CityOwner[static_cast<std::size_t>(j - 1)], 0);
    }
    EXPECT_EQ(f.random.Next(), replay.Next());  // nothing drawn after the last city
  }
}

TEST(PlaceCities, SpecifyAndCalculateDrawTheCountFromTheirRange) {
  // 30 000 land squares, all inland but the rim; with 0 % coastal every planned city is inland
  // and T is the world count itself.
  const struct {
    char countMode;
    std::int64_t lo, hi;
  } rows[] = {{'N', 100, 150}, {'L', 200, 300}};
  for (const auto& row : rows) {
    std::vector<std::string> rows2 = FilledRows(204, 154, false, 'S');
    for (int y = 2; y < 152; ++y) rows2[static_cast<std::size_t>(y)].replace(2, 200, 200, 'C');
    WorldState world;
    LoadRows(world, rows2, false);
    std::int64_t least = 1 << 30, most = 0;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
      StageFixture f(seed);
      f.world = world;
      CityCall call;
      call.countMode = row.countMode;
      call.coastal = 0;
      call.Run(f);
      const auto t = static_cast<std::int64_t>(f.world.CityProduction.size());
      EXPECT_EQ(CountCode(f.world, 'Y'), t);  // there is room for all of them
      least = std::min(least, t);
      most = std::max(most, t);
    }
    EXPECT_GE(least, row.lo);
    EXPECT_LE(most, row.hi);
    EXPECT_LT(least, row.lo + (row.hi - row.lo) / 5);
    EXPECT_GT(most, row.hi - (row.hi - row.lo) / 5);
  }
}

TEST(PlaceCities, SixtyPercentCoastalOf101) {
  StageFixture f(3);
  std::vector<std::string> rows = FilledRows(160, 160, false, 'S');
  for (int y = 5; y < 155; ++y) rows[static_cast<std::size_t>(y)].replace(5, 150, 150, 'C');
  LoadRows(f.world, rows, false);
  CityCall call;
  call.numberLo = call.numberHi = 101;
  call.coastal = 60;
  call.Run(f);
  int coastal = 0, inland = 0;
  for (int y = 0; y < f.world.MapHeight; ++y)
    for (int x = 0; x < f.world.MapWidth; ++x)
      if (f.world.WorldMap(x, y) == 'Y') (HasCoastNeighbour(f.world, x, y) ? coastal : inland)++;
  EXPECT_EQ(coastal, 61);
  EXPECT_EQ(inland, 40);
  EXPECT_EQ(Sound(f.world), "");
}

TEST(PlaceCities, LargeOnlyFillsTheRemainingLandAsOneMass) {
  // Mass 0 Large, 1 and 2 Medium, 3 Small, 4 tiny; every block has room for its cities.
  std::vector<std::string> rows = FilledRows(90, 20, false, 'S');
  for (int m = 0; m < 5; ++m)
    for (int y = 3; y < 17; ++y)
      rows[static_cast<std::size_t>(y)].replace(static_cast<std::size_t>(3 + 17 * m), 14, 14,
                                                static_cast<char>('0' + m));
  const struct {
    std::int16_t option;
    std::int64_t want[5];
  } cases[] = {
      {0, {3, 0, 0, 0, 0}},  // and 4 on masses 1 .. 4 together
      {1, {3, 4, 4, 0, 0}},  // and 5 on masses 3 and 4 together
      {2, {3, 4, 4, 5, 6}},
  };
  for (const auto& c : cases) {
    StageFixture f(9);
    LoadRows(f.world, rows, false, {0, 1, 1, 2, 3});
    CityCall call;
    call.mode = 'E';
    call.option = c.option;
    call.rule = 'N';
    call.coastal = 0;
    call.perClass = {3, 4, 5, 6};
    call.Run(f);
    std::int64_t onMass[5] = {0, 0, 0, 0, 0};
    for (int y = 0; y < f.world.MapHeight; ++y)
      for (int x = 0; x < f.world.MapWidth; ++x)
        if (f.world.WorldMap(x, y) == 'Y') ++onMass[f.world.MassOfSquare(x, y)];
    if (c.option == 0) {
      EXPECT_EQ(onMass[0], 3);
      EXPECT_EQ(onMass[1] + onMass[2] + onMass[3] + onMass[4], 4);
      EXPECT_EQ(f.world.CityProduction.size(), 7u);
    } else if (c.option == 1) {
      for (int m = 0; m < 3; ++m) EXPECT_EQ(onMass[m], c.want[m]);
      EXPECT_EQ(onMass[3] + onMass[4], 5);
      EXPECT_EQ(f.world.CityProduction.size(), 16u);
    } else {
      for (int m = 0; m < 5; ++m) EXPECT_EQ(onMass[m], c.want[m]) << m;
      EXPECT_EQ(f.world.CityProduction.size(), 22u);
    }
    EXPECT_EQ(Sound(f.world), "");
  }
}

TEST(PlaceCities, APlanLargerThanItsListSkipsTheSurplus) {
  StageFixture f(4);
  std::vector<std::string> rows = FilledRows(40, 12, false, 'S');
  for (int x : {4, 14, 24, 34})
    rows[6][static_cast<std::size_t>(x)] = 'C';  // four lone coastal squares
  LoadRows(f.world, rows, false);
  CityCall call;
  call.numberLo = call.numberHi = 10;
  call.coastal = 100;
  call.Run(f);
  EXPECT_EQ(CountCode(f.world, 'Y'), 4);
  ASSERT_EQ(f.world.CityProduction.size(), 10u);
  for (std::size_t k = 4; k < 10; ++k) {
    EXPECT_EQ(f.world.CityProduction[k], 0);
    EXPECT_EQ(f.world.CitySpecialty[k], 0);
  }
  EXPECT_EQ(Sound(f.world), "");
}

TEST(PlaceCities, SpecialtyPercentageAndProductionRange) {
  const struct {
    std::int16_t specialty;
    std::int32_t lo, hi;
  } rows[] = {{0, 75, 200}, {100, 75, 200}, {50, 999, 999}, {50, 0, 0}, {50, 10, 5}};
  for (const auto& row : rows) {
    StageFixture f(12);
    ScatterIslands(f.world, 150, 100, false, 60, 3);
    CityCall call;
    call.specialty = row.specialty;
    call.productionLo = row.lo;
    call.productionHi = row.hi;
    call.Run(f);
    int specialties = 0, cities = 0;
    for (int y = 0; y < f.world.MapHeight; ++y)
      for (int x = 0; x < f.world.MapWidth; ++x) {
        if (f.world.WorldMap(x, y) != 'Y') continue;
        const auto q = static_cast<std::size_t>(f.world.CityOfSquare(x, y));
        ++cities;
        specialties += f.world.CitySpecialty[q] >= 10 ? 1 : 0;
        if (row.lo <= row.hi) {
          EXPECT_GE(f.world.CityProduction[q], row.lo);
          EXPECT_LE(f.world.CityProduction[q], row.hi);
        }
      }
    ASSERT_GT(cities, 20);
    if (row.specialty == 0) { EXPECT_EQ(specialties, 0); }
    if (row.specialty == 100) { EXPECT_EQ(specialties, cities); }
    if (row.specialty == 50) {
      EXPECT_GT(specialties, cities / 4);
      EXPECT_LT(specialties, 3 * cities / 4);
    }
    EXPECT_EQ(Sound(f.world, std::min(row.lo, row.hi - 10), std::max(row.lo, row.hi)), "");
  }
}

TEST(PlaceCities, HopelessWorldsAndCountsFinish) {
  std::vector<std::string> strips = FilledRows(40, 20, false, 'S');
  for (int y = 3; y < 18; y += 2) strips[static_cast<std::size_t>(y)].replace(3, 30, 30, 'C');
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    CityCall call;
    bool wrap = false;
  };
  CityCall coastalOnly, inlandOnly, zeroPerCity, mapZero, evenlyNumber, badLetters;
  coastalOnly.coastal = 100;
  inlandOnly.coastal = 0;
  zeroPerCity.countMode = 'L';
  zeroPerCity.numberLo = zeroPerCity.numberHi = 0;
  mapZero.countMode = 'M';
  mapZero.numberLo = 0;
  evenlyNumber.mode = 'E';
  evenlyNumber.option = 2;
  evenlyNumber.rule = 'N';
  evenlyNumber.perClass = {9999, 9999, 9999, 9999};
  badLetters.countMode = '?';
  badLetters.mode = 'Q';
  badLetters.rule = 'Z';
  badLetters.option = 99;
  const Case cases[] = {
      {"no land", FilledRows(40, 30, false, 'S'), CityCall{}},
      {"no land, evenly by number", FilledRows(40, 30, false, 'S'), evenlyNumber},
      {"all land, coastal only", FilledRows(40, 30, false, 'C'), coastalOnly},
      {"coast only, inland only", strips, inlandOnly},
      {"0 land squares per city", strips, zeroPerCity},
      {"0 map squares per city", FilledRows(40, 30, true, 'C'), mapZero, true},
      {"9999 per mass", strips, evenlyNumber},
      {"letters outside the lists", strips, badLetters},
      {"empty map", {}, CityCall{}},
      {"one square", {"A"}, CityCall{}},
  };
  for (const Case& c : cases) {
    StageFixture f(2);
    LoadRows(f.world, c.rows, c.wrap);
    c.call.Run(f);
    EXPECT_EQ(checks::CheckWorld(f.world), "") << c.what;
    EXPECT_LE(static_cast<std::int64_t>(f.world.CityProduction.size()), kMostPlannedCities)
        << c.what;
    EXPECT_EQ(f.hooks.progressValue, 2) << c.what;
    const std::string what = c.what;
    if (what == "all land, coastal only" || what == "coast only, inland only" ||
        what.rfind("no land", 0) == 0) {
      EXPECT_EQ(CountCode(f.world, 'Y'), 0) << c.what;
    }
    if (what == "no land") { EXPECT_TRUE(f.world.CityProduction.empty()); }
  }
}

}  // namespace
}  // namespace lorvex::stages
