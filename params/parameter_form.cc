#include "params/parameter_form.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "common/numbers.h"

namespace lorvex::params {

std::string NumberText(double value) {
  if (std::isnan(value)) return "0";
  value = std::clamp(value, -DBL_MAX, DBL_MAX) + 0.0;  // + 0.0 turns -0 into 0
  // A whole number below 1e15 is exact as a 64-bit integer; others go through the C
  // locale's "%.15g", whatever locale the process has set.
  const bool whole = std::fabs(value) < 1e15 && value == std::floor(value);
  std::string number = whole ? std::to_string(static_cast<std::int64_t>(value)) : FormatCGeneral(value, 15);
  std::replace(number.begin(), number.end(), 'e', 'E');
  return number;
}

void SetNumberText(platform::Control& box, double value) { box.SetText(NumberText(value)); }

ParameterForm::ParameterForm(platform::ControlSet& controls, FormEnvironment environment)
    : controls_(controls), env_(environment) {
  BindActions();
}

bool ParameterForm::IsChecked(std::string_view name, int index) const {
  return controls_.At(name, index).Value() == 1;
}

double ParameterForm::FieldValue(std::string_view name, int index) const {
  return ReadFieldNumber(controls_.At(name, index).Text());
}

void ParameterForm::BindActions() {
  // Validators, run when a box loses the focus.
  controls_.OnLostFocus("txtAlgorithm", [this](int i) { txtAlgorithm_LostFocus(i); });
  controls_.OnLostFocus("txtBlobv2", [this](int i) { txtBlobv2_LostFocus(i); });
  controls_.OnLostFocus("txtBlobv3", [this](int i) { txtBlobv3_LostFocus(i); });
  controls_.OnLostFocus("txtShape", [this](int i) { txtShape_LostFocus(i); });
  controls_.OnLostFocus("txtTerrain", [this](int i) { txtTerrain_LostFocus(i); });
  controls_.OnLostFocus("txtCities", [this](int i) { txtCities_LostFocus(i); });
  controls_.OnLostFocus("txtLandMass", [this](int i) { txtLandMass_LostFocus(i); });
  controls_.OnLostFocus("txtPlace1", [this](int i) { txtPlace1_LostFocus(i); });

  // Check boxes and selection boxes: their click fires when their state changes.
  controls_.OnClick("chkLandEqual", [this](int i) { chkLandEqual_Click(i); });
  controls_.OnClick("chkTerrainEqual", [this](int) { chkTerrainEqual_Click(); });
  controls_.OnClick("chkCityEqual", [this](int) { chkCityEqual_Click(); });
  controls_.OnClick("chkLandPlace", [this](int i) { chkLandPlace_Click(i); });
  controls_.OnClick("chkAlgorithm", [this](int i) { chkAlgorithm_Click(i); });
  controls_.OnClick("cboPlacement", [this](int) { cboPlacement_Click(); });
  controls_.OnClick("cboCityNumber", [this](int) { cboCityNumber_Click(); });
  controls_.OnClick("cboPlace1Param1", [this](int) { ShowEvenlyFields(); });
  controls_.OnClick("cboPlace1Param2", [this](int) {
    ShowEvenlyFields();
    ShowCityNumberFields();
  });

  // Buttons and the shape pictures.
  controls_.OnClick("cmdLoad", [this](int) { LoadSettings(); });
  controls_.OnClick("cmdSave", [this](int) { SaveSettings(); });
  controls_.OnClick("cmdSetEqualAll", [this](int) { cmdSetEqualAll_Click(); });
  controls_.OnClick("cmdDefaults", [this](int) { cmdDefaults_Click(); });
  controls_.OnClick("cmdShapeUnselect", [this](int) { cmdShapeUnselect_Click(); });
  controls_.OnClick("imgShape", [this](int i) { imgShape_Click(i); });
}

}  // namespace lorvex::params
