// Whole builds as the host waits for them (Build pressed to the host's copy made, watch mode
// off), set against their floor: the time to make the same number of draws from the same
// generator plus the time to create and fill the world's grids once. R = build / floor.
// Also the heap a build holds at its peak, placement on a crowded map and the headless
// yield.
//
// Builds and floors are timed in processor time of the building thread (page faults
// included), so that other work on the machine does not stretch them; the wall-clock time of
// the build is given beside it. The cold builds, and every fill of their floor, start from a
// heap handed back to the system (malloc_trim), as in a host that builds a world now and
// then: the pages of the grids are new to the process each time. Otherwise whether a build
// finds them still mapped depends on how the allocations before it happened to fall.
//
// The warm builds are those of a host that builds many worlds in one process (a batch, a
// seed gallery, a server that makes a world per match): a builder's whole Build call, window
// and copy for the host included, one after another with nothing handed back in between, and
// their floor filled in the same warm process.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "bench/heap_meter.h"
#include "common/draw_count.h"
#include "engine/build_driver.h"
#include "engine/mass_placement.h"
#include "engine/world_hash.h"
#include "host/cls_build.h"
#include "params/parameter_form.h"
#include "platform/headless_platform.h"
#include "support/parameter_values.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Processor time of this thread, in seconds.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One build: the map, and the seeds. With a Recommend seed the window's generator is seeded
// with it and Recommend pressed (as `lorvex recommend --seed` does), then the generator is
// seeded with the build seed and Build pressed (as `lorvex build --seed` does).
struct BuildPlan {
  int width, height;
  bool wrap;
  std::optional<std::uint64_t> recommendSeed;
  std::uint64_t buildSeed;
};

// A build makes fewer draws than this by far; the count is replayed, so it is bounded.
constexpr std::uint64_t kMostDraws = 50'000'000'000ULL;

struct BuildOutcome {
  double seconds = 0;        // Build pressed until the host holds its copy, processor time
  double wallSeconds = 0;    // the same in wall-clock time
  std::uint64_t draws = 0;   // draws of the build (Recommend's not counted)
  std::int64_t peakBytes = 0;  // most heap held during the build, above what the window held
  std::uint64_t hash = 0;    // fingerprint of what the host received
};


// The window is created and its parameters set before the clock starts; it is destroyed
// after the clock stops.
BuildOutcome RunBuild(const BuildPlan& plan) {
  platform::HeadlessPlatform platform;
  auto window = std::make_unique<ui::frmBuild>(platform);
  window->SetSeed(plan.buildSeed);
  // As a host's builder does: the world is handed over, not copied.
  window->SetHandOver(true);
  Clock::time_point wallStart;
  double start = 0;
  std::int64_t heldBefore = 0;
  platform.AddModalAction([&](platform::Window& w) {
    auto& form = static_cast<ui::frmBuild&>(w);
    checks::ApplyWindowDefaults(form.Controls());
    if (plan.recommendSeed) {
      form.Generator().Seed(*plan.recommendSeed);
      std::string failure;
      if (!form.Form().Recommend(failure)) std::fprintf(stderr, "%s\n", failure.c_str());
      form.Generator().Seed(plan.buildSeed);
    }
    malloc_trim(0);
    heldBefore = bench::HeapBytes();
    bench::ResetHeapPeak();
    wallStart = Clock::now();
    start = ThreadSeconds();
    form.Controls().At("cmdBuild", 0).Click();
  });
  HostWorld host;
  const bool built = window->GetMap(plan.width, plan.height, plan.wrap, host);
  BuildOutcome outcome;
  outcome.seconds = ThreadSeconds() - start;
  outcome.wallSeconds = Seconds(Clock::now() - wallStart);
  outcome.peakBytes = bench::HeapPeak() - heldBefore;
  if (!built) return outcome;
  outcome.draws = DrawsBetween(Random(plan.buildSeed), window->Generator(), kMostDraws).value_or(0);
  outcome.hash = HostWorldHash(host);
  return outcome;
}

