#include <string>

#include <gtest/gtest.h>

#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;

TEST(LandFigure, DefaultsOnA100By60Map) {
  FormFixture f(100, 60);
  // lo = 3*400 + 8*150 + 15*20 + 75 = 2775 (46.25 %), hi = 8350 (139.17 %).
  EXPECT_EQ(f.LandFigure(), "Land = 46 - 139 % ");
  EXPECT_EQ(f.progress.left, f.statusBar.Panel(5).left);
  EXPECT_EQ(f.progress.width, f.statusBar.Panel(5).width);
}

TEST(LandFigure, FollowsEditsAndRoundsHalfToEven) {
  FormFixture f(100, 60);  // 6000 squares
  for (int i = 0; i < 18; ++i) f.At("txtLandMass", i).SetText("0");
  f.At("txtLandMass", 18).SetText("30");   // 0.5 % -> 0
  f.At("txtLandMass", 19).SetText("90");   // 1.5 % -> 2
  f.form.ShowLandFigure();
  EXPECT_EQ(f.LandFigure(), "Land = 0 - 2 % ");
  f.At("txtLandMass", 18).SetText("150");  // 2.5 % -> 2
  f.At("txtLandMass", 19).SetText("210");  // 3.5 % -> 4
  f.form.ShowLandFigure();
  EXPECT_EQ(f.LandFigure(), "Land = 2 - 4 % ");
  // Leaving a land box refreshes it; so does an "=" box of the land masses.
  f.Type("txtLandMass", 18, "600");
  EXPECT_EQ(f.LandFigure(), "Land = 10 - 10 % ");
  f.At("txtLandMass", 19).SetText("1200");
  f.form.ShowLandFigure();
  EXPECT_EQ(f.LandFigure(), "Land = 10 - 20 % ");
  f.At("chkLandEqual", 1).SetValue(1);
  EXPECT_EQ(f.LandFigure(), "Land = 10 - 10 % ");
}

TEST(LandFigure, NoMapSizeShowsNoShareAndHugeFiguresStayShort) {
  FormFixture none(0, 0);
  EXPECT_EQ(none.LandFigure(), "");
  EXPECT_EQ(none.progress.left, none.statusBar.Panel(5).left);

  FormFixture one(1, 1);
  for (int i : {1, 3, 7, 9, 13, 15, 19}) one.At("txtLandMass", i).SetText("9e99");
  one.form.ShowLandFigure();
  EXPECT_EQ(one.LandFigure().substr(0, 7), "Land = ");
  EXPECT_LT(one.LandFigure().size(), 60u);
  EXPECT_NE(one.LandFigure().find("E+"), std::string::npos) << one.LandFigure();
}

TEST(PlacementChoice, ShowsItsFrameAndExplanation) {
  FormFixture f;
  for (int placement : {2, 1, 0}) {
    f.At("cboPlacement", 0).SetListIndex(placement);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(f.At("fraPlaceParams", i).visible, i == placement) << placement;
    EXPECT_EQ(f.At("lblPlaceAlgoExplain", 0).caption, kPlacementExplanations[placement]);
  }
  EXPECT_EQ(std::string(kPlacementExplanations[2]),
            "The number of cities placed on each land mass is proportionate to the number of "
            "land squares for that land mass.");
}

TEST(CityCountChoice, SetsTheNumberRowLabels) {
  FormFixture f;
  struct Row {
    int mode;
    bool number, numCities;
    const char* per;
  };
  for (const Row& row : {Row{1, false, true, "Land /"}, Row{2, false, true, "Map Squares /"},
                         Row{0, true, false, nullptr}}) {
    f.At("cboCityNumber", 0).SetListIndex(row.mode);
    EXPECT_EQ(f.At("lblCities", 0).visible, row.number) << row.mode;
    EXPECT_EQ(f.At("lblCities", 1).visible, row.numCities) << row.mode;
    EXPECT_EQ(f.At("lblCities", 2).visible, row.numCities) << row.mode;
    if (row.per != nullptr) {
      EXPECT_EQ(f.At("lblCities", 2).caption, row.per);
    }
  }
  EXPECT_EQ(f.At("lblCities", 0).caption, "Number");
  EXPECT_EQ(f.At("lblCities", 1).caption, "Num Cities =");
}

