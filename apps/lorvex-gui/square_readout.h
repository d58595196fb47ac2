// What the status line says of the square under the pointer: its position, its terrain by
// the palette's name, the land mass it belongs to and, on a city, the city's values.
#pragma once

#include <string>

#include "engine/host_world.h"

namespace lorvex::gui {

// "x 12, y 40: forest, land mass 3 of 31 (Large, 512 squares)"; on a city also
// "; city 17: production 120, specialty 12, owner 0". Land masses are numbered from 1 in
// the order the build made them; cities by their ordinal as the host reads them (from 0).
// Empty off the map.
std::string SquareReadout(const HostWorld& world, int x, int y);

}  // namespace lorvex::gui
