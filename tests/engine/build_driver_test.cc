#include "engine/build_driver.h"

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "platform/headless_platform.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

using platform::ControlSet;
using platform::HeadlessPlatform;
using platform::MessageAnswer;

// One window over a headless platform; Build presses the Build button after `setup`
// has changed the fields, as a person would.
struct Session {
  Session() : window(std::make_unique<ui::frmBuild>(platform)) {}

  bool Build(int width, int height, bool wrap, std::uint64_t seed,
             const std::function<void(ControlSet&)>& setup = {}, bool watch = false) {
    window->SetSeed(seed);
    platform.SetDefaultQuestionAnswer(MessageAnswer::kYes);
    platform.AddModalAction([&](platform::Window& w) {
      auto& form = static_cast<ui::frmBuild&>(w);
      if (setup) setup(form.Controls());
      if (watch) form.Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
      form.Controls().At("cmdBuild", 0).Click();
      afterBuild(form);
    });
    HostWorld out;
    return window->GetMap(width, height, wrap, out);
  }

  const WorldState& World() const { return window->World(); }

  HeadlessPlatform platform;
  std::unique_ptr<ui::frmBuild> window;
  std::function<void(ui::frmBuild&)> afterBuild = [](ui::frmBuild&) {};
};

void SetText(ControlSet& c, const char* name, int index, const char* text) {
  c.At(name, index).SetText(text);
}

void ExpectWorldInvariants(const WorldState& world) { EXPECT_EQ(checks::CheckWorld(world), ""); }

TEST(BuildWorld, ADefaultBuildReachesTheHostAndKeepsTheInvariants) {
  for (bool wrap : {false, true}) {
    Session session;
    EXPECT_TRUE(session.Build(200, 150, wrap, 11));
    ExpectWorldInvariants(session.World());
    EXPECT_TRUE(session.World().BuildSucceeded);
    EXPECT_FALSE(session.window->IsVisible());
    EXPECT_EQ(session.window->Progress().value, 0);
    EXPECT_EQ(session.window->StatusBar().Panel(4).text, "Getting User Preferences");
    EXPECT_EQ(session.platform.Pointer(), platform::MousePointer::kDefault);
  }
}

TEST(BuildWorld, LoEqualHiGivesExactlyThoseCountsAndTheProgressArithmetic) {
  Session session;
  int progressMax = 0, progressEnd = 0;
  session.afterBuild = [&](ui::frmBuild&) {};
  const auto setup = [](ControlSet& c) {
    const char* figures[] = {"2", "2", "60", "60", "2", "2", "3", "3", "30", "30",
                             "1", "1", "4", "4", "10", "10", "1", "1", "0", "0"};
    for (int i = 0; i < 20; ++i) SetText(c, "txtLandMass", i, figures[i]);
  };
  // Watch the progress bar from the last yield of the build.
  session.platform.OnYield([&](platform::Window& w) {
    auto& form = static_cast<ui::frmBuild&>(w);
    progressMax = form.Progress().max;
    progressEnd = form.Progress().value;
  });
  ASSERT_TRUE(session.Build(150, 100, false, 3, setup));
  const auto& table = session.World().MassTable;
  ASSERT_EQ(table.size(), 9u);  // no tiny-island row when the total is 0
  const int classes[] = {0, 0, 1, 1, 1, 2, 2, 2, 2};
  for (std::size_t row = 0; row < table.size(); ++row) EXPECT_EQ(table[row].sizeClass, classes[row]);
  EXPECT_EQ(progressMax, 2 * 9 + 21);
  // 1 at the start, 2 per mass, 2 after the tiny islands; terrain and cities move it further
  // after the last yield of the build.
  EXPECT_GE(progressEnd, 1 + 2 * 9 + 2);
  ExpectWorldInvariants(session.World());
}

TEST(BuildWorld, TinyIslandsGetTheLastRow) {
  Session session;
  ASSERT_TRUE(session.Build(100, 60, true, 8, [](ControlSet& c) {
    for (int i : {0, 1, 6, 7, 12, 13}) SetText(c, "txtLandMass", i, "0");
    SetText(c, "txtLandMass", 18, "40");
    SetText(c, "txtLandMass", 19, "40");
  }));
  const auto& table = session.World().MassTable;
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table[0].sizeClass, kTinyIslands);
  EXPECT_EQ(table[0].squares, 40);
}

