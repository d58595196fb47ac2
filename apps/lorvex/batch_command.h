// `lorvex build --count N --out DIR`: N worlds of the seeds S, S + 1, ... built side by side,
// one build per thread, each in its own window with its own platform and generator,
// written as DIR/world-SEED.EXT in every asked format, with DIR/index.json listing them.
#pragma once

#include "apps/lorvex/build_command.h"

namespace lorvex::cli {

// Exit status: 0 every world built and written; 1 no file could be written but some world
// was refused by the window (its message says why); 2 the folder or the settings file
// cannot be used, or some world's file or the index could not be written. The other worlds
// are finished first either way.
int RunBatch(const BuildOptions& options);

// The file of the world of `seed` in the batch's folder in one format ("world-SEED.EXT").
std::string BatchFileName(const WorldKey& key, const exporting::FormatEntry& format);

}  // namespace lorvex::cli
