#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;

// A box typed into and left: cleaned (absolute value of the leading number), held to its
// range; a box holds what a person can type into it, a program's text is held whole.
TEST(FieldValidation, BoxesAreCleanedAndHeldToTheirRanges) {
  const struct { const char* name; int index; std::string typed; const char* left; } cases[] = {
      {"txtAlgorithm", 1, "0", "1"},       {"txtAlgorithm", 1, "250", "100"},
      {"txtAlgorithm", 0, "100", "100"},   {"txtAlgorithm", 2, "101", "100"},
      {"txtAlgorithm", 0, "2.5", "2.5"},   {"txtBlobv2", 2, "-40", "40"},
      {"txtBlobv2", 0, "-40", "10"},       // two characters: "-4", cleaned to 4, raised to 10
      {"txtBlobv2", 0, "80", "80"},        {"txtBlobv2", 0, "81", "80"},
      {"txtBlobv2", 0, "9", "10"},         {"txtBlobv2", 1, "12abc", "12"},
      {"txtBlobv2", 3, "", "3"},           {"txtBlobv3", 1, "3", "15"},
      {"txtBlobv3", 1, "35", "35"},        {"txtBlobv3", 1, "36", "35"},
      {"txtBlobv3", 0, "11", "10"},        {"txtBlobv3", 2, "29", "30"},
      {"txtShape", 1, "99", "50"},         {"txtShape", 0, "59", "60"},
      {"txtShape", 0, "9e9", "100"},       {"txtShape", 2, "abc", "3"},
      {"txtLandMass", 2, "-7", "7"},       {"txtLandMass", 2, "", "0"},
      {"txtLandMass", 2, "9e99", "9E+99"}, {"txtLandMass", 18, "1e-9", "1E-09"},
      {"txtLandMass", 18, " 42", "42"},    {"txtLandMass", 18, "-0", "0"},
      {"txtLandMass", 18, "1.255", "1.25"},  // the four-character box holds "1.25"
      {"txtLandMass", 3, std::string(1000, '7'), "7777"},
  };
  for (const auto& c : cases) {
    FormFixture f;
    f.Type(c.name, c.index, c.typed);
    EXPECT_EQ(f.Text(c.name, c.index), c.left) << c.name << "(" << c.index << ") typed " << c.typed;
  }
  FormFixture f;
  f.At("txtLandMass", 3).SetText(std::string(1000, '7'));
  f.At("txtLandMass", 3).LoseFocus();
  EXPECT_EQ(f.Text("txtLandMass", 3), "1.79769313486232E+308");
}

// A Hi lowered below its Lo snaps up to it; a Lo raised above its Hi drags it along; with
// the page's "=" box checked the Hi follows its Lo both ways.
TEST(FieldValidation, LoHiPairsFollowEachOther) {
  const struct { const char* name; bool tied; int edited; const char* typed; const char* lo; const char* hi; } rows[] = {
      {"txtTerrain", false, 0, "12", "12", "12"}, {"txtTerrain", false, 1, "3", "5", "5"},
      {"txtTerrain", false, 0, "4", "4", "10"},   {"txtTerrain", true, 0, "4", "4", "4"},
      {"txtCities", false, 0, "12", "12", "12"},  {"txtCities", false, 1, "3", "5", "5"},
      {"txtCities", true, 0, "4", "4", "4"},      {"txtLandMass", false, 0, "12", "12", "12"},
      {"txtLandMass", false, 1, "3", "5", "5"},
  };
  for (const auto& row : rows) {
    FormFixture f;
    f.At(row.name, 0).SetText("5");
    f.At(row.name, 1).SetText("10");
    if (row.tied) f.At(std::string(row.name) == "txtTerrain" ? "chkTerrainEqual" : "chkCityEqual", 0).SetValue(1);
    f.Type(row.name, row.edited, row.typed);
    EXPECT_EQ(f.Text(row.name, 0), row.lo) << row.name << " " << row.edited << " " << row.typed;
    EXPECT_EQ(f.Text(row.name, 1), row.hi) << row.name << " " << row.edited << " " << row.typed;
  }
}

