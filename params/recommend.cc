// TEMPORARY: Recommend is being written.
#include "params/parameter_form.h"

namespace lorvex::params {

void ParameterForm::cmdDefaults_Click() {}
bool ParameterForm::Recommend(std::string& failureMessage) {
  failureMessage = "not written yet";
  return false;
}

}  // namespace lorvex::params
