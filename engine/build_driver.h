// The build driver: one set of parameters in, one finished world out.
#pragma once

#include <cstdint>

#include "world/build_context.h"

namespace lorvex {

// The most masses of one size class a build makes: each takes a row of the land-mass table,
// so a count read from a settings file (up to 2^31) would exhaust memory. A box holds 999.
inline constexpr std::int32_t kMostMassesPerClass = 1 << 20;

// The road of one build, in this order:
//   1. status "Initializing Environment"; the shape list from the checked shapes;
//   2. fresh grids, the world preview, the initial sea with its border;
//   3. the number of Large, Medium and Small masses and the tiny-island total drawn;
//   4. every mass, Large first: size and sea border drawn, algorithm picked by weight,
//      shaped (re-shaped up to 50 times to fit an even-spacing cell), placed;
//   5. the tiny islands;  6. terrain;  7. cities.
// Returns early, leaving the partial world, as soon as it sees StopRequested.
void BuildWorld(BuildContext& context);

// The shaping algorithm for a draw p in [0, W) (W the sum of the checked weights): the
// first checked algorithm whose running sum of weights exceeds p, else the last checked
// one; 0 Wandering Blob, 1 Stick Blob, 2 Shapes.
int AlgorithmForDraw(const params::ParameterView& view, float p);

}  // namespace lorvex
