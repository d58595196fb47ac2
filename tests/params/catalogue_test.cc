// The parameter catalogue: every parameter control in the window's order, with its default
// and the most characters a person may type into it.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "params/build_parameters.h"
#include "shaping/shape_figures.h"

namespace lorvex::params {
namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

TEST(Catalogue, EveryParameterControlInOrderWithItsDefaultAndLength) {
  // One row per control array, in control order: defaults (text, check-box value or list
  // index; -1 is nothing selected) and maximum lengths of its elements from index 0.
  const struct { const char* name; const char* defaults; const char* lengths; } arrays[] = {
      {"txtLandMass", "3 5 400 600 5 8 8 12 150 300 3 5 15 20 20 80 2 3 75 150",
       "3 3 4 4 2 2 3 3 3 3 2 2 3 3 3 3 2 2 4 4"},
      {"chkLandEqual", "0 0 0", ""},
      {"chkLandPlace", "0 0 0", ""},
      {"txtTerrain", "5 10 5 10 5 10 5 10", "2 2 2 2 2 2 2 2"},
      {"chkTerrainEqual", "0", ""},
      {"cboCityNumber", "-1", ""},
      {"txtCities", "100 150 75 200 10 15 60 75", "4 4 3 3 2 2 2 2"},
      {"chkCityEqual", "0", ""},
      {"cboPlacement", "-1", ""},
      {"cboPlace1Param1", "-1", ""},
      {"cboPlace1Param2", "-1", ""},
      {"txtPlace1", "35 25 20 20", "2 2 2 2"},
      {"cboPlace2Param1", "-1", ""},
      {"txtPlayerCity", "1 1 1 1 1 1", "4 3 2 2 2 2"},
      {"chkPlayerCities", "0 0 0", ""},
      {"chkAlgorithm", "1 1 1", ""},
      {"txtAlgorithm", "1 1 1", "3 3 3"},
      {"txtBlobv2", "40 15 50 15", "2 2 3 2"},
      {"txtBlobv3", "6 25 50 15", "2 2 3 2"},
      {"txtShape", "80 30 15", "3 2 2"},
      {"chkShape", "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", ""},
  };
  const platform::ControlSet set = CreateWindowControls();
  std::vector<const platform::Control*> parameters;
  for (const platform::Control& c : set.All())
    if (platform::IsParameterKind(c.Kind())) parameters.push_back(&c);
  ASSERT_EQ(parameters.size(), static_cast<std::size_t>(kParameterControlCount));
  std::size_t k = 0;
  for (const auto& array : arrays) {
    const std::vector<std::string> defaults = Words(array.defaults), lengths = Words(array.lengths);
    for (std::size_t index = 0; index < defaults.size(); ++index, ++k) {
      ASSERT_LT(k, parameters.size());
      const platform::Control& c = *parameters[k];
      EXPECT_EQ(c.Key(), std::string(array.name) + "(" + std::to_string(index) + ")");
      const std::string value = c.Kind() == platform::ControlKind::kNumberBox ? c.Text()
                                : c.Kind() == platform::ControlKind::kCheckBox ? std::to_string(c.Value())
                                                                               : std::to_string(c.ListIndex());
      EXPECT_EQ(value, defaults[index]) << c.Key();
      if (!lengths.empty()) {
        EXPECT_EQ(std::to_string(c.MaxLength()), lengths[index]) << c.Key();
      }
      // The Player Cities page is hidden and disabled, but its controls are parameters.
      if (std::string(array.name).find("Player") != std::string::npos) {
        EXPECT_FALSE(c.visible || c.enabled) << c.Key();
      }
    }
  }
  EXPECT_EQ(k, parameters.size());
  // Each figure's code, caption and box on the Shapes page; the box carries the code as its Tag.
  const struct { int code; const char* caption; int box; } shapes[] = {
      {0, "Rectangle", 0},          {1, "Obtuse Triangle", 3},    {2, "Trapezoid", 5},
      {3, "Triangle", 1},           {4, "Right Triangle", 2},     {5, "Parallelogram", 4},
      {6, "Circle", 6},             {7, "Ellipse", 10},           {8, "Half-Circle", 8},
      {9, "3/4-Circle", 7},         {10, "Quarter-Circle", 9},    {11, "Rectangle + Triangle", 16},
      {12, "\"L\"-Shape", 12},      {13, "\"U\"-Shape", 13},      {14, "Hourglass", 17},
      {15, "Teardrop", 11},         {16, "Arrowhead", 22},        {17, "Diamond", 18},
      {18, "Arrow", 23},            {19, "\"T\"-Shape", 14},      {20, "4-point Star", 19},
      {21, "3 Points of Star", 20}, {22, "2 Points of Star", 21}, {23, "\"I\"-Shape", 15},
  };
  for (const auto& row : shapes) {
    EXPECT_EQ(std::make_tuple(set.At("chkShape", row.box).tag, set.At("chkShape", row.box).caption),
              std::make_tuple(std::to_string(row.code), std::string(row.caption))) << row.box;
    EXPECT_EQ(std::make_tuple(std::string(shaping::FigureCaption(row.code)), shaping::FigureBox(row.code)),
              std::make_tuple(std::string(row.caption), row.box)) << row.code;
  }
  EXPECT_EQ(set.At("cboPlacement", 0).items,
            (std::vector<std::string>{"Randomly Place Cities Throughout", "Evenly Place on Land Masses by Size",
                                      "Propotionately Place on Land Masses"}));
  EXPECT_EQ(set.At("cboCityNumber", 0).items,
            (std::vector<std::string>{"Specify", "Calculate (Land)", "Calculate (Map)"}));
}

}  // namespace
}  // namespace lorvex::params
