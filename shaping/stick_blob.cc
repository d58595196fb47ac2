#include "shaping/stick_blob.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/numbers.h"
#include "shaping/blob_growth.h"

namespace lorvex::shaping {

namespace {

// Attempts whose sticks take more than a third of the squares are redone up to this often;
// the attempt after the last retry is used whatever its stick share.
constexpr int kMostRetries = 50;
// Candidate positions tried per anchor point (tries 0 .. 100).
constexpr int kCandidatesPerPoint = 101;
constexpr std::int32_t kLargestMinDist = 5;
// The top of the "Number of Points [3 - 10]" box. Joining the points costs the cube of
// their number, so a count from outside the window is held to it.
constexpr std::int32_t kMostPoints = 10;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// One attempt's anchor points, distance table and joined list, sized once per mass.
struct Anchors {
  std::vector<Point> points;
  std::vector<std::int32_t> distance;  // distance(a, b) at a * count + b
  std::vector<int> joined;
  int count = 0;

  explicit Anchors(int n) : distance(static_cast<std::size_t>(n) * n), count(n) {
    points.reserve(static_cast<std::size_t>(n));
    joined.reserve(static_cast<std::size_t>(n));
  }
  std::int32_t& Distance(int a, int b) { return distance[static_cast<std::size_t>(a * count + b)]; }
};

// A candidate r * XMax * YMax rounded half to even, as ToInt32 rounds it, without a call:
// the canvas holds fewer than 2^31 squares, and adding 2^52 to a number from 0 below that
// leaves no bits below the units, so the sum is rounded to a whole number (to even on a
// tie) and taking 2^52 off again is exact.
std::int32_t RoundCandidate(double v) {
  constexpr double kUnits = 0x1p52;
  return static_cast<std::int32_t>((v + kUnits) - kUnits);
}

// Whole steps of one toward the target: -1 when above it, +1 otherwise.
std::int32_t Toward(std::int32_t from, std::int32_t to) { return from > to ? -1 : 1; }

// Stick from a to b. Answers false when the mass reached its squares on the way.
bool DrawStick(BuildContext& context, BlobCanvas& blob, Point a, Point b, std::int32_t squares) {
  std::int32_t x = a.x, y = a.y;
  while (x != b.x || y != b.y) {
    if (x != b.x && y != b.y) {
      if (context.random.Next() < 0.5) {
        x += Toward(x, b.x);
        y += Toward(y, b.y);
      } else if (context.random.Next() < 0.5) {
        x += Toward(x, b.x);
      } else {
        y += Toward(y, b.y);
      }
    } else if (x == b.x) {
      y += Toward(y, b.y);
    } else {
      x += Toward(x, b.x);
    }
    if (blob.At(x, y) != kLand) {
      blob.AddLand(context, x, y);
      if (blob.Count() >= squares) return false;
    }
  }
  return true;
}

// Draws the anchor points of one attempt. Answers false when a stop was requested.
bool PlacePoints(BuildContext& context, BlobCanvas& blob, Anchors& anchors, double tightness,
                 std::int32_t minDist) {
  const std::int32_t xMax = blob.XMax(), yMax = blob.YMax();
  const double marginX = xMax * tightness / 100, marginY = yMax * tightness / 100;
  // The margins as whole numbers, worked out once: a whole x is at most marginX when it is
  // at most floor(marginX), and at least xMax - marginX when at least its ceiling.
  const auto nearX = static_cast<std::int64_t>(std::floor(marginX));
  const auto farX = static_cast<std::int64_t>(std::ceil(xMax - marginX));
  const auto nearY = static_cast<std::int64_t>(std::floor(marginY));
  const auto farY = static_cast<std::int64_t>(std::ceil(yMax - marginY));
  anchors.points.clear();
  for (int p = 0; p < anchors.count; ++p) {
    Point point;
    for (int tries = 0; tries < kCandidatesPerPoint; ++tries) {
      if (context.YieldAndCheckStop()) return false;
      const std::int32_t r = RoundCandidate(context.random.Next() * xMax * yMax);
      point = {r % xMax, r / xMax};
      if (point.x <= nearX || point.x >= farX || point.y <= nearY || point.y >= farY) continue;
      const bool crowded = std::any_of(anchors.points.begin(), anchors.points.end(), [&](Point q) {
        return std::abs(point.x - q.x) < minDist && std::abs(point.y - q.y) < minDist;
      });
      if (!crowded) break;
    }
    // A point taken after every candidate failed may lie on column 0, row 0 or row YMax:
    // the crop never sees land on the first two, and growth beside it keeps to the canvas.
    anchors.points.push_back(point);
    blob.AddLand(context, point.x, point.y);
  }
  return true;
}

// Joins the points into a tree under the distance max(|dx|, |dy|), nearest pair first.
void JoinPoints(BuildContext& context, BlobCanvas& blob, Anchors& anchors, std::int32_t squares) {
  const int count = anchors.count;
  for (int a = 0; a < count; ++a)
    for (int b = 0; b < count; ++b) {
      const Point pa = anchors.points[static_cast<std::size_t>(a)];
      const Point pb = anchors.points[static_cast<std::size_t>(b)];
      anchors.Distance(a, b) = std::max(std::abs(pa.x - pb.x), std::abs(pa.y - pb.y));
    }
  anchors.joined.assign(1, 0);
  // When no pair qualifies the pair before is drawn again; before any pair it is (0, 0).
  int chosenA = 0, chosenB = 0;
  for (int k = 1; k < count; ++k) {
    std::int16_t best = ToInt16(static_cast<double>(blob.XMax()) + blob.YMax());
    for (const int a : anchors.joined)
      for (int b = 0; b < count; ++b) {
        const std::int32_t d = anchors.Distance(a, b);
        if (d > 0 && d < best) {
          best = static_cast<std::int16_t>(d);
          chosenA = a;
          chosenB = b;
        }
      }
    const bool room = DrawStick(context, blob, anchors.points[static_cast<std::size_t>(chosenA)],
                                anchors.points[static_cast<std::size_t>(chosenB)], squares);
    for (const int j : anchors.joined) {
      anchors.Distance(chosenB, j) = 0;
      anchors.Distance(j, chosenB) = 0;
    }
    anchors.joined.push_back(chosenB);
    if (!room || blob.Count() >= squares) return;
  }
}

// The tightness raise of a retry stands only when the edge margins still leave numPoints
// whole numbers on one axis; with tightness below 50 it never does.
bool RaiseStands(std::int32_t xMax, std::int32_t yMax, double tightness, std::int16_t numPoints) {
  const auto spread = [&](std::int32_t max) {
    return max * tightness / 100 - (max - max * tightness / 100);
  };
  return spread(xMax) >= numPoints || spread(yMax) >= numPoints;
}

}  // namespace

std::int32_t AnchorMinDist(std::int32_t xMax, std::int32_t yMax, std::int16_t tightness,
                           std::int16_t numPoints) {
  // Fewer than one point is taken as one, so the spacing never divides by zero.
  const double points = std::max<std::int16_t>(numPoints, 1);
  const double sum = static_cast<double>(xMax) + yMax;
  const double spacing = std::floor((sum - 2 * (tightness / 100.0) * sum) / points);
  return static_cast<std::int32_t>(std::min<double>(spacing, kLargestMinDist));
}

std::int16_t AnchorPointCount(std::int32_t squares, std::int16_t numPoints) {
  const auto fifth = static_cast<std::int32_t>(std::floor(squares * 0.2));
  std::int32_t count = std::min<std::int32_t>(numPoints, kMostPoints);
  if (fifth <= count) count = fifth - 1;
  // Masses under ten squares would get no point at all; one point still grows a mass.
  return static_cast<std::int16_t>(std::max(count, 1));
}

MassGrid MakeStickBlob(BuildContext& context, std::int32_t squares, std::int32_t pad,
                       std::int16_t spanX, std::int16_t spanY, std::int16_t numPoints,
                       std::int16_t tightness, std::int16_t evenPad, std::int16_t erratic) {
  squares = std::clamp(squares, 1, kMostMassSquares);
  BlobCanvas blob(squares, pad, spanX, spanY);
  if (blob.InteriorSquares() < squares) {
    context.hooks.StartMassPreview(blob.XMax(), blob.YMax());
    blob.FillRectangle(context, squares);
    return blob.Finish(context);
  }
  blob.SetPeriod(DrawFramePeriod(context.random));
  std::int32_t minDist = AnchorMinDist(blob.XMax(), blob.YMax(), tightness, numPoints);
  const std::int16_t points = AnchorPointCount(squares, numPoints);
  double tight = tightness;
  Anchors anchors(points);

  for (int retries = 0;;) {
    context.hooks.StartMassPreview(blob.XMax(), blob.YMax());
    if (context.YieldAndCheckStop()) return blob.Finish(context);
    context.hooks.ShowStatus("", "");
    if (!PlacePoints(context, blob, anchors, tight, minDist)) return blob.Finish(context);
    JoinPoints(context, blob, anchors, squares);
    if (blob.Count() <= ToInt32(squares / 3.0) || ++retries > kMostRetries) break;
    blob.ClearLand();
    if (minDist > 0) --minDist;
    if (RaiseStands(blob.XMax(), blob.YMax(), tight + 2, points)) tight += 2;
  }
  GrowMass(context, blob, squares, evenPad, erratic);
  return blob.Finish(context);
}

}  // namespace lorvex::shaping
