#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

// The longest text the window writes for a number: "1.79769313486232E+308".
constexpr std::size_t kLongestNumberText = 21;

using testing::FormFixture;

struct TypedCase {
  const char* name;
  int index;
  const char* typed;
  const char* left;
};

TEST(FieldValidation, RangeBoxesAreCleanedAndClamped) {
  const TypedCase cases[] = {
      {"txtAlgorithm", 1, "0", "1"},
      {"txtAlgorithm", 1, "250", "100"},
      {"txtAlgorithm", 0, "100", "100"},   // the bounds themselves stay
      {"txtAlgorithm", 2, "101", "100"},
      {"txtAlgorithm", 0, "2.5", "2.5"},   // a fraction in range is kept
      {"txtBlobv2", 2, "-40", "40"},       // cleaning takes the absolute value
      // txtBlobv2(0) holds two characters: "-40" arrives as "-4", cleaned to 4, raised to 10.
      {"txtBlobv2", 0, "-40", "10"},
      {"txtBlobv2", 0, "80", "80"},
      {"txtBlobv2", 0, "81", "80"},
      {"txtBlobv2", 0, "9", "10"},
      {"txtBlobv2", 1, "12abc", "12"},
      {"txtBlobv2", 3, "", "3"},
      {"txtBlobv3", 1, "3", "15"},
      {"txtBlobv3", 0, "11", "10"},
      {"txtBlobv3", 2, "29", "30"},
      {"txtShape", 1, "99", "50"},
      {"txtShape", 0, "59", "60"},
      {"txtShape", 0, "9e9", "100"},
      {"txtShape", 2, "abc", "3"},
  };
  for (const TypedCase& c : cases) {
    FormFixture f;
    f.Type(c.name, c.index, c.typed);
    EXPECT_EQ(f.Text(c.name, c.index), c.left) << c.name << "(" << c.index << ") typed " << c.typed;
  }
}

TEST(FieldValidation, CleaningKeepsFractionsAndBoundsEveryText) {
  const TypedCase cases[] = {
      {"txtLandMass", 2, "-7", "7"},        {"txtLandMass", 2, "12abc", "12"},
      {"txtLandMass", 2, "", "0"},          {"txtLandMass", 2, "2.5", "2.5"},
      {"txtLandMass", 2, "abc", "0"},       {"txtLandMass", 2, "9e99", "9E+99"},
      {"txtLandMass", 18, "1e-9", "1E-09"},     {"txtLandMass", 18, " 42", "42"},
      {"txtLandMass", 18, "-0", "0"},       {"txtLandMass", 18, "0.25", "0.25"},
      {"txtLandMass", 18, "1.255", "1.25"},  // the four-character box holds "1.25"
  };
  for (const TypedCase& c : cases) {
    FormFixture f;
    f.Type(c.name, c.index, c.typed);
    EXPECT_EQ(f.Text(c.name, c.index), c.left) << c.typed;
  }
  // A thousand digits typed: the box takes what a person can type into it. Set by the
  // program, they are cleaned into the number's short text.
  FormFixture f;
  f.Type("txtLandMass", 3, std::string(1000, '7'));
  EXPECT_EQ(f.Text("txtLandMass", 3), "7777");
  f.At("txtLandMass", 3).SetText(std::string(1000, '7'));
  f.At("txtLandMass", 3).LoseFocus();
  EXPECT_EQ(f.Text("txtLandMass", 3), "1.79769313486232E+308");
}

TEST(FieldValidation, NumberTextAndBoxCapacity) {
  EXPECT_EQ(NumberText(400), "400");
  EXPECT_EQ(NumberText(-7), "-7");
  EXPECT_EQ(NumberText(2.5), "2.5");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(1e15), "1E+15");
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  // The program's figures are written whole, whatever the box lets a person type.
  FormFixture f;
  platform::Control& box = f.At("txtBlobv2", 2);  // three characters
  SetNumberText(box, 12.25);
  EXPECT_EQ(box.Text(), "12.25");
  SetNumberText(box, 1e300);
  EXPECT_EQ(box.Text(), "1E+300");
  SetNumberText(box, -5000);
  EXPECT_EQ(box.Text(), "-5000");
}

