// Settings on the command line, through the same buttons a person presses in the window:
// the --settings and --set options of `build`, `settings` and `recommend`, and the two
// commands `lorvex settings` (write a settings file) and `lorvex recommend` (press
// Recommend for a map size and write the result).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvex::platform {
class HeadlessPlatform;
}
namespace lorvex::ui {
class frmBuild;
}

namespace lorvex::cli {

struct SettingsOptions {
  std::string settingsFile;        // loaded as Load Settings loads it
  std::vector<std::string> lines;  // each applied as one line of a settings file
};

// A message box's text with the window's CRLF line breaks made plain line breaks.
std::string PlainText(std::string_view text);

// Checks that the --settings file can be read, so that a batch can refuse it before it
// builds anything. Answers false with the reason.
bool CheckSettingsFile(const SettingsOptions& options, std::string& error);

// Applies the options to an open window: Load Settings with FILE chosen in its dialog, then
// every --set line, then the fields revalidated. Answers false, with the reason, when the
// settings file cannot be read (no field is changed then). A --set line that matches no
// field is skipped and a note saying so is added to `notes`.
bool ApplySettingsOptions(ui::frmBuild& window, platform::HeadlessPlatform& platform,
                          const SettingsOptions& options, std::string& error,
                          std::vector<std::string>& notes);

struct SettingsCommandOptions {
  int width = 100;
  int height = 60;
  std::optional<std::uint64_t> seed;  // recommend only
  SettingsOptions settings;
  std::string saveFile;
};

// `lorvex settings`. Exit status: 0 written, 2 a file could not be read or written.
int RunSettings(const SettingsCommandOptions& options);
// `lorvex recommend`. Exit status: 0 written, 1 no recommendation found, 2 a file could
// not be read or written.
int RunRecommend(const SettingsCommandOptions& options);

}  // namespace lorvex::cli
