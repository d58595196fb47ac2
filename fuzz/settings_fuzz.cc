// Fuzz target: the bytes are a settings file. It is loaded into a fresh window (and so
// revalidated), the window's parameters are saved, and the saved file is loaded into a
// second fresh window; the two windows must hold the same 103 parameter values, but for the
// one edge-option case that ValuesAfterReload describes. Any file must load without a crash,
// and what Save Settings writes must read back as it was.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "params/parameter_window.h"
#include "support/parameter_values.h"

namespace {

namespace fs = std::filesystem;

// One folder per fuzzing process for the two files of an input.
const fs::path& WorkFolder() {
  static const fs::path folder = [] {
    const fs::path path = fs::temp_directory_path() / ("lorvex-settings-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

void WriteBytes(const fs::path& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) Fail("cannot create " + path.string());
  if (size > 0 && std::fwrite(data, 1, size, file) != size) Fail("cannot write " + path.string());
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path input = WorkFolder() / "input.kst";
  const fs::path saved = WorkFolder() / "saved.kst";
  WriteBytes(input, data, size);

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
