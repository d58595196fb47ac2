#include "world/build_context.h"

namespace lorvex {

namespace {
constexpr int kWatchPauseTicks = 31;
// Longest wait for one tick, in clock seconds; a tick normally comes after 20 ms.
constexpr double kLongestTickWait = 1.0;
// Yields to wait at most when the clock stands still (a clock that never moves).
constexpr long long kMostYieldsPerTick = 1'000'000;
}  // namespace

void PauseOneTick(WorldState& world, BuildHooks& hooks) {
  world.PauseActive = true;
  hooks.EnablePauseTimer();
  const double start = hooks.Clock();
  for (long long yields = 0; world.PauseActive && yields < kMostYieldsPerTick; ++yields) {
    hooks.Yield();
    const double now = hooks.Clock();
    // A wait past the bound, or a clock that went back over midnight, ends the pause.
    if (now - start > kLongestTickWait || now < start) break;
  }
  world.PauseActive = false;
}

void WatchPause(BuildContext& context) {
  if (!context.world.WatchMode) return;
  for (int i = 0; i < kWatchPauseTicks; ++i) PauseOneTick(context.world, context.hooks);
}

void ClearTrail(WorldState& world) {
  if (!world.WatchMode) return;
  world.PauseActive = false;
  world.WatchTrail.fill(TrailSlot{});
  world.PadTrail.fill(TrailSlot{});
}

}  // namespace lorvex
