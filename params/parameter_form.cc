#include "params/parameter_form.h"

namespace lorvex::params {

ParameterForm::ParameterForm(platform::ControlSet& controls, FormEnvironment environment)
    : controls_(controls), env_(environment) {}

void ParameterForm::RefreshDerivedFigures() {}

void ParameterForm::RevalidateAll() {}

void ParameterForm::LoadDefaultSettings() {
  for (platform::Control& control : controls_.All())
    if (control.Kind() == platform::ControlKind::kSelectionBox && control.ListIndex() == -1)
      control.SetListIndex(0);
}

}  // namespace lorvex::params
