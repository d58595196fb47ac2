// `lorvex build`: one world through the component, written out in the asked formats, or a
// batch of worlds of consecutive seeds built side by side into one folder.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apps/lorvex/settings_command.h"
#include "common/world_key.h"
#include "engine/host_world.h"
#include "export/world_formats.h"

namespace lorvex::cli {

// The largest batch: its index is held in memory until every world is done.
inline constexpr int kMaxBatchCount = 100000;
// The most build threads a batch starts.
inline constexpr int kMaxBatchJobs = 256;

struct BuildOptions {
  int width = 0;
  int height = 0;
  bool wrap = false;
  std::optional<std::uint64_t> seed;  // the first seed of a batch
  std::uint64_t draws = 0;            // the draws of the key given with the seed (every world's)
  bool yes = false;
  std::string textFile, pngFile, jsonFile, tmxFile, freecivFile;
  int scale = 4;
  int freecivPlayers = exporting::kFreecivDefaultPlayers;  // start positions of a Freeciv scenario
  bool quiet = false;
  SettingsOptions settings;  // the builder's parameters, applied after the default file

  // A batch: count worlds of seeds seed, seed + 1, ... into the folder outDir.
  int count = 0;  // 0: one world, written to the files above
  std::string outDir;
  std::vector<std::string> formats = {"png", "json"};  // names of exporting::Formats()
  int jobs = 0;                                        // 0: one thread per core
};

// One world built the way the command line builds it: the window opened headless with the
// builder's parameters, Build pressed.
struct BuiltWorld {
  bool built = false;
  int status = 0;     // an exit status: 0 built, 1 refused
  std::string error;  // why not, when status is not 0
  WorldKey key;
  HostWorld world;
};

// Called with each message box text the window shows, its CRLFs made plain line breaks.
using MessageSink = std::function<void(const std::string& text)>;

// Builds one world with the builder's parameters. The window's message boxes go to
// `onMessage`; with `showProgress`, a progress bar is drawn on standard error while the
// build runs (when that is a terminal).
BuiltWorld BuildOneWorld(clsBuild& builder, const BuildOptions& options,
                         std::optional<std::uint64_t> seed, const MessageSink& onMessage,
                         bool showProgress);

// What the writers are given of a built world.
exporting::WorldToWrite ToWrite(const BuiltWorld& built, const BuildOptions& options);

// The first format asked for that cannot hold a map of the options' size, with the reason,
// so that the command refuses before it builds anything.
bool FormatsFit(const BuildOptions& options, std::string& error);
// Whether every format asked for can hold the built world (a Freeciv scenario needs land);
// checked before any file of the world is written.
bool FormatsHold(const BuildOptions& options, const HostWorld& world, std::string& error);

// The one-line summary of a built world: seed, size, land, masses and cities.
std::string WorldSummaryLine(const BuiltWorld& built, bool wrap);

// One world. Exit status: 0 built, 1 the window refused to build (its message says why),
// 2 a file could not be read or written.
int RunBuild(const BuildOptions& options);

}  // namespace lorvex::cli
