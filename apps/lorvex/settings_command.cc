#include "apps/lorvex/settings_command.h"

#include <filesystem>
#include <iostream>

#include "host/cls_build.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_form.h"
#include "params/settings_file.h"

namespace lorvex::cli {

namespace {

constexpr int kDone = 0;
constexpr int kNoRecommendation = 1;
constexpr int kFileError = 2;

// The window applies the default settings file of the current folder whenever it opens; a
// written settings file starts from it too.
bool StartFromDefaultFile(clsBuild& builder, std::string& error) {
  std::error_code status;
  if (!std::filesystem::exists(params::kDefaultSettingsFile, status)) return true;
  const Outcome loaded = builder.LoadSettings(params::kDefaultSettingsFile);
  error = loaded.message;
  return loaded.Ok();
}

// The builder for `settings` and `recommend`: the default file, then the options.
bool Prepare(clsBuild& builder, const SettingsOptions& options) {
  std::string error;
  if (StartFromDefaultFile(builder, error) && ApplySettingsOptions(builder, options, error)) return true;
  std::cerr << "lorvex: " << error << "\n";
  return false;
}

bool Save(const clsBuild& builder, const std::string& file) {
  const Outcome saved = builder.SaveSettings(file);
  if (!saved.Ok()) std::cerr << saved.message << "\n";
  return saved.Ok();
}

}  // namespace

std::string PlainText(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) plain += text[i];
  return plain;
}

bool ApplySettingsOptions(clsBuild& builder, const SettingsOptions& options, std::string& error) {
  if (!options.settingsFile.empty()) {
    const Outcome loaded = builder.LoadSettings(options.settingsFile);
    if (!loaded.Ok()) {
      error = loaded.message;
      return false;
    }
  }
  for (const std::string& line : options.lines) {
    const Outcome set = builder.SetParameterLine(line);
    if (!set.Ok()) {
      error = "--set \"" + line + "\": " + set.message;
      return false;
    }
  }
  return true;
}

namespace {

// A cell of a Markdown table: a "|" would end it.
std::string Cell(std::string_view text) {
  std::string cell;
  for (const char c : text) {
    if (c == '|') cell += '\\';
    cell += c;
  }
  return cell;
}

}  // namespace

std::string CatalogueTable() {
  std::string table = "| Field | Page | Label | Range | Default | Meaning |\n|---|---|---|---|---|---|\n";
  for (const params::ParameterInfo& info : clsBuild::ParameterCatalogue())
    table += "| `" + params::ParameterKey(info) + "` | " + Cell(params::PageCaption(info)) + " | " +
             Cell(info.label) + " | " + Cell(params::RangeText(info)) + " | " + Cell(info.defaultValue) +
             " | " + Cell(info.meaning) + " |\n";
  return table;
}

int RunSettings(const SettingsCommandOptions& options) {
  if (options.list) {
    std::cout << CatalogueTable();
    return kDone;
  }
  clsBuild builder;
  if (!Prepare(builder, options.settings)) return kFileError;
  return Save(builder, options.saveFile) ? kDone : kFileError;
}

int RunRecommend(const SettingsCommandOptions& options) {
  clsBuild builder;
  if (!Prepare(builder, options.settings)) return kFileError;
  if (options.seed) builder.SetNextSeed(*options.seed);
  const Outcome recommended = builder.Recommend(options.width, options.height);
  if (!recommended.Ok()) {
    std::cerr << recommended.message << "\n";
    return kNoRecommendation;
  }
  if (!Save(builder, options.saveFile)) return kFileError;
  std::cout << builder.LandFigure(options.width, options.height) << "\n";
  return kDone;
}

}  // namespace lorvex::cli
