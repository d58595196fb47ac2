// Random parameter sets on maps from 1 x 1 to 300 x 300, wrapping and not, built to their
// end and stopped at a random yield: every build ends within its yield budget, leaves a
// world that keeps the invariants, and the window answers as a host expects — True after
// a finished build, False after a stop that left the window open (then Cancel) or after a
// refusal.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "common/random.h"
#include "params/build_parameters.h"
#include "support/build_session.h"
#include "support/parameter_values.h"

namespace lorvex::checks {
namespace {

// The sanitizers and a build without optimisation run the engine many times slower: they
// take fewer cases of the same kinds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSlowBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSlowBuild = true;
#elif defined(NDEBUG)
constexpr bool kSlowBuild = false;
#else
constexpr bool kSlowBuild = true;
#endif
#elif defined(NDEBUG)
constexpr bool kSlowBuild = false;
#else
constexpr bool kSlowBuild = true;
#endif

int Cases(int normal, int slow) { return kSlowBuild ? slow : normal; }

// The most yields a case takes is about 7.5 million (watch mode, 50 attempts at a Large mass
// with a sea border of 99); a build that comes to this many is a runaway loop.
constexpr long long kYieldBudget = 100'000'000;

// Texts a person cannot type but a program or a settings file can set.
const std::vector<std::string>& OddTexts() {
  static const std::vector<std::string> texts = {"",     "-12",  "abc", "2.5", "1e3",
                                                 " 7",   "0",    "-0",  "+4",  "1e999",
                                                 std::string(1024, '9'), "12abc"};
  return texts;
}

struct Setting {
  platform::ControlKind kind;
  std::string name;
  int index;
  std::string text;  // number box
  int state = 0;     // check box value or list index
  bool typed = false;
};

// A number box's text: typed with one to its full length of digits, short numbers more
// likely than long ones (a box of four holds four digits one time in eight), now and then a
// text only a program could set.
Setting RandomText(Random& rng, const platform::Control& box) {
  Setting s{box.Kind(), box.Name(), box.Index(), ""};
  if (rng.Next() < 0.05) {
    s.text = OddTexts()[static_cast<std::size_t>(rng.Item(static_cast<std::int64_t>(OddTexts().size())))];
    return s;
  }
  const double r = rng.Next();
  const auto digits = 1 + static_cast<std::int64_t>(std::floor(r * r * box.MaxLength()));
  for (std::int64_t d = 0; d < digits; ++d) s.text += static_cast<char>('0' + rng.Item(10));
  s.typed = true;
  return s;
}

// Land-mass figures that ask too much are redrawn up to this many times, else the defaults.
constexpr int kLandDraws = 100;

// A parameter set as a person might leave the window: number boxes as RandomText gives them,
// check boxes checked or not (rarely grey), each list at one of its items (rarely none).
// Most sets keep an algorithm checked and so build.
std::vector<Setting> RandomParameters(Random& rng, std::int64_t squares) {
  std::vector<Setting> settings;
  const platform::ControlSet fresh = params::CreateWindowControls();
  for (const platform::Control& c : fresh.All()) {
    Setting s{c.Kind(), c.Name(), c.Index(), ""};
    switch (c.Kind()) {
      case platform::ControlKind::kNumberBox: s = RandomText(rng, c); break;
      case platform::ControlKind::kCheckBox:
        s.state = rng.Next() < 0.02 ? 2 : static_cast<int>(rng.Item(2));
        if (c.Name() == "chkAlgorithm" && rng.Next() < 0.7) s.state = 1;
        break;
      case platform::ControlKind::kSelectionBox:
        s.state = rng.Next() < 0.02 ? -1 : static_cast<int>(rng.Item(3));
        break;
      default: continue;
    }
    settings.push_back(std::move(s));
  }
  // The window's first 20 parameter controls are the land-mass boxes txtLandMass(0 .. 19).
  const auto tooMuchLand = [&] {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < 20; ++i) texts.push_back(settings[i].text);
    return AsksTooMuchShaping(texts, static_cast<double>(squares));
  };
  for (int draw = 0; draw <= kLandDraws && tooMuchLand(); ++draw)
    for (int i = 0; i < 20; ++i) {
      const platform::Control& box = fresh.At("txtLandMass", i);
      settings[static_cast<std::size_t>(i)] = RandomText(rng, box);
      if (draw == kLandDraws) settings[static_cast<std::size_t>(i)] = {box.Kind(), box.Name(), i, box.Text()};
    }
  // City figures asking for too many cities give way to the defaults.
  std::vector<Setting*> numbers, perMass;
  for (Setting& s : settings) {
    if (s.name == "txtCities" && s.index < 2) numbers.push_back(&s);
    if (s.name == "txtPlace1") perMass.push_back(&s);
  }
  const auto texts = [](const std::vector<Setting*>& boxes) {
    std::vector<std::string> out;
    for (const Setting* box : boxes) out.push_back(box->text);
    return out;
  };
  if (AsksTooManyCities(texts(numbers), texts(perMass)))
    for (const auto* group : {&numbers, &perMass})
      for (Setting* box : *group) *box = {box->kind, box->name, box->index, fresh.At(box->name, box->index).Text()};
  // Now and then a set the window refuses: no algorithm, or Shapes without a shape.
  const double refusal = rng.Next();
  for (Setting& s : settings) {
    if (refusal < 0.02 && s.name == "chkAlgorithm") s.state = 0;
    if (refusal >= 0.02 && refusal < 0.03 && s.name == "chkAlgorithm" && s.index == 2) s.state = 1;
    if (refusal >= 0.02 && refusal < 0.03 && s.name == "chkShape") s.state = 0;
  }
  return settings;
}

void Apply(const std::vector<Setting>& settings, platform::ControlSet& controls) {
  for (const Setting& s : settings) {
    platform::Control& c = controls.At(s.name, s.index);
    switch (s.kind) {
      case platform::ControlKind::kNumberBox:
        if (s.typed) {
          c.Type(s.text);
          c.LoseFocus();
        } else {
          c.SetText(s.text);
        }
        break;
      case platform::ControlKind::kCheckBox: c.SetValue(s.state); break;
      case platform::ControlKind::kSelectionBox: c.SetListIndex(s.state); break;
      default: break;
    }
  }
}

struct MapRange {
  int shortest;
  int longest;
};

std::string Describe(std::uint64_t caseSeed, const SessionPlan& plan) {
  return "case " + std::to_string(caseSeed) + ": " + std::to_string(plan.width) + " x " +
         std::to_string(plan.height) + (plan.wrap ? " wrapping" : "") + (plan.watch ? " watch" : "") +
         ", seed " + std::to_string(plan.seed);
}

// Builds `count` random cases with map sides in `range`. Every other case is built a second
// time with a stop at a random yield of the first build, and every fourth of those is built
// again after the stop.
void StressMaps(MapRange range, int count, std::uint64_t firstCase) {
  int built = 0, refused = 0, stopped = 0;
  for (std::uint64_t caseSeed = firstCase; caseSeed < firstCase + static_cast<std::uint64_t>(count); ++caseSeed) {
    Random rng(caseSeed);
    SessionPlan plan;
    plan.width = static_cast<std::int32_t>(rng.DrawInt(range.shortest, range.longest));
    plan.height = static_cast<std::int32_t>(rng.DrawInt(range.shortest, range.longest));
    plan.wrap = rng.Item(2) == 1;
    plan.watch = rng.Next() < 0.05;
    plan.seed = static_cast<std::uint64_t>(rng.DrawInt(0, 1LL << 40));
    plan.yieldBudget = kYieldBudget;
    const std::vector<Setting> settings =
        RandomParameters(rng, static_cast<std::int64_t>(plan.width) * plan.height);
    plan.setParameters = [&settings](platform::ControlSet& controls) { Apply(settings, controls); };
    const std::string what = Describe(caseSeed, plan);

    const SessionResult whole = RunSession(plan);
    ASSERT_FALSE(whole.overBudget) << what << ": no end within " << kYieldBudget << " yields";
    ASSERT_EQ(whole.broken, "") << what;
    ASSERT_FALSE(whole.stopped) << what;
    ASSERT_EQ(whole.answer, !whole.refused) << what;
    if (whole.refused) {
      ++refused;
      continue;
    }
    ++built;
    if (rng.Item(2) == 0) continue;

    // The same build again, stopped at a yield it reaches: the window stays open.
    plan.stopAtYield = rng.DrawInt(1, whole.yields);
    plan.buildAgainAfterStop = rng.Item(4) == 0;
    const std::string stopWhat = what + ", stopped at yield " + std::to_string(plan.stopAtYield) +
                                 " of " + std::to_string(whole.yields);
    const SessionResult part = RunSession(plan);
    ASSERT_FALSE(part.overBudget) << stopWhat;
    ASSERT_EQ(part.broken, "") << stopWhat;
    ASSERT_TRUE(part.stopped) << stopWhat;
    EXPECT_EQ(part.answer, plan.buildAgainAfterStop) << stopWhat;
    ++stopped;
  }
  // The mix is what makes the test worth its time: mostly builds, some stops, a few refusals
  // (a handful of cases may not show the mix).
  if (count >= 20) {
    EXPECT_GT(built, count / 2);
    EXPECT_GT(stopped, count / 5);
  }
  if (count >= 100) {
    EXPECT_GT(refused, 0);
  }
}

TEST(Stress, SmallMapsBuildAndStopAnywhere) { StressMaps({1, 12}, Cases(2800, 120), 1'000'000); }

TEST(Stress, MediumMapsBuildAndStopAnywhere) { StressMaps({13, 80}, Cases(120, 8), 2'000'000); }

TEST(Stress, LargeMapsBuildAndStopAnywhere) { StressMaps({81, 300}, Cases(10, 2), 3'000'000); }

}  // namespace
}  // namespace lorvex::checks
