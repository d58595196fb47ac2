// Everything one engine routine needs outside a window, for the tests and the benchmarks: a
// world with a build under way, the window's default parameters, a generator and hooks.
#pragma once

#include <cstdint>

#include "common/random.h"
#include "params/build_parameters.h"
#include "world/build_context.h"

namespace lorvex::checks {

template <typename Hooks = SilentHooks>
struct EngineRig {
  explicit EngineRig(std::uint64_t seed = 1) : controls(params::CreateWindowControls()), view(controls), random(seed) {
    world.StopRequested = false;
  }
  BuildContext Context() { return BuildContext{world, view, random, hooks}; }

  WorldState world;
  platform::ControlSet controls;
  params::ParameterView view;
  Random random;
  Hooks hooks;
};

}  // namespace lorvex::checks
