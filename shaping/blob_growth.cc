#include "shaping/blob_growth.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace lorvex::shaping {

namespace {

constexpr int kSides = 4;
// Side neighbour of (x, y) in direction d: 0 up, 1 down, 2 left, 3 right.
constexpr std::int32_t kStepX[kSides] = {0, 0, -1, 1};
constexpr std::int32_t kStepY[kSides] = {-1, 1, 0, 0};

}  // namespace

std::int32_t DrawFramePeriod(Random& random) {
  return static_cast<std::int32_t>(std::floor(random.Next() * 7)) + 3;
}

BlobCanvas::BlobCanvas(std::int32_t squares, std::int32_t pad, std::int16_t spanX,
                       std::int16_t spanY)
    : pad_(std::clamp(pad, 0, kMostPadRings)),
      rings_(pad_ < 1 ? 1 : pad_ + 1),
      xMax_(2 * pad_ + std::max<std::int32_t>(spanX, 0) + 2),
      yMax_(2 * pad_ + std::max<std::int32_t>(spanY, 0) + 2),
      canvas_(xMax_ + 1, yMax_ + 1, kMark) {
  // All frame, then the inside open: x and y from rings to the upper bound less rings.
  for (std::int32_t y = rings_; y <= yMax_ - rings_; ++y)
    if (xMax_ - rings_ >= rings_)
      std::fill_n(&canvas_(rings_, y), xMax_ - 2 * rings_ + 1, kOpen);
  depth_.fill(rings_);
  stride_ = {-canvas_.Width(), canvas_.Width(), -1, 1};
  const std::int64_t room = static_cast<std::int64_t>(xMax_ + 1) * (yMax_ + 1);
  const auto entries =
      static_cast<std::size_t>(std::min<std::int64_t>(std::max(squares, 1), room) + 2);
  list_.reserve(entries);
  exhausted_.Reserve(entries);
}

std::int64_t BlobCanvas::InteriorSquares() const {
  return static_cast<std::int64_t>(xMax_ - 1 - 2 * pad_) * (yMax_ - 1 - 2 * pad_);
}

void BlobCanvas::ClearLand() {
  for (const GrowthSquare& s : list_) canvas_(s.x, s.y) = kOpen;
  list_.clear();
  exhausted_.ClearAll();
}

void BlobCanvas::FillRectangle(BuildContext& context, std::int32_t squares) {
  // With no pad the rectangle starts on row and column 0, whose land the crop never sees.
  for (std::int32_t x = pad_; x <= xMax_ - pad_ - 1; ++x)
    for (std::int32_t y = pad_; y <= yMax_ - pad_ - 1; ++y) {
      if (Count() >= squares) return;
      AddLand(context, x, y);
    }
}

MassBox BoxOf(const std::vector<GrowthSquare>& squares) {
  if (squares.empty()) return {};
  MassBox box{squares.front().x, squares.front().y, squares.front().x, squares.front().y};
  for (const GrowthSquare& s : squares) {
    box.left = std::min(box.left, s.x);
    box.right = std::max(box.right, s.x);
    box.top = std::min(box.top, s.y);
    box.bottom = std::max(box.bottom, s.y);
  }
  return box;
}

MassGrid BlobCanvas::Finish(BuildContext& context) {
  const MassBox land = BoxOf(list_);
  // The padding and the crop see no further than Pad squares from the land, and every "K"
  // lies in the frame: in the rows above Depth(top) and below YMax - Depth(bottom), and in
  // the columns left of Depth(left) and right of XMax - Depth(right). Only where the two
  // meet are codes looked at.
  if (!land.Empty()) {
    const std::int32_t left = std::max(land.left - pad_, 0), right = std::min(land.right + pad_, xMax_);
    const std::int32_t frameTop = Depth(kTopSide), frameBottom = yMax_ - Depth(kBottomSide);
    const std::int32_t frameLeft = std::min(Depth(kLeftSide), right + 1);
    const std::int32_t frameRight = std::max(xMax_ - Depth(kRightSide), left - 1);
    for (std::int32_t y = std::max(land.top - pad_, 0); y <= std::min(land.bottom + pad_, yMax_); ++y) {
      if (y < frameTop || y > frameBottom) {
        ReplaceCodes(&canvas_(left, y), right - left + 1, kMark, kOpen);
        continue;
      }
      if (left < frameLeft) ReplaceCodes(&canvas_(left, y), frameLeft - left, kMark, kOpen);
      if (frameRight < right) ReplaceCodes(&canvas_(frameRight + 1, y), right - frameRight, kMark, kOpen);
    }
  }
  context.hooks.FadeLandTrail(0);
  const MassBox box =
      PadMass(context, canvas_, xMax_, yMax_, static_cast<std::int16_t>(pad_), land);
  context.hooks.FadePadTrail(0);
  return CropMass(canvas_, box);
}

