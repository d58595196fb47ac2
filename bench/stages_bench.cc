// The terrain and city stages on a 1000 x 1000 world with about a quarter of it land in a few
// hundred masses, built here without the shapers so the figures are the stages' own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "params/build_parameters.h"
#include "stages/cities.h"
#include "stages/terrain.h"
#include "support/engine_rig.h"

namespace lorvex {
namespace {

constexpr int kSide = 1000;

// Stamps an elliptical mass of about `area` squares where it keeps one square of sea round
// it; answers the squares written.
int StampMass(WorldState& world, Random& random, int area, std::int32_t row) {
  const double aspect = 0.5 + 1.5 * random.Next();
  const double rx = std::max(0.5, std::sqrt(area * aspect / 3.14159265));
  const double ry = std::max(0.5, area / (3.14159265 * rx));
  const int hx = static_cast<int>(std::ceil(rx)), hy = static_cast<int>(std::ceil(ry));
  for (int attempt = 0; attempt < 200; ++attempt) {
    const int cx = static_cast<int>(random.DrawInt(hx + 2, kSide - hx - 3));
    const int cy = static_cast<int>(random.DrawInt(hy + 2, kSide - hy - 3));
    bool free = true;
    for (int y = cy - hy - 1; free && y <= cy + hy + 1; ++y)
      for (int x = cx - hx - 1; free && x <= cx + hx + 1; ++x) free = world.WorldMap(x, y) == 'S';
    if (!free) continue;
    int written = 0;
    for (int y = cy - hy; y <= cy + hy; ++y)
      for (int x = cx - hx; x <= cx + hx; ++x) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        if (dx * dx + dy * dy > 1.0 && !(x == cx && y == cy)) continue;
        world.WorldMap(x, y) = 'C';
        world.MassOfSquare(x, y) = row;
        ++written;
      }
    return written;
  }
  return 0;
}

// 8 Large, 40 Medium and 160 Small masses and a row of tiny islands: about 25 % land.
WorldState MakeWorld() {
  WorldState world;
  world.SetMapSize(kSide, kSide, false);
  world.CreateInitialMap();
  Random random(2024);
  const struct {
    std::int16_t sizeClass;
    int count, lo, hi;
  } classes[] = {{kLarge, 8, 7000, 9000}, {kMedium, 40, 2000, 3000}, {kSmall, 160, 300, 700}};
  for (const auto& c : classes)
    for (int m = 0; m < c.count; ++m) {
      const auto row = static_cast<std::int32_t>(world.MassTable.size());
      world.MassTable.push_back({c.sizeClass, 0});
      const int area = static_cast<int>(random.DrawInt(c.lo, c.hi));
      world.MassTable.back().squares =
          static_cast<std::int16_t>(StampMass(world, random, area, row));
    }
  const auto tinyRow = static_cast<std::int32_t>(world.MassTable.size());
  world.MassTable.push_back({kTinyIslands, 0});
  int tiny = 0;
  for (int i = 0; i < 2000; ++i)
    tiny += StampMass(world, random, static_cast<int>(random.DrawInt(1, 9)), tinyRow);
  world.MassTable.back().squares = static_cast<std::int16_t>(std::min(tiny, 32767));
  return world;
}

// The world is built once; every iteration starts from a fresh copy of it.
const WorldState& StartWorld() {
  static const WorldState world = MakeWorld();
  return world;
}

using StageRun = checks::EngineRig<>;

long long LandOf(const WorldState& world) {
  long long land = 0;
  for (char c : world.WorldMap.Cells()) land += IsLand(c) ? 1 : 0;
  return land;
}

// PlaceTerrain with every share at range(0) percent (7 is the middle of the default 5 .. 10;
// 30 is capped to about 17.7).
void BM_PlaceTerrain(benchmark::State& state) {
  StageRun run;
  const float share = static_cast<float>(state.range(0)) / 100.0f;
  std::uint64_t seed = 1;
  std::size_t clusters = 0;
  for (auto _ : state) {
    state.PauseTiming();
    run.world = StartWorld();
    run.random.Seed(seed++);
    stages::TerrainLog log;
    state.ResumeTiming();
    BuildContext context = run.Context();
    stages::PlaceTerrain(context, share, share, share, share, &log);
    clusters = log.clusters.size() + log.rivers.size();
    benchmark::DoNotOptimize(run.world.WorldMap.Cells().data());
  }
  state.counters["land"] = static_cast<double>(LandOf(StartWorld()));
  state.counters["clusters"] = static_cast<double>(clusters);
}
BENCHMARK(BM_PlaceTerrain)->Arg(7)->Arg(30)->Unit(benchmark::kMillisecond);

// The 17 x 17 land count alone, once per cluster start on land; the map's land is taken
// once per terrain stage.
void BM_CountLandWindow(benchmark::State& state) {
  const WorldState& world = StartWorld();
  std::int32_t x = 500, y = 500;
  for (; y < kSide - 1 && !IsLand(world.WorldMap(x, y)); ++y) {}
  const stages::LandWindowCounter counter(world);
  for (auto _ : state) benchmark::DoNotOptimize(counter.Count(x, y));
}
BENCHMARK(BM_CountLandWindow);

void BM_TakeLandBits(benchmark::State& state) {
  const WorldState& world = StartWorld();
  for (auto _ : state) benchmark::DoNotOptimize(stages::LandWindowCounter(world));
}
BENCHMARK(BM_TakeLandBits)->Unit(benchmark::kMicrosecond);

// PlaceCities: mode, size option, number rule, count mode.
void BM_PlaceCities(benchmark::State& state) {
  const char modes[] = {'R', 'P', 'E', 'E'};
  const char rules[] = {'P', 'P', 'N', 'P'};
  const char counts[] = {'N', 'N', 'N', 'M'};
  const auto which = static_cast<std::size_t>(state.range(0));
  const char mode = modes[which];
  StageRun run;
  std::uint64_t seed = 1;
  std::size_t cities = 0;
  for (auto _ : state) {
    state.PauseTiming();
    run.world = StartWorld();
    run.random.Seed(seed++);
    state.ResumeTiming();
    BuildContext context = run.Context();
    stages::PlaceCities(context, 150, 100, counts[which], 65, 75, 200, 15, mode,
                        mode == 'R' ? std::int16_t{-1} : std::int16_t{2}, rules[which], 35, 25, 20,
                        20);
    cities = run.world.CityProduction.size();
    benchmark::DoNotOptimize(run.world.CityProduction.data());
  }
  state.counters["planned"] = static_cast<double>(cities);
  state.SetLabel(std::string(1, mode) + " " + rules[which] + " " + counts[which]);
}
BENCHMARK(BM_PlaceCities)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The bucket lists from one scan, and for comparison from one scan per bucket.
void BM_CityBucketsOneScan(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(stages::CollectCityBuckets(StartWorld(), 2));
}
BENCHMARK(BM_CityBucketsOneScan)->Unit(benchmark::kMillisecond);

void BM_CityBucketsScanPerBucket(benchmark::State& state) {
  const WorldState& world = StartWorld();
  const auto masses = static_cast<std::int32_t>(world.MassTable.size());
  for (auto _ : state) {
    std::vector<stages::CityBucket> buckets(static_cast<std::size_t>(masses));
    for (std::int32_t m = 0; m < masses; ++m)
      for (int y = 0; y < world.MapHeight; ++y)
        for (int x = 0; x < world.MapWidth; ++x)
          if (IsLand(world.WorldMap(x, y)) && world.MassOfSquare(x, y) == m)
            (stages::HasCoastNeighbour(world, x, y) ? buckets[static_cast<std::size_t>(m)].coastal
                                                    : buckets[static_cast<std::size_t>(m)].inland)
                .push_back(y * world.MapWidth + x);
    benchmark::DoNotOptimize(buckets.data());
  }
}
BENCHMARK(BM_CityBucketsScanPerBucket)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace lorvex
