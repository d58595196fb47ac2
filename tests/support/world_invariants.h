// Checks that hold for every world a build leaves behind, finished or stopped: the border
// untouched, every land square counted by its land mass, cities on land and never touching,
// city values in range. Shared by the tests, the stress test and the fuzz targets.
#pragma once

#include <string>

#include "world/world_state.h"

namespace lorvex::checks {

struct InvariantOptions {
  // Large masses spaced evenly may write over earlier land, still counted in its row: the counts
  // are then an upper bound (always so on a wrapping map, where a mass may overlap itself).
  bool evenSpacing = false;
  // Production bounds (the fields' Lo and Hi, in percent of 10).
  int productionMin = 0;
  int productionMax = 32767;
};

// The first broken rule, or "" when the world is sound.
std::string CheckWorld(const WorldState& world, const InvariantOptions& options = {});

}  // namespace lorvex::checks
