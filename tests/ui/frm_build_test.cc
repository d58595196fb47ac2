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

// Any key during a build asks the stop question (Yes stops, No goes on), none while idle;
// Alt+F5 toggles watch mode while idle or while the watch display shows, and hides it.
TEST(Keys, StopQuestionAndWatchToggle) {
  HeadlessPlatform platform;
  frmBuild window(platform);
  WorldState& world = window.World();
  window.Form_KeyPress(27);  // idle
  EXPECT_TRUE(platform.Messages().empty());
  world.StopRequested = false;
  platform.QueueAnswer(MessageAnswer::kNo);
  window.Form_KeyPress(27);
  EXPECT_FALSE(world.StopRequested);
  platform.QueueAnswer(MessageAnswer::kYes);
  window.Form_KeyPress(27);
  EXPECT_TRUE(world.StopRequested);
  ASSERT_EQ(platform.Messages().size(), 2u);
  EXPECT_EQ(platform.Messages()[0].text, "Stop World Build in Progress?");

  const struct { bool running, frameShown; int shift; bool watch; } keys[] = {
      {false, false, 0, false},                  // F5 alone does nothing
      {false, false, platform::kShiftAlt, true},  // idle: toggles
      {true, false, platform::kShiftAlt, true},   // building, display hidden: nothing
      {true, true, platform::kShiftAlt, false},   // building, display shown: toggles
  };
  for (const auto& key : keys) {
    world.StopRequested = !key.running;
    window.Controls().At("fraWatchIt", 0).visible = key.frameShown;
    window.Form_KeyDown(platform::kKeyF5, key.shift);
    EXPECT_EQ(world.WatchMode, key.watch);
    EXPECT_FALSE(window.Controls().At("fraWatchIt", 0).visible);
  }
}

}  // namespace
}  // namespace lorvex::ui