TEST(AlgorithmForDraw, PicksByRunningWeights) {
  platform::ControlSet controls = params::CreateWindowControls();
  controls.At("txtAlgorithm", 2).SetText("2");
  const params::ParameterView view(controls);
  const struct { float p; int algorithm; } rows[] = {
      {0.0f, 0}, {0.999f, 0}, {1.0f, 1}, {1.999f, 1}, {2.0f, 2}, {3.999f, 2}, {4.0f, 2}};
  for (const auto& row : rows) EXPECT_EQ(AlgorithmForDraw(view, row.p), row.algorithm) << row.p;
  controls.At("chkAlgorithm", 0).SetValue(0);  // Stick Blob 1, Shapes 2: W = 3
  EXPECT_EQ(AlgorithmForDraw(view, 0.5f), 1);
  EXPECT_EQ(AlgorithmForDraw(view, 1.0f), 2);
}

TEST(ValidateBuild, RefusesWithTheWindowsMessages) {
  HeadlessPlatform platform;
  ui::frmBuild window(platform);
  window.World().SetMapSize(100, 100, false);
  ControlSet& c = window.Controls();
  for (int i = 0; i < 3; ++i) c.At("chkAlgorithm", i).SetValue(0);
  EXPECT_FALSE(window.ValidateBuild());
  c.At("chkAlgorithm", 2).SetValue(1);
  for (int i = 0; i < 24; ++i) c.At("chkShape", i).SetValue(0);
  EXPECT_FALSE(window.ValidateBuild());
  ASSERT_EQ(platform.Messages().size(), 2u);
  EXPECT_EQ(platform.Messages()[0].text, "Please Select at least One Building Algorithm");
  EXPECT_EQ(platform.Messages()[1].text,
            "Shapes Algorithm is Selected, Please Select at least One Shape");
  c.At("chkShape", 5).SetValue(1);

  // lo + hi exactly SquareCount: no warning; one more: the warning, refused on No.
  for (int i : {0, 1, 6, 7, 12, 13}) c.At("txtLandMass", i).SetText("0");
  c.At("txtLandMass", 18).SetText("5000");
  c.At("txtLandMass", 19).SetText("5000");
  EXPECT_TRUE(window.ValidateBuild());
  EXPECT_EQ(platform.Messages().size(), 2u);
  c.At("txtLandMass", 19).SetText("5001");
  platform.QueueAnswer(MessageAnswer::kNo);
  EXPECT_FALSE(window.ValidateBuild());
  ASSERT_EQ(platform.Messages().size(), 3u);
  EXPECT_EQ(platform.Messages()[2].text,
            "Warning: Average Land % is Greater than 50%.  This may take\r\n"
            "an unusually long time to complete.  Continue with Build?");
  platform.QueueAnswer(MessageAnswer::kYes);
  EXPECT_TRUE(window.ValidateBuild());
}

TEST(BuildWorld, AStopDuringTheMediumMassesLeavesLargeAndFinishedMedium) {
  Session session;
  bool queued = false;
  session.platform.OnYield([&](platform::Window& w) {
    auto& form = static_cast<ui::frmBuild&>(w);
    const std::string& status = form.StatusBar().Panel(4).text;
    if (!queued && status.rfind("Medium - Placing", 0) == 0 && form.World().MassTable[2].squares > 0) {
      queued = true;
      session.platform.QueueAnswer(MessageAnswer::kYes);
      session.platform.QueueKeyAtYield(session.platform.YieldCount() + 1, {27, 0, 27});
    }
  });
  bool openAfterStop = false;
  session.afterBuild = [&](ui::frmBuild& form) {
    openAfterStop = form.IsVisible() && form.World().StopRequested && !form.World().BuildSucceeded;
  };
  const auto setup = [](ControlSet& c) {
    const char* figures[] = {"2", "2", "100", "100", "2", "2", "6", "6", "40", "40",
                             "1", "1", "5", "5", "10", "10", "1", "1", "20", "20"};
    for (int i = 0; i < 20; ++i) SetText(c, "txtLandMass", i, figures[i]);
  };
  EXPECT_FALSE(session.Build(200, 150, false, 21, setup));
  EXPECT_TRUE(queued);
  EXPECT_TRUE(openAfterStop);
  const WorldState& world = session.World();
  int large = 0, medium = 0, small = 0;
  for (const LandMass& mass : world.MassTable) {
    if (mass.squares == 0) continue;
    (mass.sizeClass == 0 ? large : mass.sizeClass == 1 ? medium : small)++;
  }
  EXPECT_EQ(large, 2);
  EXPECT_GE(medium, 1);
  EXPECT_LT(medium, 6);
  EXPECT_EQ(small, 0);
  for (char code : world.WorldMap.Cells()) EXPECT_TRUE(code == 'C' || IsWater(code)) << code;
  EXPECT_TRUE(world.CityProduction.empty());
}

