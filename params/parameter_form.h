// The behaviour of the parameters window's fields: derived figures, validators and click
// actions, settings files and Recommend. It works on the window's controls and reaches the
// rest of the window through FormEnvironment.
#pragma once

#include <cstdint>
#include <string>

#include "common/random.h"
#include "platform/common_controls.h"
#include "platform/control.h"
#include "platform/platform.h"

namespace lorvex::params {

// What the field behaviour needs of the window beyond its controls.
struct FormEnvironment {
  platform::Platform& platform;
  platform::StatusBar& statusBar;
  platform::TabStrip& tabs;
  Random& random;
  bool& updatingControls;        // while true the edge-option click actions do nothing
  std::int16_t& selectedTab;     // 1..6
  const std::int32_t& mapWidth;  // of the map being built
  const std::int32_t& mapHeight;
};

class ParameterForm {
 public:
  ParameterForm(platform::ControlSet& controls, FormEnvironment environment);

  // Refreshes every derived figure (land percentage, city counts, placement fields).
  void RefreshDerivedFigures();
  // Runs every number box's validator, as before a build and after a load.
  void RevalidateAll();
  // Applies the default settings file when it exists; then every selection box that has
  // no selected item gets item 0.
  void LoadDefaultSettings();

 private:
  platform::ControlSet& controls_;
  FormEnvironment env_;
};

}  // namespace lorvex::params