TEST(FieldValidation, LoHiPairsFollowEachOtherBothWays) {
  for (const char* name : {"txtTerrain", "txtCities"}) {
    FormFixture f;
    f.At(name, 0).SetText("5");
    f.At(name, 1).SetText("10");
    f.Type(name, 0, "12");
    EXPECT_EQ(f.Text(name, 0), "12") << name;
    EXPECT_EQ(f.Text(name, 1), "12") << name;

    f.At(name, 0).SetText("5");
    f.At(name, 1).SetText("10");
    f.Type(name, 1, "3");
    EXPECT_EQ(f.Text(name, 0), "5") << name;
    EXPECT_EQ(f.Text(name, 1), "5") << name;

    // Lowering a Lo leaves its Hi unless the page's "=" box ties them.
    f.Type(name, 2, "9");
    f.At(name, 3).SetText("40");
    f.Type(name, 2, "8");
    EXPECT_EQ(f.Text(name, 3), "40") << name;
  }
  FormFixture f;
  f.At("chkCityEqual", 0).SetValue(1);
  f.Type("txtCities", 6, "20");
  EXPECT_EQ(f.Text("txtCities", 7), "20");  // tied, so it follows downwards too
}

TEST(FieldValidation, SpacingLargeMassesEvenlyCapsTheirNumberAtSix) {
  FormFixture f;
  f.At("txtLandMass", 0).SetText("8");
  f.At("txtLandMass", 1).SetText("9");
  f.At("txtLandMass", 6).SetText("9");
  f.At("chkLandPlace", 0).SetValue(1);
  EXPECT_EQ(f.Text("txtLandMass", 0), "6");
  EXPECT_EQ(f.Text("txtLandMass", 1), "6");
  EXPECT_EQ(f.Text("txtLandMass", 6), "9");  // Medium is not capped
  f.Type("txtLandMass", 1, "7");
  EXPECT_EQ(f.Text("txtLandMass", 1), "6");
  f.Type("txtLandMass", 1, "6");
  EXPECT_EQ(f.Text("txtLandMass", 1), "6");
  f.At("chkLandPlace", 0).SetValue(0);
  f.Type("txtLandMass", 1, "7");
  EXPECT_EQ(f.Text("txtLandMass", 1), "7");
}

TEST(FieldValidation, LandEqualBoxesTieAndLockTheirColumn) {
  FormFixture f;
  f.At("txtLandMass", 2).SetText("450");
  f.At("txtLandMass", 18).SetText("90");
  f.At("chkLandEqual", 1).SetValue(1);
  for (int hi : {3, 9, 15, 19}) {
    const platform::Control& box = f.At("txtLandMass", hi);
    EXPECT_EQ(box.Text(), f.Text("txtLandMass", hi - 1)) << hi;
    EXPECT_TRUE(box.locked) << hi;
    EXPECT_FALSE(box.tabStop) << hi;
    EXPECT_EQ(box.backColor, kButtonFaceColour) << hi;
  }
  for (int other : {1, 5, 7, 11, 13, 17}) EXPECT_FALSE(f.At("txtLandMass", other).locked) << other;
  EXPECT_EQ(f.Text("txtLandMass", 3), "450");
  EXPECT_EQ(f.Text("txtLandMass", 19), "90");

  f.Type("txtLandMass", 18, "60");  // lower than before: still copied
  EXPECT_EQ(f.Text("txtLandMass", 19), "60");
  f.Type("txtLandMass", 16, "1");  // the border column is not tied
  EXPECT_EQ(f.Text("txtLandMass", 17), "3");

  f.At("chkLandEqual", 1).SetValue(0);
  for (int hi : {3, 9, 15, 19}) {
    const platform::Control& box = f.At("txtLandMass", hi);
    EXPECT_FALSE(box.locked) << hi;
    EXPECT_TRUE(box.tabStop) << hi;
    EXPECT_EQ(box.backColor, kWindowBackgroundColour) << hi;
  }
  EXPECT_EQ(f.Text("txtLandMass", 19), "60");  // freeing keeps the texts
  f.Type("txtLandMass", 18, "40");
  EXPECT_EQ(f.Text("txtLandMass", 19), "60");
}

TEST(FieldValidation, TerrainAndCityEqualBoxesTieEveryPair) {
  FormFixture f;
  f.At("txtTerrain", 4).SetText("7");
  f.At("chkTerrainEqual", 0).SetValue(1);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(f.Text("txtTerrain", 2 * k + 1), f.Text("txtTerrain", 2 * k)) << k;
    EXPECT_TRUE(f.At("txtTerrain", 2 * k + 1).locked) << k;
    EXPECT_FALSE(f.At("txtTerrain", 2 * k).locked) << k;
  }
  f.At("chkTerrainEqual", 0).SetValue(0);
  for (int k = 0; k < 4; ++k) EXPECT_FALSE(f.At("txtTerrain", 2 * k + 1).locked) << k;
}

