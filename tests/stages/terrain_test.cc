#include "stages/terrain.h"

#include <cmath>
#include <limits>
#include <set>
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

int Opposite(int d) { return d ^ 1; }

TerrainLog::Square StepFrom(const WorldState& world, TerrainLog::Square s, int d) {
  return {world.StepX(s.x, d), WorldState::StepY(s.y, d)};
}

long long LandCount(const WorldState& world) {
  long long n = 0;
  for (char c : world.WorldMap.Cells()) n += IsLand(c) ? 1 : 0;
  return n;
}

TEST(CapTerrainFractions, ScalesAllFourUntilTheSumIsAtMostThreeQuarters) {
  const struct {
    float in, out;
  } rows[] = {
      {0.30f, 0.177147f},  // 1.2 scaled five times: 0.3 * 0.9^5
      {0.20f, 0.18f},      // 0.8 scaled once
      {0.10f, 0.10f},      // 0.4 left alone
      {0.1875f, 0.1875f},  // exactly 0.75 is not above the cap
  };
  for (const auto& row : rows) {
    const TerrainFractions f = CapTerrainFractions({row.in, row.in, row.in, row.in});
    for (float v : {f.rivers, f.forest, f.rough, f.mountains})
      EXPECT_NEAR(v, row.out, 2e-6) << row.in;
    EXPECT_LE(f.rivers + f.forest + f.rough + f.mountains, 0.75f);
  }
  // Uneven shares keep their proportions: 1.0 is scaled three times.
  const TerrainFractions f = CapTerrainFractions({0.5f, 0.3f, 0.2f, 0.0f});
  EXPECT_NEAR(f.rivers, 0.3645f, 2e-6);
  EXPECT_NEAR(f.forest, 0.2187f, 2e-6);
  EXPECT_NEAR(f.rough, 0.1458f, 2e-6);
  EXPECT_EQ(f.mountains, 0.0f);
  // Shares that are not numbers count as nothing instead of holding the cap loop for ever.
  const float inf = std::numeric_limits<float>::infinity();
  const TerrainFractions odd = CapTerrainFractions({inf, 0.1f, std::nanf(""), 0.1f});
  EXPECT_EQ(odd.rivers, 0.0f);
  EXPECT_EQ(odd.rough, 0.0f);
  EXPECT_FLOAT_EQ(odd.forest, 0.1f);
}

TEST(TerrainSquareTests, ColumnsWrapOnlyWhereEachTestSaysSo) {
  for (bool wrap : {false, true}) {
    WorldState world;
    LoadRows(world, {"SSSSC", "CSSRC", "SSSSS"}, wrap);
    EXPECT_EQ(IsClearSquare(world, -1, 1), wrap);  // (4, 1)
    EXPECT_EQ(IsClearSquare(world, 5, 1), wrap);   // (0, 1)
    EXPECT_EQ(IsRiverSquare(world, 8, 1), wrap);   // (3, 1), more than one width away
    EXPECT_TRUE(IsRiverSquare(world, 3, 1));
    EXPECT_TRUE(IsLandSquare(world, 3, 1));  // a river is land
    EXPECT_FALSE(IsLandSquare(world, 2, 1));
    EXPECT_FALSE(IsLandSquare(world, 0, -1));
    EXPECT_FALSE(IsLandSquare(world, 0, 3));
    // West of column 0 is column 4 whatever the map says.
    EXPECT_TRUE(HasClearNeighbour(world, 0, 1) && HasClearNeighbour(world, 3, 1));
    EXPECT_FALSE(HasClearNeighbour(world, 2, 1));
    EXPECT_TRUE(HasClearNeighbour(world, 4, 0));  // south; nothing north of the top row
    EXPECT_FALSE(HasClearNeighbour(world, 2, 0));
  }
}

