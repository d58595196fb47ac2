// The scratch grid on which one land mass is shaped, and the two finishing steps every
// shaping algorithm ends with: PadMass rings the land with padding, CropMass cuts the
// canvas down to the mass. Canvas and mass grid are indexed (x, y), x the column from the
// left, y the row from the top. Codes: "X" open, "C" land, "K" a blob's working mark,
// "H" PadMass's transient ring mark, "S" padding.
#pragma once

#include <cstdint>

#include "world/build_context.h"
#include "world/grid.h"

namespace lorvex::shaping {

inline constexpr char kOpen = 'X';
inline constexpr char kLand = 'C';
inline constexpr char kMark = 'K';
inline constexpr char kRingMark = 'H';
inline constexpr char kPad = 'S';

// The most squares one mass is shaped with: its square list and canvas take about 20 bytes a
// square, so a size read from a settings file (up to 2^31) would exhaust memory. Twice the
// squares of the largest map, five times the largest mass Recommend asks for.
inline constexpr std::int32_t kMostMassSquares = 1 << 25;
// The widest sea border a mass is shaped with: each ring widens the canvas by two lines on
// both axes, so a border of a billion would exhaust memory. A border box holds 99.
inline constexpr std::int32_t kMostPadRings = 2000;

// A canvas with upper bounds W and H has W + 1 columns and H + 1 rows.
using MassCanvas = Grid<char>;
// The cropped result handed to placement: "C", "S" and "X" only. Empty when the build was
// stopped while shaping before any land existed.
using MassGrid = Grid<char>;

// Where the squares that are not "X" lie in columns 1 .. W and rows 1 .. H: the box that
// CropMass cuts out, bounds included. Empty when there are none.
struct MassBox {
  std::int32_t left = 0, top = 0, right = -1, bottom = -1;
  bool Empty() const { return right < left; }
};

// Adds `rings` rings of "S" round everything that is not "X", showing each new padding
// square on the mass preview, and answers the box of the squares that are not "X"
// afterwards. Ring k takes exactly the "X" squares within k side steps of the mass; rows 0
// and H and columns 0 and W never become "S". Rings < 1 adds none. `land` bounds every
// square that is not "X" (the shaping algorithms know where they put their land): only it
// is read, so a small mass on a wide canvas costs little.
MassBox PadMass(BuildContext& context, MassCanvas& canvas, std::int32_t w, std::int32_t h,
                std::int16_t rings, const MassBox& land);

// The canvas's squares in `box`, copied out: the mass grid. An empty grid for an empty box
// (no land at all).
MassGrid CropMass(const MassCanvas& canvas, const MassBox& box);

// Every `from` of the `count` codes from `codes` on becomes `to`, eight codes at a time.
void ReplaceCodes(char* codes, std::int32_t count, char from, char to);

}  // namespace lorvex::shaping
