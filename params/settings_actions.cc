// Save Settings, Load Settings and the default file: the whole parameter set as one
// "Name(Index) = value" line per parameter control, in control order.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "common/atomic_file.h"
#include "common/numbers.h"
#include "params/parameter_form.h"
#include "params/settings_file.h"

namespace lorvex::params {

using platform::ControlKind;

namespace {

// Both buttons make the settings folder when it is missing; when it cannot be made the
// dialog still opens and the person may choose another folder.
void MakeSettingsFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::create_directory(folder, ignored);
}

platform::FileDialogRequest SettingsDialog(bool save, const std::string& folder) {
  platform::FileDialogRequest request;
  request.save = save;
  request.defaultExt = kSettingsExtension;
  request.initDir = folder;
  request.filter = kSettingsFilter;
  request.filterIndex = 1;
  request.flags = save ? kSaveDialogFlags : kOpenDialogFlags;
  return request;
}

// The reason part of an AtomicFile error ("cannot create PATH: REASON").
std::string ReasonOf(const std::string& error, const std::string& path) {
  const std::string marker = path + ": ";
  const std::size_t at = error.find(marker);
  return at == std::string::npos ? error : error.substr(at + marker.size());
}

// A check box holds 0, 1 or 2 (grey); a selection box one of its three items or -1.
constexpr int kLowestCheckValue = 0, kHighestCheckValue = 2;
constexpr int kLowestListIndex = -1, kHighestListIndex = 2;

}  // namespace

std::string SaveFailedMessage(const std::string& fileName, const std::string& reason) {
  return "Could not save settings to " + fileName + ": " + reason;
}

bool ParameterForm::SaveSettings() {
  MakeSettingsFolder(settingsFolder_);
  const std::optional<std::string> fileName =
      env_.platform.FileDialog(SettingsDialog(true, settingsFolder_));
  if (!fileName || fileName->empty()) return false;
  std::string error;
  if (WriteSettingsFile(*fileName, error)) return true;
  env_.platform.MessageBox(SaveFailedMessage(*fileName, error), platform::MessageButtons::kOk);
  return false;
}

std::string ParameterForm::SettingsText() const {
  std::string text;
  for (const platform::Control& control : controls_.All())
    if (platform::IsParameterKind(control.Kind())) text += FormatSettingsLine(control) + "\r\n";
  return text;
}

bool ParameterForm::WriteSettingsFile(const std::string& fileName, std::string& error) const {
  const std::string text = SettingsText();
  // Written beside the old file and renamed over it once complete, so a failed save
  // leaves the old file as it was.
  AtomicFile file(fileName);
  std::string failure;
  bool written = file.Open(failure);
  errno = 0;
  if (written && std::fwrite(text.data(), 1, text.size(), file.Stream()) != text.size()) {
    failure = errno != 0 ? std::strerror(errno) : "write failed";
    written = false;
  }
  written = written && file.Finish(failure) && file.Publish(failure);
  if (!written) error = ReasonOf(failure, fileName);
  return written;
}

bool ParameterForm::LoadSettings() {
  MakeSettingsFolder(settingsFolder_);
  const std::optional<std::string> fileName =
      env_.platform.FileDialog(SettingsDialog(false, settingsFolder_));
  if (!fileName || fileName->empty()) return false;
  return LoadSettingsFile(*fileName);
}

bool ParameterForm::LoadSettingsFile(const std::string& fileName) {
  std::error_code status;
  const bool exists = std::filesystem::exists(fileName, status);
  bool read = !status;  // false when not even the file's existence can be told
  if (read && exists) {
    // The whole file is read before any field changes, so a file that cannot be read,
    // or vanishes while it is opened, applies none of its lines.
    std::vector<SettingsLine> lines;
    std::string error;
    read = ReadSettingsFile(fileName, lines, error);
    if (read) {
      ApplySettings(lines);  // and revalidates
      return true;
    }
  }
  // Whether or not the file existed or could be read.
  RevalidateAll();
  return read;
}

void ParameterForm::ApplySettings(const std::vector<SettingsLine>& lines) {
  for (const SettingsLine& line : lines) ApplySetting(line.name, line.index, line.value);
  RevalidateAll();
}

bool ParameterForm::ApplySettingsLine(std::string_view line) {
  const std::optional<SettingsLine> parsed = ParseSettingsLine(line);
  return parsed && ApplySetting(parsed->name, parsed->index, parsed->value);
}

// Sets a control as a person's change would, so its click action runs when its state
// changes. A line for a control the window does not have, or for one that is not a
// parameter, changes nothing; so does a state that the control cannot hold.
bool ParameterForm::ApplySetting(std::string_view name, std::int32_t index,
                                 const std::string& value) {
  platform::Control* control = controls_.Find(name, index);
  if (control == nullptr) return false;
  const double number = RoundHalfEven(ReadFieldNumber(value));
  switch (control->Kind()) {
    case ControlKind::kNumberBox:
      control->SetText(value);
      return true;
    case ControlKind::kCheckBox:
      if (number < kLowestCheckValue || number > kHighestCheckValue) return false;
      control->SetValue(static_cast<int>(number));
      return true;
    case ControlKind::kSelectionBox:
      if (number < kLowestListIndex || number > kHighestListIndex) return false;
      control->SetListIndex(static_cast<int>(number));
      return true;
    default:
      return false;
  }
}

void ParameterForm::LoadDefaultSettings() {
  std::error_code status;
  if (useDefaultFile_ && std::filesystem::exists(kDefaultSettingsFile, status))
    LoadSettingsFile(kDefaultSettingsFile);
  SelectFirstItems();
}

void ParameterForm::SelectFirstItems() {
  for (platform::Control& control : controls_.All())
    if (control.Kind() == ControlKind::kSelectionBox && control.ListIndex() == -1)
      control.SetListIndex(0);
}

}  // namespace lorvex::params
