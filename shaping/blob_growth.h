// The canvas the two blob algorithms (Stick Blob, Wandering Blob) shape a mass on, and
// their shared growth: GrowMass adds single squares next to the mass, evenly at first and
// erratically afterwards, one AddGrowthSquare at a time, inside a keep-out frame of "K"
// that closes in on the side the growth pushes against.
//
// Canvas squares are (x, y), x = 0 .. XMax from the left, y = 0 .. YMax from the top, with
// XMax = 2 Pad + SpanX + 2 and YMax = 2 Pad + SpanY + 2. The frame is 1 ring deep when Pad
// is below 1, Pad + 1 rings otherwise, which leaves (SpanX + 1) x (SpanY + 1) squares
// inside it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/build_context.h"
#include "shaping/mass_canvas.h"
#include "shaping/square_flags.h"

namespace lorvex::shaping {

// One land square of the mass, in the order the squares were added. Whether it can still
// grow is kept beside the list, in a SquareFlags.
struct GrowthSquare {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The box round the squares of a list; empty for an empty list.
MassBox BoxOf(const std::vector<GrowthSquare>& squares);

// How a growth call ended.
enum class Growth {
  kGrown,    // the squares asked for were added
  kStopped,  // a stop was requested during a yield
  kNoRoom,   // no square of the mass can grow any more, even with the frame taken back
             // to the canvas's outer ring
};

// The frame sides, named after the canvas edge they stand on; side d is also the one the
// growth pushes against when it steps in direction d (0 up, 1 down, 2 left, 3 right).
enum FrameSide : int { kTopSide = 0, kBottomSide = 1, kLeftSide = 2, kRightSide = 3 };

class BlobCanvas {
 public:
  // Negative pads and spans count as 0. `squares` only sizes the square list.
  BlobCanvas(std::int32_t squares, std::int32_t pad, std::int16_t spanX, std::int16_t spanY);

  std::int32_t XMax() const { return xMax_; }
  std::int32_t YMax() const { return yMax_; }
  std::int32_t Pad() const { return pad_; }
  std::int32_t Rings() const { return rings_; }
  // Squares inside the frame: (SpanX + 1) x (SpanY + 1).
  std::int64_t InteriorSquares() const;

  const MassCanvas& Canvas() const { return canvas_; }
  char At(std::int32_t x, std::int32_t y) const { return canvas_(x, y); }
  const std::vector<GrowthSquare>& Squares() const { return list_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(list_.size()); }
  // The entry has been found with no open side neighbour.
  bool Exhausted(std::int32_t entry) const { return exhausted_.Test(static_cast<std::size_t>(entry)); }

  std::int32_t Depth(int side) const { return depth_[static_cast<std::size_t>(side)]; }
  std::int32_t Hits(int side) const { return hits_[static_cast<std::size_t>(side)]; }
  std::int32_t Period() const { return period_; }
  void SetPeriod(std::int32_t period) { period_ = period; }

  // A new land square: list entry, "C" and the preview. The square need not be open.
  void AddLand(BuildContext& context, std::int32_t x, std::int32_t y) {
    list_.push_back({x, y});
    exhausted_.PushBack();
    canvas_(x, y) = kLand;
    context.hooks.ShowLandSquare(x, y);
  }
  // Turns every listed square back to "X" and empties the list.
  void ClearLand();
  // The fallback for a mass bigger than the frame's inside: squares x = Pad .. XMax - Pad - 1
  // (outer), y = Pad .. YMax - Pad - 1 (inner) become land until the mass has `squares`.
  // Without a pad that includes row and column 0, whose land CropMass never sees.
  void FillRectangle(BuildContext& context, std::int32_t squares);
  // The last steps: every "K" back to "X" (where the mass grid can reach: the rest of the
  // canvas is dropped unread), the land trail faded, Pad rings of padding, the crop.
  MassGrid Finish(BuildContext& context);