TEST(ClusterSizeRange, EachTestAppliesOnItsOwnFromItsThreshold) {
  const struct {
    LandWindow w;
    std::int32_t lo, hi;
  } rows[] = {
      {{1, 1, 1, 1, 1}, 2, 5},          {{18, 36, 60, 126, 217}, 2, 5},  // every count one short
      {{19, 0, 0, 0, 0}, 5, 10},  // replaces the start values
      {{0, 37, 0, 0, 0}, 5, 12},        {{0, 0, 61, 0, 0}, 5, 14},
      {{0, 0, 0, 127, 0}, 7, 16},       {{0, 0, 0, 0, 217}, 2, 5},  // c8 must be above 217
      {{0, 0, 0, 0, 218}, 7, 18},       {{19, 37, 61, 127, 217}, 16, 37},
      {{25, 49, 81, 169, 289}, 21, 50},
  };
  for (const auto& row : rows) {
    const ClusterRange r = ClusterSizeRange(row.w);
    EXPECT_EQ(r.lo, row.lo) << row.w.c2 << " " << row.w.c8;
    EXPECT_EQ(r.hi, row.hi) << row.w.c2 << " " << row.w.c8;
  }
}

TEST(CountLandWindow, CountsRingsAndWrapsOnlyAWrappingMap) {
  WorldState world;
  std::vector<std::string> rows = FilledRows(40, 40, false, 'S');
  rows[20][20] = 'C';
  LoadRows(world, rows, false);
  LandWindow w = CountLandWindow(world, 20, 20);
  EXPECT_EQ(w.c2 + w.c3 + w.c4 + w.c6 + w.c8, 5);

  LoadRows(world, FilledRows(40, 40, false, 'C'), false);
  w = CountLandWindow(world, 20, 20);
  EXPECT_EQ(w.c2, 25);
  EXPECT_EQ(w.c3, 49);
  EXPECT_EQ(w.c4, 81);
  EXPECT_EQ(w.c6, 169);
  EXPECT_EQ(w.c8, 289);

  // Column 1 of an all-land map: across the seam only when the map wraps.
  LoadRows(world, FilledRows(30, 20, true, 'C'), true);
  w = CountLandWindow(world, 1, 9);
  EXPECT_EQ(w.c8, 289);
  LoadRows(world, FilledRows(30, 20, false, 'C'), false);
  w = CountLandWindow(world, 1, 9);
  EXPECT_EQ(w.c8, 9 * 17);  // columns 1 .. 9
  EXPECT_EQ(w.c2, 3 * 5);   // columns 1 .. 3
}

TEST(PlaceTerrain, AZeroFractionLaysNothingButStillShowsItsStatusAndMovesTheBar) {
  // Fractions in the order of the call: rivers, forest, rough, mountains.
  const char codes[4] = {'R', 'F', 'G', 'M'};
  for (int zero = -1; zero < 4; ++zero) {
    StageFixture f(7);
    LoadRows(f.world, FilledRows(60, 40, false, 'C'), false);
    f.hooks.progressValue = 5;
    float p[4] = {0.05f, 0.05f, 0.05f, 0.05f};
    if (zero >= 0) p[zero] = 0;
    if (zero < 0) p[0] = p[1] = p[2] = p[3] = 0;
    BuildContext context = f.Context();
    PlaceTerrain(context, p[0], p[1], p[2], p[3]);
    EXPECT_EQ(f.hooks.statuses, kTerrainStatuses);
    EXPECT_EQ(f.hooks.progressValue, 13);
    for (int k = 0; k < 4; ++k)
      if (zero < 0 || k == zero)
        EXPECT_EQ(CountCode(f.world, codes[k]), 0) << codes[k];
      else
        EXPECT_GT(CountCode(f.world, codes[k]), 0) << codes[k];
    if (zero < 0) {
      Random untouched(7);
      EXPECT_EQ(f.random.Next(), untouched.Next());  // no start square was drawn
    }
  }
}

