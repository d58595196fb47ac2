// The extremes of the parameters window: every field at the largest value a person can type
// (all nines at the box's full length, every check box checked, every list at its last
// item) and at the smallest (zeros, nothing checked, first items), on a 10 x 10 map and on
// the largest map a host may ask for. Each build ends within a budget of yields and the
// window answers. The largest values shape some two thousand masses on the small map and
// build a world of 16.7 million squares on the largest: CTest runs these two builds (suite
// HeavyBuild) as a test of their own, labelled "extremes" (tests/CMakeLists.txt).
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

// Smallest values refused on any map with no yield at all; smallest with one algorithm
// allowed: an all-sea world in a handful of yields, even on the largest map.
TEST(Extremes, SmallestValuesEndWithAnAnswer) {
  const struct { const char* what; int side; bool wrap, oneAlgorithm; } rows[] = {
      {"smallest", 10, false, false},
      {"smallest, largest map", kMaxMapSide, false, false},
      {"smallest, one algorithm", 10, true, true},
      {"smallest, one algorithm, largest map", kMaxMapSide, false, true},
  };
  for (const auto& row : rows) {
    SessionPlan plan;
    plan.width = plan.height = row.side;
    plan.wrap = row.wrap;
    plan.seed = 17;
    plan.yieldBudget = 100;
    plan.setParameters = [&row](ControlSet& controls) {
      SetEveryField(controls, false);
      if (row.oneAlgorithm) controls.At("chkAlgorithm", 1).SetValue(1);
    };
    const SessionResult result = RunSession(plan);
    EXPECT_FALSE(result.overBudget) << row.what;
    EXPECT_EQ(result.answer, row.oneAlgorithm) << row.what;
    EXPECT_EQ(result.refused, !row.oneAlgorithm) << row.what;
    EXPECT_EQ(result.broken, "") << row.what;
    EXPECT_EQ(result.landSquares, 0) << row.what;
  }
}

// A heavy build runs to its end within its budget (about ten times the yields it takes),
// the host gets the world, and the test prints how many yields it took.
void ExpectAHeavyBuildEnds(SessionPlan plan, long long budget) {
  plan.yieldBudget = budget;
  plan.setParameters = [](ControlSet& controls) { SetEveryField(controls, true); };
  const SessionResult result = RunSession(plan);
  EXPECT_FALSE(result.overBudget);
  EXPECT_TRUE(result.answer);
  EXPECT_EQ(result.broken, "");
  EXPECT_GT(result.landSquares, 0);
  std::printf("yields: %lld, land squares: %lld\n", result.yields, result.landSquares);
}

// About 3.1 million yields: every one of 6 Large, 999 Medium and 999 Small masses is shaped
// as drawn, placed or not.
TEST(HeavyBuild, LargestValuesOnASmallMap) {
  for (const bool wrap : {false, true}) {
    SessionPlan plan;
    plan.width = plan.height = 10;
    plan.wrap = wrap;
    plan.seed = 17;
    ExpectAHeavyBuildEnds(plan, 40'000'000);
  }
}

// About 4.4 million yields.
TEST(HeavyBuild, LargestValuesOnTheLargestMap) {
  SessionPlan plan;
  plan.width = plan.height = kMaxMapSide;
  plan.seed = 23;
  ExpectAHeavyBuildEnds(plan, 50'000'000);
}

}  // namespace
}  // namespace lorvex::checks