  // Adds one land square beside a square drawn from the list entries low .. n - 1. Entries
  // found with no open side are flagged exhausted; once more than `erratic` draws have
  // failed, every further failure lowers `low` by one (the caller keeps the lowered value).
  // A step into the frame counts a hit on that side, which may move the frame in.
  Growth AddGrowthSquare(BuildContext& context, std::int32_t& low, std::int16_t erratic);
  // A step of the growth into the frame of `side` (a FrameSide): counts the hit, and when the
  // count is due the frame moves one line in, the count restarts at the land on the line
  // just outside the new one and a new period is drawn.
  void HitFrame(BuildContext& context, int side);

 private:
  // The code of (x, y); off the canvas (beside an anchor point taken on its edge) it is 0:
  // neither open nor frame, so growth neither enters it nor counts it as a hit.
  char CodeAt(std::int32_t x, std::int32_t y) const { return canvas_.Contains(x, y) ? canvas_(x, y) : 0; }
  bool IsOpen(std::int32_t x, std::int32_t y) const { return CodeAt(x, y) == kOpen; }
  bool HasOpenSide(const GrowthSquare& s) const;
  // Off the canvas's outer ring: all four side neighbours lie on the canvas.
  bool IsInner(const GrowthSquare& s) const { return s.x >= 1 && s.y >= 1 && s.x < xMax_ && s.y < yMax_; }
  // A failed draw: once more than `erratic` draws have failed, each further one lowers `low`
  // by one. True when all entries are to be looked at.
  static bool DrawFailed(std::int32_t& low, std::int16_t erratic, std::int64_t& tries,
                         std::int64_t lookAt);
  // Goes on from a draw that landed on an exhausted entry, drawing until one lands on an
  // entry that is not (its index), a stop is requested or all entries are to be looked at
  // (two values past any index).
  [[gnu::noinline]] std::size_t DrawPastExhausted(BuildContext& context, std::int32_t n,
                                                  std::int32_t& low, std::int16_t erratic,
                                                  std::int64_t& tries, std::int64_t lookAt);
  // Draws directions from entry i until one leads onto an open square, which becomes land
  // (true), or until the entry is found with no open side (false). look(d) is the code
  // beside the entry in direction d.
  template <typename Look>
  bool GrowFrom(BuildContext& context, std::size_t i, Look look);
  // True when some entry still has an open side; flags the others exhausted on the way.
  bool AnyEntryCanGrow();
  void MoveFrameIn(int side);
  // Turns the innermost line of every side back to "X", one line a side at a time, until
  // some entry can grow again; false when only the canvas's outer ring is left and none
  // can. Past the first depth too: land that anchor points or sticks put into the frame
  // can only grow out that way.
  bool MoveFramesBack();
  void SetLine(int side, std::int32_t distance, char from, char to);
  std::int32_t LandOnLine(int side, std::int32_t distance) const;

  std::int32_t pad_, rings_, xMax_, yMax_;
  MassCanvas canvas_;
  // How far a step in direction d (0 up, 1 down, 2 left, 3 right) moves along the canvas.
  std::array<std::ptrdiff_t, 4> stride_{};
  std::vector<GrowthSquare> list_;
  SquareFlags exhausted_;  // one per entry of list_
  std::int32_t period_ = 3;
  std::array<std::int32_t, 4> depth_{};
  std::array<std::int32_t, 4> hits_{};
  // Once the frame has had to move back, it stays put: closing in again could take away
  // the room just given back, round and round.
  bool frameFixed_ = false;
};

// The shared frame period, 3 to 9 hits: Int(r * 7) + 3.
std::int32_t DrawFramePeriod(Random& random);

// Grows the mass to `squares` land squares: evenly from any square of the mass until more
// than evenPad % of the squares still wanted at the start have been added, then only from
// the squares added since `erratic` squares before that switch.
Growth GrowMass(BuildContext& context, BlobCanvas& blob, std::int32_t squares,
                std::int16_t evenPad, std::int16_t erratic);

}  // namespace lorvex::shaping
