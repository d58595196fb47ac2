#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;

// "1" for each of the controls that shows, "0" for each that does not.
std::string Shown(FormFixture& f, std::vector<std::pair<const char*, int>> controls) {
  std::string shown;
  for (const auto& [name, index] : controls) shown += f.At(name, index).visible ? '1' : '0';
  return shown;
}

// The land figure: lo and hi land over the map's squares in percent, each rounded half to
// even; it follows a land box left and an "=" box of the land masses.
TEST(LandFigure, ShowsTheLandRangeInPercentOfTheMap) {
  const struct { int width, height; std::vector<const char*> tiny; const char* figure; } rows[] = {
      {100, 60, {}, "Land = 46 - 139 % "},  // the defaults: 2775 and 8350 squares
      {100, 60, {"30", "90"}, "Land = 0 - 2 % "},     // 0.5 -> 0, 1.5 -> 2
      {100, 60, {"150", "210"}, "Land = 2 - 4 % "},   // 2.5 -> 2, 3.5 -> 4
      {100, 60, {"90", "150"}, "Land = 2 - 2 % "},    // 1.5 -> 2, 2.5 -> 2
      {0, 0, {}, ""},                                  // no map, no share
  };
  for (const auto& row : rows) {
    FormFixture f(row.width, row.height);
    if (!row.tiny.empty()) {
      for (int i = 0; i < 18; ++i) f.At("txtLandMass", i).SetText("0");
      f.At("txtLandMass", 18).SetText(row.tiny[0]);
      f.Type("txtLandMass", 19, row.tiny[1]);
    }
    EXPECT_EQ(f.LandFigure(), row.figure) << row.figure;
    EXPECT_EQ(f.progress.left, f.statusBar.Panel(5).left);
  }
  FormFixture f;
  f.At("txtLandMass", 19).SetText("1000");
  f.At("chkLandEqual", 1).SetValue(1);
  EXPECT_EQ(f.LandFigure(), "Land = 46 - 71 % ");  // each size Hi tied to its Lo
}

// The placement choice shows its frame and explanation; the count choice sets the Number
// row's labels; with "Evenly" by number the world count gives way to a note.
TEST(PlacementFields, FollowTheSelections) {
  const struct {
    int placement, number, rule;
    const char* number0;  // which of lblCities(0 .. 2), the count's boxes and the note show
    const char* caption2;
  } rows[] = {
      {0, 0, 0, "10010", nullptr}, {1, 1, 0, "01110", "Land /"}, {2, 2, 0, "01110", "Map Squares /"},
      {1, 1, 2, "10001", nullptr}, {2, 1, 2, "01110", "Land /"},  {1, 0, 1, "10010", nullptr},
  };
  for (const auto& row : rows) {
    FormFixture f;
    f.At("cboCityNumber", 0).SetListIndex(row.number);
    f.At("cboPlace1Param2", 0).SetListIndex(row.rule);
    f.At("cboPlacement", 0).SetListIndex(row.placement);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(f.At("fraPlaceParams", i).visible, i == row.placement);
    EXPECT_EQ(f.At("lblPlaceAlgoExplain", 0).caption, kPlacementExplanations[row.placement]);
    EXPECT_EQ(Shown(f, {{"lblCities", 0}, {"lblCities", 1}, {"lblCities", 2}, {"txtCities", 1}, {"lblCityNumParams", 0}}),
              row.number0) << row.placement << row.number << row.rule;
    EXPECT_TRUE(row.caption2 == nullptr || f.At("lblCities", 2).caption == row.caption2);
  }
}

// "Evenly" by percentage or number: the row label and the boxes' length follow the rule,
// the columns follow the size option, the last one standing for all remaining land.
TEST(PlacementFields, EvenlyColumnsFollowTheRuleAndTheSizeOption) {
  const struct { int option, rule; std::string visible; const char* label; int length; const char* column2; } rows[] = {
      {0, 1, "11100", "Percent per Size:", 2, "Total Remaining"},
      {1, 2, "11110", "Num per Land Mass:", 4, "Medium"},
      {2, 2, "11111", "Num per Land Mass:", 4, "Medium"},
      {2, 1, "11111", "Percent per Size:", 2, "Medium"},
      {2, 0, "00000", nullptr, 4, nullptr},  // proportional: nothing shown, length kept
  };
  for (const auto& row : rows) {
    FormFixture f;
    f.At("cboPlace1Param2", 0).SetListIndex(2);
    f.At("cboPlace1Param1", 0).SetListIndex(row.option);
    f.At("cboPlace1Param2", 0).SetListIndex(row.rule);
    EXPECT_EQ(Shown(f, {{"lblPlace1Param3", 0}, {"txtPlace1", 0}, {"txtPlace1", 1}, {"txtPlace1", 2}, {"txtPlace1", 3}}),
              row.visible) << row.option << " " << row.rule;
    EXPECT_EQ(Shown(f, {{"lblPlace1Param3", 1}, {"lblPlace1Param3", 2}, {"lblPlace1Param3", 3}, {"lblPlace1Param3", 4}}),
              row.visible.substr(1)) << row.option << " " << row.rule;
    EXPECT_EQ(f.At("txtPlace1", 0).MaxLength(), row.length) << row.option << " " << row.rule;
    EXPECT_TRUE(row.label == nullptr || f.At("lblPlace1Param3", 0).caption == row.label);
    EXPECT_TRUE(row.column2 == nullptr || f.At("lblPlace1Param3", 2).caption == row.column2);
  }
}

}  // namespace
}  // namespace lorvex::params