// The time to make `draws` draws from the generator the build used.
double TimeDraws(std::uint64_t seed, std::uint64_t draws) {
  Random random(seed);
  const double start = ThreadSeconds();
  for (std::uint64_t i = 0; i < draws; ++i) benchmark::DoNotOptimize(random.Next());
  return ThreadSeconds() - start;
}

// The time to create the three grids of a fresh world and write its initial map; from a heap
// handed back to the system first unless `warm`.
double TimeFill(int width, int height, bool wrap, bool warm = false) {
  if (!warm) malloc_trim(0);
  const double start = ThreadSeconds();
  {
    WorldState world;
    world.SetMapSize(width, height, wrap);
    world.CreateInitialMap();
    benchmark::DoNotOptimize(world.WorldMap.Cells().data());
    benchmark::DoNotOptimize(world.MassOfSquare.Cells().data());
    benchmark::DoNotOptimize(world.CityOfSquare.Cells().data());
  }
  return ThreadSeconds() - start;
}

void RunBuildBenchmark(benchmark::State& state, const BuildPlan& plan) {
  double build = 0, wall = 0, floor = 0;
  BuildOutcome last;
  std::int64_t peak = 0;
  for (auto _ : state) {
    last = RunBuild(plan);
    state.SetIterationTime(last.seconds);
    // The floor, measured beside every build of the run.
    const double draws = TimeDraws(plan.buildSeed, last.draws);
    const double fill = TimeFill(plan.width, plan.height, plan.wrap);
    build += last.seconds;
    wall += last.wallSeconds;
    floor += draws + fill;
    peak = std::max(peak, last.peakBytes);
  }
  const double iterations = static_cast<double>(state.iterations());
  const double squares = static_cast<double>(plan.width) * plan.height;
  state.counters["draws"] = static_cast<double>(last.draws);
  state.counters["floor_ms"] = floor / iterations * 1e3;
  state.counters["wall_ms"] = wall / iterations * 1e3;
  state.counters["R"] = floor > 0 ? build / floor : 0;
  state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["B/square"] = static_cast<double>(peak) / squares;
  char label[40];
  std::snprintf(label, sizeof label, "world %016llx", static_cast<unsigned long long>(last.hash));
  state.SetLabel(label);
}

// The window's defaults on a 200 x 150 wrapping map.
void BM_Build200x150Default(benchmark::State& state) {
  RunBuildBenchmark(state, {200, 150, true, std::nullopt, 1});
}
BENCHMARK(BM_Build200x150Default)->Unit(benchmark::kMillisecond)->UseManualTime();

// Recommend's land for the size (seed 1), built with seed 1, wrapping.
void BM_Build1000x1000Recommended(benchmark::State& state) {
  RunBuildBenchmark(state, {1000, 1000, true, 1, 1});
}
BENCHMARK(BM_Build1000x1000Recommended)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_Build4096x4096Recommended(benchmark::State& state) {
  RunBuildBenchmark(state, {4096, 4096, true, 1, 1});
}
BENCHMARK(BM_Build4096x4096Recommended)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// Many builds in one process. Each iteration is one world, of the seeds 1, 2, 3, ... in
// turn, so that every repetition builds the same worlds; the time is the host's whole Build
// call (with a fresh builder each time, the builder's creation and parameters too).
struct WarmPlan {
  int width, height;
  bool wrap;
  std::optional<std::uint64_t> recommendSeed;
  bool reuseBuilder;
};

// A builder holding the plan's parameters: nothing but what Recommend writes, if anything.
std::unique_ptr<clsBuild> MakeBuilder(const WarmPlan& plan, const ParameterFields* fields) {
  auto builder = std::make_unique<clsBuild>();
  if (fields != nullptr) {
    builder->SetParameters(*fields);
  } else if (plan.recommendSeed) {
    builder->SetNextSeed(*plan.recommendSeed);
    builder->Recommend(plan.width, plan.height);
  }
  return builder;
}

