// TEMPORARY placeholder until the mass canvas lands.
#include "shaping/mass_canvas.h"

namespace lorvex::shaping {

void PadMass(BuildContext&, MassCanvas&, std::int32_t, std::int32_t, std::int16_t) {}

MassGrid CropMass(const MassCanvas& canvas, std::int32_t, std::int32_t) { return canvas; }

}  // namespace lorvex::shaping
