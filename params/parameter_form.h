// The behaviour of the parameters window's fields: derived figures, validators and click
// actions, settings files and Recommend. It works on the window's controls and reaches the
// rest of the window through FormEnvironment.
//
// The behaviour lives in these files: parameter_form.cc (binding the actions to the
// controls), derived_figures.cc (land percentage, city-placement labels and fields),
// field_validation.cc (validators, the "=" boxes, the edge options, the algorithm boxes,
// the tab strip, the Shapes page), settings_actions.cc (Save Settings, Load Settings, the
// default file) and recommend.cc (Recommend).
//
// How a number box holds its value: a box never holds more characters than its maximum
// length (Control::SetText cuts a typed or loaded text), and a figure that this code
// writes (a cleaned value, a copied bound, a recommended number) and that needs more
// characters than the box holds is written as the largest whole number the box can show
// ("9999" in a four-character box). So every number a build reads from a box is bounded by
// the box's length, whatever a settings file or a person typed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/random.h"
#include "params/settings_file.h"
#include "platform/common_controls.h"
#include "platform/control.h"
#include "platform/platform.h"
#include "platform/rgb.h"

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
  platform::ProgressBar& progressBar;  // laid over status panel 5
};

// The settings folder and the default file, relative to the current directory.
inline constexpr const char* kSettingsFolder = "kessett";
inline constexpr const char* kDefaultSettingsFile = "kessett/default.kst";

// The settings file dialog: extension, filter and flags (2 = ask before overwriting,
// 8 = leave the current directory as it is).
inline constexpr const char* kSettingsExtension = "kst";
inline constexpr const char* kSettingsFilter = "Kestrin's Settings (*.kst)|*.kst";
inline constexpr int kSaveDialogFlags = 10;
inline constexpr int kOpenDialogFlags = 8;

// The message of a save that failed, naming the file and the reason.
std::string SaveFailedMessage(const std::string& fileName, const std::string& reason);

inline constexpr const char* kRecommendFailedMessage = "Failed to Recommend Good Parameters";
// What Recommend writes: the numbers and sizes of the three size classes and the tiny
// islands' land (the sea borders 4, 5, 10, 11, 16 and 17 keep their values), and the five
// "=" boxes, which it clears.
inline constexpr int kRecommendedLandMassBoxes[] = {0, 1, 2, 3, 6, 7, 8, 9, 12, 13, 14, 15, 18, 19};
inline constexpr std::pair<const char*, int> kRecommendClearedBoxes[] = {
    {"chkLandEqual", 0}, {"chkLandEqual", 1}, {"chkLandEqual", 2},
    {"chkTerrainEqual", 0}, {"chkCityEqual", 0}};

// Status bar panels the form writes: the land figure, and the panel the progress bar covers.
inline constexpr int kLandFigurePanel = 3;
inline constexpr int kProgressPanel = 5;

// The two system colours a Hi box shows: button face while it is locked to its Lo box,
// window background while it can be edited (the classic Windows values).
inline constexpr platform::Rgb kButtonFaceColour{240, 240, 240};
inline constexpr platform::Rgb kWindowBackgroundColour{255, 255, 255};

// The decimal text the window writes for a number: whole numbers below 1e15 digit for
// digit ("-7", "400"), others with up to 15 significant digits ("2.5", "1E+20").
std::string NumberText(double value);

// Writes a number's decimal text into a box. The text is written whole, even where it is
// longer than the box lets a person type (Recommend's figures for a large map); it is never
// longer than about 21 characters ("1.79769313486232E+308").
void SetNumberText(platform::Control& box, double value);

class ParameterForm {
 public:
  // Binds the click and focus-lost actions of the window's fields and buttons, so that a
  // toolkit binding only calls Control::Click, LoseFocus, SetValue and SetListIndex.
  ParameterForm(platform::ControlSet& controls, FormEnvironment environment);

  // --- Derived figures (derived_figures.cc) ---
  // Refreshes the land figure, and the placement displays of every selection box that
  // has an item selected (none has when the window opens).
  void RefreshDerivedFigures();
  // Status panel 3: the land percentage the land-mass fields give; re-lays the progress
  // bar over panel 5.
  void ShowLandFigure();
  void cboPlacement_Click();
  void cboCityNumber_Click();
  void ShowEvenlyFields();
  void ShowCityNumberFields();

