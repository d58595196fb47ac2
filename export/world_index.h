// The index of a batch of worlds, DIR/index.json: what each seed built and which files hold
// it, so that a game or a script can pick worlds without opening them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/world_export.h"

namespace lorvex::exporting {

// One world of the batch. A world that was not built, or whose files could not all be
// written, carries the reason in `error`; `summary` is meaningful only when `built`.
struct IndexEntry {
  std::uint64_t seed = 0;
  std::uint64_t draws = 0;  // with the seed, the world's key
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool wrap = false;
  bool built = false;
  WorldSummary summary;
  std::vector<std::string> files;  // names within the batch's folder, as written
  std::string error;
};

// {"generator": "Lorvex 1.1.3", "count": N, "worlds": [{"seed", "key", "width", "height", "wrap",
//  "land", "masses": {"large", "medium", "small", "tinyIslandSquares"}, "cities",
//  "files": [...]}, ...]}, the worlds in the order given; a failed world has "error" and,
// when it was not built, no figures.
std::string WorldIndexJson(const std::vector<IndexEntry>& entries);

}  // namespace lorvex::exporting
