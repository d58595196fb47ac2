// TEMPORARY placeholder until the algorithm lands: a single square of land.
#include "shaping/shapes.h"

namespace lorvex::shaping {

MassGrid MakeShapeMass(BuildContext&, std::int32_t, std::int32_t, std::int32_t, float,
                       std::int32_t) {
  return MassGrid(1, 1, kLand);
}

}  // namespace lorvex::shaping
