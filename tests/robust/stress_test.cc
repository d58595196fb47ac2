#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/random.h"
#include "host/cls_build.h"
#include "params/build_parameters.h"
#include "platform/control.h"
#include "support/build_session.h"
#include "support/parameter_values.h"

namespace lorvex::checks {
namespace {

// Random parameter sets on maps from 1 x 1 to 300 x 300, wrapping and not, built to their
// end and stopped at a random yield: every build ends within its yield budget, leaves a
// world that keeps the invariants, and the window answers as a host expects: True after a
// finished build, False after a stop that left the window open (then Cancel) or after a
// refusal.
// Without optimisation (the sanitizer build) the engine runs many times slower: fewer cases.
#ifdef NDEBUG
int Cases(int normal, int) { return normal; }
#else
int Cases(int, int slow) { return slow; }
#endif

// The most yields a case takes is about 7.5 million (watch mode, 50 attempts at a Large mass
// with a sea border of 99); a build that comes to this many is a runaway loop.
constexpr long long kYieldBudget = 100'000'000;

// Builds `count` random cases with map sides from `shortest` to `longest`. Every other case
// is built a second time with a stop at a random yield of the first build, and every fourth
// of those is built again after the stop.
void StressMaps(int shortest, int longest, int count, std::uint64_t firstCase) {
  int built = 0, refused = 0, stopped = 0;
  for (std::uint64_t caseSeed = firstCase; caseSeed < firstCase + static_cast<std::uint64_t>(count); ++caseSeed) {
    Random rng(caseSeed);
    SessionPlan plan;
    plan.width = static_cast<std::int32_t>(rng.DrawInt(shortest, longest));
    plan.height = static_cast<std::int32_t>(rng.DrawInt(shortest, longest));
    plan.wrap = rng.Item(2) == 1;
    plan.watch = rng.Next() < 0.05;
    plan.seed = static_cast<std::uint64_t>(rng.DrawInt(0, 1LL << 40));
    plan.yieldBudget = kYieldBudget;
    // The parameters as the build fuzz target reads them from its bytes.
    std::vector<std::uint8_t> bytes(2000);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(rng.Item(256));
    plan.setParameters = [&](platform::ControlSet& controls) {
      fuzzing::FuzzInput in(bytes.data(), bytes.size());
      FillParameters(in, controls, static_cast<double>(plan.width) * plan.height);
    };
    const std::string what = "case " + std::to_string(caseSeed) + ": " + std::to_string(plan.width) + " x " +
                             std::to_string(plan.height) + (plan.wrap ? " wrapping" : "") +
                             (plan.watch ? " watch" : "") + ", seed " + std::to_string(plan.seed);
    const SessionResult whole = RunSession(plan);
    ASSERT_FALSE(whole.overBudget) << what << ": no end within " << kYieldBudget << " yields";
    ASSERT_EQ(whole.broken, "") << what;
    ASSERT_FALSE(whole.stopped) << what;
    ASSERT_EQ(whole.answer, !whole.refused) << what;
    (whole.refused ? refused : built)++;
    if (whole.refused || rng.Item(2) == 0) continue;

    plan.stopAtYield = rng.DrawInt(1, whole.yields);  // a yield the build reaches
    plan.buildAgainAfterStop = rng.Item(4) == 0;
    const SessionResult part = RunSession(plan);
    const std::string stopWhat = what + ", stopped at yield " + std::to_string(plan.stopAtYield);
    ASSERT_FALSE(part.overBudget) << stopWhat;
    ASSERT_EQ(part.broken, "") << stopWhat;
    ASSERT_TRUE(part.stopped) << stopWhat;
    EXPECT_EQ(part.answer, plan.buildAgainAfterStop) << stopWhat;
    ++stopped;
  }
  // The mix is what makes the test worth its time: mostly builds, some stops, some refusals
  // (about a third of random parameter sets ask for more land than the map has room for).
  // The few cases of the sanitizer build are judged by their builds alone.
  if (count >= 20) {
    EXPECT_GT(built, count / 2);
    EXPECT_GT(stopped, count / 5);
    EXPECT_GT(refused, count / 10);
  }
}

TEST(Stress, SmallMapsBuildAndStopAnywhere) { StressMaps(1, 12, Cases(2800, 120), 1'000'000); }

TEST(Stress, MediumMapsBuildAndStopAnywhere) { StressMaps(13, 80, Cases(120, 8), 2'000'000); }

TEST(Stress, LargeMapsBuildAndStopAnywhere) { StressMaps(81, 300, Cases(30, 2), 3'000'000); }


// The extremes of the parameters window: every field at the largest value a person can type
// (all nines at the box's full length, every check box checked, every list at its last
// item) and at the smallest, on a 10 x 10 map and on the largest map a host may ask for.
// Each build ends within a budget of yields and the window answers (the heavy builds are
// labelled "extremes" in tests/CMakeLists.txt).
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
      {"smallest", 10, false, false}, {"smallest, largest map", kMaxMapSide, false, false},
      {"smallest, one algorithm", 10, true, true}, {"smallest, one algorithm, largest map", kMaxMapSide, false, true}};
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
