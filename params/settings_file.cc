#include "params/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "common/error_text.h"
#include "common/numbers.h"

namespace lorvex::params {

using platform::ControlKind;

namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// True when the whole text, blanks aside, is one decimal number: a sign, digits with an
// optional fraction, and an optional exponent ("3", " 4 ", "2.5", "1e1").
bool IsNumberText(std::string_view text) {
  std::size_t i = 0, end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < end && IsDigit(text[i])) ++i, ++digits;
  if (i < end && text[i] == '.') {
    ++i;
    while (i < end && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    if (i == end || !IsDigit(text[i])) return false;
    while (i < end && IsDigit(text[i])) ++i;
  }
  return i == end;
}

}  // namespace

std::string SettingsValue(const platform::Control& control) {
  switch (control.Kind()) {
    case ControlKind::kCheckBox: return std::to_string(control.Value());
    case ControlKind::kNumberBox: return control.Text();
    case ControlKind::kSelectionBox: return std::to_string(control.ListIndex());
    default: return "";
  }
}

std::string FormatSettingsLine(const platform::Control& control) {
  return control.Name() + "(" + std::to_string(control.Index()) + ") = " + SettingsValue(control);
}

std::optional<SettingsLine> ParseSettingsLine(std::string_view line) {
  const std::size_t open = line.find('(');
  const std::size_t close = line.find(')');
  const std::size_t equals = line.find('=');
  if (open == std::string_view::npos || close == std::string_view::npos ||
      equals == std::string_view::npos || !(open < close && close < equals))
    return std::nullopt;
  const std::string_view indexText = line.substr(open + 1, close - open - 1);
  if (!IsNumberText(indexText)) return std::nullopt;
  SettingsLine parsed;
  parsed.name.assign(line.substr(0, open));
  parsed.index = ToInt32(ReadFieldNumber(indexText));
  // The value starts after "= "; a line that ends at the "=" or one blank after it has an
  // empty value.
  if (equals + 2 < line.size()) parsed.value.assign(line.substr(equals + 2));
  return parsed;
}

void SettingsLineReader::Feed(std::string_view chunk) {
  for (const char c : chunk) {
    if (Full()) return;
    if (c == '\r') {
      EndLine();
      afterCarriageReturn_ = true;
      continue;
    }
    if (c == '\n') {
      if (!afterCarriageReturn_) EndLine();
      afterCarriageReturn_ = false;
      continue;
    }
    afterCarriageReturn_ = false;
    lineStarted_ = true;
    if (current_.size() < kMaxSettingsLineLength) current_ += c;
  }
}

void SettingsLineReader::Finish() {
  if (lineStarted_) EndLine();
}

void SettingsLineReader::EndLine() {
  if (lineStarted_ && !Full())
    if (std::optional<SettingsLine> parsed = ParseSettingsLine(current_))
      lines_.push_back(std::move(*parsed));
  current_.clear();
  lineStarted_ = false;
}

std::vector<SettingsLine> ParseSettingsText(std::string_view text) {
  SettingsLineReader reader;
  reader.Feed(text);
  reader.Finish();
  return std::move(reader.Lines());
}

bool ReadSettingsFile(const std::string& fileName, std::vector<SettingsLine>& lines,
                      std::string& error) {
  // Only a regular file: a folder, a device or a pipe chosen by mistake could not be read
  // or could be read for ever.
  std::error_code status;
  if (!std::filesystem::is_regular_file(fileName, status)) {
    error = status ? status.message() : "not a regular file";
    return false;
  }
  const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) {
    error = ErrorText(errno);
    return false;
  }
  SettingsLineReader reader;
  char buffer[1 << 16];
  std::size_t total = 0;
  errno = 0;
  while (!reader.Full() && total < kMaxSettingsBytes) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    if (got == 0) break;
    total += got;
    reader.Feed(std::string_view(buffer, got));
  }
  if (std::ferror(file.get()) != 0) {
    error = errno != 0 ? ErrorText(errno) : "read failed";
    return false;
  }
  reader.Finish();
  lines = std::move(reader.Lines());
  return true;
}

}  // namespace lorvex::params
