// TEMPORARY placeholder until terrain and cities land.
#include "engine/driver_stages.h"

namespace lorvex {

void RunTerrainStage(BuildContext&) {}
void RunCityStage(BuildContext&) {}

}  // namespace lorvex
