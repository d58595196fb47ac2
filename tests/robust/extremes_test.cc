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

void TypeEveryBox(ControlSet& controls, char digit) {
  for (Control& c : controls.All())
    if (c.Kind() == ControlKind::kNumberBox) {
      c.Type(std::string(Control::kMostTextLength, digit));  // cut to the box's length
      c.LoseFocus();
    }
}

void SetEveryChoice(ControlSet& controls, bool largest) {
  for (Control& c : controls.All()) {
    if (c.Kind() == ControlKind::kCheckBox) c.SetValue(largest ? 1 : 0);
    if (c.Kind() == ControlKind::kSelectionBox)
      c.SetListIndex(largest ? static_cast<int>(c.items.size()) - 1 : 0);
  }
}

void Largest(ControlSet& controls) {
  TypeEveryBox(controls, '9');
  SetEveryChoice(controls, true);
}

void Smallest(ControlSet& controls) {
  TypeEveryBox(controls, '0');
  SetEveryChoice(controls, false);
}

// A build of the largest values on a 10 x 10 map takes about 3.1 million yields: it shapes
// every one of 6 Large, 999 Medium and 999 Small masses as drawn, placed or not (a few
// seconds, a minute under the sanitizers). Over ten times that ends a build that loops.
constexpr long long kSmallMapBudget = 40'000'000;

TEST(HeavyBuild, LargestValuesOnASmallMap) {
  for (const bool wrap : {false, true}) {
    SessionPlan plan;
    plan.width = plan.height = 10;
    plan.wrap = wrap;
    plan.seed = 17;
    plan.setParameters = Largest;
    plan.yieldBudget = kSmallMapBudget;
    const SessionResult result = RunSession(plan);
    EXPECT_FALSE(result.overBudget) << wrap;
    EXPECT_TRUE(result.answer) << wrap;
    EXPECT_EQ(result.broken, "") << wrap;
  }
}

// With nothing checked the window refuses to build, on any map, and Cancel answers False.
TEST(Extremes, SmallestValuesAreRefusedWithTheWindowsMessage) {
  for (const int side : {10, kMaxMapSide}) {
    SessionPlan plan;
    plan.width = plan.height = side;
    plan.setParameters = Smallest;
    const SessionResult result = RunSession(plan);
    EXPECT_TRUE(result.refused) << side;
    EXPECT_FALSE(result.answer) << side;
    EXPECT_EQ(result.yields, 0) << side;
    EXPECT_EQ(result.broken, "") << side;
  }
}

// The smallest values with one algorithm allowed: no masses, no tiny islands, no terrain,
// no cities — an all-sea world, built in a handful of yields even on the largest map.
TEST(Extremes, SmallestValuesWithOneAlgorithmBuildAnEmptySea) {
  for (const int side : {10, kMaxMapSide}) {
    SessionPlan plan;
    plan.width = plan.height = side;
    plan.wrap = side == 10;
    plan.setParameters = [](ControlSet& controls) {
      Smallest(controls);
      controls.At("chkAlgorithm", 1).SetValue(1);
    };
    plan.yieldBudget = 100;
    const SessionResult result = RunSession(plan);
    EXPECT_FALSE(result.overBudget) << side;
    EXPECT_TRUE(result.answer) << side;
    EXPECT_EQ(result.broken, "") << side;
    EXPECT_EQ(result.landSquares, 0) << side;
  }
}

// A heavy build runs to its end within its budget, the host gets the world, and the test
// prints how many yields it took.
SessionResult ExpectAHeavyBuildEnds(const SessionPlan& plan) {
  const SessionResult result = RunSession(plan);
  EXPECT_FALSE(result.overBudget);
  EXPECT_TRUE(result.answer);
  EXPECT_EQ(result.broken, "");
  std::printf("yields: %lld, land squares: %lld\n", result.yields, result.landSquares);
  return result;
}

// The build takes about 4.4 million yields (the test prints the count); ten times that ends a
// build that loops.
constexpr long long kLargestMapBudget = 50'000'000;

TEST(HeavyBuild, LargestValuesOnTheLargestMap) {
  SessionPlan plan;
  plan.width = plan.height = kMaxMapSide;
  plan.seed = 23;
  plan.yieldBudget = kLargestMapBudget;
  plan.setParameters = Largest;
  EXPECT_GT(ExpectAHeavyBuildEnds(plan).landSquares, 0);
}

}  // namespace
}  // namespace lorvex::checks
