#include "engine/build_driver.h"

namespace lorvex {

void BuildWorld(BuildContext& context) {
  WorldState& world = context.world;
  context.hooks.ShowStatus("Initializing Environment", "");
  world.CreateInitialMap();
}

}  // namespace lorvex
