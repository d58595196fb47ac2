#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;

// A box typed into and left: cleaned to the absolute value of its leading number and held to
// its range; a Lo above its Hi drags it along, a Hi below its Lo snaps up to it, a tied Hi
// follows its Lo both ways; spacing Large masses evenly caps their number at 6. A box holds
// what a person can type into it; a program's text is held whole.
TEST(FieldValidation, BoxesAreCleanedHeldToTheirRangesAndPaired) {
  const struct { const char* name; int index; std::string typed; const char* tie; const char* left; const char* other; } rows[] = {
      {"txtAlgorithm", 1, "0", "", "1", ""},         {"txtAlgorithm", 1, "250", "", "100", ""},
      {"txtAlgorithm", 0, "2.5", "", "2.5", ""},     {"txtBlobv2", 2, "-40", "", "40", ""},
      {"txtBlobv2", 0, "-40", "", "10", ""},         // two characters: "-4", 4, raised to 10
      {"txtBlobv2", 0, "81", "", "80", ""},          {"txtBlobv2", 1, "12abc", "", "12", ""},
      {"txtBlobv2", 3, "", "", "3", ""},             {"txtBlobv3", 1, "3", "", "15", ""},
      {"txtBlobv3", 1, "36", "", "35", ""},          {"txtBlobv3", 0, "11", "", "10", ""},
      {"txtBlobv3", 2, "29", "", "30", ""},          {"txtShape", 1, "99", "", "50", ""},
      {"txtShape", 0, "59", "", "60", ""},           {"txtShape", 0, "9e9", "", "100", ""},
      {"txtLandMass", 18, "1e-9", "", "1E-09", "150"}, {"txtLandMass", 18, "1.255", "", "1.25", "150"},
      {"txtLandMass", 2, "9e99", "", "9E+99", "9E+99"}, {"txtLandMass", 3, std::string(1000, '7'), "", "7777", "400"},
      {"txtTerrain", 0, "12", "", "12", "12"},       {"txtTerrain", 1, "3", "", "5", "5"},
      {"txtTerrain", 0, "4", "", "4", "10"},         {"txtTerrain", 0, "4", "chkTerrainEqual", "4", "4"},
      {"txtCities", 7, "3", "", "60", "60"},         {"txtCities", 6, "4", "chkCityEqual", "4", "4"},
      {"txtLandMass", 17, "1", "", "2", "2"},        {"txtLandMass", 8, "90", "chkLandEqual", "90", "90"},
      {"txtLandMass", 1, "9", "chkLandPlace", "6", "3"},
  };
  for (const auto& row : rows) {
    FormFixture f;
    if (*row.tie != '\0') f.At(row.tie, std::string(row.tie) == "chkLandEqual" ? 1 : 0).SetValue(1);
    f.Type(row.name, row.index, row.typed);
    const int pair = row.index % 2 == 0 ? row.index + 1 : row.index - 1;
    EXPECT_EQ(f.Text(row.name, row.index), row.left) << row.name << "(" << row.index << ") typed " << row.typed;
    EXPECT_TRUE(*row.other == '\0' || f.Text(row.name, pair) == row.other) << row.name << "(" << pair << ")";
  }
  FormFixture f;
  f.At("txtLandMass", 3).SetText(std::string(1000, '7'));
  f.At("txtLandMass", 3).LoseFocus();
  EXPECT_EQ(f.Text("txtLandMass", 3), "1.79769313486232E+308");
}

