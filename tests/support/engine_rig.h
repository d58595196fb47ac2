// Everything one engine routine needs outside a window, for the tests and the benchmarks: a
// world with a build under way (StopRequested false), the window's default parameters, a
// generator and hooks. Hooks is SilentHooks or a kind of it that takes the world (to stop the
// build at a chosen point, say).
#pragma once

#include <cstdint>
#include <type_traits>

#include "common/random.h"
#include "world/build_context.h"
#include "params/build_parameters.h"

namespace lorvex::checks {

template <typename Hooks = SilentHooks>
struct EngineRig {
  explicit EngineRig(std::uint64_t seed = 1)
      : controls(params::CreateWindowControls()), view(controls), random(seed), hooks(MakeHooks(world)) {
    world.StopRequested = false;
  }
  BuildContext Context() { return BuildContext{world, view, random, hooks}; }

  WorldState world;
  platform::ControlSet controls;
  params::ParameterView view;
  Random random;
  Hooks hooks;

 private:
  static Hooks MakeHooks(WorldState& world) {
    if constexpr (std::is_constructible_v<Hooks, WorldState&>)
      return Hooks(world);
    else
      return Hooks();
  }
};

}  // namespace lorvex::checks
