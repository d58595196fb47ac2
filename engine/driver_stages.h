// The last two steps of a build as the driver runs them: the draws that turn the Terrain
// and Cities pages into the arguments of PlaceTerrain and PlaceCities, in the driver's
// draw order, and the calls.
#pragma once

#include "world/build_context.h"

namespace lorvex {

// Four draws (Rivers, Forest, Rough, Mountains), the four fractions, PlaceTerrain.
void RunTerrainStage(BuildContext& context);
// The placement mode from cboPlacement(0), the coastal then the specialty draw, and one
// PlaceCities call; an unknown placement index places no cities.
void RunCityStage(BuildContext& context);

}  // namespace lorvex
