// TEMPORARY: settings files are being written.
#include "params/parameter_form.h"

namespace lorvex::params {

void ParameterForm::BindSettingsActions() {}
void ParameterForm::SaveSettings() {}
void ParameterForm::LoadSettings() {}
bool ParameterForm::LoadSettingsFile(const std::string&) { return true; }
bool ParameterForm::ApplySettingsLine(const std::string&) { return false; }
bool ParameterForm::WriteSettingsFile(const std::string&, std::string& error) const {
  error = "not written yet";
  return false;
}

void ParameterForm::LoadDefaultSettings() {
  for (platform::Control& control : controls_.All())
    if (control.Kind() == platform::ControlKind::kSelectionBox && control.ListIndex() == -1)
      control.SetListIndex(0);
}

}  // namespace lorvex::params