TEST(BuildWorld, OddMapsAndHopelessParametersFinish) {
  const struct { int w, h; bool wrap; } maps[] = {{3, 3, false}, {1, 1, false}, {7, 1, true},
                                                  {7, 2, true},  {2, 9, false}, {40, 30, false}};
  for (const auto& m : maps) {
    Session session;
    EXPECT_TRUE(session.Build(m.w, m.h, m.wrap, 1)) << m.w << "x" << m.h;
    ExpectWorldInvariants(session.World());
  }
  // Masses far larger than their canvas, no sea border, and more land than the map holds.
  Session crowded;
  EXPECT_TRUE(crowded.Build(30, 20, false, 2, [](ControlSet& c) {
    const char* figures[] = {"9", "9", "999", "999", "0", "0", "20", "20", "300", "300",
                             "0", "0", "30", "30", "80", "80", "0", "0", "999", "999"};
    for (int i = 0; i < 20; ++i) SetText(c, "txtLandMass", i, figures[i]);
  }));
  ExpectWorldInvariants(crowded.World());
}

// A mass of more than 32767 squares is counted in full (the table counts in 32 bits), and
// its size comes from a figure longer than the box lets a person type.
TEST(BuildWorld, AMassLargerThan16BitsIsCountedInFull) {
  Session session;
  EXPECT_TRUE(session.Build(260, 200, true, 6, [](ControlSet& c) {
    const char* figures[] = {"1", "1", "40000", "40000", "0", "0", "0", "0", "1", "1",
                             "0", "0", "0", "0", "1", "1", "0", "0", "0", "0"};
    for (int i = 0; i < 20; ++i) SetText(c, "txtLandMass", i, figures[i]);
    for (int i = 0; i < 2; ++i) c.At("chkAlgorithm", i).SetValue(0);  // Shapes alone
    SetText(c, "txtShape", 0, "100");
    for (int i = 1; i < 24; ++i) c.At("chkShape", i).SetValue(0);     // the Rectangle
    for (int i = 0; i < 8; ++i) SetText(c, "txtTerrain", i, "0");
  }));
  const WorldState& world = session.World();
  ASSERT_EQ(world.MassTable.size(), 1u);
  long long land = 0;
  for (char code : world.WorldMap.Cells()) land += IsLand(code) ? 1 : 0;
  EXPECT_GT(world.MassTable[0].squares, 32767);
  EXPECT_EQ(world.MassTable[0].squares, land);
}

TEST(BuildWorld, AWatchModeBuildRunsOnSimulatedTimeAndDrawsThePreview) {
  Session session;
  bool sawFrame = false;
  session.platform.OnYield([&](platform::Window& w) {
    sawFrame = sawFrame || static_cast<ui::frmBuild&>(w).Controls().At("fraWatchIt", 0).visible;
  });
  ASSERT_TRUE(session.Build(100, 60, false, 4, {}, true));
  EXPECT_TRUE(sawFrame);
  EXPECT_GT(session.platform.TimerTicks(), 100);
  EXPECT_FALSE(session.window->Controls().At("fraWatchIt", 0).visible);  // hidden after the build
  // 100 x 60: 3 pixels a square, margins 0 and 44; the border square (0, 0) is black.
  const auto& pic = session.window->PicWorld();
  EXPECT_EQ(session.World().PreviewScale, 3);
  EXPECT_EQ(session.World().PreviewOffsetX, 0);
  EXPECT_EQ(session.World().PreviewOffsetY, 44);
  EXPECT_EQ(pic.Pixel(0, 43), (platform::Rgb{153, 153, 153}));
  EXPECT_EQ(pic.Pixel(0, 44), (platform::Rgb{0, 0, 0}));
  EXPECT_EQ(pic.Pixel(2, 46), (platform::Rgb{0, 0, 0}));
  EXPECT_EQ(pic.Pixel(0, 224), (platform::Rgb{153, 153, 153}));  // below 44 + 180 rows
}

}  // namespace
}  // namespace lorvex