TEST(FieldValidation, SetEqualAllChecksEveryBoxAndRerunsNoneAlreadyChecked) {
  FormFixture f;
  f.At("chkTerrainEqual", 0).SetValue(1);
  f.At("txtTerrain", 1).SetText("33");  // a Hi changed while tied (as a loaded file may)
  f.At("cmdSetEqualAll", 0).Click();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.At("chkLandEqual", i).Value(), 1) << i;
  EXPECT_EQ(f.At("chkTerrainEqual", 0).Value(), 1);
  EXPECT_EQ(f.At("chkCityEqual", 0).Value(), 1);
  EXPECT_EQ(f.Text("txtTerrain", 1), "33");  // its click did not run again
  EXPECT_EQ(f.Text("txtCities", 1), f.Text("txtCities", 0));
  EXPECT_EQ(f.Text("txtLandMass", 1), f.Text("txtLandMass", 0));
  EXPECT_EQ(f.Text("txtLandMass", 5), f.Text("txtLandMass", 4));
  EXPECT_TRUE(f.At("txtLandMass", 19).locked);
}

TEST(FieldValidation, EdgeOptionsExcludeEachOther) {
  FormFixture f;
  f.At("chkLandPlace", 1).SetValue(1);
  EXPECT_FALSE(f.At("chkLandPlace", 2).enabled);
  f.At("chkLandPlace", 1).SetValue(0);
  EXPECT_TRUE(f.At("chkLandPlace", 2).enabled);

  f.At("chkLandPlace", 1).SetValue(1);
  f.At("chkLandPlace", 2).SetValue(1);  // disabled, but a loaded file still sets it
  EXPECT_EQ(f.At("chkLandPlace", 1).Value(), 0);
  EXPECT_FALSE(f.At("chkLandPlace", 1).enabled);
  // Unchecking (1) inside the action did not run (1)'s action, which would enable (2).
  EXPECT_FALSE(f.At("chkLandPlace", 2).enabled);
  EXPECT_FALSE(f.updatingControls);
  f.At("chkLandPlace", 2).SetValue(0);
  EXPECT_TRUE(f.At("chkLandPlace", 1).enabled);
  EXPECT_EQ(f.At("chkLandPlace", 1).Value(), 0);

  // While the window sets its controls up, the options do nothing.
  f.At("chkLandPlace", 2).enabled = true;
  f.updatingControls = true;
  f.At("chkLandPlace", 1).SetValue(1);
  EXPECT_TRUE(f.At("chkLandPlace", 2).enabled);
  EXPECT_TRUE(f.updatingControls);
}

TEST(FieldValidation, AlgorithmBoxEnablesItsOwnFieldsOnly) {
  const char* arrays[] = {"txtBlobv2", "txtBlobv3", "txtShape"};
  for (int algorithm = 0; algorithm < 3; ++algorithm) {
    FormFixture f;
    f.At("chkAlgorithm", algorithm).SetValue(0);
    for (int other = 0; other < 3; ++other) {
      const bool expected = other != algorithm;
      EXPECT_EQ(f.At("lblAlgorithm", other).enabled, expected) << algorithm << other;
      EXPECT_EQ(f.At("txtAlgorithm", other).enabled, expected) << algorithm << other;
      for (platform::Control* box : f.controls.Array(arrays[other]))
        EXPECT_EQ(box->enabled, expected) << box->Key();
    }
    f.At("chkAlgorithm", algorithm).SetValue(1);
    for (platform::Control* box : f.controls.Array(arrays[algorithm])) EXPECT_TRUE(box->enabled);
  }
}