void RunWarmBenchmark(benchmark::State& state, const WarmPlan& plan) {
  if (std::filesystem::exists(params::kDefaultSettingsFile)) {
    state.SkipWithError("a default settings file in the working folder would change the worlds");
    return;
  }
  std::unique_ptr<clsBuild> builder = MakeBuilder(plan, nullptr);
  const ParameterFields fields = builder->Parameters();
  // The builder's platform: Build is pressed at once, and the generator is kept as the build
  // left it, to count the draws afterwards.
  platform::HeadlessPlatform platform;
  Random after;
  const auto press = [&platform, &after] {
    platform.AddModalAction([&after](platform::Window& w) {
      auto& form = static_cast<ui::frmBuild&>(w);
      form.Controls().At("cmdBuild", 0).Click();
      after = form.Generator();
    });
  };
  // One build first, so that the process has built before the first timed one.
  press();
  builder->SetPlatform(&platform);
  builder->Build(static_cast<std::int16_t>(plan.width), static_cast<std::int16_t>(plan.height), plan.wrap);

  double total = 0, wall = 0, floor = 0, draws = 0;
  std::uint64_t seed = 0;
  for (auto _ : state) {
    ++seed;
    press();
    const Clock::time_point wallStart = Clock::now();
    const double start = ThreadSeconds();
    if (!plan.reuseBuilder) {
      builder = MakeBuilder(plan, &fields);
      builder->SetPlatform(&platform);
    }
    builder->SetNextSeed(seed);
    const bool built = builder->Build(static_cast<std::int16_t>(plan.width),
                                      static_cast<std::int16_t>(plan.height), plan.wrap);
    const double seconds = ThreadSeconds() - start;
    wall += Seconds(Clock::now() - wallStart);
    state.SetIterationTime(seconds);
    if (!built) {
      state.SkipWithError("a build did not complete");
      return;
    }
    const std::uint64_t made = DrawsBetween(Random(seed), after, kMostDraws).value_or(0);
    total += seconds;
    draws += static_cast<double>(made);
    floor += TimeDraws(seed, made) + TimeFill(plan.width, plan.height, plan.wrap, true);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["draws"] = draws / iterations;
  state.counters["floor_ms"] = floor / iterations * 1e3;
  state.counters["wall_ms"] = wall / iterations * 1e3;
  state.counters["R"] = floor > 0 ? total / floor : 0;
}

// Registered from a table: the name, the plan and the number of worlds timed.
const bool kWarmBenchmarksRegistered = [] {
  struct WarmRow {
    const char* name;
    WarmPlan plan;
    int worlds;
  };
  const WarmRow rows[] = {
      {"BM_Build200x150DefaultWarmReusedBuilder", {200, 150, true, std::nullopt, true}, 200},
      {"BM_Build200x150DefaultWarmFreshBuilder", {200, 150, true, std::nullopt, false}, 200},
      {"BM_Build1000x1000RecommendedWarmReusedBuilder", {1000, 1000, true, 1, true}, 10},
      {"BM_Build1000x1000RecommendedWarmFreshBuilder", {1000, 1000, true, 1, false}, 10},
  };
  for (const WarmRow& row : rows)
    benchmark::RegisterBenchmark(row.name, [plan = row.plan](benchmark::State& state) {
      RunWarmBenchmark(state, plan);
    })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(row.worlds);
  return true;
}();

// The two parts of the floor on their own: one draw, and the grids of a world.
void BM_RandomNext(benchmark::State& state) {
  Random random(1);
  for (auto _ : state) benchmark::DoNotOptimize(random.Next());
}
BENCHMARK(BM_RandomNext);

void BM_CreateWorldGrids(benchmark::State& state) {
  const auto side = static_cast<int>(state.range(0));
  for (auto _ : state) state.SetIterationTime(TimeFill(side, side, true));
  state.counters["B/square"] = 9;
}
BENCHMARK(BM_CreateWorldGrids)
    ->Arg(1000)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

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
