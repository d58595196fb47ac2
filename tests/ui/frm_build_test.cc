#include "ui/frm_build.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"

namespace lorvex::ui {
namespace {

using platform::HeadlessPlatform;
using platform::MessageAnswer;

// The copy-out reads cities in a column-major scan: the city at (0, 5) comes before the one
// at (1, 0) although it was placed later. A planned city that found no square keeps its
// entry, 0.
TEST(GetMap, CopiesCitiesColumnMajorAndKeepsUnplacedEntries) {
  HeadlessPlatform platform;
  frmBuild window(platform);
  platform.AddModalAction([&](platform::Window&) {
    WorldState& world = window.World();
    world.CreateInitialMap();
    world.WorldMap(1, 0) = world.WorldMap(0, 5) = 'Y';
    world.CityOfSquare(1, 0) = 0;
    world.CityOfSquare(0, 5) = 1;
    world.CityProduction = {100, 101, 0};
    world.CitySpecialty = {9, 12, 0};
    world.CityOwner = {0, 0, 0};
    world.BuildSucceeded = true;
    window.Hide();
  });
  HostWorld out;
  ASSERT_TRUE(window.GetMap(3, 7, false, out));
  EXPECT_EQ(out.CityCount, 2);
  EXPECT_EQ(out.ProdArray, (std::vector<std::int16_t>{101, 100, 0}));
  EXPECT_EQ(out.SpecArray, (std::vector<std::int16_t>{12, 9, 0}));
  EXPECT_EQ(out.MapArray(0, 5), 'Y');
}

}  // namespace
}  // namespace lorvex::ui
