// The text of a settings file (.kst): one line "Name(Index) = value" per parameter control,
// each ending in CR LF. Writing one line, parsing one line, and reading a whole file with a
// bound on the memory and time it may take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"

namespace lorvex::params {

struct SettingsLine {
  std::string name;
  std::int32_t index = 0;
  std::string value;
};

// Limits of the reader. A file written by Save Settings has one short line per parameter
// control (103 lines); these are far above that and only keep a hostile or wrong file from
// exhausting memory or time.
inline constexpr std::size_t kMaxSettingsLineLength = 1024;  // longer lines are cut
inline constexpr std::size_t kMaxSettingsLines = 10000;      // later lines are not read
inline constexpr std::size_t kMaxSettingsBytes = 64u << 20;  // later bytes are not read

// The value a settings file gives a parameter control: a check box's state, a number box's
// text, a selection box's selected item (-1 for none).
std::string SettingsValue(const platform::Control& control);

// "Name(Index) = value" for a check box (its state), number box (its text) or selection
// box (its selected item, -1 for none), without the line end.
std::string FormatSettingsLine(const platform::Control& control);

// The line's name is the text before the first "(", its index the text between the first
// "(" and the first ")" read as a number and rounded half to even, its value the text from
// two characters after the first "=" to the end. A line without "(", ")" or "=", with them
// out of that order, or whose index is not a number, is not a settings line.
std::optional<SettingsLine> ParseSettingsLine(std::string_view line);

// Splits text into lines at CR LF, CR or LF, cuts each line to kMaxSettingsLineLength
// characters, and keeps the settings lines among them (at most kMaxSettingsLines).
class SettingsLineReader {
 public:
  void Feed(std::string_view chunk);
  // Ends the last line (one without a line end).
  void Finish();
  // True once kMaxSettingsLines lines are kept: later text is ignored.
  bool Full() const { return lines_.size() >= kMaxSettingsLines; }
  std::vector<SettingsLine>& Lines() { return lines_; }

 private:
  void EndLine();

  std::vector<SettingsLine> lines_;
  std::string current_;
  bool lineStarted_ = false;
  bool afterCarriageReturn_ = false;
};

std::vector<SettingsLine> ParseSettingsText(std::string_view text);

// Reads a settings file whole. Answers false, with the reason, when it is not a regular
// file or cannot be read; a file beyond kMaxSettingsBytes is read up to that size.
bool ReadSettingsFile(const std::string& fileName, std::vector<SettingsLine>& lines,
                      std::string& error);

}  // namespace lorvex::params
