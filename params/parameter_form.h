// The behaviour of the parameters window's fields: derived figures, validators and click
// actions, settings files and Recommend. It works on the window's controls and reaches the
// rest of the window through FormEnvironment.
//
// The behaviour lives in three files: parameter_form.cc (the field actions: derived
// figures, validators, the "=" boxes, the edge options, the tab strip), settings_actions.cc
// (Save Settings, Load Settings, the default file) and recommend.cc (Recommend).
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

// The settings folder and the default file, relative to the current directory.
inline constexpr const char* kSettingsFolder = "kessett";
inline constexpr const char* kDefaultSettingsFile = "kessett/default.kst";

class ParameterForm {
 public:
  // Binds the click and focus-lost actions of the window's fields and buttons.
  ParameterForm(platform::ControlSet& controls, FormEnvironment environment);

  // --- Field actions (parameter_form.cc) ---
  // Refreshes every derived figure (land percentage, city counts, placement fields).
  void RefreshDerivedFigures();
  // Runs every number box's validator, as before a build and after a load.
  void RevalidateAll();
  // The tab strip's click: shows the page of the selected tab.
  void tabParams_Click();

  // --- Settings files (settings_actions.cc) ---
  void SaveSettings();   // cmdSave
  void LoadSettings();   // cmdLoad
  // Applies one settings file as a person's edits would, then revalidates. Answers false
  // (changing nothing) when the file exists but cannot be read.
  bool LoadSettingsFile(const std::string& fileName);
  // Applies one "Name(Index) = value" line; answers whether it matched a control.
  bool ApplySettingsLine(const std::string& line);
  // Writes every parameter control to fileName as SaveSettings does; on failure the old
  // file stays as it was and `error` says why.
  bool WriteSettingsFile(const std::string& fileName, std::string& error) const;
  // Applies the default settings file when it exists; then every selection box that has
  // no selected item gets item 0.
  void LoadDefaultSettings();

  // --- Recommend (recommend.cc) ---
  // cmdDefaults: recommends parameters for the map size; on failure shows the message.
  void cmdDefaults_Click();
  // The same without the message box: answers false, with the message, on failure.
  bool Recommend(std::string& failureMessage);

 private:
  void BindFieldActions();     // parameter_form.cc
  void BindSettingsActions();  // settings_actions.cc

  platform::ControlSet& controls_;
  FormEnvironment env_;
};

}  // namespace lorvex::params
