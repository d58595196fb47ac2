// Settings on the command line, through the builder's own calls (the same a host game
// makes): the --settings and --set options of `build`, `settings` and `recommend`, and the
// two commands `lorvex settings` (write a settings file) and `lorvex recommend` (press
// Recommend for a map size and write the result).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvex {
class clsBuild;
}

namespace lorvex::cli {

struct SettingsOptions {
  std::string settingsFile;        // loaded as Load Settings loads it
  std::vector<std::string> lines;  // each "Name(Index) = value", set as a host sets a field
};

// A message box's text with the window's CRLF line breaks made plain line breaks.
std::string PlainText(std::string_view text);

// Gives the builder the options' parameters: the settings file loaded, then each --set line
// set as lorvex_set_parameter sets a field (held to its range at once). Answers false, with
// the reason, when the file cannot be read, a line is not "Name(Index) = value" or names no
// field, or a value cannot be held; the builder may then hold part of them.
bool ApplySettingsOptions(clsBuild& builder, const SettingsOptions& options, std::string& error);

struct SettingsCommandOptions {
  int width = 100;
  int height = 60;
  std::optional<std::uint64_t> seed;  // recommend only
  SettingsOptions settings;
  std::string saveFile;
  bool list = false;  // settings only: print the catalogue of the fields instead
};

// What `lorvex settings --list` prints: the catalogue of the 103 fields as a Markdown table
// (field, page, label, range, default, meaning), one row a field in the window's order.
std::string CatalogueTable();

// `lorvex settings`. Exit status: 0 written (or listed), 2 a file could not be read or
// written, or a --set line that names no field.
int RunSettings(const SettingsCommandOptions& options);
// `lorvex recommend`. Exit status: 0 written, 1 no recommendation found, 2 as `settings`.
int RunRecommend(const SettingsCommandOptions& options);

}  // namespace lorvex::cli
