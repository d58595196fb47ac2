// The tiny islands: after the land masses, a given total of single squares of clear land
// is scattered over the open sea as small wandering islands of one to nine squares; all
// of them together form one row of the land-mass table.
#pragma once

#include <cstdint>

#include "world/build_context.h"

namespace lorvex {

// Places up to tinySquares squares of "C" on sea squares, marking them with massRow in
// MassOfSquare; answers the number placed. Ends early on a stop request, and when no sea
// square is left.
std::int32_t PlaceTinyIslands(BuildContext& context, std::int32_t tinySquares,
                              std::int32_t massRow);

}  // namespace lorvex
