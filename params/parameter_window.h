// The parameter controls of one window and the behaviour bound to them, outside any window:
// what a builder keeps between its builds, and what the settings fuzz target loads files
// into. It opens as the window opens for a map of the given size (every control at its
// default, every selection box at its first item) but reads no default file.
#pragma once

#include <cstdint>

#include "common/random.h"
#include "params/build_parameters.h"
#include "params/parameter_form.h"
#include "platform/common_controls.h"
#include "platform/control.h"
#include "platform/headless_platform.h"

namespace lorvex::params {

struct ParameterWindow {
  explicit ParameterWindow(std::int32_t mapWidth = 100, std::int32_t mapHeight = 60);
  ParameterWindow(const ParameterWindow&) = delete;
  ParameterWindow& operator=(const ParameterWindow&) = delete;

  // Message boxes and file dialogs have nobody to answer them here: the form's callers use
  // the calls that answer with a message instead (Recommend, WriteSettingsFile).
  platform::HeadlessPlatform platform;
  platform::ControlSet controls = CreateWindowControls();
  platform::StatusBar statusBar{5};
  platform::TabStrip tabs;
  platform::ProgressBar progress;
  Random random;
  bool updatingControls = false;
  std::int16_t selectedTab = 1;
  std::int32_t width;
  std::int32_t height;
  ParameterForm form{controls, FormEnvironment{platform, statusBar, tabs, random, updatingControls,
                                               selectedTab, width, height, progress}};
};

}  // namespace lorvex::params
