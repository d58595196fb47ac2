// Figures and labels kept in step with the fields: the land percentage in the status bar,
// and the explanation, frames, labels and per-size fields of the city placement.
#include <cmath>

#include "common/numbers.h"
#include "params/build_parameters.h"
#include "params/parameter_form.h"

namespace lorvex::params {

namespace {

// cboPlacement item that places the same number on each mass, and the cboPlace1Param2
// rules that give percentages and numbers per land mass.
constexpr int kEvenlyBySize = 1;
constexpr int kRuleByPercentage = 1;
constexpr int kRuleByNumber = 2;

// Maximum length of the per-size fields: percentages, and numbers of cities per mass.
constexpr int kPercentageChars = 2;
constexpr int kNumberPerMassChars = 4;

bool IsItem(int listIndex) { return listIndex >= 0 && listIndex <= 2; }

}  // namespace

void ParameterForm::RefreshDerivedFigures() {
  ShowLandFigure();
  if (IsItem(Box("cboPlacement", 0).ListIndex())) cboPlacement_Click();
  if (IsItem(Box("cboCityNumber", 0).ListIndex())) cboCityNumber_Click();
  if (IsItem(Box("cboPlace1Param2", 0).ListIndex())) ShowEvenlyFields();
}

void ParameterForm::ShowLandFigure() {
  const auto t = [this](int i) { return FieldValue("txtLandMass", i); };
  // Each size row: number of masses times their size (Lo with Lo, Hi with Hi), plus the
  // tiny islands' total.
  const double lo = RoundHalfEven(t(0) * t(2) + t(6) * t(8) + t(12) * t(14) + t(18));
  const double hi = RoundHalfEven(t(1) * t(3) + t(7) * t(9) + t(13) * t(15) + t(19));
  const double squares = static_cast<double>(env_.mapWidth) * static_cast<double>(env_.mapHeight);
  std::string& panel = env_.statusBar.Panel(kLandFigurePanel).text;
  // Without a map size there is no share to show.
  if (squares > 0)
    panel = "Land = " + NumberText(RoundHalfEven(100.0 * lo / squares)) + " - " +
            NumberText(RoundHalfEven(100.0 * hi / squares)) + " % ";
  else
    panel.clear();
  const platform::StatusPanel& progressPanel = env_.statusBar.Panel(kProgressPanel);
  env_.progressBar.left = progressPanel.left;
  env_.progressBar.width = progressPanel.width;
}

void ParameterForm::cboPlacement_Click() {
  const int placement = Box("cboPlacement", 0).ListIndex();
  for (int i = 0; i < 3; ++i) Box("fraPlaceParams", i).visible = i == placement;
  if (IsItem(placement))
    Box("lblPlaceAlgoExplain", 0).caption = kPlacementExplanations[placement];
  ShowCityNumberFields();
}

void ParameterForm::cboCityNumber_Click() { ShowCityCountLabels(); }

// The Number row's labels for the chosen way of counting cities: "Number" when it is
// given, "Num Cities = Land /" or "Num Cities = Map Squares /" when it is calculated.
void ParameterForm::ShowCityCountLabels() {
  const int mode = Box("cboCityNumber", 0).ListIndex();
  if (mode == 0) {
    Box("lblCities", 0).visible = true;
    Box("lblCities", 1).visible = false;
    Box("lblCities", 2).visible = false;
  } else if (mode == 1 || mode == 2) {
    Box("lblCities", 0).visible = false;
    Box("lblCities", 1).visible = true;
    Box("lblCities", 2).visible = true;
    Box("lblCities", 2).caption = mode == 1 ? "Land /" : "Map Squares /";
  }
}

void ParameterForm::ShowEvenlyFields() {
  const int rule = Box("cboPlace1Param2", 0).ListIndex();
  const int option = Box("cboPlace1Param1", 0).ListIndex();
  // The proportional rule needs no per-size figures; nor does a box with nothing chosen.
  if (rule != kRuleByPercentage && rule != kRuleByNumber) {
    for (int i = 0; i <= 4; ++i) Box("lblPlace1Param3", i).visible = false;
    for (int i = 0; i <= 3; ++i) Box("txtPlace1", i).visible = false;
    return;
  }
  Box("lblPlace1Param3", 0).caption =
      rule == kRuleByPercentage ? "Percent per Size:" : "Num per Land Mass:";
  for (int i = 0; i <= 3; ++i)
    Box("txtPlace1", i).SetMaxLength(rule == kRuleByPercentage ? kPercentageChars
                                                               : kNumberPerMassChars);

  Box("lblPlace1Param3", 0).visible = true;
  Box("lblPlace1Param3", 1).visible = true;
  Box("txtPlace1", 0).visible = true;
  Box("lblPlace1Param3", 2).visible = true;
  Box("txtPlace1", 1).visible = true;
  const bool small = option == 1 || option == 2;
  Box("lblPlace1Param3", 3).visible = small;
  Box("txtPlace1", 2).visible = small;
  Box("lblPlace1Param3", 4).visible = option == 2;
  Box("txtPlace1", 3).visible = option == 2;

  // The field after the last size the option names stands for all remaining land.
  switch (option) {
    case 0: Box("lblPlace1Param3", 2).caption = "Total Remaining"; break;
    case 1:
      Box("lblPlace1Param3", 2).caption = "Medium";
      Box("lblPlace1Param3", 3).caption = "Total Remaining";
      break;
    case 2:
      Box("lblPlace1Param3", 2).caption = "Medium";
      Box("lblPlace1Param3", 3).caption = "Small";
      break;
    default: break;
  }
}

void ParameterForm::ShowCityNumberFields() {
  const bool perLandMass = Box("cboPlacement", 0).ListIndex() == kEvenlyBySize &&
                           Box("cboPlace1Param2", 0).ListIndex() == kRuleByNumber;
  // Cities given per land mass: no world count is used, so its fields give way to a note.
  Box("lblCityNumParams", 0).visible = perLandMass;
  Box("cboCityNumber", 0).visible = !perLandMass;
  Box("txtCities", 0).visible = !perLandMass;
  Box("txtCities", 1).visible = !perLandMass;
  if (perLandMass) {
    Box("lblCities", 0).visible = true;
    Box("lblCities", 1).visible = false;
    Box("lblCities", 2).visible = false;
  } else {
    ShowCityCountLabels();
  }
}

}  // namespace lorvex::params
