#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;

double Land(FormFixture& f, int index) { return ReadFieldNumber(f.Text("txtLandMass", index)); }

// Every parameter's state but those Recommend may change: the numbers and sizes of the
// land grid, and the "=" boxes (which it clears).
std::vector<std::string> Texts(FormFixture& f, bool all = true) {
  std::vector<std::string> texts;
  for (const platform::Control& c : f.controls.All()) {
    if (!platform::IsParameterKind(c.Kind())) continue;
    const bool landFigure = c.Name() == "txtLandMass" && c.Index() % 6 < 4;
    if (!all && (landFigure || c.Name().find("Equal") != std::string::npos)) continue;
    texts.push_back(c.Key() + "=" + c.Text() + std::to_string(c.Value()) + std::to_string(c.ListIndex()));
  }
  return texts;
}

// The six sizes fall strictly from class to class, each class's numbers are ordered.
void ExpectConsistent(FormFixture& f, std::uint64_t seed) {
  const int falling[] = {3, 2, 9, 8, 15, 14};
  for (int k = 0; k < 5; ++k) EXPECT_GT(Land(f, falling[k]), Land(f, falling[k + 1])) << seed;
  for (int row = 0; row < 3; ++row) EXPECT_LE(Land(f, 6 * row), Land(f, 6 * row + 1)) << seed;
  EXPECT_LE(Land(f, 18), Land(f, 19)) << seed;
}

// On 100 squares there is no room for Large or Medium masses: numbers 0, sizes 800 .. 1000
// and 200 .. 500, all other land Small. On 30 000 squares the land stays within 10 to 61 %
// and the tiny islands under 10 % of it. Either way the equal boxes are cleared, the sea
// borders and every other field kept.
TEST(Recommend, FitsTheMapAndChangesOnlyTheLandGrid) {
  int tinyRecommended = 0;
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    FormFixture tiny(10, 10, seed);
    if (tiny.form.cmdDefaults_Click()) {
      ++tinyRecommended;
      ExpectConsistent(tiny, seed);
      for (const auto& [index, text] : std::vector<std::pair<int, const char*>>{
               {0, "0"}, {1, "0"}, {2, "800"}, {3, "1000"}, {6, "0"}, {7, "0"}, {8, "200"}, {9, "500"}})
        EXPECT_EQ(tiny.Text("txtLandMass", index), text) << seed;
    }
    FormFixture large(200, 150, seed);
    large.At("cmdSetEqualAll", 0).Click();
    large.At("txtLandMass", 4).SetText("9");
    large.At("txtCities", 0).SetText("123");
    const std::vector<std::string> others = Texts(large, false);
    ASSERT_TRUE(large.form.cmdDefaults_Click()) << seed;
    ExpectConsistent(large, seed);
    const double lo = Land(large, 0) * Land(large, 2) + Land(large, 6) * Land(large, 8) + Land(large, 12) * Land(large, 14) + Land(large, 18);
    const double hi = Land(large, 1) * Land(large, 3) + Land(large, 7) * Land(large, 9) + Land(large, 13) * Land(large, 15) + Land(large, 19);
    EXPECT_GE(lo, 0.09 * 30000) << seed;
    EXPECT_LE(hi, 0.62 * 30000) << seed;
    EXPECT_LT(Land(large, 19), 0.1 * hi) << seed;
    EXPECT_EQ(Texts(large, false), others) << seed;
    for (const char* box : {"chkLandEqual", "chkTerrainEqual", "chkCityEqual"})
      for (platform::Control* c : large.controls.Array(box)) EXPECT_EQ(c->Value(), 0) << c->Key();
  }
  EXPECT_GE(tinyRecommended, 190);  // the Small masses nearly always fit at once
}

// A map without room gives the message and changes nothing.
TEST(Recommend, AMapWithoutRoomGivesTheMessage) {
  FormFixture none(0, 0);
  none.At("chkLandEqual", 1).SetValue(1);
  const std::vector<std::string> before = Texts(none);
  EXPECT_FALSE(none.form.cmdDefaults_Click());
  EXPECT_EQ(Texts(none), before);
  ASSERT_EQ(none.platform.Messages().size(), 1u);
  EXPECT_EQ(none.platform.Messages()[0].text, "Failed to Recommend Good Parameters");
  EXPECT_EQ(none.platform.Messages()[0].buttons, platform::MessageButtons::kOk);
}

}  // namespace
}  // namespace lorvex::params
