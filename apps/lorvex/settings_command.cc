#include "apps/lorvex/settings_command.h"

#include <functional>
#include <iostream>

#include "host/cls_build.h"
#include "params/settings_file.h"
#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex::cli {

namespace {

constexpr int kDone = 0;
constexpr int kNoRecommendation = 1;
constexpr int kFileError = 2;

void PrintMessage(const platform::ShownMessage& message) {
  std::cerr << PlainText(message.text) << "\n";
}

void PrintNotes(const std::vector<std::string>& notes) {
  for (const std::string& note : notes) std::cerr << "lorvex: " << note << "\n";
}

// Opens the window for a map of the given size (its default settings file applied, as
// always), runs `work` on it, and closes it without building. Answers whether the window
// opened and `work` ran to its end.
bool WithOpenWindow(platform::HeadlessPlatform& platform, int width, int height,
                    std::optional<std::uint64_t> seed,
                    const std::function<void(ui::frmBuild&)>& work) {
  platform.OnMessage(PrintMessage);
  bool ran = false;
  platform.AddModalAction([&](platform::Window& w) {
    auto& window = static_cast<ui::frmBuild&>(w);
    work(window);
    ran = true;
    window.Controls().At("cmdCancel", 0).Click();
  });
  clsBuild host(platform);
  if (seed) host.SetNextSeed(*seed);
  host.Build(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height), false);
  if (!ran) std::cerr << "lorvex: the parameters window did not open\n";
  return ran;
}

// Saves the window's parameters to FILE through the Save Settings dialog; a failure has
// already been told by the window's message box.
bool SaveThroughDialog(ui::frmBuild& window, platform::HeadlessPlatform& platform,
                       const std::string& file) {
  platform.QueueFileAnswer(file);
  return window.Form().SaveSettings();
}

}  // namespace

std::string PlainText(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) plain += text[i];
  return plain;
}

bool CheckSettingsFile(const SettingsOptions& options, std::string& error) {
  if (options.settingsFile.empty()) return true;
  // The window treats a missing file as nothing to load; here it is an error, so the file
  // is read once first to tell why it cannot be used.
  std::vector<params::SettingsLine> lines;
  std::string reason;
  if (params::ReadSettingsFile(options.settingsFile, lines, reason)) return true;
  error = "cannot read settings file " + options.settingsFile + ": " + reason;
  return false;
}

bool ApplySettingsOptions(ui::frmBuild& window, platform::HeadlessPlatform& platform,
                          const SettingsOptions& options, std::string& error,
                          std::vector<std::string>& notes) {
  params::ParameterForm& form = window.Form();
  if (!options.settingsFile.empty()) {
    if (!CheckSettingsFile(options, error)) return false;
    platform.QueueFileAnswer(options.settingsFile);
    if (!form.LoadSettings()) {
      error = "cannot read settings file " + options.settingsFile;
      return false;
    }
  }
  for (const std::string& line : options.lines)
    if (!form.ApplySettingsLine(line))
      notes.push_back("--set \"" + line + "\" matches no field; ignored");
  form.RevalidateAll();
  return true;
}

namespace {

// Applies --settings and --set to the open window, printing what the person should know;
// answers false, with the message printed, when the settings file cannot be used.
bool ApplyAndReport(ui::frmBuild& window, platform::HeadlessPlatform& platform,
                    const SettingsOptions& settings) {
  std::string error;
  std::vector<std::string> notes;
  const bool applied = ApplySettingsOptions(window, platform, settings, error, notes);
  PrintNotes(notes);
  if (!applied) std::cerr << "lorvex: " << error << "\n";
  return applied;
}

}  // namespace

int RunSettings(const SettingsCommandOptions& options) {
  platform::HeadlessPlatform platform;
  int status = kDone;
  const bool ran = WithOpenWindow(platform, options.width, options.height, std::nullopt, [&](ui::frmBuild& window) {
    if (!ApplyAndReport(window, platform, options.settings) ||
        !SaveThroughDialog(window, platform, options.saveFile))
      status = kFileError;
  });
  return ran ? status : kFileError;
}

int RunRecommend(const SettingsCommandOptions& options) {
  platform::HeadlessPlatform platform;
  int status = kDone;
  const bool ran = WithOpenWindow(platform, options.width, options.height, options.seed, [&](ui::frmBuild& window) {
    if (!ApplyAndReport(window, platform, options.settings)) {
      status = kFileError;
    } else if (!window.Form().cmdDefaults_Click()) {
      status = kNoRecommendation;  // the window's message is already printed
    } else if (!SaveThroughDialog(window, platform, options.saveFile)) {
      status = kFileError;
    } else {
      std::cout << window.StatusBar().Panel(params::kLandFigurePanel).text << "\n";
    }
  });
  return ran ? status : kFileError;
}

}  // namespace lorvex::cli
