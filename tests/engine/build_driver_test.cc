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
using platform::MessageAnswer;

// A window over a headless platform that answers its questions Yes: Build sets the land
// boxes, then what `setup` changes, and presses Build as a person would.
struct Session {
  bool Build(int width, int height, std::vector<const char*> land, const std::function<void(ControlSet&)>& setup = {}) {
    window->SetSeed(seed);
    platform.SetDefaultQuestionAnswer(MessageAnswer::kYes);
    platform.AddModalAction([&](platform::Window&) {
      for (std::size_t i = 0; i < land.size(); ++i) window->Controls().At("txtLandMass", static_cast<int>(i)).SetText(land[i]);
      if (setup) setup(window->Controls());
      window->Controls().At("cmdBuild", 0).Click();
      openAfterBuild = window->IsVisible();
    });
    HostWorld out;
    return window->GetMap(width, height, wrap, out);
  }
  const WorldState& World() const { return window->World(); }

  platform::HeadlessPlatform platform;
  std::unique_ptr<ui::frmBuild> window = std::make_unique<ui::frmBuild>(platform);
  std::uint64_t seed = 21;
  bool wrap = false;
  bool openAfterBuild = false;
};

// The checks before a build, in order; the land warning when lo + hi exceeds the map's
// squares (no masses; tiny islands 5000 .. Hi on 10 000 squares).
TEST(ValidateBuild, RefusesWithTheWindowsMessagesAndWarnsAboveHalfTheMap) {
  const char* warning = "Warning: Average Land % is Greater than 50%.  This may take\r\n"
                        "an unusually long time to complete.  Continue with Build?";
  const struct { bool algorithms, shapes; const char* tinyHi; MessageAnswer answer; bool valid; const char* message; } rows[] = {
      {false, true, "5000", MessageAnswer::kYes, false, "Please Select at least One Building Algorithm"},
      {true, false, "5000", MessageAnswer::kYes, false, "Shapes Algorithm is Selected, Please Select at least One Shape"},
      {true, true, "5000", MessageAnswer::kNo, true, nullptr},  // lo + hi exactly the map
      {true, true, "5001", MessageAnswer::kNo, false, warning},
      {true, true, "5001", MessageAnswer::kYes, true, warning},
  };
  for (const auto& row : rows) {
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    window.World().SetMapSize(100, 100, false);
    ControlSet& c = window.Controls();
    for (int i = 0; i < 3; ++i) c.At("chkAlgorithm", i).SetValue(row.algorithms ? 1 : 0);
    for (int i = 0; i < 24; ++i) c.At("chkShape", i).SetValue(row.shapes && i == 5 ? 1 : 0);
    for (int i : {0, 1, 6, 7, 12, 13}) c.At("txtLandMass", i).SetText("0");
    c.At("txtLandMass", 18).SetText("5000");
    c.At("txtLandMass", 19).SetText(row.tinyHi);
    platform.QueueAnswer(row.answer);
    EXPECT_EQ(window.ValidateBuild(), row.valid) << row.tinyHi;
    ASSERT_EQ(platform.Messages().size(), row.message == nullptr ? 0u : 1u) << row.tinyHi;
    if (row.message != nullptr) {
      EXPECT_EQ(platform.Messages()[0].text, row.message);
    }
  }
}

// Weights 1, 1, 2, all checked: Wandering Blob for p in [0, 1), Stick Blob for [1, 2),
// Shapes for [2, 4) and p = W; without Wandering Blob W = 3.
TEST(AlgorithmForDraw, PicksTheFirstRunningSumAboveTheDraw) {
  const struct { bool wandering; float p; int algorithm; } rows[] = {
      {true, 0.0f, 0}, {true, 0.999f, 0}, {true, 1.0f, 1}, {true, 1.999f, 1}, {true, 2.0f, 2},
      {true, 3.999f, 2}, {true, 4.0f, 2}, {false, 0.5f, 1}, {false, 1.0f, 2}, {false, 3.0f, 2},
  };
  for (const auto& row : rows) {
    ControlSet controls = params::CreateWindowControls();
    controls.At("txtAlgorithm", 2).SetText("2");
    controls.At("chkAlgorithm", 0).SetValue(row.wandering ? 1 : 0);
    EXPECT_EQ(AlgorithmForDraw(params::ParameterView(controls), row.p), row.algorithm) << row.wandering << " " << row.p;
  }
}