TEST(PlaceTerrain, ARangeDrawsItsStartThenItsSizeThenItsDirection) {
  // One lone square: the start search draws until it hits it, the next draw sizes the range
  // (2 .. 5), the one after sets its direction, and the range ends after one square.
  std::vector<std::string> rows = FilledRows(30, 20, false, 'S');
  rows[7][11] = 'C';
  for (std::uint64_t seed : {1u, 2u, 3u}) {
    StageFixture f(seed);
    LoadRows(f.world, rows, false);
    TerrainLog log;
    BuildContext context = f.Context();
    PlaceTerrain(context, 0, 0, 0, 0.75f, &log);
    Random replay(seed);
    for (;;) {
      const auto pos = static_cast<std::int64_t>(std::floor(replay.Next() * 30 * 20));
      if (pos % 30 == 11 && pos / 30 == 7) break;
    }
    ASSERT_EQ(log.clusters.size(), 1u);
    EXPECT_EQ(log.clusters[0].target, static_cast<std::int32_t>(std::floor(replay.Next() * 4 + 2)));
    replay.Next();                              // the direction
    EXPECT_EQ(f.random.Next(), replay.Next());  // and no draw after the range ended
    EXPECT_EQ(f.world.WorldMap(11, 7), 'M');
  }
}

TEST(PlaceTerrain, RangesOnLoneSquaresAreSmallAndEndAtOnce) {
  StageFixture f(3);
  std::vector<std::string> rows = FilledRows(62, 62, false, 'S');
  for (int y = 5; y < 60; y += 10)
    for (int x = 5; x < 60; x += 10)
      rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'C';
  LoadRows(f.world, rows, false);
  TerrainLog log;
  BuildContext context = f.Context();
  PlaceTerrain(context, 0, 0, 0, 0.5f, &log);
  ASSERT_FALSE(log.clusters.empty());
  for (const auto& c : log.clusters) {
    EXPECT_GE(c.target, 2);
    EXPECT_LE(c.target, 5);
    EXPECT_EQ(c.written, 1);  // no clear neighbour: the range ends after its first square
  }
  EXPECT_EQ(CountCode(f.world, 'M'), static_cast<long long>(log.clusters.size()));
  EXPECT_GE(static_cast<double>(log.clusters.size()), 0.5 * 36);
}

TEST(PlaceTerrain, EveryClusterSizeComesFromTheLandRoundItsStart) {
  for (bool wrap : {false, true}) {
    StageFixture f(11);
    std::vector<std::string> rows = FilledRows(120, 90, wrap, 'S');
    for (int y = 8; y <= 40; ++y)
      for (int x = 10; x < 100; ++x)
        rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'C';
    for (int y = 46; y <= 88; y += 3)
      for (int x = 3; x < 117; x += 4)
        rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'C';
    LoadRows(f.world, rows, wrap);
    TerrainLog log;
    BuildContext context = f.Context();
    PlaceTerrain(context, 0.05f, 0.1f, 0.1f, 0.1f, &log);
    int deep = 0, lone = 0;
    for (const auto& c : log.clusters) {
      // Terrain never changes which squares are land, so the window can be counted after.
      const ClusterRange range = ClusterSizeRange(CountLandWindow(f.world, c.start.x, c.start.y));
      EXPECT_GE(c.target, range.lo);
      EXPECT_LE(c.target, range.hi);
      EXPECT_LE(c.written, c.code == 'M' ? c.target : c.target + 1);
      deep += range.lo == 21 && range.hi == 50 ? 1 : 0;
      lone += range.lo == 2 && range.hi == 5 ? 1 : 0;
    }
    EXPECT_GT(deep, 10);
    EXPECT_GT(lone, 0);
    EXPECT_EQ(checks::CheckWorld(f.world), "");
  }
}

TEST(PlaceTerrain, RoughEntersItsStartSquareEveryRoundAndCountsTheLandOnce) {
  StageFixture f(5);
  std::vector<std::string> rows = FilledRows(100, 100, false, 'C');
  // Earlier mountains on 40 % of the land: the share is still a fraction of all the land.
  for (int y = 1; y < 40; ++y)
    for (int x = 1; x < 99; ++x)
      rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'M';
  LoadRows(f.world, rows, false);
  const long long land = LandCount(f.world);
  TerrainLog log;
  BuildContext context = f.Context();
  const float fraction = 0.04f;
  PlaceTerrain(context, 0, 0, fraction, 0, &log);
  long long written = 0, distinct = 0;
  for (const auto& c : log.clusters) {
    ASSERT_EQ(c.code, 'G');
    // Each round enters the start square and grows one square: target rounded up to even
    // entries, of which half plus one are distinct squares.
    EXPECT_EQ(c.written, c.target + c.target % 2);
    written += c.written;
    distinct += 1 + (c.target + 1) / 2;
  }
  EXPECT_EQ(CountCode(f.world, 'G'), distinct);
  const double share = static_cast<double>(fraction) * static_cast<double>(land);
  EXPECT_GE(static_cast<double>(written), share);
  EXPECT_LT(static_cast<double>(written - log.clusters.back().written), share);
}

