// Fuzz target: the bytes are a settings file. It is loaded into a fresh window (and so
// revalidated), the window's parameters are saved, and the saved file is loaded into a
// second fresh window; the two windows must hold the same 103 parameter values, but for the
// one edge-option case that ValuesAfterReload describes. Any file must load without a crash,
// and what Save Settings writes must read back as it was.
#include <filesystem>
#include <string>

#include "apps/cli_run.h"
#include "params/parameter_window.h"
#include "support/fuzz_input.h"
#include "support/parameter_values.h"

namespace fs = std::filesystem;
using lorvex::fuzzing::Fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path input = lorvex::fuzzing::WorkFolder("settings") / "input.kst";
  const fs::path saved = lorvex::fuzzing::WorkFolder("settings") / "saved.kst";
  lorvex::testing::WriteFile(input, std::string(reinterpret_cast<const char*>(data), size));

  lorvex::checks::ParameterValues first;
  {
    lorvex::params::ParameterWindow window;
    if (!window.form.LoadSettingsFile(input.string())) Fail("a regular file did not load");
    first = lorvex::checks::ReadParameterValues(window.controls);
    std::string error;
    if (!window.form.WriteSettingsFile(saved.string(), error)) Fail("save failed: " + error);
  }
  lorvex::checks::ParameterValues second;
  {
    lorvex::params::ParameterWindow window;
    if (!window.form.LoadSettingsFile(saved.string())) Fail("the saved file did not load");
    second = lorvex::checks::ReadParameterValues(window.controls);
  }
  if (first.size() != 103) Fail("the window has " + std::to_string(first.size()) + " parameter controls");
  const std::string difference =
      lorvex::checks::FirstDifference(lorvex::checks::ValuesAfterReload(first), second);
  if (!difference.empty()) Fail("saved and loaded again, a value changed: " + difference);
  return 0;
}
