// Shapes: a mass drawn as one of 24 geometric figures in one of eight orientations, then
// grown out to the squares it was asked for.
#pragma once

#include <cstdint>

#include "engine/build_context.h"
#include "shaping/mass_canvas.h"

namespace lorvex::shaping {

// squares: land squares wanted; shape 0..23; orientation 0..7 (other values are drawn
// afresh); percent: the figure's share of the squares (outside 0.5 .. 1 it is 0.7);
// pad: sea-border rings and canvas margin.
MassGrid MakeShapeMass(BuildContext& context, std::int32_t squares, std::int32_t shape,
                       std::int32_t orientation, float percent, std::int32_t pad);

}  // namespace lorvex::shaping