bool BlobCanvas::HasOpenSide(const GrowthSquare& s) const {
  if (IsInner(s)) {
    const char* square = &canvas_(s.x, s.y);
    return square[1] == kOpen || square[-1] == kOpen || square[canvas_.Width()] == kOpen ||
           square[-canvas_.Width()] == kOpen;
  }
  return IsOpen(s.x + 1, s.y) || IsOpen(s.x - 1, s.y) || IsOpen(s.x, s.y + 1) ||
         IsOpen(s.x, s.y - 1);
}

bool BlobCanvas::AnyEntryCanGrow() {
  const std::size_t n = list_.size();
  for (std::size_t e = exhausted_.NextClear(0); e < n; e = exhausted_.NextClear(e + 1)) {
    if (HasOpenSide(list_[e])) return true;
    exhausted_.Set(e);
  }
  return false;
}

namespace {

// What a run of draws past exhausted entries ended on, when not on an entry.
constexpr std::size_t kDrawStopped = SIZE_MAX;
constexpr std::size_t kLookAtAll = SIZE_MAX - 1;

}  // namespace

bool BlobCanvas::DrawFailed(std::int32_t& low, std::int16_t erratic, std::int64_t& tries,
                            std::int64_t lookAt) {
  ++tries;
  if (tries > erratic && low > 0) --low;
  return low == 0 && tries >= lookAt;
}

std::size_t BlobCanvas::DrawPastExhausted(BuildContext& context, std::int32_t n,
                                          std::int32_t& low, std::int16_t erratic,
                                          std::int64_t& tries, std::int64_t lookAt) {
  // In locals, so that the stores of a yield or a draw do not make the loop read them again:
  // the generator, the hooks, the flags (no entry is added while drawing) and the window as
  // the two numbers a draw is scaled by.
  Random& random = context.random;
  BuildHooks& hooks = context.hooks;
  const bool& stop = context.world.StopRequested;
  const std::uint64_t* exhausted = exhausted_.Words();
  std::int32_t from = low;
  std::int64_t failures = tries;
  double span = n - from, start = from;
  std::size_t found = kLookAtAll;
  // The draw that led here landed on an exhausted entry.
  for (;;) {
    const std::int32_t before = from;
    if (DrawFailed(from, erratic, failures, lookAt)) break;
    if (from != before) {
      span = n - from;
      start = from;
    }
    hooks.Yield();
    if (stop) {
      found = kDrawStopped;
      break;
    }
    const auto i = static_cast<std::size_t>(static_cast<std::int64_t>(random.Next() * span + start));
    if (((exhausted[i / 64] >> (i % 64)) & 1U) == 0) {
      found = i;
      break;
    }
  }
  low = from;
  tries = failures;
  return found;
}

Growth BlobCanvas::AddGrowthSquare(BuildContext& context, std::int32_t& low,
                                   std::int16_t erratic) {
  const std::int32_t n = Count();
  if (n == 0) return Growth::kNoRoom;
  // A window from n on would draw past the list's end.
  low = std::clamp(low, 0, n - 1);
  std::int64_t tries = 0;
  // When every entry is exhausted no draw can succeed: after every n failed draws from the
  // whole list, all entries are looked at once, so the search ends.
  std::int64_t lookAt = n;
  for (;;) {
    if (context.YieldAndCheckStop()) return Growth::kStopped;
    // r (n - low) + low is never negative, so converting it is taking its floor (to a
    // signed number first: one instruction, where an unsigned one takes a branch).
    auto i = static_cast<std::size_t>(static_cast<std::int64_t>(context.random.Next() * (n - low) + low));
    // Most draws of a large mass land on exhausted entries: a run of them is drawn in a loop
    // of its own, out of line, where each costs a bit test and little else.
    if (exhausted_.Test(i)) i = DrawPastExhausted(context, n, low, erratic, tries, lookAt);
    if (i == kDrawStopped) return Growth::kStopped;
    if (i != kLookAtAll) {
      const GrowthSquare source = list_[i];
      // Away from the canvas edge each neighbour is one look, no bounds.
      const bool grown =
          IsInner(source)
              ? GrowFrom(context, i, [this, square = &canvas_(source.x, source.y)](int d) {
                  return square[stride_[static_cast<std::size_t>(d)]];
                })
              : GrowFrom(context, i, [this, source](int d) {
                  return CodeAt(source.x + kStepX[d], source.y + kStepY[d]);
                });
      if (grown) return Growth::kGrown;
      exhausted_.Set(i);
      if (!DrawFailed(low, erratic, tries, lookAt)) continue;
    }
    if (!AnyEntryCanGrow() && !MoveFramesBack()) return Growth::kNoRoom;
    lookAt = tries + n;
  }
}

template <typename Look>
bool BlobCanvas::GrowFrom(BuildContext& context, std::size_t i, Look look) {
  // Bit d set when the neighbour in direction d is open: the four looks are taken at once,
  // without a branch each, and a drawn direction is then one bit test.
  const auto openSides = [&look] {
    unsigned open = 0;
    for (int d = 0; d < kSides; ++d) open |= static_cast<unsigned>(look(d) == kOpen) << d;
    return open;
  };
  unsigned open = openSides();
  if (open == 0) return false;
  for (;;) {
    const auto d = static_cast<int>(context.random.Next() * 4);
    if ((open >> d) & 1U) {
      AddLand(context, list_[i].x + kStepX[d], list_[i].y + kStepY[d]);
      return true;
    }
    if (look(d) != kMark) continue;
    HitFrame(context, d);
    // The frame may have closed over the entry's last open side.
    open = openSides();
    if (open == 0) return false;
  }
}

