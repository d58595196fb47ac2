// The 17 x 17 land count, row by row, against the count square by square through the
// square test, on random maps of every shape (narrower and lower than the window too),
// with and without wrap, round squares near every edge.
#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "stages/terrain.h"

namespace lorvex::stages {
namespace {

LandWindow CountSquareBySquare(const WorldState& world, std::int32_t x, std::int32_t y) {
  LandWindow w;
  for (int dy = -8; dy <= 8; ++dy)
    for (int dx = -8; dx <= 8; ++dx) {
      if (!IsLandSquare(world, x + dx, y + dy)) continue;
      const int ring = std::max(std::abs(dx), std::abs(dy));
      ++w.c8;
      if (ring <= 6) ++w.c6;
      if (ring <= 4) ++w.c4;
      if (ring <= 3) ++w.c3;
      if (ring <= 2) ++w.c2;
    }
  return w;
}

TEST(CountLandWindow, AgreesWithTheSquareTestOnRandomMaps) {
  Random random(5);
  const char codes[] = {'S', 'S', 'C', 'M', 'G', 'F', 'R', 'Y', 'T', 'B', 'A'};
  for (int trial = 0; trial < 600; ++trial) {
    WorldState world;
    world.SetMapSize(static_cast<std::int32_t>(random.DrawInt(1, 40)),
                     static_cast<std::int32_t>(random.DrawInt(1, 30)), trial % 2 == 0);
    world.CreateInitialMap();
    for (char& code : world.WorldMap.Cells()) code = codes[random.Item(std::size(codes))];
    for (int probe = 0; probe < 10; ++probe) {
      const auto x = static_cast<std::int32_t>(random.DrawInt(0, world.MapWidth - 1));
      const auto y = static_cast<std::int32_t>(random.DrawInt(0, world.MapHeight - 1));
      const LandWindow got = CountLandWindow(world, x, y), want = CountSquareBySquare(world, x, y);
      ASSERT_EQ(got.c2, want.c2) << trial << " at " << x << "," << y;
      ASSERT_EQ(got.c3, want.c3) << trial;
      ASSERT_EQ(got.c4, want.c4) << trial;
      ASSERT_EQ(got.c6, want.c6) << trial;
      ASSERT_EQ(got.c8, want.c8) << trial;
    }
  }
}

}  // namespace
}  // namespace lorvex::stages