TEST(PlaceTerrain, ARangeOnAOneSquareWidePeninsula) {
  // Mountains already cover the mainland; the clear arm is one square wide.
  for (int arm : {1, 5}) {
    StageFixture f(static_cast<std::uint64_t>(arm));
    std::vector<std::string> rows = FilledRows(20, 7, false, 'S');
    for (int y = 2; y <= 4; ++y)
      for (int x = 2; x <= 5; ++x)
        rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'M';
    for (int x = 6; x < 6 + arm; ++x) rows[3][static_cast<std::size_t>(x)] = 'C';
    LoadRows(f.world, rows, false);
    TerrainLog log;
    BuildContext context = f.Context();
    PlaceTerrain(context, 0, 0, 0, 0.75f, &log);  // asks for more than the arm holds
    EXPECT_EQ(CountCode(f.world, 'C'), 0);
    EXPECT_EQ(CountCode(f.world, 'M'), 12 + arm);
    std::int32_t written = 0;
    for (const auto& c : log.clusters) {
      EXPECT_EQ(c.start.y, 3);
      EXPECT_GE(c.start.x, 6);
      written += c.written;
    }
    EXPECT_EQ(written, arm);
    if (arm == 1) {
      ASSERT_EQ(log.clusters.size(), 1u);  // the tip has no clear neighbour: done at once
      EXPECT_EQ(log.clusters[0].written, 1);
    }
    EXPECT_EQ(f.hooks.statuses, kTerrainStatuses);
  }
}

TEST(PlaceTerrain, RiversKeepTheirMainDirectionRunStraightAndEndWhereTheyMust) {
  for (bool wrap : {false, true}) {
    StageFixture f(wrap ? 21 : 22);
    stagetest::ScatterIslands(f.world, 160, 120, wrap, 70, 9);
    TerrainLog log;
    BuildContext context = f.Context();
    PlaceTerrain(context, 0.3f, 0.1f, 0.1f, 0.2f, &log);
    ASSERT_GT(log.rivers.size(), 100u);
    int previous = kNorth;  // the heading of the last move, carried from river to river
    int lengths[4] = {0, 0, 0, 0};
    for (const auto& river : log.rivers) {
      ASSERT_FALSE(river.segments.empty());
      EXPECT_EQ(river.segments[0].first, 0u);
      for (std::size_t k = 0; k < river.segments.size(); ++k) {
        const auto& seg = river.segments[k];
        EXPECT_NE(seg.heading, Opposite(river.mainDirection));
        EXPECT_NE(seg.heading, Opposite(previous));
        ASSERT_GE(seg.length, 1);
        ASSERT_LE(seg.length, 3);
        ++lengths[seg.length];
        const bool last = k + 1 == river.segments.size();
        const std::size_t end = last ? river.squares.size() - 1 : river.segments[k + 1].first;
        if (last)
          EXPECT_LT(end - seg.first, static_cast<std::size_t>(seg.length));
        else
          EXPECT_EQ(end - seg.first, static_cast<std::size_t>(seg.length));
        for (std::size_t i = seg.first; i < end; ++i) {
          EXPECT_EQ(river.squares[i + 1], StepFrom(f.world, river.squares[i], seg.heading));
          previous = seg.heading;
        }
      }
      // The square it could not enter is water or river.
      const auto beyond = StepFrom(f.world, river.squares.back(), river.segments.back().heading);
      EXPECT_TRUE(!IsLandSquare(f.world, beyond.x, beyond.y) ||
                  IsRiverSquare(f.world, beyond.x, beyond.y));
      for (const auto& s : river.squares) EXPECT_EQ(f.world.WorldMap(s.x, s.y), 'R');
    }
    EXPECT_GT(lengths[1], 0);
    EXPECT_GT(lengths[2], lengths[1]);
    EXPECT_GT(lengths[3], 0);
    EXPECT_EQ(checks::CheckWorld(f.world), "");
  }
}