// "=" boxes tie and lock their Hi boxes (the size column takes the tiny-islands row too);
// "Set Lo = Hi for All" checks the five boxes and runs no action of one already checked.
TEST(FieldValidation, EqualBoxesTieAndLockTheirHiBoxes) {
  FormFixture f;
  f.At("txtLandMass", 18).SetText("90");
  f.At("chkLandEqual", 1).SetValue(1);
  for (int hi : {1, 3, 5, 7, 9, 11, 13, 15, 17, 19}) {
    const platform::Control& box = f.At("txtLandMass", hi);
    const bool tied = hi == 3 || hi == 9 || hi == 15 || hi == 19;
    EXPECT_EQ(box.locked, tied) << hi;
    EXPECT_EQ(box.tabStop, !tied) << hi;
    EXPECT_EQ(box.backColor, tied ? kButtonFaceColour : kWindowBackgroundColour) << hi;
    if (tied) {
      EXPECT_EQ(box.Text(), f.Text("txtLandMass", hi - 1)) << hi;
    }
  }
  f.Type("txtLandMass", 18, "60");
  EXPECT_EQ(f.Text("txtLandMass", 19), "60");
  f.At("chkLandEqual", 1).SetValue(0);
  EXPECT_FALSE(f.At("txtLandMass", 19).locked);
  f.Type("txtLandMass", 18, "40");
  EXPECT_EQ(f.Text("txtLandMass", 19), "60");

  FormFixture all;
  all.At("chkTerrainEqual", 0).SetValue(1);
  all.At("txtTerrain", 1).SetText("33");  // a Hi changed while tied, as a loaded file may
  all.At("cmdSetEqualAll", 0).Click();
  for (const char* box : {"chkLandEqual", "chkTerrainEqual", "chkCityEqual"})
    for (platform::Control* c : all.controls.Array(box)) EXPECT_EQ(c->Value(), 1) << c->Key();
  EXPECT_EQ(all.Text("txtTerrain", 1), "33");  // its click did not run again
  EXPECT_EQ(all.Text("txtCities", 7), all.Text("txtCities", 6));
  EXPECT_TRUE(all.At("txtLandMass", 5).locked);
}

// Spacing Large masses evenly caps both Large-number boxes at 6; the two edge options
// exclude each other, and the change made inside one's action runs no action of the other.
TEST(FieldValidation, LandPlacementOptions) {
  FormFixture f;
  f.At("txtLandMass", 1).SetText("9");
  f.At("txtLandMass", 7).SetText("9");
  f.At("chkLandPlace", 0).SetValue(1);
  EXPECT_EQ(f.Text("txtLandMass", 1), "6");
  EXPECT_EQ(f.Text("txtLandMass", 7), "9");
  f.Type("txtLandMass", 0, "7");
  EXPECT_EQ(f.Text("txtLandMass", 0), "6");

  f.At("chkLandPlace", 1).SetValue(1);
  EXPECT_FALSE(f.At("chkLandPlace", 2).enabled);
  f.At("chkLandPlace", 2).SetValue(1);  // disabled, but a loaded file still sets it
  EXPECT_EQ(f.At("chkLandPlace", 1).Value(), 0);
  EXPECT_FALSE(f.At("chkLandPlace", 1).enabled);
  EXPECT_FALSE(f.At("chkLandPlace", 2).enabled);  // (1)'s action did not run
  f.At("chkLandPlace", 2).SetValue(0);
  EXPECT_TRUE(f.At("chkLandPlace", 1).enabled);
  f.At("chkLandPlace", 2).enabled = true;
  f.updatingControls = true;  // while the window sets its controls up the options do nothing
  f.At("chkLandPlace", 1).SetValue(1);
  EXPECT_TRUE(f.At("chkLandPlace", 2).enabled);
}

