// Whole builds, placement and the headless yield.
#include <benchmark/benchmark.h>

#include "engine/build_driver.h"
#include "engine/mass_placement.h"
#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

// A default build of 200 x 150, wrapping, watch mode off, through the window's hooks.
void BM_DefaultBuild200x150(benchmark::State& state) {
  std::uint64_t seed = 1;
  for (auto _ : state) {
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    window.World().SetMapSize(200, 150, true);
    window.Form().LoadDefaultSettings();
    window.World().StopRequested = false;
    window.Generator().Seed(seed++);
    const params::ParameterView view(window.Controls());
    BuildContext context{window.World(), view, window.Generator(), window};
    BuildWorld(context);
    benchmark::DoNotOptimize(window.World().WorldMap.Cells().data());
  }
}
BENCHMARK(BM_DefaultBuild200x150)->Unit(benchmark::kMillisecond);

// PlaceMass of a 25 x 25 ringed mass on a map half covered by land.
void BM_PlaceMassHalfFull(benchmark::State& state) {
  WorldState world;
  world.SetMapSize(200, 150, true);
  world.CreateInitialMap();
  for (int y = 1; y < 149; ++y)
    for (int x = 0; x < 200; ++x)
      if ((x / 20 + y / 15) % 2 == 0) world.WorldMap(x, y) = 'C';
  const WorldState start = world;
  Grid<char> grid(25, 25, 'S');
  for (int j = 3; j < 22; ++j)
    for (int i = 3; i < 22; ++i) grid(i, j) = 'C';
  platform::ControlSet controls = params::CreateWindowControls();
  const params::ParameterView view(controls);
  Random random(3);
  SilentHooks hooks;
  for (auto _ : state) {
    state.PauseTiming();
    world = start;
    world.MassTable.assign(1, LandMass{});
    world.StopRequested = false;
    state.ResumeTiming();
    BuildContext context{world, view, random, hooks};
    PlaceMass(context, grid, false, false, 0);
    benchmark::DoNotOptimize(world.MassTable[0].squares);
  }
}
BENCHMARK(BM_PlaceMassHalfFull)->Unit(benchmark::kMicrosecond);

// One yield of the headless window when nothing is queued and the timer is off.
void BM_HeadlessYield(benchmark::State& state) {
  platform::HeadlessPlatform platform;
  ui::frmBuild window(platform);
  for (auto _ : state) window.Yield();
  benchmark::DoNotOptimize(platform.YieldCount());
}
BENCHMARK(BM_HeadlessYield);

}  // namespace
}  // namespace lorvex