TEST(PlaceTerrain, EachPassIsDrawnTowardsTheTerrainOfTheEarlierOnes) {
  // Alternate rows of clear land and of an earlier kind X above a clear field twice as large:
  // a pass attracted by X starts in the alternating rows about half the time, a pass that is
  // not about a third of the time.
  std::vector<std::string> rows = FilledRows(44, 48, false, 'S');
  for (int y = 1; y <= 21; ++y)
    rows[static_cast<std::size_t>(y)].replace(1, 42, 42, y % 2 == 1 ? 'C' : 'X');
  for (int y = 23; y <= 44; ++y) rows[static_cast<std::size_t>(y)].replace(1, 42, 42, 'C');
  const struct {
    char x;
    const char* attractedPasses;
  } cases[] = {{'M', "GFR"}, {'G', "FR"}, {'F', "R"}};
  const char passes[] = {'M', 'G', 'F', 'R'};
  constexpr int kTrials = 400;
  for (const auto& c : cases) {
    std::vector<std::string> withX = rows;
    for (auto& row : withX)
      for (char& ch : row)
        if (ch == 'X') ch = c.x;
    WorldState start;
    LoadRows(start, withX, false);
    // Half a square's share: exactly one cluster.
    const float one = static_cast<float>(0.5 / static_cast<double>(LandCount(start)));
    for (char pass : passes) {
      int inRows = 0;
      StageFixture f;
      for (int trial = 0; trial < kTrials; ++trial) {
        f.world = start;
        f.random.Seed(static_cast<std::uint64_t>(1000 + trial));
        TerrainLog log;
        BuildContext context = f.Context();
        PlaceTerrain(context, pass == 'R' ? one : 0, pass == 'F' ? one : 0, pass == 'G' ? one : 0,
                     pass == 'M' ? one : 0, &log);
        const TerrainLog::Square start =
            pass == 'R' ? log.rivers.at(0).squares.at(0) : log.clusters.at(0).start;
        inRows += start.y <= 21 ? 1 : 0;
      }
      const bool attracted = std::string(c.attractedPasses).find(pass) != std::string::npos;
      if (attracted)
        EXPECT_GT(inRows, 164) << c.x << " attracts " << pass;
      else
        EXPECT_LT(inRows, 164) << c.x << " does not attract " << pass;
    }
  }
}

TEST(PlaceTerrain, WorldsWithLittleOrNoClearLandFinish) {
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    bool wrap;
  };
  std::vector<std::string> allMountain = FilledRows(30, 20, false, 'M');
  std::vector<std::string> allRiver = FilledRows(30, 20, true, 'R');
  const Case cases[] = {
      {"empty map", {}, false},
      {"one square", {"A"}, false},
      {"3 x 3", FilledRows(3, 3, false, 'S'), false},
      {"no land", FilledRows(40, 30, false, 'S'), false},
      {"all land", FilledRows(40, 30, false, 'C'), false},
      {"all land, wrapping", FilledRows(40, 30, true, 'C'), true},
      {"one wrapping row of land", FilledRows(7, 3, true, 'C'), true},
      {"all mountains", allMountain, false},
      {"all river", allRiver, true},
  };
  const float inf = std::numeric_limits<float>::infinity();
  const TerrainFractions fractions[] = {
      {1, 1, 1, 1}, {0.75f, std::nanf(""), inf, -1}, {100, 0, 0, 0}, {0, 0, 0, 100}};
  for (const Case& c : cases)
    for (const TerrainFractions& p : fractions) {
      StageFixture f;
      LoadRows(f.world, c.rows, c.wrap);
      const long long land = LandCount(f.world);
      BuildContext context = f.Context();
      PlaceTerrain(context, p.rivers, p.forest, p.rough, p.mountains);
      EXPECT_EQ(f.hooks.progressValue, 8) << c.what;
      EXPECT_EQ(f.hooks.statuses, kTerrainStatuses) << c.what;
      EXPECT_EQ(LandCount(f.world), land) << c.what;
      EXPECT_EQ(checks::CheckWorld(f.world), "") << c.what;
    }
}

}  // namespace
}  // namespace lorvex::stages
