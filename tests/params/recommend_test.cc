#include <map>
#include <string>

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;

double Land(FormFixture& f, int index) { return ReadFieldNumber(f.Text("txtLandMass", index)); }

// Every parameter control except the land-mass grid and the five "=" boxes.
std::map<std::string, std::string> OtherFields(const platform::ControlSet& controls) {
  std::map<std::string, std::string> out;
  for (const platform::Control& c : controls.All()) {
    if (!platform::IsParameterKind(c.Kind())) continue;
    if (c.Name() == "txtLandMass" || c.Name() == "chkLandEqual" || c.Name() == "chkTerrainEqual" ||
        c.Name() == "chkCityEqual")
      continue;
    out[c.Key()] = c.Text() + "|" + std::to_string(c.Value()) + "|" + std::to_string(c.ListIndex());
  }
  return out;
}

std::map<int, std::string> LandTexts(FormFixture& f) {
  std::map<int, std::string> out;
  for (int i = 0; i < 20; ++i) out[i] = f.Text("txtLandMass", i);
  return out;
}

// The six sizes fall strictly from class to class, and each class's numbers are ordered.
void ExpectConsistent(FormFixture& f, std::uint64_t seed) {
  EXPECT_GT(Land(f, 3), Land(f, 2)) << seed;
  EXPECT_GT(Land(f, 2), Land(f, 9)) << seed;
  EXPECT_GT(Land(f, 9), Land(f, 8)) << seed;
  EXPECT_GT(Land(f, 8), Land(f, 15)) << seed;
  EXPECT_GT(Land(f, 15), Land(f, 14)) << seed;
  for (int row = 0; row < 3; ++row) EXPECT_LE(Land(f, 6 * row), Land(f, 6 * row + 1)) << seed;
  EXPECT_LE(Land(f, 18), Land(f, 19)) << seed;
}

TEST(Recommend, ATinyMapGetsOnlySmallMasses) {
  int recommended = 0;
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    FormFixture f(10, 10, seed);
    const auto before = LandTexts(f);
    if (!f.form.cmdDefaults_Click()) {
      EXPECT_EQ(LandTexts(f), before) << seed;
      continue;
    }
    ++recommended;
    ExpectConsistent(f, seed);
    EXPECT_EQ(f.Text("txtLandMass", 0), "0") << seed;
    EXPECT_EQ(f.Text("txtLandMass", 1), "0") << seed;
    EXPECT_EQ(f.Text("txtLandMass", 2), "800") << seed;
    EXPECT_EQ(f.Text("txtLandMass", 3), "1000") << seed;
    EXPECT_EQ(f.Text("txtLandMass", 6), "0") << seed;
    EXPECT_EQ(f.Text("txtLandMass", 7), "0") << seed;
    EXPECT_EQ(f.Text("txtLandMass", 8), "200") << seed;
    EXPECT_EQ(f.Text("txtLandMass", 9), "500") << seed;
    // All other land of at most 61 squares goes to Small masses and tiny islands.
    EXPECT_LE(Land(f, 13) * Land(f, 15) + Land(f, 19), 61 + Land(f, 13)) << seed;
  }
  EXPECT_GE(recommended, 290);  // the Small masses nearly always fit at once
}

TEST(Recommend, ALargeMapGetsFallingSizesAndFewTinyIslands) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    FormFixture f(200, 150, seed);  // 30 000 squares
    ASSERT_TRUE(f.form.cmdDefaults_Click()) << seed;
    ExpectConsistent(f, seed);
    // The land figure of the written fields: products of numbers and sizes, which round
    // each class's land by less than half a square per mass.
    const double hi = Land(f, 1) * Land(f, 3) + Land(f, 7) * Land(f, 9) +
                      Land(f, 13) * Land(f, 15) + Land(f, 19);
    const double lo = Land(f, 0) * Land(f, 2) + Land(f, 6) * Land(f, 8) +
                      Land(f, 12) * Land(f, 14) + Land(f, 18);
    EXPECT_GE(lo, 0.09 * 30000) << seed;
    EXPECT_LE(hi, 0.62 * 30000) << seed;
    // The tiny islands' share is drawn below round(40000 / landHi) percent: under 10 %.
    EXPECT_LT(Land(f, 19), 0.1 * hi) << seed;
    EXPECT_GE(Land(f, 0), 1) << seed;  // room for Large masses
  }
}

