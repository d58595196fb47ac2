#include "apps/lorvex-gui/settings_report.h"

#include <fstream>
#include <iterator>
#include <map>

#include "params/settings_file.h"

namespace lorvex::gui {

namespace {

constexpr std::size_t kMostNamed = 5;        // lines named in the report, of each kind
constexpr std::size_t kMostQuoted = 40;      // characters of a line quoted back

std::string Quoted(const std::string& line) {
  std::string shown;
  for (const char c : line.substr(0, kMostQuoted))
    shown += static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F ? c : '?';
  return "\"" + shown + (line.size() > kMostQuoted ? "...\"" : "\"");
}

// The file's lines as the reader splits them (CR LF, CR or LF), the empty ones left out.
std::vector<std::string> RawLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (!current.empty()) lines.push_back(current);
      current.clear();
      if (lines.size() >= params::kMaxSettingsLines) return lines;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

void AddList(std::string& text, const char* heading, const std::vector<std::string>& items) {
  if (items.empty()) return;
  text += "\n" + std::to_string(items.size()) + heading;
  for (std::size_t i = 0; i < items.size() && i < kMostNamed; ++i) text += "\n  " + items[i];
  if (items.size() > kMostNamed) text += "\n  and " + std::to_string(items.size() - kMostNamed) + " more";
}

}  // namespace

bool LoadSettingsReported(clsBuild& builder, const std::string& path, SettingsReport& report, std::string& error) {
  report = {};
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string text;
  text.resize(params::kMaxSettingsBytes);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  const Outcome loaded = builder.LoadSettings(path);
  if (!loaded.Ok()) {
    error = loaded.message;
    return false;
  }
  // The last line for a field is the one that counts.
  std::map<std::string, std::string> last;
  std::vector<std::string> order;
  for (std::string line : RawLines(text)) {
    if (line.size() > params::kMaxSettingsLineLength) line.resize(params::kMaxSettingsLineLength);
    const std::optional<params::SettingsLine> parsed = params::ParseSettingsLine(line);
    std::string value;
    const std::string key = parsed ? parsed->name + "(" + std::to_string(parsed->index) + ")" : std::string();
    if (!parsed || !builder.GetParameter(key, value).Ok()) {
      report.ignored.push_back(Quoted(line));
      continue;
    }
    if (last.find(key) == last.end()) order.push_back(key);
    last[key] = parsed->value;
  }
  for (const std::string& key : order) {
    std::string held;
    builder.GetParameter(key, held);
    if (held == last[key])
      ++report.applied;
    else
      report.corrected.push_back(key + ": " + Quoted(last[key]) + " -> " + Quoted(held));
  }
  return true;
}

std::string DescribeReport(const SettingsReport& report) {
  std::string text = std::to_string(report.applied) + (report.applied == 1 ? " setting" : " settings") + " taken as written";
  AddList(text, report.ignored.size() == 1 ? " line ignored:" : " lines ignored:", report.ignored);
  AddList(text, report.corrected.size() == 1 ? " setting not taken as written (file -> held):"
                                              : " settings not taken as written (file -> held):",
          report.corrected);
  return text;
}

}  // namespace lorvex::gui
