// TEMPORARY placeholder until the algorithm lands: a single square of land.
#include "shaping/wandering_blob.h"

namespace lorvex::shaping {

MassGrid MakeWanderingBlob(BuildContext&, std::int32_t, std::int32_t, std::int16_t, std::int16_t,
             std::int16_t, std::int16_t, std::int16_t, std::int16_t) {
  return MassGrid(1, 1, kLand);
}

}  // namespace lorvex::shaping
