// Wandering Blob: a mass grown by a walker that wanders over the canvas, then filled out
// with the growth Stick Blob uses.
#pragma once

#include <cstdint>

#include "engine/build_context.h"
#include "shaping/mass_canvas.h"

namespace lorvex::shaping {

// squares: land squares wanted; pad: sea-border rings; spanX, spanY: the area the mass may
// use; v0..v3: txtBlobv2(0..3).
MassGrid MakeWanderingBlob(BuildContext& context, std::int32_t squares, std::int32_t pad,
                           std::int16_t spanX, std::int16_t spanY, std::int16_t v0,
                           std::int16_t v1, std::int16_t v2, std::int16_t v3);

}  // namespace lorvex::shaping