// Lo = Hi gives exactly those numbers of masses, Large first, the tiny islands a last row
// only when there are some, and a progress maximum of 2 per mass plus 21; a mass of more
// than 32767 squares is counted in full.
TEST(BuildWorld, LoEqualHiGivesThoseCountsInClassOrder) {
  const struct { std::vector<const char*> land; std::vector<int> classes; int lastSquares; } rows[] = {
      {{"2", "2", "60", "60", "2", "2", "3", "3", "30", "30", "1", "1", "4", "4", "10", "10", "1", "1", "0", "0"},
       {0, 0, 1, 1, 1, 2, 2, 2, 2}, -1},
      {{"0", "0", "60", "60", "2", "2", "0", "0", "30", "30", "1", "1", "1", "1", "10", "10", "1", "1", "40", "40"}, {2, 3}, 40},
      {{"1", "1", "40000", "40000", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0", "1", "1", "0", "0", "0", "0"}, {0}, 32768},
  };
  for (const auto& row : rows) {
    Session session;
    session.seed = 6;
    session.wrap = true;
    int progressMax = 0;
    session.platform.OnYield([&](platform::Window&) { progressMax = session.window->Progress().max; });
    ASSERT_TRUE(session.Build(260, 200, row.land, [](ControlSet& c) {  // whole Rectangles, no terrain
      for (int i = 0; i < 2; ++i) c.At("chkAlgorithm", i).SetValue(0);
      c.At("txtShape", 0).SetText("100");
      for (int i = 1; i < 24; ++i) c.At("chkShape", i).SetValue(0);
      for (int i = 0; i < 8; ++i) c.At("txtTerrain", i).SetText("0");
    }));
    const auto& table = session.World().MassTable;
    std::vector<int> classes;
    for (const LandMass& mass : table) classes.push_back(mass.sizeClass);
    EXPECT_EQ(classes, row.classes);
    if (row.lastSquares > 0) {
      EXPECT_GE(table.back().squares, row.lastSquares);
    }
    EXPECT_EQ(progressMax, 2 * static_cast<int>(table.size() - (row.classes.back() == 3 ? 1 : 0)) + 21);
    EXPECT_EQ(checks::CheckWorld(session.World()), "");
  }
}

// A stop confirmed while the Medium masses are placed leaves the Large masses and the Medium
// masses finished so far, no Small mass, no terrain and no cities; the window stays open.
TEST(BuildWorld, AStopDuringTheMediumMassesKeepsWhatWasDone) {
  Session session;
  bool queued = false;
  session.platform.OnYield([&](platform::Window&) {
    if (!queued && session.window->StatusBar().Panel(4).text.rfind("Medium - Placing", 0) == 0 &&
        session.World().MassTable[2].squares > 0) {
      queued = true;
      session.platform.QueueKeyAtYield(session.platform.YieldCount() + 1, {27, 0, 27});
    }
  });
  EXPECT_FALSE(session.Build(200, 150, {"2", "2", "100", "100", "2", "2", "6", "6", "40", "40",
                                        "1", "1", "5", "5", "10", "10", "1", "1", "20", "20"}));
  EXPECT_TRUE(session.openAfterBuild);
  int placed[4] = {0, 0, 0, 0};
  for (const LandMass& mass : session.World().MassTable) placed[mass.sizeClass] += mass.squares > 0 ? 1 : 0;
  EXPECT_EQ(placed[kLarge], 2);
  EXPECT_TRUE(placed[kMedium] >= 1 && placed[kMedium] < 6) << placed[kMedium];
  EXPECT_EQ(placed[kSmall] + placed[kTinyIslands], 0);
  for (char code : session.World().WorldMap.Cells()) ASSERT_TRUE(code == 'C' || IsWater(code)) << code;
  EXPECT_TRUE(session.World().CityProduction.empty());
}

}  // namespace
}  // namespace lorvex