void BlobCanvas::HitFrame(BuildContext& context, int side) {
  std::int32_t& hits = hits_[static_cast<std::size_t>(side)];
  ++hits;
  // The top side moves once its count has reached the period, the other three each time
  // their count is a whole multiple of it.
  const bool due = side == kTopSide ? hits >= period_ : hits % period_ == 0;
  if (!due || frameFixed_) return;
  MoveFrameIn(side);
  hits = LandOnLine(side, Depth(side) - 2);
  period_ = DrawFramePeriod(context.random);
}

void BlobCanvas::MoveFrameIn(int side) {
  // The frame moves in whatever stands opposite: where it meets the opposite frame its new
  // line finds no open square, and a mass squeezed shut that way has its frames moved back.
  // Only a line past the canvas's far edge is not taken (by then the frame covers the whole
  // canvas and no square is open, so growth never gets there).
  const std::int32_t lines = (side == kTopSide || side == kBottomSide ? yMax_ : xMax_) + 1;
  if (Depth(side) >= lines) return;
  ++depth_[static_cast<std::size_t>(side)];
  SetLine(side, Depth(side) - 1, kOpen, kMark);
}

bool BlobCanvas::MoveFramesBack() {
  frameFixed_ = true;
  for (;;) {
    bool moved = false;
    for (int side = 0; side < kSides; ++side) {
      // The outer ring stays, so that no land reaches the canvas edge.
      if (Depth(side) <= 1) continue;
      --depth_[static_cast<std::size_t>(side)];
      SetLine(side, Depth(side), kMark, kOpen);
      moved = true;
    }
    if (!moved) return false;
    bool canGrow = false;
    for (std::size_t e = 0; e < list_.size(); ++e) {
      const bool open = HasOpenSide(list_[e]);
      exhausted_.Assign(e, !open);
      canGrow = canGrow || open;
    }
    if (canGrow) return true;
  }
}

void BlobCanvas::SetLine(int side, std::int32_t distance, char from, char to) {
  const auto inFrame = [this](std::int32_t x, std::int32_t y) {
    return y < Depth(kTopSide) || y > yMax_ - Depth(kBottomSide) || x < Depth(kLeftSide) ||
           x > xMax_ - Depth(kRightSide);
  };
  const bool rows = side == kTopSide || side == kBottomSide;
  const std::int32_t line = side == kTopSide || side == kLeftSide ? distance
                            : rows                              ? yMax_ - distance
                                                                : xMax_ - distance;
  const std::int32_t length = rows ? xMax_ : yMax_;
  for (std::int32_t k = 0; k <= length; ++k) {
    const std::int32_t x = rows ? k : line, y = rows ? line : k;
    char& cell = canvas_(x, y);
    if (cell != from) continue;
    // A line given back keeps the squares that still lie in another side's frame.
    if (to == kOpen && inFrame(x, y)) continue;
    cell = to;
  }
}

std::int32_t BlobCanvas::LandOnLine(int side, std::int32_t distance) const {
  if (distance < 0) return 0;
  const bool rows = side == kTopSide || side == kBottomSide;
  const std::int32_t line = side == kTopSide || side == kLeftSide ? distance
                            : rows                              ? yMax_ - distance
                                                                : xMax_ - distance;
  const std::int32_t length = rows ? xMax_ : yMax_;
  std::int32_t land = 0;
  for (std::int32_t k = 0; k <= length; ++k)
    if ((rows ? canvas_(k, line) : canvas_(line, k)) == kLand) ++land;
  return land;
}

// Squares grown (less one, a power of two less one) between two reports of the share grown.
constexpr std::int32_t kShareEvery = 4095;

Growth GrowMass(BuildContext& context, BlobCanvas& blob, std::int32_t squares,
                std::int16_t evenPad, std::int16_t erratic) {
  const double evenSteps = evenPad / 100.0 * (squares - 1 - blob.Count());
  std::int32_t added = 0, low = 0;
  bool erraticMode = false;
  while (blob.Count() <= squares - 1) {
    if (context.YieldAndCheckStop()) return Growth::kStopped;
    if (!erraticMode && evenSteps < added) {
      erraticMode = true;
      low = std::max(0, blob.Count() - erratic);
    }
    ++added;
    // Now and then the share grown so far, for the progress display.
    if ((added & kShareEvery) == 0) context.hooks.ShowStepShare(blob.Count(), squares);
    const Growth step = blob.AddGrowthSquare(context, low, erratic);
    if (step != Growth::kGrown) return step;
  }
  return Growth::kGrown;
}

}  // namespace lorvex::shaping
