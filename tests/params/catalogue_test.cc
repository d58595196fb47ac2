#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "params/build_parameters.h"

namespace lorvex::params {
namespace {

using platform::ControlKind;

std::vector<const platform::Control*> ParameterControls(const platform::ControlSet& set) {
  std::vector<const platform::Control*> out;
  for (const platform::Control& c : set.All())
    if (platform::IsParameterKind(c.Kind())) out.push_back(&c);
  return out;
}

TEST(Catalogue, Has103ParameterControlsInControlOrder) {
  const platform::ControlSet set = CreateWindowControls();
  const auto params = ParameterControls(set);
  ASSERT_EQ(params.size(), static_cast<std::size_t>(kParameterControlCount));
  // The order of the arrays as the window walks them (and as a settings file lists them).
  const std::pair<const char*, int> arrays[] = {
      {"txtLandMass", 20}, {"chkLandEqual", 3}, {"chkLandPlace", 3}, {"txtTerrain", 8},
      {"chkTerrainEqual", 1}, {"cboCityNumber", 1}, {"txtCities", 8}, {"chkCityEqual", 1},
      {"cboPlacement", 1}, {"cboPlace1Param1", 1}, {"cboPlace1Param2", 1}, {"txtPlace1", 4},
      {"cboPlace2Param1", 1}, {"txtPlayerCity", 6}, {"chkPlayerCities", 3},
      {"chkAlgorithm", 3}, {"txtAlgorithm", 3}, {"txtBlobv2", 4}, {"txtBlobv3", 4},
      {"txtShape", 3}, {"chkShape", 24}};
  std::size_t k = 0;
  for (const auto& [name, count] : arrays)
    for (int index = 0; index < count; ++index, ++k) {
      ASSERT_LT(k, params.size());
      EXPECT_EQ(params[k]->Key(), std::string(name) + "(" + std::to_string(index) + ")");
    }
  EXPECT_EQ(k, params.size());
}

TEST(Catalogue, DefaultsAndMaximumLengths) {
  const platform::ControlSet set = CreateWindowControls();
  const char* landDefaults[] = {"3", "5", "400", "600", "5", "8", "8", "12", "150", "300",
                                "3", "5", "15", "20", "20", "80", "2", "3", "75", "150"};
  const int landChars[] = {3, 3, 4, 4, 2, 2, 3, 3, 3, 3, 2, 2, 3, 3, 3, 3, 2, 2, 4, 4};
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(set.At("txtLandMass", i).Text(), landDefaults[i]) << i;
    EXPECT_EQ(set.At("txtLandMass", i).MaxLength(), landChars[i]) << i;
  }
  const struct { const char* name; int index; const char* text; int chars; } boxes[] = {
      {"txtTerrain", 0, "5", 2},    {"txtTerrain", 7, "10", 2},  {"txtCities", 0, "100", 4},
      {"txtCities", 1, "150", 4},   {"txtCities", 2, "75", 3},   {"txtCities", 3, "200", 3},
      {"txtCities", 4, "10", 2},    {"txtCities", 5, "15", 2},   {"txtCities", 6, "60", 2},
      {"txtCities", 7, "75", 2},    {"txtPlace1", 0, "35", 2},   {"txtPlace1", 3, "20", 2},
      {"txtPlayerCity", 0, "1", 4}, {"txtPlayerCity", 1, "1", 3}, {"txtPlayerCity", 5, "1", 2},
      {"txtAlgorithm", 2, "1", 3},  {"txtBlobv2", 0, "40", 2},   {"txtBlobv2", 2, "50", 3},
      {"txtBlobv3", 0, "6", 2},     {"txtBlobv3", 1, "25", 2},   {"txtShape", 0, "80", 3},
      {"txtShape", 1, "30", 2},     {"txtShape", 2, "15", 2},
  };
  for (const auto& b : boxes) {
    EXPECT_EQ(set.At(b.name, b.index).Text(), b.text) << b.name << b.index;
    EXPECT_EQ(set.At(b.name, b.index).MaxLength(), b.chars) << b.name << b.index;
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(set.At("chkAlgorithm", i).Value(), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(set.At("chkLandPlace", i).Value(), 0);
  // Every box checked; the Tags are the shape codes, each code on exactly one box.
  std::vector<int> boxesOfCode(kShapeCount, 0);
  for (int i = 0; i < kShapeCount; ++i) {
    EXPECT_EQ(set.At("chkShape", i).Value(), 1);
    const int code = std::stoi(set.At("chkShape", i).tag);
    ASSERT_GE(code, 0);
    ASSERT_LT(code, kShapeCount);
    ++boxesOfCode[static_cast<std::size_t>(code)];
  }
  for (int code = 0; code < kShapeCount; ++code) EXPECT_EQ(boxesOfCode[static_cast<std::size_t>(code)], 1) << code;
  // The boxes are not in code order: "Triangle" is box 1 and figure 3, "I"-Shape box 15 and
  // figure 23, Arrowhead box 22 and figure 16.
  EXPECT_EQ(set.At("chkShape", 1).tag, "3");
  EXPECT_EQ(set.At("chkShape", 15).tag, "23");
  EXPECT_EQ(set.At("chkShape", 22).tag, "16");
  EXPECT_EQ(set.At("chkShape", 12).caption, "\"L\"-Shape");
  EXPECT_EQ(set.At("chkShape", 23).caption, "Arrow");
  // Selection boxes start with nothing selected; the window gives them item 0 on opening.
  EXPECT_EQ(set.At("cboPlacement", 0).ListIndex(), -1);
  EXPECT_EQ(set.At("cboPlacement", 0).items.at(2), "Propotionately Place on Land Masses");
  EXPECT_EQ(set.At("cboCityNumber", 0).items.at(1), "Calculate (Land)");
}

TEST(Catalogue, PlayerCitiesAreHiddenAndDisabledButStillParameters) {
  const platform::ControlSet set = CreateWindowControls();
  for (int i = 0; i < 6; ++i) {
    const platform::Control& box = set.At("txtPlayerCity", i);
    EXPECT_FALSE(box.visible);
    EXPECT_FALSE(box.enabled);
    EXPECT_EQ(box.Kind(), ControlKind::kNumberBox);
  }
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(set.At("chkPlayerCities", i).visible);
  EXPECT_FALSE(set.At("cmdShapeMoreLeft", 0).visible);
  EXPECT_FALSE(set.At("fraWatchIt", 0).visible);
}

TEST(ParameterView, ReadsFieldsByTheReadingRule) {
  platform::ControlSet set = CreateWindowControls();
  set.At("txtLandMass", 3).SetText("12ab");
  set.At("txtLandMass", 4).SetText("");
  set.At("txtBlobv2", 0).SetText("2.5");
  set.At("txtCities", 0).SetText("3.5");
  const ParameterView view(set);
  EXPECT_EQ(view.Number("txtLandMass", 3), 12);
  EXPECT_EQ(view.Whole("txtLandMass", 4), 0);
  EXPECT_EQ(view.Whole("txtBlobv2", 0), 2);  // half to even
  EXPECT_EQ(view.Whole("txtCities", 0), 4);
  EXPECT_TRUE(view.Checked("chkAlgorithm", 1));
  EXPECT_THROW(view.Value("chkNothing", 0), std::logic_error);
}

}  // namespace
}  // namespace lorvex::params
