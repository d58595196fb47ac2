// The 24 geometric figures of the Shapes algorithm: each figure's random parameters, its
// real dimensions scaled so that its area is N squares, its whole-square extents Lu x Lv,
// and the test whether a square (u, v) of its box lies inside it; and the eight
// orientations that place the figure's box on the canvas.
//
// Figure coordinates: u = 0 .. Lu - 1 and v = 0 .. Lv - 1, centre (cu, cv) = ((Lu - 1) / 2,
// (Lv - 1) / 2). Box coordinates: dx = 0 .. B - 1 to the right and dy = 0 .. A - 1 down
// from the box's top-left square; B = Lu and A = Lv for orientations 0 .. 3, swapped for
// 4 .. 7.
#pragma once

#include <array>
#include <cstdint>

#include "common/random.h"
#include "world/grid.h"

namespace lorvex::shaping {

inline constexpr int kFigureCount = 24;
inline constexpr int kOrientationCount = 8;
inline constexpr int kMostFigureDraws = 3;

// A figure's random parameters in the order they are drawn; slots it does not draw are 0.
using FigureDraws = std::array<double, kMostFigureDraws>;

// The real dimensions of a figure. Which ones a figure has, and what each means for it, is
// given beside its sizing in shape_figures.cc (h a height, b a width, r a radius, ...).
struct FigureDims {
  double h = 0, b = 0;  // height (or half-height, shaft or stem length) and width
  double o = 0, s = 0;  // offset or bend; shear or inset
  double r = 0;         // radius
  double m = 0, major = 0;  // Ellipse axes, m along u and major along v
  double l = 0, g = 0;  // lengths of a head, bar, point or waist; head, bar or inset widths
  double k = 0, w = 0;  // cut height and cut width of the "L" and "U"
  double c = 0;         // core side of the stars
};

class Figure {
 public:
  // Figure `code` (codes outside 0 .. 23 give the Rectangle) of area n squares with the
  // given parameters; each parameter is held to its figure's range. n < 1 gives a figure
  // with no box.
  Figure(int code, double n, const FigureDraws& draws);

  int Code() const { return code_; }
  std::int32_t Lu() const { return lu_; }
  std::int32_t Lv() const { return lv_; }
  const FigureDims& Dims() const { return dims_; }
  const FigureDraws& Draws() const { return draws_; }
  bool Inside(std::int32_t u, std::int32_t v) const;

  // The extents of the figure's box on the canvas for orientation 0 .. 7.
  std::int32_t BoxWidth(int orientation) const { return orientation >= 4 ? lv_ : lu_; }
  std::int32_t BoxHeight(int orientation) const { return orientation >= 4 ? lu_ : lv_; }

 private:
  int code_;
  FigureDraws draws_;
  FigureDims dims_;
  std::int32_t lu_ = 0, lv_ = 0;
  double cu_ = 0, cv_ = 0;
};

struct FigurePoint {
  std::int32_t u = 0;
  std::int32_t v = 0;
};

// The figure coordinates of box square (dx, dy) in a box of b x a squares under one of
// the eight symmetries of the square; mu and mv are the mirrored box coordinates.
constexpr FigurePoint ToFigure(int orientation, std::int32_t dx, std::int32_t dy, std::int32_t b,
                               std::int32_t a) {
  const std::int32_t mu = b - 1 - dx, mv = a - 1 - dy;
  switch (orientation) {
    case 1: return {mu, dy};   // mirrored left to right
    case 2: return {dx, mv};   // mirrored top to bottom
    case 3: return {mu, mv};   // half turn
    case 4: return {dy, dx};   // axes swapped: u runs down, v across
    case 5: return {dy, mu};
    case 6: return {mv, dx};
    case 7: return {mv, mu};
    default: return {dx, dy};  // as the figure is given
  }
}

// Calls visit(dx, dy) for every square of the figure's box that lies inside the figure,
// row by row from the top and left to right within a row, until visit answers false.
// `nextRow()` is asked before each row of the box, and false ends the walk: the box of a
// thin figure holds many more squares than the figure.
template <typename Visit, typename NextRow>
void ForEachFigureSquare(const Figure& figure, int orientation, Visit&& visit, NextRow&& nextRow) {
  const std::int32_t b = figure.BoxWidth(orientation), a = figure.BoxHeight(orientation);
  for (std::int32_t dy = 0; dy < a; ++dy) {
    if (!nextRow()) return;
    for (std::int32_t dx = 0; dx < b; ++dx) {
      const FigurePoint p = ToFigure(orientation, dx, dy, b, a);
      if (figure.Inside(p.u, p.v) && !visit(dx, dy)) return;
    }
  }
}

template <typename Visit>
void ForEachFigureSquare(const Figure& figure, int orientation, Visit&& visit) {
  ForEachFigureSquare(figure, orientation, visit, [] { return true; });
}

// Caption of the figure's check box chkShape(FigureBox(code)).
const char* FigureCaption(int code);
int FigureBox(int code);
// How many parameters the figure draws.
int FigureDrawCount(int code);

// The figure's parameters drawn from the generator, R(lo, hi) = lo + r (hi - lo) each, in
// the figure's draw order.
FigureDraws DrawFigureParameters(int code, Random& random);
// The middle of each parameter's range: the figure as it looks on average, since every
// parameter is drawn uniformly over its range.
FigureDraws MiddleFigureParameters(int code);

// The figure of area `squares` with its middle parameters in the given orientation, drawn
// into a grid of its box: "C" inside, "X" outside. For the Shapes page and the gallery.
Grid<char> FigurePicture(int code, std::int32_t squares, int orientation = 0);

}  // namespace lorvex::shaping
