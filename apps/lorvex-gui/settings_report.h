// What Load Settings made of a file: the lines a settings file may hold are read as the
// builder reads them, and each is named when it was ignored (not a "Name(Index) = value"
// line, or a field the builder does not have) or when the builder holds another value than
// the file gave (a value out of range corrected, a selection the window refused).
#pragma once

#include <string>
#include <vector>

#include "host/cls_build.h"

namespace lorvex::gui {

struct SettingsReport {
  int applied = 0;                    // lines that set a field as they said
  std::vector<std::string> ignored;   // the lines themselves, shortened
  std::vector<std::string> corrected; // "Name(Index): file value -> value held" (refused or corrected)
};

// Loads `path` into `builder` and reports on every line. False, with `error`, when the file
// cannot be read; nothing is then loaded.
bool LoadSettingsReported(clsBuild& builder, const std::string& path, SettingsReport& report, std::string& error);

// The report for the person: how many settings were taken, and the ignored and corrected
// lines (the first few of each, and how many more).
std::string DescribeReport(const SettingsReport& report);

}  // namespace lorvex::gui
