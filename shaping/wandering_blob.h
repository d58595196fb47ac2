// Wandering Blob: a mass grown by a walker that wanders over the canvas, then filled out
// with the growth Stick Blob uses.
#pragma once

#include <cstdint>

#include "world/build_context.h"
#include "shaping/blob_growth.h"
#include "shaping/mass_canvas.h"

namespace lorvex::shaping {

// squares: land squares wanted; pad: sea-border rings; spanX, spanY: the area the mass may
// use; v0..v3: txtBlobv2(0..3): "Percent of Mass [10 - 80]" (share of the squares made by
// wandering), "Erratic/Evenness [3 - 50]" (how many of the newest squares the wandering
// grows from), "Percent of Even Pad [30 - 100]", "Erratic/Evenness of remaining [3 - 50]".
MassGrid MakeWanderingBlob(BuildContext& context, std::int32_t squares, std::int32_t pad,
                           std::int16_t spanX, std::int16_t spanY, std::int16_t v0,
                           std::int16_t v1, std::int16_t v2, std::int16_t v3);

// The wandering stage on a blob canvas that holds the first square: while the mass has no
// more than massPercent % of `squares`, one square grows from the newest wanderWindow.
Growth Wander(BuildContext& context, BlobCanvas& blob, std::int32_t squares,
              std::int16_t massPercent, std::int16_t wanderWindow);

}  // namespace lorvex::shaping