  // --- Validators and click actions (field_validation.cc) ---
  void txtAlgorithm_LostFocus(int index);
  void txtBlobv2_LostFocus(int index);
  void txtBlobv3_LostFocus(int index);
  void txtShape_LostFocus(int index);
  void txtTerrain_LostFocus(int index);
  void txtCities_LostFocus(int index);
  void txtLandMass_LostFocus(int index);
  void txtPlace1_LostFocus(int index);
  // Ties (equal) or frees the Hi boxes of one land-mass column: 0 number, 1 size, 2 border.
  void SetLandEqual(int column, bool equal);
  void chkLandEqual_Click(int index);
  void chkTerrainEqual_Click();
  void chkCityEqual_Click();
  void cmdSetEqualAll_Click();
  void chkLandPlace_Click(int index);
  void chkAlgorithm_Click(int index);
  // The tab strip's click: shows the page of the selected tab.
  void tabParams_Click();
  void cmdShapeUnselect_Click();
  void imgShape_Click(int index);
  // Runs every number box's validator, as before a build and after a load.
  void RevalidateAll();

  // --- Settings files (settings_actions.cc) ---
  // cmdSave: answers whether a file was written (false when cancelled or when the write
  // failed; a failure is also told in a message box naming the file and the reason).
  bool SaveSettings();
  // cmdLoad: answers false when cancelled or when the chosen file could not be read.
  bool LoadSettings();
  // Applies one settings file as a person's edits would, then revalidates every field,
  // whether or not the file existed. A file that does not exist loads nothing. Answers
  // false, applying none of its lines, when the file exists but cannot be read (it is read
  // whole before any field changes) or its existence cannot be told.
  bool LoadSettingsFile(const std::string& fileName);
  // Applies one "Name(Index) = value" line; answers whether it matched a control and its
  // value was taken.
  bool ApplySettingsLine(std::string_view line);
  // Sets one parameter control as a line of a settings file sets it (a person's change, so
  // its click action runs when its state changes); answers false, changing nothing, when
  // no parameter control has that name and index or it cannot hold the value.
  bool ApplySetting(std::string_view name, std::int32_t index, const std::string& value);
  // Applies the lines in their order as a settings file is applied, then revalidates.
  void ApplySettings(const std::vector<SettingsLine>& lines);
  // Writes every parameter control to fileName as SaveSettings does; on failure the old
  // file stays as it was and `error` says why.
  bool WriteSettingsFile(const std::string& fileName, std::string& error) const;
  // The whole settings file's text as WriteSettingsFile writes it.
  std::string SettingsText() const;
  // Applies the default settings file when it exists (unless the host turned it off); then
  // every selection box that has no selected item gets item 0.
  void LoadDefaultSettings();
  // For a host: whether LoadDefaultSettings reads the default file (true by default), and
  // the folder the Load and Save Settings buttons open and make (kSettingsFolder by
  // default).
  void SetUseDefaultSettingsFile(bool use) { useDefaultFile_ = use; }
  void SetSettingsFolder(std::string folder) { settingsFolder_ = std::move(folder); }
  const std::string& SettingsFolder() const { return settingsFolder_; }
  // Every selection box that has no selected item gets item 0.
  void SelectFirstItems();

  // --- Recommend (recommend.cc) ---
  // cmdDefaults: recommends land-mass parameters for the map size; on failure shows the
  // message. Answers whether it succeeded.
  bool cmdDefaults_Click();
  // The same without the message box: answers false, with the message, on failure.
  bool Recommend(std::string& failureMessage);

 private:
  void BindActions();
  platform::Control& Box(std::string_view name, int index) { return controls_.At(name, index); }
  bool IsChecked(std::string_view name, int index) const;
  double FieldValue(std::string_view name, int index) const;
  void CleanBox(platform::Control& box);
  void ClampBox(std::string_view name, int index, int minimum, int maximum);
  void PairLoHi(std::string_view name, std::string_view equalBox, int index);
  void TieAllPairs(std::string_view name, bool equal);
  // txtLandMass_LostFocus without the land figure, which reads every land-mass box: a
  // pass over all of them shows it once, after the last.
  void CheckLandMassBox(int index);
  void ShowCityCountLabels();
  bool DrawRecommendation();

  platform::ControlSet& controls_;
  FormEnvironment env_;
  bool useDefaultFile_ = true;
  std::string settingsFolder_ = kSettingsFolder;
};

}  // namespace lorvex::params
