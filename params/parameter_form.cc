#include "params/parameter_form.h"

namespace lorvex::params {

ParameterForm::ParameterForm(platform::ControlSet& controls, FormEnvironment environment)
    : controls_(controls), env_(environment) {
  BindFieldActions();
  BindSettingsActions();
}

// TEMPORARY: the field actions are being written.
void ParameterForm::BindFieldActions() {}
void ParameterForm::RefreshDerivedFigures() {}
void ParameterForm::RevalidateAll() {}
void ParameterForm::tabParams_Click() {}

}  // namespace lorvex::params
