#include "shaping/shape_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/numbers.h"
#include "params/build_parameters.h"

namespace lorvex::shaping {

namespace {

constexpr double kPi = std::numbers::pi;

// Round half to even, for extents and for the rounded bounds of the inside tests.
std::int32_t Round(double value) { return ToInt32(value); }

// A figure's dimensions and its whole-square extents along u and v.
struct Sizing {
  FigureDims dims;
  std::int32_t lu = 0, lv = 0;
};

// Where a square lies relative to the figure: u and v, the centre (cu, cv) and the dims.
struct Spot {
  double u, v, cu, cv;
  const FigureDims& d;
};

using SizeFn = Sizing (*)(double n, const FigureDraws& p);
using InsideFn = bool (*)(const Spot& at);

struct DrawRange {
  double lo = 0, hi = 0;
};

struct FigureKind {
  int box;  // index of the figure's check box chkShape(box)
  int draws;
  std::array<DrawRange, kMostFigureDraws> ranges;  // in draw order
  SizeFn size;
  InsideFn inside;
};

// t: distance of v from the figure's v = 0 edge, for the figures of height h.
double FromTop(const Spot& at) { return at.v - (at.cv - at.d.h / 2); }
bool WithinHeight(const Spot& at) { return std::abs(at.v - at.cv) <= at.d.h / 2; }

// The Circle's test for radius r about (cu, cv): the square's row and column both lie
// strictly between the rounded ends of the circle's chord through it.
bool InCircle(const Spot& at, double r) {
  if (std::abs(at.u - at.cu) > r || std::abs(at.v - at.cv) > r) return false;
  const double a = std::sqrt(r * r - (at.v - at.cv) * (at.v - at.cv));
  const double c = std::sqrt(r * r - (at.u - at.cu) * (at.u - at.cu));
  return Round(at.cu - a) < at.u && at.u < Round(at.cu + a) && Round(at.cv - c) < at.v &&
         at.v < Round(at.cv + c);
}

// The 4-point Star's test, with du and e the distances of the square from the core's
// centre line along u and along v: a c x c core with a point of base c and length l on
// each side.
bool InStar(double du, double e, const FigureDims& d) {
  if (e > d.c / 2) return du <= (d.c / 2 + d.l - e) * d.c / (2 * d.l);
  return du <= d.c / 2 + d.l - e * 2 * d.l / d.c;
}

// 0 Rectangle, d: h x b with b = h (1 + d).
Sizing SizeRectangle(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(n / (1 + p[0]));
  z.dims.b = z.dims.h * (1 + p[0]);
  z.lu = Round(z.dims.b);
  z.lv = Round(z.dims.h);
  return z;
}
bool InsideRectangle(const Spot&) { return true; }

// 1 Obtuse Triangle, p, q: height h, base b = h p on the t = 0 edge shifted by o along u,
// apex at u = 0 on the far edge.
Sizing SizeObtuseTriangle(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(2 * n / p[0]);
  z.dims.b = z.dims.h * p[0];
  z.dims.o = std::min(z.dims.b, z.dims.h) * p[1];
  z.lu = Round(z.dims.b + z.dims.o) + 1;
  z.lv = Round(z.dims.h) + 1;
  return z;
}
bool InsideObtuseTriangle(const Spot& at) {
  const FigureDims& d = at.d;
  const double t = FromTop(at);
  return WithinHeight(at) && (d.h - t) * d.o / d.h < at.u && at.u < (d.h - t) * (d.b + d.o) / d.h;
}

// 2 Trapezoid, p, q: width b at t = 0 narrowing by s on each side to b - 2s at t = h.
Sizing SizeTrapezoid(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(n / (p[0] * (1 - p[1])));
  z.dims.b = z.dims.h * p[0];
  z.dims.s = z.dims.b * p[1];
  z.lu = Round(z.dims.b) + 1;
  z.lv = Round(z.dims.h) + 1;
  return z;
}
bool InsideTrapezoid(const Spot& at) {
  const FigureDims& d = at.d;
  return WithinHeight(at) && std::abs(at.u - at.cu) <= d.b / 2 - FromTop(at) * d.s / d.h;
}

// 3 Triangle, p: apex at t = 0, base b at t = h = b p.
Sizing SizeTriangle(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.b = std::sqrt(2 * n / p[0]);
  z.dims.h = z.dims.b * p[0];
  z.lu = Round(z.dims.b) + 1;
  z.lv = Round(z.dims.h) + 1;
  return z;
}
bool InsideTriangle(const Spot& at) {
  const FigureDims& d = at.d;
  return WithinHeight(at) && std::abs(at.u - at.cu) <= FromTop(at) * (d.b / 2) / d.h;
}

// 4 Right Triangle, p: legs h along v and b = h p along u, the right angle at u = 0, t = h.
Sizing SizeRightTriangle(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(2 * n / p[0]);
  z.dims.b = z.dims.h * p[0];
  z.lu = Round(z.dims.b) + 1;
  z.lv = Round(z.dims.h) + 1;
  return z;
}
bool InsideRightTriangle(const Spot& at) {
  const FigureDims& d = at.d;
  return WithinHeight(at) && at.u < Round((d.h - FromTop(at)) * d.b / d.h);
}

// 5 Parallelogram, d, e: width b, sheared by s = b (1 + e) over the height h.
Sizing SizeParallelogram(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(n / (1 + p[0]));
  z.dims.b = z.dims.h * (1 + p[0]);
  z.dims.s = z.dims.b * (1 + p[1]);
  z.lu = Round(z.dims.b + z.dims.s) + 1;
  z.lv = Round(z.dims.h) + 1;
  return z;
}
bool InsideParallelogram(const Spot& at) {
  const FigureDims& d = at.d;
  const double t = FromTop(at);
  return WithinHeight(at) && t * d.s / d.h < at.u && at.u < (d.b + d.s) - (d.h - t) * d.s / d.h;
}

// 6 Circle: radius r.
Sizing SizeCircle(double n, const FigureDraws&) {
  Sizing z;
  z.dims.r = std::sqrt(n / kPi);
  z.lu = z.lv = Round(2 * z.dims.r) + 3;
  return z;
}
bool InsideCircle(const Spot& at) { return InCircle(at, at.d.r); }

// 7 Ellipse, p: minor axis m along u, major axis m p along v.
Sizing SizeEllipse(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.m = std::sqrt(4 * n / (p[0] * kPi));
  z.dims.major = z.dims.m * p[0];
  z.lu = Round(z.dims.m) + 1;
  z.lv = Round(z.dims.major) + 1;
  return z;
}
// The half-width w at v from the foci on the v axis: the larger focal distance A of a point
// of the ellipse at v satisfies A + a = M with A^2 - a^2 = D^2 - d^2, and w^2 = A^2 - D^2.
bool InsideEllipse(const Spot& at) {
  const double big = at.d.major, focus = big / 2 * std::sqrt(1 - (at.d.m / big) * (at.d.m / big));
  const double toFirst = std::abs(at.v - (at.cv - focus)), toSecond = std::abs(at.v - (at.cv + focus));
  const double far = std::max(toFirst, toSecond), near = std::min(toFirst, toSecond);
  const double a = (big * big + far * far - near * near) / (2 * big);
  const double widthSquared = a * a - far * far;
  return widthSquared >= 0 && std::abs(at.u - at.cu) <= std::sqrt(widthSquared);
}

// 8 Half-Circle: radius r, the flat side at u = 0.
Sizing SizeHalfCircle(double n, const FigureDraws&) {
  Sizing z;
  z.dims.r = std::sqrt(2 * n / kPi);
  z.lu = Round(z.dims.r) + 1;
  z.lv = Round(2 * z.dims.r) + 1;
  return z;
}
bool InsideHalfCircle(const Spot& at) {
  const double r = at.d.r, dv = at.v - at.cv;
  return std::abs(dv) <= r && at.u < Round(std::sqrt(r * r - dv * dv));
}

// 9 3/4-Circle: radius r, without the quarter beyond the centre in both u and v.
Sizing SizeThreeQuarterCircle(double n, const FigureDraws&) {
  Sizing z;
  z.dims.r = std::sqrt(4 * n / (3 * kPi));
  z.lu = z.lv = Round(2 * z.dims.r) + 1;
  return z;
}
bool InsideThreeQuarterCircle(const Spot& at) {
  return InCircle(at, at.d.r) && !(at.u > at.cu && at.v > at.cv);
}

// 10 Quarter-Circle: radius r about the corner (0, 0).
Sizing SizeQuarterCircle(double n, const FigureDraws&) {
  Sizing z;
  z.dims.r = std::sqrt(4 * n / kPi);
  z.lu = z.lv = Round(z.dims.r) + 1;
  return z;
}
bool InsideQuarterCircle(const Spot& at) {
  const double r = at.d.r;
  return at.u <= r && at.v <= r && at.u < Round(std::sqrt(r * r - at.v * at.v)) &&
         at.v < Round(std::sqrt(r * r - at.u * at.u));
}

// 11 Rectangle + Triangle, a, c: a b x h rectangle (v from l on) with a right triangle of
// legs b and l = h (1 + c) on its v = 0 side.
Sizing SizeRectangleTriangle(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(2 * n / ((1 + p[0]) * (p[1] + 3)));
  z.dims.b = z.dims.h * (1 + p[0]);
  z.dims.l = z.dims.h * (1 + p[1]);
  z.lu = Round(z.dims.b);
  z.lv = Round(z.dims.h + z.dims.l);
  return z;
}
bool InsideRectangleTriangle(const Spot& at) {
  const FigureDims& d = at.d;
  return at.v >= Round(d.l) || at.u < Round(at.v * d.b / d.l);
}

// 12 "L"-Shape and 13 "U"-Shape, d, e, f: a b x h box less a w x k cut, k = (h/2)(1 + e)
// deep and w = (b/2)(1 + f) wide.
Sizing SizeCutBox(double n, const FigureDraws& p) {
  const double d = p[0], e = p[1], f = p[2];
  Sizing z;
  z.dims.h = std::sqrt(4 * n / ((3 - (f * e + f + e)) * (1 + d)));
  z.dims.b = z.dims.h * (1 + d);
  z.dims.k = z.dims.h / 2 * (1 + e);
  z.dims.w = z.dims.b / 2 * (1 + f);
  z.lu = Round(z.dims.b);
  z.lv = Round(z.dims.h);
  return z;
}
// The cut in the corner at u = b, v = h.
bool InsideLShape(const Spot& at) {
  const FigureDims& d = at.d;
  return at.v < Round(d.h - d.k) || at.u < Round(d.b - d.w);
}
// The cut as a notch in the middle of the v = h side, between two arms.
bool InsideUShape(const Spot& at) {
  const FigureDims& d = at.d;
  return at.v < Round(d.h - d.k) || at.u < Round((d.b - d.w) / 2) ||
         at.u > Round((d.b - 1) - (d.b - d.w) / 2);
}

// 14 Hourglass, p, q: half-height h, width b at both ends and b - 2o at the waist.
Sizing SizeHourglass(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(n / (2 * p[0] * (1 - p[1])));
  z.dims.b = z.dims.h * p[0];
  z.dims.o = z.dims.b * p[1];
  z.lu = Round(z.dims.b) + 1;
  z.lv = Round(2 * z.dims.h) + 1;
  return z;
}
bool InsideHourglass(const Spot& at) {
  const FigureDims& d = at.d;
  const double g = std::abs(at.v - at.cv);
  return g <= d.h && std::abs(at.u - at.cu) <= d.b / 2 - (d.h - g) * d.o / d.h;
}

// 15 Teardrop: the half disc of radius r on the u > cu side, plus a half disc of radius r/2
// bulging past the axis in the near half, less one of radius 1.01 r/2 in the far half.
Sizing SizeTeardrop(double n, const FigureDraws&) {
  Sizing z;
  z.dims.r = std::sqrt(2 * n / kPi);
  z.lu = z.lv = Round(2 * z.dims.r) + 1;
  return z;
}
bool InsideTeardrop(const Spot& at) {
  const double r = at.d.r;
  if (std::abs(at.v - at.cv) > r) return false;
  const double c = std::sqrt(r * r - (at.v - at.cv) * (at.v - at.cv));
  const double nearOffset = at.v - (at.cv - r / 2);
  if (at.v <= r && std::abs(nearOffset) <= r / 2) {
    const double a = std::sqrt(r / 2 * (r / 2) - nearOffset * nearOffset);
    return Round(at.cu - a) < at.u && at.u < Round(at.cu + c);
  }
  const double farOffset = at.v - (at.cv + r / 2), farRadius = 1.01 * r / 2;
  if (at.v >= r && std::abs(farOffset) <= farRadius) {
    const double a = std::sqrt(farRadius * farRadius - farOffset * farOffset);
    return Round(at.cu + a) < at.u && at.u < Round(at.cu + c);
  }
  return false;
}

// 16 Arrowhead, p, q: a chevron of thickness b = h (1 + p) over the height 2h, bent by o
// at the centre line.
Sizing SizeArrowhead(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(n / (2 * (p[0] + 1)));
  z.dims.b = z.dims.h * (1 + p[0]);
  z.dims.o = z.dims.b * p[1];
  z.lu = Round(z.dims.b + z.dims.o);
  z.lv = Round(2 * z.dims.h);
  return z;
}
bool InsideArrowhead(const Spot& at) {
  const FigureDims& d = at.d;
  const double g = std::abs(at.v - at.cv);
  return Round((d.h - g) * d.o / d.h) <= at.u && at.u < Round((d.b + d.o) - g * d.o / d.h);
}

// 17 Diamond, p: diagonals h along v and b = h p along u.
Sizing SizeDiamond(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.h = std::sqrt(2 * n / p[0]);
  z.dims.b = z.dims.h * p[0];
  z.lu = Round(z.dims.b);
  z.lv = Round(z.dims.h);
  return z;
}
bool InsideDiamond(const Spot& at) {
  const FigureDims& d = at.d;
  return std::abs(at.u - at.cu) <= (d.h / 2 - std::abs(at.v - at.cv)) * d.b / d.h;
}

// 18 Arrow, p, q, s: a shaft h long and b = h p wide under a head g = b q wide and l = g s
// long, its point at v = 0.
Sizing SizeArrow(double n, const FigureDraws& p) {
  const double pp = p[0], q = p[1], s = p[2];
  Sizing z;
  z.dims.h = std::sqrt(2 * n / (pp * pp * q * q * s + 2 * pp));
  z.dims.b = z.dims.h * pp;
  z.dims.g = z.dims.b * q;
  z.dims.l = z.dims.g * s;
  z.lu = Round(z.dims.g);
  z.lv = Round(z.dims.h + z.dims.l);
  return z;
}
bool InsideArrow(const Spot& at) {
  const FigureDims& d = at.d;
  if (at.v <= d.l) return std::abs(at.u - at.cu) <= (d.g / 2) * at.v / d.l;
  return std::abs(at.u - at.cu) <= d.b / 2;
}

// 19 "T"-Shape, p, q, s: a stem h long and b = h p wide under a bar g = b q long and
// l = b s thick.
Sizing SizeTShape(double n, const FigureDraws& p) {
  const double pp = p[0], q = p[1], s = p[2];
  Sizing z;
  z.dims.h = std::sqrt(n / (pp * pp * q * s + pp));
  z.dims.b = z.dims.h * pp;
  z.dims.g = z.dims.b * q;
  z.dims.l = z.dims.b * s;
  z.lu = Round(z.dims.g);
  z.lv = Round(z.dims.h + z.dims.l);
  return z;
}
bool InsideTShape(const Spot& at) {
  const FigureDims& d = at.d;
  return std::abs(at.u - at.cu) <= (at.v <= d.l ? d.g / 2 : d.b / 2);
}

// 20 4-point Star, p: a core of side c with points l = c p long on all four sides.
Sizing SizeFourPointStar(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.c = std::sqrt(n / (2 * p[0] + 1));
  z.dims.l = z.dims.c * p[0];
  z.lu = z.lv = Round(2 * z.dims.l + z.dims.c);
  return z;
}
bool InsideFourPointStar(const Spot& at) {
  return InStar(std::abs(at.u - at.cu), std::abs(at.v - at.cv), at.d);
}

// 21 3 Points of Star, p: the core moved l/2 along v, so the point towards v = 0 and the
// two along u fit the box.
Sizing SizeThreePointStar(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.c = std::sqrt(n / (1.5 * p[0] + 1));
  z.dims.l = z.dims.c * p[0];
  z.lu = Round(2 * z.dims.l + z.dims.c);
  z.lv = Round(z.dims.l + z.dims.c);
  return z;
}
bool InsideThreePointStar(const Spot& at) {
  return InStar(std::abs(at.u - at.cu), std::abs(at.v - (at.cv + at.d.l / 2)), at.d);
}

// 22 2 Points of Star, p: the core in the far corner, with the points towards u = 0 and
// v = 0.
Sizing SizeTwoPointStar(double n, const FigureDraws& p) {
  Sizing z;
  z.dims.c = std::sqrt(n / (p[0] + 1));
  z.dims.l = z.dims.c * p[0];
  z.lu = z.lv = Round(z.dims.l + z.dims.c);
  return z;
}
bool InsideTwoPointStar(const Spot& at) {
  const double half = at.d.l / 2;
  return InStar(std::abs(at.u - (at.cu + half)), std::abs(at.v - (at.cv + half)), at.d);
}

// 23 "I"-Shape, p, q, s: a bar b wide and h high whose middle band 2l high is narrowed by
// g on both sides. Its area is N (1 - 4qs) / (1 - 2qs), less than N by design.
Sizing SizeIShape(double n, const FigureDraws& p) {
  const double pp = p[0], q = p[1], s = p[2];
  Sizing z;
  z.dims.h = std::sqrt(n / (pp - 2 * pp * q * s));
  z.dims.b = z.dims.h * pp;
  z.dims.g = z.dims.b * q;
  z.dims.l = z.dims.h * s;
  z.lu = Round(z.dims.b);
  z.lv = Round(z.dims.h);
  return z;
}
bool InsideIShape(const Spot& at) {
  const FigureDims& d = at.d;
  const double half = std::abs(at.v - at.cv) < d.l ? d.b / 2 - d.g : d.b / 2;
  return std::abs(at.u - at.cu) <= half;
}

// The figures by shape code (the Tag of their check box).
// box: chkShape index; draws: the parameters R(lo, hi), in draw order.
constexpr FigureKind kFigures[kFigureCount] = {
    //  box draws  ranges                                   size / inside
    {0, 1, {{{-0.8, 0.8}}}, SizeRectangle, InsideRectangle},                          // 0 Rectangle: d
    {3, 2, {{{0.25, 2.0}, {0.25, 1.0}}}, SizeObtuseTriangle, InsideObtuseTriangle},   // 1 Obtuse Triangle: p, q
    {5, 2, {{{0.5, 2.0}, {0.1, 0.4}}}, SizeTrapezoid, InsideTrapezoid},               // 2 Trapezoid: p, q
    {1, 1, {{{0.25, 2.0}}}, SizeTriangle, InsideTriangle},                            // 3 Triangle: p
    {2, 1, {{{0.2, 1.0}}}, SizeRightTriangle, InsideRightTriangle},                   // 4 Right Triangle: p
    {4, 2, {{{-0.8, 0.8}, {-0.5, 0.5}}}, SizeParallelogram, InsideParallelogram},     // 5 Parallelogram: d, e
    {6, 0, {}, SizeCircle, InsideCircle},                                             // 6 Circle
    {10, 1, {{{1.25, 3.5}}}, SizeEllipse, InsideEllipse},                             // 7 Ellipse: p
    {8, 0, {}, SizeHalfCircle, InsideHalfCircle},                                     // 8 Half-Circle
    {7, 0, {}, SizeThreeQuarterCircle, InsideThreeQuarterCircle},                     // 9 3/4-Circle
    {9, 0, {}, SizeQuarterCircle, InsideQuarterCircle},                               // 10 Quarter-Circle
    {16, 2, {{{-0.2, 0.2}, {-0.8, 0.8}}}, SizeRectangleTriangle, InsideRectangleTriangle},  // 11 Rectangle + Triangle: a, c
    {12, 3, {{{-0.8, 0.8}, {-0.5, 0.5}, {-0.5, 0.5}}}, SizeCutBox, InsideLShape},     // 12 "L"-Shape: d, e, f
    {13, 3, {{{-0.8, 0.8}, {-0.5, 0.5}, {-0.5, 0.5}}}, SizeCutBox, InsideUShape},     // 13 "U"-Shape: d, e, f
    {17, 2, {{{0.5, 2.0}, {0.15, 0.45}}}, SizeHourglass, InsideHourglass},            // 14 Hourglass: p, q
    {11, 0, {}, SizeTeardrop, InsideTeardrop},                                        // 15 Teardrop
    {22, 2, {{{0.0, 2.0}, {0.5, 1.0}}}, SizeArrowhead, InsideArrowhead},              // 16 Arrowhead: p, q
    {18, 1, {{{0.2, 1.0}}}, SizeDiamond, InsideDiamond},                              // 17 Diamond: p
    {23, 3, {{{0.7, 1.3}, {1.0, 2.5}, {0.5, 1.0}}}, SizeArrow, InsideArrow},          // 18 Arrow: p, q, s
    {14, 3, {{{0.25, 1.0}, {1.5, 3.0}, {0.5, 1.5}}}, SizeTShape, InsideTShape},       // 19 "T"-Shape: p, q, s
    {19, 1, {{{0.75, 2.0}}}, SizeFourPointStar, InsideFourPointStar},                 // 20 4-point Star: p
    {20, 1, {{{0.75, 2.0}}}, SizeThreePointStar, InsideThreePointStar},               // 21 3 Points of Star: p
    {21, 1, {{{0.75, 2.0}}}, SizeTwoPointStar, InsideTwoPointStar},                   // 22 2 Points of Star: p
    {15, 3, {{{0.5, 2.0}, {0.1, 0.4}, {0.1, 0.4}}}, SizeIShape, InsideIShape},        // 23 "I"-Shape: p, q, s
};

// Every figure's box shows that figure: the box's Tag is the code the table files it under.
constexpr bool BoxesCarryTheirCodes() {
  for (int code = 0; code < kFigureCount; ++code)
    if (params::kShapeCodeOfBox[kFigures[code].box] != code) return false;
  return true;
}
static_assert(BoxesCarryTheirCodes(), "figure table and chkShape Tags disagree");

const FigureKind& KindOf(int code) { return kFigures[code >= 0 && code < kFigureCount ? code : 0]; }

}  // namespace

Figure::Figure(int code, double n, const FigureDraws& draws)
    : code_(code >= 0 && code < kFigureCount ? code : 0), draws_{} {
  const FigureKind& kind = KindOf(code_);
  for (int i = 0; i < kind.draws; ++i) {
    const DrawRange range = kind.ranges[static_cast<std::size_t>(i)];
    const double value = draws[static_cast<std::size_t>(i)];
    // Parameters given from outside are held to the range the draws come from, so that no
    // dimension divides by zero.
    draws_[static_cast<std::size_t>(i)] = value >= range.lo ? std::min(value, range.hi) : range.lo;
  }
  // A figure of no area has no box (and nothing to divide by).
  if (!(n >= 1)) return;
  const Sizing sizing = kind.size(n, draws_);
  dims_ = sizing.dims;
  lu_ = std::max(sizing.lu, 0);
  lv_ = std::max(sizing.lv, 0);
  cu_ = (lu_ - 1) / 2.0;
  cv_ = (lv_ - 1) / 2.0;
}

bool Figure::Inside(std::int32_t u, std::int32_t v) const {
  return KindOf(code_).inside(Spot{static_cast<double>(u), static_cast<double>(v), cu_, cv_, dims_});
}

const char* FigureCaption(int code) { return params::kShapeCaptions[KindOf(code).box]; }
int FigureBox(int code) { return KindOf(code).box; }
int FigureDrawCount(int code) { return KindOf(code).draws; }

FigureDraws DrawFigureParameters(int code, Random& random) {
  const FigureKind& kind = KindOf(code);
  FigureDraws draws{};
  for (int i = 0; i < kind.draws; ++i) {
    const DrawRange range = kind.ranges[static_cast<std::size_t>(i)];
    draws[static_cast<std::size_t>(i)] = range.lo + random.Next() * (range.hi - range.lo);
  }
  return draws;
}

FigureDraws MiddleFigureParameters(int code) {
  const FigureKind& kind = KindOf(code);
  FigureDraws draws{};
  for (int i = 0; i < kind.draws; ++i) {
    const DrawRange range = kind.ranges[static_cast<std::size_t>(i)];
    draws[static_cast<std::size_t>(i)] = (range.lo + range.hi) / 2;
  }
  return draws;
}

Grid<char> FigurePicture(int code, std::int32_t squares, int orientation) {
  const Figure figure(code, squares, MiddleFigureParameters(code));
  Grid<char> picture(figure.BoxWidth(orientation), figure.BoxHeight(orientation), 'X');
  ForEachFigureSquare(figure, orientation, [&](std::int32_t dx, std::int32_t dy) {
    picture(dx, dy) = 'C';
    return true;
  });
  return picture;
}

}  // namespace lorvex::shaping