// An algorithm's box enables its own weight and fields only; a tab shows its page alone;
// the Shapes page's pictures toggle their boxes and Unselect All clears all 24.
TEST(FieldValidation, AlgorithmsTabsAndShapesPage) {
  const char* arrays[] = {"txtBlobv2", "txtBlobv3", "txtShape"};
  for (int algorithm = 0; algorithm < 3; ++algorithm) {
    FormFixture f;
    f.At("chkAlgorithm", algorithm).SetValue(0);
    for (int other = 0; other < 3; ++other) {
      EXPECT_EQ(f.At("txtAlgorithm", other).enabled, other != algorithm) << algorithm << other;
      EXPECT_EQ(f.At("lblAlgorithm", other).enabled, other != algorithm) << algorithm << other;
      for (platform::Control* box : f.controls.Array(arrays[other])) EXPECT_EQ(box->enabled, other != algorithm) << box->Key();
    }
  }
  FormFixture f;
  for (int tab : {3, 3, 0, 7}) {
    f.tabs.selected = tab;
    f.form.tabParams_Click();
    EXPECT_EQ(f.selectedTab, 3) << tab;
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(f.At("fratabs", k).visible, k == 3) << k;
  }
  f.At("chkShape", 4).SetValue(2);
  for (int expected : {1, 0, 1}) {  // grey becomes checked
    f.At("imgShape", 4).Click();
    EXPECT_EQ(f.At("chkShape", 4).Value(), expected);
  }
  f.At("cmdShapeUnselect", 0).Click();
  for (platform::Control* box : f.controls.Array("chkShape")) EXPECT_EQ(box->Value(), 0) << box->Key();
}

// Under "Specified by Percentage" the last visible box gets what the others leave of 100,
// rounded after each subtraction; a negative remainder changes nothing.
TEST(FieldValidation, PercentagesCompleteTheLastVisibleBox) {
  const struct { int option, rule; std::vector<const char*> typed; int last; const char* expected; } rows[] = {
      {2, 1, {"40", "30", "20"}, 3, "10"},
      {2, 1, {"60", "30", "20"}, 3, "20"},  // over 100: unchanged
      {1, 1, {"50", "30"}, 2, "20"},        // the Tiny Islands box is hidden
      {0, 1, {"70"}, 1, "30"},
      {2, 1, {".5", "25", "20"}, 3, "55"},  // 99.5 -> 100, then 55 (54 if rounded once)
      {2, 2, {"40", "30", "20"}, 3, "20"},  // another rule: nothing completed
  };
  for (const auto& row : rows) {
    FormFixture f;
    f.At("cboPlace1Param1", 0).SetListIndex(row.option);
    f.At("cboPlace1Param2", 0).SetListIndex(row.rule);
    for (std::size_t i = 0; i < row.typed.size(); ++i) f.Type("txtPlace1", static_cast<int>(i), row.typed[i]);
    EXPECT_EQ(f.Text("txtPlace1", row.last), row.expected) << row.option << " " << row.typed[0];
  }
}

// Whatever the boxes hold, a revalidation leaves every range box in range, every pair
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
        const double value = ReadFieldNumber(box->Text());
        EXPECT_GE(value, 0) << box->Key();
        if (box->Index() % 2 == 1) {
          EXPECT_LE(ReadFieldNumber(f.Text(name, box->Index() - 1)), value) << box->Key();
        }
        EXPECT_LE(box->Text().size(), 21u) << box->Key();  // "1.79769313486232E+308"
      }
    for (platform::Control* box : f.controls.Array("txtAlgorithm")) {
      EXPECT_GE(ReadFieldNumber(box->Text()), 1);
      EXPECT_LE(ReadFieldNumber(box->Text()), 100);
    }
  }
}

}  // namespace
}  // namespace lorvex::params
