// Stick Blob: a mass grown from a few anchor points joined by sticks of land, then filled
// out round them until it has the squares it was asked for.
#pragma once

#include <cstdint>

#include "engine/build_context.h"
#include "shaping/mass_canvas.h"

namespace lorvex::shaping {

// squares: land squares wanted; pad: sea-border rings; spanX, spanY: the area the mass may
// use; numPoints, tightness, evenPad, erratic: txtBlobv3(0..3).
MassGrid MakeStickBlob(BuildContext& context, std::int32_t squares, std::int32_t pad,
                       std::int16_t spanX, std::int16_t spanY, std::int16_t numPoints,
                       std::int16_t tightness, std::int16_t evenPad, std::int16_t erratic);

}  // namespace lorvex::shaping