TEST(Recommend, ChangesOnlyTheLandGridAndClearsTheEqualBoxes) {
  FormFixture f(200, 150, 11);
  f.At("cmdSetEqualAll", 0).Click();
  f.At("txtLandMass", 4).SetText("9");
  f.At("txtLandMass", 5).SetText("9");
  f.At("txtCities", 0).SetText("123");
  const auto others = OtherFields(f.controls);
  ASSERT_TRUE(f.form.cmdDefaults_Click());
  EXPECT_EQ(OtherFields(f.controls), others);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.At("chkLandEqual", i).Value(), 0) << i;
  EXPECT_EQ(f.At("chkTerrainEqual", 0).Value(), 0);
  EXPECT_EQ(f.At("chkCityEqual", 0).Value(), 0);
  for (int hi : {1, 3, 5, 19}) EXPECT_FALSE(f.At("txtLandMass", hi).locked) << hi;
  EXPECT_FALSE(f.At("txtCities", 1).locked);
  EXPECT_EQ(f.Text("txtLandMass", 4), "9");  // sea borders keep their values
  EXPECT_EQ(f.Text("txtLandMass", 5), "9");
  EXPECT_TRUE(f.platform.Messages().empty());
  // The land figure follows the new fields.
  const std::string figure = f.LandFigure();
  f.form.ShowLandFigure();
  EXPECT_EQ(f.LandFigure(), figure);
  EXPECT_NE(figure, FormFixture(200, 150).LandFigure());
}

TEST(Recommend, OneSeedOneRecommendationEachPressDrawsAfresh) {
  FormFixture a(120, 80, 5), b(120, 80, 5);
  ASSERT_TRUE(a.form.cmdDefaults_Click());
  ASSERT_TRUE(b.form.cmdDefaults_Click());
  EXPECT_EQ(LandTexts(a), LandTexts(b));
  const auto first = LandTexts(a);
  int differing = 0;
  for (int press = 0; press < 5; ++press) {
    ASSERT_TRUE(a.form.cmdDefaults_Click());
    differing += LandTexts(a) != first ? 1 : 0;
  }
  EXPECT_GE(differing, 4);
}

TEST(Recommend, AMapWithoutRoomGivesTheMessageAndChangesNothing) {
  FormFixture none(0, 0);
  const auto before = LandTexts(none);
  none.At("chkLandEqual", 1).SetValue(1);
  EXPECT_FALSE(none.form.cmdDefaults_Click());
  ASSERT_EQ(none.platform.Messages().size(), 1u);
  EXPECT_EQ(none.platform.Messages()[0].text, "Failed to Recommend Good Parameters");
  EXPECT_EQ(none.platform.Messages()[0].buttons, platform::MessageButtons::kOk);
  EXPECT_EQ(none.At("chkLandEqual", 1).Value(), 1);
  std::string message;
  EXPECT_FALSE(none.form.Recommend(message));
  EXPECT_EQ(message, "Failed to Recommend Good Parameters");
  EXPECT_EQ(none.platform.Messages().size(), 1u);  // the plain call shows nothing

  // One square: mostly no Small mass fits; every press ends, with the message or with a
  // consistent set.
  int failures = 0;
  for (std::uint64_t seed = 1; seed <= 100; ++seed) {
    FormFixture one(1, 1, seed);
    const auto land = LandTexts(one);
    if (one.form.cmdDefaults_Click()) {
      ExpectConsistent(one, seed);
    } else {
      ++failures;
      EXPECT_EQ(LandTexts(one), land);
      EXPECT_EQ(one.platform.Messages().size(), 1u);
    }
  }
  EXPECT_GT(failures, 50);
}

}  // namespace
}  // namespace lorvex::params
