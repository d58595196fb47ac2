// The three shaping algorithms on one mass of the size a default build gives its large
// masses, watch mode off, through silent hooks (each yield still a virtual call).
#include <benchmark/benchmark.h>

#include <cmath>

#include "common/numbers.h"
#include "params/build_parameters.h"
#include "shaping/shapes.h"
#include "shaping/stick_blob.h"
#include "shaping/wandering_blob.h"
#include "support/engine_rig.h"

namespace lorvex {
namespace {

constexpr std::int32_t kSquares = 600;
constexpr std::int32_t kSeaBorder = 8;

// One build's context with the window's defaults; the generator runs on from mass to mass.
struct Context : checks::EngineRig<> {
  Context() : EngineRig(7) {}
  BuildContext Get() { return EngineRig::Context(); }
};

// The spans the driver picks for a mass of kSquares: sqrt(q x size) by sqrt((12 - q) x size).
std::int16_t Span(int q) { return ToInt16(std::sqrt(static_cast<double>(q) * kSquares)); }

void BM_StickBlob600(benchmark::State& state) {
  Context c;
  const int q = static_cast<int>(state.range(0));
  for (auto _ : state) {
    BuildContext context = c.Get();
    const shaping::MassGrid grid =
        shaping::MakeStickBlob(context, kSquares, kSeaBorder, Span(q), Span(12 - q), 6, 25, 50, 15);
    benchmark::DoNotOptimize(grid.Cells().data());
  }
}
BENCHMARK(BM_StickBlob600)->Arg(3)->Arg(6)->Arg(9)->Unit(benchmark::kMicrosecond);

void BM_WanderingBlob600(benchmark::State& state) {
  Context c;
  const int q = static_cast<int>(state.range(0));
  for (auto _ : state) {
    BuildContext context = c.Get();
    const shaping::MassGrid grid = shaping::MakeWanderingBlob(context, kSquares, kSeaBorder, Span(q),
                                                              Span(12 - q), 40, 15, 50, 15);
    benchmark::DoNotOptimize(grid.Cells().data());
  }
}
BENCHMARK(BM_WanderingBlob600)->Arg(3)->Arg(6)->Arg(9)->Unit(benchmark::kMicrosecond);

// Every figure in turn, in every orientation, at the default 80 % figure share.
void BM_ShapeMass600(benchmark::State& state) {
  Context c;
  int k = 0;
  for (auto _ : state) {
    BuildContext context = c.Get();
    const shaping::MassGrid grid =
        shaping::MakeShapeMass(context, kSquares, k % shaping::kFigureCount, k % 8, 0.8f, kSeaBorder);
    ++k;
    benchmark::DoNotOptimize(grid.Cells().data());
  }
}
BENCHMARK(BM_ShapeMass600)->Unit(benchmark::kMicrosecond);

// One Shapes mass of two million squares, as a large map's Large masses can be: at the 60 %
// figure share, 800 000 squares are grown by drawing records until one can still grow, and
// by the end almost every record drawn is enclosed.
void BM_ShapeMassTwoMillion(benchmark::State& state) {
  Context c;  // the window's defaults: 30 % of the growth even, then erratic
  for (auto _ : state) {
    BuildContext context = c.Get();
    const shaping::MassGrid grid =
        shaping::MakeShapeMass(context, 2'000'000, 6, 0, 0.6f, kSeaBorder);  // a circle
    benchmark::DoNotOptimize(grid.Cells().data());
  }
}
BENCHMARK(BM_ShapeMassTwoMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

// A small mass as a default build makes by the dozen: 50 squares, sea border 2.
void BM_SmallMasses50(benchmark::State& state) {
  Context c;
  int k = 0;
  for (auto _ : state) {
    BuildContext context = c.Get();
    const std::int16_t spanX = ToInt16(std::sqrt(6.0 * 50)), spanY = spanX;
    benchmark::DoNotOptimize(shaping::MakeStickBlob(context, 50, 2, spanX, spanY, 6, 25, 50, 15).Cells().data());
    benchmark::DoNotOptimize(shaping::MakeWanderingBlob(context, 50, 2, spanX, spanY, 40, 15, 50, 15).Cells().data());
    benchmark::DoNotOptimize(shaping::MakeShapeMass(context, 50, k % 24, k % 8, 0.8f, 2).Cells().data());
    ++k;
  }
}
BENCHMARK(BM_SmallMasses50)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lorvex