// An "=" box locks its Hi boxes (the size column takes the tiny-islands row too) and frees
// them again; "Set Lo = Hi for All" checks all five and runs no action of one already
// checked; the edge options exclude each other, and the change made inside one's action
// runs no action of the other.
TEST(FieldValidation, EqualBoxesAndEdgeOptions) {
  FormFixture f;
  f.At("chkLandEqual", 1).SetValue(1);
  for (int hi = 1; hi < 20; hi += 2) {
    const bool tied = hi == 3 || hi == 9 || hi == 15 || hi == 19;
    const platform::Control& box = f.At("txtLandMass", hi);
    EXPECT_EQ(std::make_tuple(box.locked, box.tabStop, box.backColor == kButtonFaceColour), std::make_tuple(tied, !tied, tied)) << hi;
  }
  f.At("chkLandEqual", 1).SetValue(0);
  EXPECT_FALSE(f.At("txtLandMass", 19).locked);
  EXPECT_EQ(f.At("txtLandMass", 19).backColor, kWindowBackgroundColour);
  f.At("chkTerrainEqual", 0).SetValue(1);
  f.At("txtTerrain", 1).SetText("33");  // a Hi changed while tied, as a loaded file may
  f.At("cmdSetEqualAll", 0).Click();
  for (const char* box : {"chkLandEqual", "chkTerrainEqual", "chkCityEqual"})
    for (platform::Control* c : f.controls.Array(box)) EXPECT_EQ(c->Value(), 1) << c->Key();
  EXPECT_EQ(f.Text("txtTerrain", 1), "33");
  EXPECT_EQ(f.Text("txtCities", 7), f.Text("txtCities", 6));

  const struct { int box, value; bool checked1, enabled1, enabled2; } clicks[] = {
      {1, 1, true, true, false},  {2, 1, false, false, false},  // a loaded file may set a disabled box
      {2, 0, false, true, false}};
  for (const auto& click : clicks) {
    f.At("chkLandPlace", click.box).SetValue(click.value);
    const platform::Control &one = f.At("chkLandPlace", 1), &two = f.At("chkLandPlace", 2);
    EXPECT_EQ(std::make_tuple(one.Value() == 1, one.enabled, two.enabled),
              std::make_tuple(click.checked1, click.enabled1, click.enabled2)) << click.box << " = " << click.value;
  }
  f.At("chkLandPlace", 2).enabled = true;
  f.updatingControls = true;  // while the window sets its controls up the options do nothing
  f.At("chkLandPlace", 1).SetValue(1);
  EXPECT_TRUE(f.At("chkLandPlace", 2).enabled);
}

// An algorithm's box enables its own weight and fields only; a tab shows its page alone and
// the tab shown changes nothing; the Shapes page's pictures toggle their boxes and Unselect
// All clears all 24; "Specified by Percentage" completes the last visible box to 100,
// rounding after each subtraction, unless the others pass 100.
TEST(FieldValidation, AlgorithmsTabsShapesAndPercentages) {
  const char* arrays[] = {"txtBlobv2", "txtBlobv3", "txtShape"};
  for (int algorithm = 0; algorithm < 3; ++algorithm) {
    FormFixture f;
    f.At("chkAlgorithm", algorithm).SetValue(0);
    for (int other = 0; other < 3; ++other) {
      EXPECT_EQ(f.At("txtAlgorithm", other).enabled && f.At("lblAlgorithm", other).enabled, other != algorithm);
      for (platform::Control* box : f.controls.Array(arrays[other])) EXPECT_EQ(box->enabled, other != algorithm) << box->Key();
    }
  }
  FormFixture f;
  for (int tab : {3, 3, 0, 7}) {
    f.tabs.selected = tab;
    f.form.tabParams_Click();
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(f.At("fratabs", k).visible, k == 3) << tab;
  }
  f.At("chkShape", 4).SetValue(2);
  for (int expected : {1, 0, 1}) {  // grey becomes checked
    f.At("imgShape", 4).Click();
    EXPECT_EQ(f.At("chkShape", 4).Value(), expected);
  }
  f.At("cmdShapeUnselect", 0).Click();
  for (platform::Control* box : f.controls.Array("chkShape")) EXPECT_EQ(box->Value(), 0) << box->Key();

  const struct { int option, rule; std::vector<const char*> typed; int last; const char* expected; } rows[] = {
      {2, 1, {"40", "30", "20"}, 3, "10"}, {2, 1, {"60", "30", "20"}, 3, "20"}, {1, 1, {"50", "30"}, 2, "20"},
      {0, 1, {"70"}, 1, "30"},             {2, 1, {".5", "25", "20"}, 3, "55"},  // 99.5 -> 100, then 55
      {2, 2, {"40", "30", "20"}, 3, "20"},  // another rule: nothing completed
  };
  for (const auto& row : rows) {
    FormFixture p;
    p.At("cboPlace1Param1", 0).SetListIndex(row.option);
    p.At("cboPlace1Param2", 0).SetListIndex(row.rule);
    for (std::size_t i = 0; i < row.typed.size(); ++i) p.Type("txtPlace1", static_cast<int>(i), row.typed[i]);
    EXPECT_EQ(p.Text("txtPlace1", row.last), row.expected) << row.option << " " << row.typed[0];
  }
}

}  // namespace
}  // namespace lorvex::params