TEST(FieldValidation, TabStripShowsOnePageAndTheShownTabChangesNothing) {
  FormFixture f;
  f.tabs.selected = 1;
  f.form.tabParams_Click();
  EXPECT_EQ(f.selectedTab, 1);
  EXPECT_TRUE(f.At("fratabs", 1).visible);

  f.tabs.selected = 3;
  f.form.tabParams_Click();
  EXPECT_EQ(f.selectedTab, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(f.At("fratabs", k).visible, k == 3) << k;

  for (int outside : {0, 7, -1}) {
    f.tabs.selected = outside;
    f.form.tabParams_Click();
    EXPECT_EQ(f.selectedTab, 3);
  }
}

TEST(ShapesPage, UnselectAllAndPicturesToggleTheirBoxes) {
  FormFixture f;
  f.At("chkShape", 4).SetValue(2);
  f.At("imgShape", 4).Click();
  EXPECT_EQ(f.At("chkShape", 4).Value(), 1);  // grey becomes checked
  f.At("imgShape", 4).Click();
  EXPECT_EQ(f.At("chkShape", 4).Value(), 0);
  f.At("imgShape", 4).Click();
  EXPECT_EQ(f.At("chkShape", 4).Value(), 1);
  EXPECT_EQ(f.At("chkShape", 5).Value(), 1);  // only its own box

  f.At("chkShape", 7).SetValue(0);
  f.At("cmdShapeUnselect", 0).Click();
  for (int i = 0; i < kShapeCount; ++i) EXPECT_EQ(f.At("chkShape", i).Value(), 0) << i;
}

TEST(FieldValidation, PercentagesCompleteTheLastVisibleBox) {
  struct Case {
    int option;  // cboPlace1Param1
    std::vector<const char*> typed;
    int lastBox;
    const char* expected;
  };
  const Case cases[] = {
      {2, {"40", "30", "20"}, 3, "10"},
      {2, {"60", "30", "20"}, 3, "20"},  // over 100: unchanged
      {1, {"50", "30"}, 2, "20"},        // the Tiny Islands box is hidden
      {0, {"70"}, 1, "30"},
      // Rounded after each subtraction: 100 - 0.5 = 99.5 -> 100, - 25 - 20 -> 55
      // (rounding once at the end would give 54).
      {2, {".5", "25", "20"}, 3, "55"},
  };
  for (const Case& c : cases) {
    FormFixture f;
    f.At("cboPlace1Param1", 0).SetListIndex(c.option);
    f.At("cboPlace1Param2", 0).SetListIndex(1);
    for (std::size_t i = 0; i < c.typed.size(); ++i)
      f.Type("txtPlace1", static_cast<int>(i), c.typed[i]);
    EXPECT_EQ(f.Text("txtPlace1", c.lastBox), c.expected) << c.option << " " << c.typed[0];
  }
  // Editing the last box, or any box under another rule, changes nothing else.
  FormFixture f;
  f.At("cboPlace1Param1", 0).SetListIndex(2);
  f.At("cboPlace1Param2", 0).SetListIndex(1);
  f.Type("txtPlace1", 3, "5");
  EXPECT_EQ(f.Text("txtPlace1", 0), "35");
  f.At("cboPlace1Param2", 0).SetListIndex(2);
  f.Type("txtPlace1", 0, "40");
  EXPECT_EQ(f.Text("txtPlace1", 3), "5");
}

// Whatever the boxes hold, a revalidation leaves every range box in its range, every pair
// ordered and every text a short number.
TEST(FieldValidation, RevalidateAllOrdersEveryPairWhateverTheBoxesHold) {
  const char* junk[] = {"", "abc", "-12", "9e99", "0", "1.5", "999999", "--3", "7x", "1e-3"};
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    FormFixture f;
    Random pick(seed);
    for (platform::Control& c : f.controls.All())
      if (c.Kind() == platform::ControlKind::kNumberBox) c.SetText(junk[pick.Item(std::size(junk))]);
    f.At("chkLandEqual", static_cast<int>(pick.Item(3))).SetValue(1);
    f.form.RevalidateAll();
    for (const char* name : {"txtLandMass", "txtTerrain", "txtCities"})
      for (platform::Control* box : f.controls.Array(name)) {
        if (box->Index() % 2 == 1) {
          EXPECT_LE(ReadFieldNumber(f.Text(name, box->Index() - 1)), ReadFieldNumber(box->Text()))
              << box->Key() << " seed " << seed;
        }
        EXPECT_GE(ReadFieldNumber(box->Text()), 0) << box->Key();
      }
    for (platform::Control* box : f.controls.Array("txtAlgorithm")) {
      EXPECT_GE(ReadFieldNumber(box->Text()), 1);
      EXPECT_LE(ReadFieldNumber(box->Text()), 100);
    }
    for (const platform::Control& c : f.controls.All())
      if (c.Kind() == platform::ControlKind::kNumberBox) {
        EXPECT_LE(c.Text().size(), kLongestNumberText) << c.Key();
      }
  }
}

}  // namespace
}  // namespace lorvex::params
