// The extremes of the parameters window: every field at the largest value a person can type
// (all nines at the box's full length, every check box checked, every list at its last
// item) and at the smallest (zeros, nothing checked, first items), on a small map and on the
// largest map a host may ask for. Each build ends within a budget of yields and the window
// answers. The largest values on the largest map build a world of 16.7 million squares:
// with two heavy fuzz findings (suite HeavyBuild) CTest runs them as a test of its own,
// labelled "extremes" (tests/CMakeLists.txt).
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "host/cls_build.h"
#include "platform/control.h"
#include "support/build_session.h"

namespace lorvex::checks {
namespace {

using platform::Control;
using platform::ControlKind;
using platform::ControlSet;

void SetEveryField(ControlSet& controls, bool largest) {
  for (Control& c : controls.All()) {
    if (c.Kind() == ControlKind::kNumberBox) {
      c.Type(std::string(Control::kMostTextLength, largest ? '9' : '0'));  // cut to the box's length
      c.LoseFocus();
    }
    if (c.Kind() == ControlKind::kCheckBox) c.SetValue(largest ? 1 : 0);
    if (c.Kind() == ControlKind::kSelectionBox) c.SetListIndex(largest ? static_cast<int>(c.items.size()) - 1 : 0);
  }
}

// Largest values on a 10 x 10 map (about 220 thousand yields; twenty times that ends a
// build that loops); smallest values refused on any map with no yield at all; smallest with
// one algorithm allowed: an all-sea world in a handful of yields, even on the largest map.
TEST(Extremes, LargestAndSmallestValuesEndWithAnAnswer) {
  const struct { const char* what; int side; bool wrap, largest, oneAlgorithm; long long budget; bool answer; } rows[] = {
      {"largest, flat", 10, false, true, false, 5'000'000, true},
      {"largest, wrapping", 10, true, true, false, 5'000'000, true},
      {"smallest", 10, false, false, false, 100, false},
      {"smallest, largest map", kMaxMapSide, false, false, false, 100, false},
      {"smallest, one algorithm", 10, true, false, true, 100, true},
      {"smallest, one algorithm, largest map", kMaxMapSide, false, false, true, 100, true},
  };
  for (const auto& row : rows) {
    SessionPlan plan;
    plan.width = plan.height = row.side;
    plan.wrap = row.wrap;
    plan.seed = 17;
    plan.yieldBudget = row.budget;
    plan.setParameters = [&row](ControlSet& controls) {
      SetEveryField(controls, row.largest);
      if (row.oneAlgorithm) controls.At("chkAlgorithm", 1).SetValue(1);
    };
    const SessionResult result = RunSession(plan);
    EXPECT_FALSE(result.overBudget) << row.what;
    EXPECT_EQ(result.answer, row.answer) << row.what;
    EXPECT_EQ(result.refused, !row.answer) << row.what;
    EXPECT_EQ(result.broken, "") << row.what;
    if (!row.largest) {
      EXPECT_EQ(result.landSquares, 0) << row.what;
    }
  }
}

// A heavy build runs to its end within its budget (about four to ten times the yields it
// takes), the host gets the world, and the test prints how many yields it took.
void ExpectAHeavyBuildEnds(const SessionPlan& plan) {
  const SessionResult result = RunSession(plan);
  EXPECT_FALSE(result.overBudget);
  EXPECT_TRUE(result.answer);
  EXPECT_EQ(result.broken, "");
  EXPECT_GT(result.landSquares, 0);
  std::printf("yields: %lld, land squares: %lld\n", result.yields, result.landSquares);
}

// About 4.4 million yields.
TEST(HeavyBuild, LargestValuesOnTheLargestMap) {
  SessionPlan plan;
  plan.width = plan.height = kMaxMapSide;
  plan.seed = 23;
  plan.yieldBudget = 50'000'000;
  plan.setParameters = [](ControlSet& controls) { SetEveryField(controls, true); };
  ExpectAHeavyBuildEnds(plan);
}

// Found by the build fuzz target: a count of Large masses as large as a number box can hold
// and a size beyond the map, on a 64 x 48 map. The build holds both to the map's 3072
// squares and shapes 3072 masses, all but the first few never placed: 37 million yields.
TEST(HeavyBuild, ThousandsOfLargeMassesOnASmallMapEnd) {
  SessionPlan plan;
  plan.width = 64;
  plan.height = 48;
  plan.wrap = true;
  plan.seed = 768;
  plan.yieldBudget = 140'000'000;
  plan.setParameters = [](ControlSet& controls) {
    const char* texts[] = {"", "1e308", "7003", ""};
    for (int i = 0; i < 4; ++i) controls.At("txtLandMass", i).SetText(texts[i]);
    for (int a = 0; a < 3; ++a) controls.At("chkAlgorithm", a).SetValue(a == 0 ? 1 : 0);
  };
  ExpectAHeavyBuildEnds(plan);
}

// Found by the build fuzz target: thousands of Medium masses each ringed by a sea border 67
// squares wide, in watch mode, where every border square is shown: some 40 million yields.
TEST(HeavyBuild, ThousandsOfWideSeaBordersInWatchModeEnd) {
  SessionPlan plan;
  plan.width = plan.height = 64;
  plan.wrap = true;
  plan.watch = true;
  plan.seed = 5;
  plan.yieldBudget = 140'000'000;
  plan.setParameters = [](ControlSet& controls) {
    const char* texts[] = {"3", "3", "400", "602", "02", "02", "1e83", "1e83", "", "0",
                           "67", "67", "11", "11", "", "", "0", "0", "10", "0"};
    for (int i = 0; i < 20; ++i) controls.At("txtLandMass", i).SetText(texts[i]);
    controls.At("chkLandPlace", 1).SetValue(1);
    for (int a = 0; a < 3; ++a) controls.At("chkAlgorithm", a).SetValue(a == 1 ? 1 : 0);
  };
  ExpectAHeavyBuildEnds(plan);
}

}  // namespace
}  // namespace lorvex::checks
