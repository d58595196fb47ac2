// Stick Blob: a mass grown from a few anchor points joined by sticks of land, then filled
// out round them until it has the squares it was asked for.
#pragma once

#include <cstdint>

#include "world/build_context.h"
#include "shaping/mass_canvas.h"

namespace lorvex::shaping {

// squares: land squares wanted; pad: sea-border rings; spanX, spanY: the area the mass may
// use; numPoints, tightness, evenPad, erratic: txtBlobv3(0..3) ("Number of Points
// [3 - 10]", "Loose/Tightness [15 - 35]", "Percent of Even Pad [30 - 100]",
// "Erratic/Evenness of remaining [3 - 50]").
MassGrid MakeStickBlob(BuildContext& context, std::int32_t squares, std::int32_t pad,
                       std::int16_t spanX, std::int16_t spanY, std::int16_t numPoints,
                       std::int16_t tightness, std::int16_t evenPad, std::int16_t erratic);

// The least spacing of the anchor points on a canvas with upper bounds xMax, yMax:
// Int(((xMax + yMax) - 2 (tightness / 100) (xMax + yMax)) / numPoints), at most 5.
std::int32_t AnchorMinDist(std::int32_t xMax, std::int32_t yMax, std::int16_t tightness,
                           std::int16_t numPoints);

// The anchor points a mass of `squares` gets when numPoints are asked for: one less than a
// fifth of the squares when that is not more than numPoints, and never fewer than one.
// numPoints above 10, the top of its box, counts as 10.
std::int16_t AnchorPointCount(std::int32_t squares, std::int16_t numPoints);

}  // namespace lorvex::shaping
