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

// Random parameter sets on maps up to 300 x 300, built to their end and stopped at a random
// yield: each ends within its yield budget, keeps the invariants, and the window answers
// True after a finished build, False after a stop (then Cancel) or a refusal.
// Without optimisation (the sanitizer build) the engine runs many times slower: fewer cases.
#ifdef NDEBUG
int Cases(int normal, int) { return normal; }
#else
int Cases(int, int slow) { return slow; }
#endif

// The most a case takes is about 7.5 million yields; this many is a runaway loop.
constexpr long long kYieldBudget = 100'000'000;

// Every other case is built again with a stop at a random yield of the first build, every
// fourth of those built again after the stop.
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
    const std::string what = "case " + std::to_string(caseSeed);  // all a case draws follows from it
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
    ASSERT_FALSE(part.overBudget) << what << ", stopped";
    ASSERT_EQ(part.broken, "") << what << ", stopped";
    ASSERT_TRUE(part.stopped) << what << ", stopped";
    EXPECT_EQ(part.answer, plan.buildAgainAfterStop) << what << ", stopped";
    ++stopped;
  }
  // The mix is what makes the test worth its time: mostly builds, some stops, some refusals
  // (more land than the map has room for); the sanitizer build's few cases are not judged so.
  if (count >= 20) {
    EXPECT_GT(built, count / 2);
    EXPECT_GT(stopped, count / 5);
    EXPECT_GT(refused, count / 10);
  }
}

TEST(Stress, SmallMapsBuildAndStopAnywhere) { StressMaps(1, 12, Cases(2800, 120), 1'000'000); }

TEST(Stress, MediumMapsBuildAndStopAnywhere) { StressMaps(13, 80, Cases(120, 8), 2'000'000); }

TEST(Stress, LargeMapsBuildAndStopAnywhere) { StressMaps(81, 300, Cases(30, 2), 3'000'000); }


// Every field at the largest value a person can type (all nines, every box checked, every
// list at its last item) or the smallest (with one algorithm left checked): each build ends
// within its budget of yields and the window answers, with land or none.
using platform::Control;
using platform::ControlKind;

void ExpectEveryFieldBuilds(SessionPlan plan, bool largest, long long budget) {
  plan.yieldBudget = budget;
  plan.setParameters = [largest](platform::ControlSet& controls) {
    for (Control& c : controls.All()) {
      if (c.Kind() == ControlKind::kNumberBox) {
        c.Type(std::string(Control::kMostTextLength, largest ? '9' : '0'));  // cut to the box's length
        c.LoseFocus();
      }
      if (c.Kind() == ControlKind::kCheckBox) c.SetValue(largest ? 1 : 0);
      if (c.Kind() == ControlKind::kSelectionBox) c.SetListIndex(largest ? static_cast<int>(c.items.size()) - 1 : 0);
    }
    controls.At("chkAlgorithm", 1).SetValue(1);
  };
  const SessionResult result = RunSession(plan);
  EXPECT_TRUE(!result.overBudget && result.answer && result.broken.empty()) << plan.width << ": " << result.broken;
  EXPECT_EQ(result.landSquares > 0, largest) << plan.width;
}

// The smallest values build an all-sea world in a handful of yields, even on the largest map.
TEST(Extremes, SmallestValuesBuildAnAllSeaWorld) {
  for (const int side : {10, kMaxMapSide}) {
    SessionPlan plan;
    plan.width = plan.height = side;
    plan.wrap = side == 10;
    plan.seed = 17;
    ExpectEveryFieldBuilds(plan, false, 100);
  }
}

// Every one of 6 Large, 999 Medium and 999 Small masses is shaped as drawn, placed or not.
TEST(HeavyBuild, LargestValuesOnASmallMap) {
  for (const bool wrap : {false, true}) {
    SessionPlan plan;
    plan.width = plan.height = 10;
    plan.wrap = wrap;
    plan.seed = 17;
    ExpectEveryFieldBuilds(plan, true, 40'000'000);
  }
}

TEST(HeavyBuild, LargestValuesOnTheLargestMap) {
  SessionPlan plan;
  plan.width = plan.height = kMaxMapSide;
  plan.seed = 23;
  ExpectEveryFieldBuilds(plan, true, 50'000'000);
}

}  // namespace
}  // namespace lorvex::checks