TEST(EvenlyFields, RuleSetsLabelAndLengthOptionSetsColumns) {
  FormFixture f;
  f.At("cboPlace1Param1", 0).SetListIndex(2);
  f.At("cboPlace1Param2", 0).SetListIndex(2);
  EXPECT_EQ(f.At("lblPlace1Param3", 0).caption, "Num per Land Mass:");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.At("txtPlace1", i).MaxLength(), 4) << i;
  f.At("cboPlace1Param2", 0).SetListIndex(1);
  EXPECT_EQ(f.At("lblPlace1Param3", 0).caption, "Percent per Size:");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.At("txtPlace1", i).MaxLength(), 2) << i;
  f.At("cboPlace1Param2", 0).SetListIndex(2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.At("txtPlace1", i).MaxLength(), 4) << i;

  struct Columns {
    int option;
    bool third, fourth;
    const char* second;
    const char* thirdCaption;
  };
  for (const Columns& c : {Columns{0, false, false, "Total Remaining", nullptr},
                           Columns{1, true, false, "Medium", "Total Remaining"},
                           Columns{2, true, true, "Medium", "Small"}}) {
    f.At("cboPlace1Param1", 0).SetListIndex(c.option);
    EXPECT_TRUE(f.At("txtPlace1", 0).visible);
    EXPECT_TRUE(f.At("txtPlace1", 1).visible);
    EXPECT_TRUE(f.At("lblPlace1Param3", 1).visible);
    EXPECT_EQ(f.At("txtPlace1", 2).visible, c.third) << c.option;
    EXPECT_EQ(f.At("lblPlace1Param3", 3).visible, c.third) << c.option;
    EXPECT_EQ(f.At("txtPlace1", 3).visible, c.fourth) << c.option;
    EXPECT_EQ(f.At("lblPlace1Param3", 4).visible, c.fourth) << c.option;
    EXPECT_EQ(f.At("lblPlace1Param3", 2).caption, c.second) << c.option;
    if (c.thirdCaption != nullptr) {
      EXPECT_EQ(f.At("lblPlace1Param3", 3).caption, c.thirdCaption);
    }
  }

  // The proportional rule shows no per-size fields and keeps their length.
  f.At("cboPlace1Param2", 0).SetListIndex(0);
  for (int i = 0; i <= 4; ++i) EXPECT_FALSE(f.At("lblPlace1Param3", i).visible) << i;
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(f.At("txtPlace1", i).visible) << i;
    EXPECT_EQ(f.At("txtPlace1", i).MaxLength(), 4) << i;
  }
}

TEST(CityNumberFields, WorldCountGivesWayWhenCitiesAreGivenPerMass) {
  FormFixture f;
  f.At("cboCityNumber", 0).SetListIndex(1);
  f.At("cboPlacement", 0).SetListIndex(1);
  f.At("cboPlace1Param2", 0).SetListIndex(2);
  const auto worldCountShown = [&f](bool shown) {
    EXPECT_EQ(f.At("cboCityNumber", 0).visible, shown);
    EXPECT_EQ(f.At("txtCities", 0).visible, shown);
    EXPECT_EQ(f.At("txtCities", 1).visible, shown);
    EXPECT_EQ(f.At("lblCityNumParams", 0).visible, !shown);
  };
  worldCountShown(false);
  EXPECT_TRUE(f.At("lblCities", 0).visible);
  EXPECT_FALSE(f.At("lblCities", 1).visible);
  EXPECT_FALSE(f.At("lblCities", 2).visible);

  for (int other : {0, 2}) {
    f.At("cboPlacement", 0).SetListIndex(other);
    worldCountShown(true);
    // The labels come back as the count choice (Calculate (Land)) has them.
    EXPECT_FALSE(f.At("lblCities", 0).visible);
    EXPECT_TRUE(f.At("lblCities", 2).visible);
    EXPECT_EQ(f.At("lblCities", 2).caption, "Land /");
    f.At("cboPlacement", 0).SetListIndex(1);
    worldCountShown(false);
  }
  f.At("cboPlace1Param2", 0).SetListIndex(1);
  worldCountShown(true);
}

}  // namespace
}  // namespace lorvex::params
