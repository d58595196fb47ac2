// The placement try and the writing, against the rule read square by square: for random
// masses, maps and centres (many of them over the edges, on maps narrower than the mass,
// with and without wrap, under all four edge options), MassFitsAt answers what the rule
// answers and WriteMassAt leaves the map, the mass numbers and the count the rule leaves.
#include <gtest/gtest.h>

#include "engine/mass_placement.h"
#include "params/build_parameters.h"

namespace lorvex {
namespace {

// Grid square (i, j) on the map for centre (cx, cy): one wrap correction on a wrapping map.
MapSquare RuleLanding(const WorldState& world, const Grid<char>& grid, std::int32_t cx,
                      std::int32_t cy, int i, int j) {
  std::int32_t mx = cx + i - (grid.Width() - 1) / 2;
  if (world.MapWrap) mx = world.WrapX(mx);
  return {mx, cy + j - (grid.Height() - 1) / 2};
}

bool RuleOnMap(const WorldState& world, MapSquare s) {
  return s.x >= 0 && s.y >= 0 && s.x < world.MapWidth && s.y < world.MapHeight;
}

// Every grid square, i outer and j inner, until one fails.
bool RuleFits(const WorldState& world, const Grid<char>& grid, std::int32_t cx, std::int32_t cy,
              bool seaBorders, bool allowOffEdge) {
  for (int i = 0; i < grid.Width(); ++i)
    for (int j = 0; j < grid.Height(); ++j) {
      const char letter = grid(i, j);
      const MapSquare s = RuleLanding(world, grid, cx, cy, i, j);
      if (RuleOnMap(world, s)) {
        if (letter != 'X' && !IsWater(world.WorldMap(s.x, s.y))) return false;
      } else if (seaBorders) {
        if (letter != 'X') return false;
      } else if (!allowOffEdge && letter == 'C') {
        return false;
      }
    }
  return true;
}

void RuleWrite(WorldState& world, const Grid<char>& grid, std::int32_t cx, std::int32_t cy,
               std::int32_t row) {
  for (int i = 0; i < grid.Width(); ++i)
    for (int j = 0; j < grid.Height(); ++j) {
      const char letter = grid(i, j);
      if (letter == 'X') continue;
      const MapSquare s = RuleLanding(world, grid, cx, cy, i, j);
      if (!RuleOnMap(world, s)) continue;
      const char code = world.WorldMap(s.x, s.y);
      if (code == 'T' || code == 'B' || code == 'A') continue;
      // Every "C" written counts, also over the mass's own land (a grid wider than a
      // wrapping map); "S" leaves the mass number alone.
      world.WorldMap(s.x, s.y) = letter;
      if (letter != 'C') continue;
      world.MassOfSquare(s.x, s.y) = row;
      ++world.MassTable[static_cast<std::size_t>(row)].squares;
    }
}

// A mass of random land with a random sea border and holes: runs that start and stop in
// every column.
Grid<char> RandomGrid(Random& random) {
  const int width = static_cast<int>(random.DrawInt(1, 14));
  const int height = static_cast<int>(random.DrawInt(1, 14));
  Grid<char> grid(width, height, 'X');
  for (char& square : grid.Cells()) {
    const double r = random.Next();
    square = r < 0.35 ? 'X' : r < 0.7 ? 'S' : 'C';
  }
  return grid;
}

WorldState RandomWorld(Random& random, bool wrap) {
  WorldState world;
  world.SetMapSize(static_cast<std::int32_t>(random.DrawInt(1, 20)),
                   static_cast<std::int32_t>(random.DrawInt(1, 16)), wrap);
  world.CreateInitialMap();
  for (std::int32_t y = 1; y < world.MapHeight - 1; ++y)
    for (std::int32_t x = 0; x < world.MapWidth; ++x)
      if (world.WorldMap(x, y) == 'S' && random.Next() < 0.15) world.WorldMap(x, y) = 'C';
  world.MassTable.assign(1, LandMass{});
  return world;
}

TEST(PlacementRule, TriesAnswerAsTheRuleDoesSquareBySquare) {
  Random random(99);
  int fits = 0, fails = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const bool wrap = trial % 2 == 0;
    const WorldState world = RandomWorld(random, wrap);
    const Grid<char> grid = RandomGrid(random);
    // Centres from well off the map on every side.
    const auto cx = static_cast<std::int32_t>(random.DrawInt(-8, world.MapWidth + 7));
    const auto cy = static_cast<std::int32_t>(random.DrawInt(-8, world.MapHeight + 7));
    for (const bool seaBorders : {false, true})
      for (const bool allowOffEdge : {false, true}) {
        const bool want = RuleFits(world, grid, cx, cy, seaBorders, allowOffEdge);
        ASSERT_EQ(MassFitsAt(world, grid, cx, cy, seaBorders, allowOffEdge), want)
            << "trial " << trial << " centre " << cx << "," << cy << " options " << seaBorders
            << allowOffEdge;
        (want ? fits : fails)++;
      }
  }
  // Both answers occur often enough for the comparison to mean something.
  EXPECT_GT(fits, 1000);
  EXPECT_GT(fails, 1000);
}

TEST(PlacementRule, WritingLeavesWhatTheRuleLeaves) {
  Random random(7);
  SilentHooks hooks;
  platform::ControlSet controls = params::CreateWindowControls();
  const params::ParameterView view(controls);
  for (int trial = 0; trial < 2000; ++trial) {
    WorldState world = RandomWorld(random, trial % 2 == 0);
    WorldState expected = world;
    const Grid<char> grid = RandomGrid(random);
    const auto cx = static_cast<std::int32_t>(random.DrawInt(-8, world.MapWidth + 7));
    const auto cy = static_cast<std::int32_t>(random.DrawInt(-8, world.MapHeight + 7));
    BuildContext context{world, view, random, hooks};
    WriteMassAt(context, grid, cx, cy, 0);
    RuleWrite(expected, grid, cx, cy, 0);
    ASSERT_EQ(world.WorldMap.Cells(), expected.WorldMap.Cells()) << "trial " << trial;
    ASSERT_EQ(world.MassOfSquare.Cells(), expected.MassOfSquare.Cells()) << "trial " << trial;
    ASSERT_EQ(world.MassTable[0].squares, expected.MassTable[0].squares) << "trial " << trial;
  }
}

}  // namespace
}  // namespace lorvex
