// Shapes: a mass drawn as one of 24 geometric figures in one of eight orientations, then
// grown out to the squares it was asked for.
#pragma once

#include <cstdint>
#include <vector>

#include "world/build_context.h"
#include "shaping/blob_growth.h"
#include "shaping/mass_canvas.h"
#include "shaping/shape_figures.h"

namespace lorvex::shaping {

// squares: land squares wanted; shape 0..23; orientation 0..7 (other values are drawn
// afresh); percent: the figure's share of the squares (outside 0.5 .. 1 it is 0.7);
// pad: sea-border rings and canvas margin. The growth reads txtShape(1) ("Percent of Even
// Pad [10 - 50]") and txtShape(2) ("Erratic/Evenness of remaining [3 - 50]").
MassGrid MakeShapeMass(BuildContext& context, std::int32_t squares, std::int32_t shape,
                       std::int32_t orientation, float percent, std::int32_t pad);

// The figure's share as the algorithm uses it: 0.7 when outside 0.5 .. 1.0.
float ShapePercent(float percent);

// Where a figure's box of boxWidth x boxHeight squares lies: the canvas upper bounds W and
// H (twice the box and the pad, at least 50) and the box's top-left square (x0, y0) in the
// middle.
struct ShapeLayout {
  std::int32_t w = 0, h = 0, x0 = 0, y0 = 0;
};
ShapeLayout LayOutShape(std::int32_t boxWidth, std::int32_t boxHeight, std::int32_t pad);

// The canvas of one Shapes mass, x = 0 .. W and y = 0 .. H, and its land squares in the
// order they were made; a record's flag marks it enclosed (no open side neighbour).
struct ShapeCanvas {
  // The canvas is written a block at a time, and a stop asked from another thread ends it
  // (the canvas is then left empty and the build stopped).
  ShapeCanvas(std::int32_t w, std::int32_t h, std::int32_t squares, BuildContext& context);
  // A new land square: record, "C" and the preview.
  void AddLand(BuildContext& context, std::int32_t x, std::int32_t y) {
    list.push_back({x, y});
    enclosed.PushBack();
    canvas(x, y) = kLand;
    context.hooks.ShowLandSquare(x, y);
  }
  // Open for growth: "X" and off the canvas border, so PadMass and CropMass see all land.
  bool IsOpen(std::int32_t x, std::int32_t y) const {
    return x >= 1 && y >= 1 && x <= w - 1 && y <= h - 1 && canvas(x, y) == kOpen;
  }
  // Two lines or more in from the canvas edge: none of the four side neighbours is on the
  // border, so whether one is open is its code alone.
  bool IsInner(const GrowthSquare& s) const {
    return s.x >= 2 && s.y >= 2 && s.x <= w - 2 && s.y <= h - 2;
  }
  bool HasOpenSide(const GrowthSquare& s) const {
    if (IsInner(s)) {
      const char* square = &canvas(s.x, s.y);
      return square[1] == kOpen || square[-1] == kOpen || square[canvas.Width()] == kOpen ||
             square[-canvas.Width()] == kOpen;
    }
    return IsOpen(s.x + 1, s.y) || IsOpen(s.x - 1, s.y) || IsOpen(s.x, s.y + 1) ||
           IsOpen(s.x, s.y - 1);
  }
  std::int32_t Count() const { return static_cast<std::int32_t>(list.size()); }

  std::int32_t w, h;
  MassCanvas canvas;
  std::vector<GrowthSquare> list;
  SquareFlags enclosed;  // one per record of list
};

// How the growth stage went.
struct ShapeGrowth {
  bool switched = false;       // the growth turned erratic
  std::int32_t switchSteps = 0;  // completed steps when it did
  std::int32_t lo = 0;         // the first record the erratic growth drew from
};

// The growth stage: from the figure's squares (or the canvas centre when there are none)
// to `squares` land squares, from any square while evenShare of the squares to grow have
// not yet been added, then from the squares added in the last erraticWindow steps before
// that switch and after it.
ShapeGrowth GrowShape(BuildContext& context, ShapeCanvas& shape, std::int32_t squares,
                      double evenShare, double erraticWindow);

}  // namespace lorvex::shaping
