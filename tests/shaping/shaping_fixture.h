// What the shaping tests share: a world, parameters and hooks for one shaper call, hooks
// that record the mass preview's calls and can stop the build at a chosen yield, and
// checks on a shaped mass grid.
#pragma once

#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "world/build_context.h"
#include "params/build_parameters.h"
#include "shaping/mass_canvas.h"
#include "support/engine_rig.h"

namespace lorvex::shaping::testing {

// Silent hooks that record the mass preview and set StopRequested at yield `stopAt` or at
// the land square `stopAtLand` shown (as a key pressed during a watch-mode pause would;
// 0 = never).
class RecordingHooks : public SilentHooks {
 public:
  explicit RecordingHooks(WorldState& world) : world_(world) {}
  void Yield() override {
    ++yields;
    if (stopAt > 0 && yields == stopAt) world_.StopRequested = true;
  }
  void StartMassPreview(int width, int height) override {
    previews.emplace_back(width, height);
    land.clear();
  }
  void ShowLandSquare(int x, int y) override {
    land.emplace_back(x, y);
    if (stopAtLand > 0 && land.size() == stopAtLand) world_.StopRequested = true;
  }
  void ShowPadSquare(int x, int y) override { pads.emplace_back(x, y); }

  long long stopAt = 0;
  std::size_t stopAtLand = 0;
  std::vector<std::pair<int, int>> previews;
  std::vector<std::pair<int, int>> land;  // since the last StartMassPreview
  std::vector<std::pair<int, int>> pads;

 private:
  WorldState& world_;
};

// One build's context with the window's default parameters.
using ShapingFixture = checks::EngineRig<RecordingHooks>;

inline int CountCode(const MassGrid& grid, char code) {
  int count = 0;
  for (char c : grid.Cells()) count += c == code ? 1 : 0;
  return count;
}

// The grid holds "C", "S" and "X" only.
inline bool OnlyMassCodes(const MassGrid& grid) {
  for (char c : grid.Cells())
    if (c != kLand && c != kPad && c != kOpen) return false;
  return true;
}

inline std::size_t DistinctSquares(const std::vector<std::pair<int, int>>& squares) {
  return std::set<std::pair<int, int>>(squares.begin(), squares.end()).size();
}

// The spans the driver gives a blob of `squares` for q = 3 .. 9.
inline std::pair<std::int16_t, std::int16_t> DriverSpans(std::int32_t squares, int q) {
  return {ToInt16(std::sqrt(static_cast<double>(q) * squares)),
          ToInt16(std::sqrt(static_cast<double>(12 - q) * squares))};
}

}  // namespace lorvex::shaping::testing
