// `lorvex build`: one world through the component, written out in the asked formats.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "apps/lorvex/settings_command.h"

namespace lorvex::cli {

struct BuildOptions {
  int width = 0;
  int height = 0;
  bool wrap = false;
  std::optional<std::uint64_t> seed;
  bool yes = false;
  std::string textFile, pngFile, jsonFile, tmxFile;
  int scale = 4;
  bool quiet = false;
  SettingsOptions settings;  // applied after the window opens, before Build is pressed
};

// Exit status: 0 built, 1 the window refused to build (its message says why), 2 a file
// could not be read or written.
int RunBuild(const BuildOptions& options);

}  // namespace lorvex::cli
