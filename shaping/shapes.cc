#include "shaping/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "common/numbers.h"

namespace lorvex::shaping {

namespace {

constexpr std::int32_t kLeastCanvas = 50;
constexpr std::int32_t kStepX[4] = {0, 0, -1, 1};  // direction d: 0 up, 1 down, 2 left, 3 right
constexpr std::int32_t kStepY[4] = {-1, 1, 0, 0};

// True when a record from `from` on still has an open side; flags the others enclosed.
bool AnyRecordCanGrow(ShapeCanvas& shape, std::int32_t from) {
  const std::size_t count = shape.list.size();
  for (std::size_t k = shape.enclosed.NextClear(static_cast<std::size_t>(from)); k < count;
       k = shape.enclosed.NextClear(k + 1)) {
    if (shape.HasOpenSide(shape.list[k])) return true;
    shape.enclosed.Set(k);
  }
  return false;
}

// Draws directions (0 up, 1 down, 2 left, 3 right) until one leads from the source onto an
// open square; the source has an open side.
int DrawOpenDirection(BuildContext& context, const ShapeCanvas& shape, GrowthSquare source) {
  int d = 0;
  if (shape.IsInner(source)) {
    // Each neighbour is one look at a fixed stride, no bounds.
    const char* square = &shape.canvas(source.x, source.y);
    const std::ptrdiff_t width = shape.canvas.Width();
    const std::ptrdiff_t stride[4] = {-width, width, -1, 1};
    do d = static_cast<int>(context.random.Next() * 4);
    while (square[stride[d]] != kOpen);
  } else {
    do d = static_cast<int>(context.random.Next() * 4);
    while (!shape.IsOpen(source.x + kStepX[d], source.y + kStepY[d]));
  }
  return d;
}

}  // namespace

float ShapePercent(float percent) { return percent >= 0.5f && percent <= 1.0f ? percent : 0.7f; }

ShapeLayout LayOutShape(std::int32_t boxWidth, std::int32_t boxHeight, std::int32_t pad) {
  ShapeLayout layout;
  layout.w = std::max(2 * boxWidth + 2 * pad, kLeastCanvas);
  layout.h = std::max(2 * boxHeight + 2 * pad, kLeastCanvas);
  layout.x0 = static_cast<std::int32_t>(std::floor(layout.w / 2.0 - boxWidth / 2.0));
  layout.y0 = static_cast<std::int32_t>(std::floor(layout.h / 2.0 - boxHeight / 2.0));
  return layout;
}

ShapeCanvas::ShapeCanvas(std::int32_t w, std::int32_t h, std::int32_t squares, BuildContext& context)
    : w(w), h(h) {
  if (!canvas.ResetInBlocks(w + 1, h + 1, kOpen, [&context] { return !context.StopPoint(); })) return;
  const std::int64_t room = static_cast<std::int64_t>(w + 1) * (h + 1);
  // A figure may come out a few squares over the squares asked for; the list then grows.
  const auto records = static_cast<std::size_t>(std::min<std::int64_t>(std::max(squares, 1) + 1, room));
  list.reserve(records);
  enclosed.Reserve(records);
}

// Steps of the growth (a power of two less one) between two looks for a stop asked from
// another thread and two reports of the share grown.
constexpr std::int32_t kStepsBetweenLooks = 4095;

ShapeGrowth GrowShape(BuildContext& context, ShapeCanvas& shape, std::int32_t squares,
                      double evenShare, double erraticWindow) {
  ShapeGrowth result;
  if (shape.list.empty()) shape.AddLand(context, shape.w / 2, shape.h / 2);
  for (std::size_t k = 0; k < shape.list.size(); ++k)
    shape.enclosed.Assign(k, !shape.HasOpenSide(shape.list[k]));
  const std::int32_t total = squares - 1 - shape.Count();
  std::int32_t steps = 0, lo = 0;
  while (shape.Count() <= squares - 1) {
    // Only a watch-mode pause can have let a stop in; the driver drops a stopped mass.
    if (context.Stopped()) break;
    const std::int32_t count = shape.Count();
    if (!result.switched && evenShare * total < steps) {
      lo = std::max(0, ToInt32(count - erraticWindow));
      result = {true, steps, lo};
    }
    ++steps;
    // The growth never yields: now and then it looks for a stop asked from another thread,
    // and shows the share grown so far (the display is painted without events).
    if ((steps & kStepsBetweenLooks) == 0) {
      if (context.StopPoint()) break;
      context.hooks.ShowStepShare(count, squares);
    }
    // A window that starts past the newest record would draw beyond the list.
    lo = std::min(lo, count - 1);

    std::size_t k = 0;
    // When every record from lo on is enclosed no draw can succeed: after as many failed
    // draws as the window holds, the records are looked at once; if none can grow the
    // window widens back to lo = 0, and if none of the whole mass can, the growth ends.
    std::int64_t failures = 0, lookAt = count - lo;
    for (;;) {
      // r (count - lo) + lo is never negative, so converting it is taking its floor.
      k = static_cast<std::size_t>(static_cast<std::int64_t>(context.random.Next() * (count - lo) + lo));
      // Most draws of a large mass land on enclosed records: they cost one bit test.
      if (!shape.enclosed.Test(k)) {
        if (shape.HasOpenSide(shape.list[k])) break;
        shape.enclosed.Set(k);
      }
      if ((failures & 0xFFFF) == 0xFFFF && context.StopPoint()) return result;
      if (++failures < lookAt) continue;
      if (!AnyRecordCanGrow(shape, lo)) {
        if (lo == 0) return result;
        lo = 0;
      }
      lookAt = failures + (count - lo);
    }

    const GrowthSquare source = shape.list[k];
    const int d = DrawOpenDirection(context, shape, source);
    shape.AddLand(context, source.x + kStepX[d], source.y + kStepY[d]);
  }
  return result;
}

MassGrid MakeShapeMass(BuildContext& context, std::int32_t squares, std::int32_t shape,
                       std::int32_t orientation, float percent, std::int32_t pad) {
  // A size of 0 aims at no square; the growth's centre square still gives the mass land.
  squares = std::clamp(squares, 0, kMostMassSquares);
  pad = std::clamp(pad, 0, kMostPadRings);
  percent = ShapePercent(percent);
  const std::int32_t aim = ToInt32(static_cast<double>(squares) * percent);
  if (orientation < 0 || orientation >= kOrientationCount)
    orientation = static_cast<std::int32_t>(std::floor(context.random.Next() * kOrientationCount));
  const Figure figure(shape, aim, DrawFigureParameters(shape, context.random));
  const ShapeLayout layout =
      LayOutShape(figure.BoxWidth(orientation), figure.BoxHeight(orientation), pad);

  // The canvas of a mass near the largest takes a moment to write, and may be stopped.
  ShapeCanvas mass(layout.w, layout.h, squares, context);
  if (context.Stopped()) return MassGrid();
  context.hooks.StartMassPreview(layout.w, layout.h);
  ForEachFigureSquare(figure, orientation, [&](std::int32_t dx, std::int32_t dy) {
    mass.AddLand(context, layout.x0 + dx, layout.y0 + dy);
    return !context.Stopped();
  }, [&context] { return !context.StopPoint(); });
  if (percent < 1.0f) {
    if (!context.Stopped())
      GrowShape(context, mass, squares, context.params.Number("txtShape", 1) / 100,
                context.params.Number("txtShape", 2));
  } else if (mass.Count() == 0) {
    // A figure too small to cover a square (a few squares at most) leaves the centre
    // square, so that the mass has land.
    mass.AddLand(context, layout.w / 2, layout.h / 2);
  }
  context.hooks.FadeLandTrail(0);
  const MassBox box =
      PadMass(context, mass.canvas, layout.w, layout.h, static_cast<std::int16_t>(pad), BoxOf(mass.list));
  context.hooks.FadePadTrail(0);
  // A mass stopped from another thread is dropped by the driver: not cut out at all.
  if (context.Stopped() || context.StopPoint()) return MassGrid();
  return CropMass(mass.canvas, box);
}

}  // namespace lorvex::shaping
