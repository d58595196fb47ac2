#include "ui/frm_build.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"

namespace lorvex::ui {
namespace {

using platform::HeadlessPlatform;
using platform::MessageAnswer;

TEST(GetMap, OpensTheWindowAsTheHostAskedAndCancelLeavesTheArrays) {
  HeadlessPlatform platform;
  frmBuild window(platform);
  bool sawWindow = false;
  platform.AddModalAction([&](platform::Window& w) {
    auto& form = static_cast<frmBuild&>(w);
    sawWindow = true;
    EXPECT_EQ(form.StatusBar().Panel(1).text, "Map: 2000 x 1500 ");
    EXPECT_EQ(form.StatusBar().Panel(2).text, "Squares = 3,000,000 ");
    EXPECT_EQ(form.Controls().At("lblVersion", 0).caption, "Version 1.1.3");
    EXPECT_EQ(form.Progress().value, 0);
    EXPECT_EQ(form.Progress().left, form.StatusBar().Panel(5).left);
    EXPECT_TRUE(form.World().StopRequested);
    EXPECT_FALSE(form.World().WatchMode);
    EXPECT_EQ(form.Tabs().selected, 1);
    EXPECT_TRUE(form.Controls().At("fratabs", 1).visible);
    EXPECT_FALSE(form.Controls().At("fratabs", 2).visible);
    EXPECT_EQ(form.Controls().At("cboPlacement", 0).ListIndex(), 0);
    form.Controls().At("cmdCancel", 0).Click();
  });
  HostWorld out;
  out.ProdArray = {7};
  EXPECT_FALSE(window.GetMap(2000, 1500, false, out));
  EXPECT_TRUE(sawWindow);
  EXPECT_EQ(out.ProdArray, std::vector<std::int16_t>{7});
}

// The copy-out reads cities in a column-major scan: the city at (0, 5) comes before the one
// at (1, 0) although it was placed later. The arrays keep one entry per city of the build,
// so a planned city that found no square answers 0, not the outside value.
TEST(GetMap, CopiesCitiesColumnMajorAndKeepsUnplacedEntries) {
  HeadlessPlatform platform;
  frmBuild window(platform);
  platform.AddModalAction([](platform::Window& w) {
    auto& form = static_cast<frmBuild&>(w);
    WorldState& world = form.World();
    world.CreateInitialMap();
    world.WorldMap(1, 0) = 'Y';  // border squares are fine for the copy-out
    world.CityOfSquare(1, 0) = 0;
    world.WorldMap(0, 5) = 'Y';
    world.CityOfSquare(0, 5) = 1;
    world.CityProduction = {100, 101, 0};
    world.CitySpecialty = {9, 12, 0};
    world.CityOwner = {0, 0, 0};
    world.BuildSucceeded = true;
    form.Hide();
  });
  HostWorld out;
  ASSERT_TRUE(window.GetMap(3, 7, false, out));
  EXPECT_EQ(out.CityCount, 2);
  EXPECT_EQ(out.ProdArray, (std::vector<std::int16_t>{101, 100, 0}));
  EXPECT_EQ(out.SpecArray, (std::vector<std::int16_t>{12, 9, 0}));
  EXPECT_EQ(out.OwnerArray, (std::vector<std::int16_t>{0, 0, 0}));
  EXPECT_EQ(out.MapArray(0, 5), 'Y');
  EXPECT_EQ(out.MapArray(1, 1), 'S');
}

TEST(ShowStatus, ThrottlesRepeatsAndTurnsTheSpinner) {
  HeadlessPlatform platform;
  frmBuild window(platform);
  std::string& panel = window.StatusBar().Panel(4).text;
  platform.SetClock(100.0);
  window.ShowStatus("Terrain", "Mountain");
  EXPECT_EQ(panel, "Terrain - Mountain \\");  // spinner 0 -> 1
  platform.SetClock(100.1);
  window.ShowStatus("Terrain", "Mountain");
  EXPECT_EQ(panel, "Terrain - Mountain \\");  // same texts within 0.25 s
  window.ShowStatus("Terrain", "Rough");
  EXPECT_EQ(panel, "Terrain - Rough |");  // a new detail is written at once
  platform.SetClock(100.4);
  window.ShowStatus("Terrain", "");
  EXPECT_EQ(panel, "Terrain - Rough /");  // empty detail: only the spinner turns
  platform.SetClock(100.8);
  window.ShowStatus("", "");
  EXPECT_EQ(panel, "Terrain - Rough -");  // 3 wraps to 0
  platform.SetClock(0.05);                // past midnight: earlier than the last write
  window.ShowStatus("", "");
  EXPECT_EQ(panel, "Terrain - Rough \\");
}

TEST(Keys, StopQuestionOnlyWhileBuildingAndAltF5TogglesWatchMode) {
  HeadlessPlatform platform;
  frmBuild window(platform);
  window.World().StopRequested = true;  // no build running
  window.Form_KeyPress(27);
  EXPECT_TRUE(platform.Messages().empty());

  window.World().StopRequested = false;  // running
  platform.QueueAnswer(MessageAnswer::kNo);
  window.Form_KeyPress(27);
  EXPECT_FALSE(window.World().StopRequested);
  platform.QueueAnswer(MessageAnswer::kYes);
  window.Form_KeyPress(27);
  EXPECT_TRUE(window.World().StopRequested);
  ASSERT_EQ(platform.Messages().size(), 2u);
  EXPECT_EQ(platform.Messages()[0].text, "Stop World Build in Progress?");

  // Idle: Alt+F5 toggles; F5 alone does not.
  window.Form_KeyDown(platform::kKeyF5, 0);
  EXPECT_FALSE(window.World().WatchMode);
  window.Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
  EXPECT_TRUE(window.World().WatchMode);
  // Running with the watch frame hidden: nothing; with it shown: toggles and hides it.
  window.World().StopRequested = false;
  window.Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
  EXPECT_TRUE(window.World().WatchMode);
  window.Controls().At("fraWatchIt", 0).visible = true;
  window.Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
  EXPECT_FALSE(window.World().WatchMode);
  EXPECT_FALSE(window.Controls().At("fraWatchIt", 0).visible);
}

TEST(PauseTimer, TickEndsThePauseAndDisablesTheTimer) {
  HeadlessPlatform platform;
  frmBuild window(platform);
  window.World().WatchMode = true;
  PauseOneTick(window.World(), window);
  EXPECT_FALSE(window.World().PauseActive);
  EXPECT_FALSE(window.PauseTimerEnabled());
  EXPECT_EQ(platform.TimerTicks(), 1);
  const params::ParameterView view(window.Controls());
  BuildContext context{window.World(), view, window.Generator(), window};
  WatchPause(context);
  EXPECT_EQ(platform.TimerTicks(), 32);
  window.World().WatchMode = false;
  WatchPause(context);
  EXPECT_EQ(platform.TimerTicks(), 32);
}

}  // namespace
}  // namespace lorvex::ui
