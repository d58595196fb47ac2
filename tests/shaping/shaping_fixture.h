// What the shaping tests share: a world, parameters and hooks for one shaper call, hooks
// that record the mass preview's calls and can stop the build at a chosen yield or land
// square, and checks on a shaped mass grid.
#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "shaping/mass_canvas.h"
#include "support/engine_rig.h"

namespace lorvex::shaping::testing {

class RecordingHooks : public SilentHooks {
 public:
  explicit RecordingHooks(WorldState& world) : world_(world) {}
  void Yield() override {
    if (++yields == stopAt) world_.StopRequested = true;
  }
  void StartMassPreview(int width, int height) override {
    previews.emplace_back(width, height);
    land.clear();
  }
  void ShowLandSquare(int x, int y) override {
    land.emplace_back(x, y);
    if (land.size() == stopAtLand) world_.StopRequested = true;
  }
  void ShowPadSquare(int x, int y) override { pads.emplace_back(x, y); }

  long long stopAt = 0;        // 0: never
  std::size_t stopAtLand = 0;  // 0: never
  std::vector<std::pair<int, int>> previews;
  std::vector<std::pair<int, int>> land;  // since the last StartMassPreview
  std::vector<std::pair<int, int>> pads;

 private:
  WorldState& world_;
};

using ShapingFixture = checks::EngineRig<RecordingHooks>;

inline int CountCode(const MassGrid& grid, char code) {
  return static_cast<int>(std::count(grid.Cells().begin(), grid.Cells().end(), code));
}

// The grid holds "C", "S" and "X" only.
inline bool OnlyMassCodes(const MassGrid& grid) {
  return CountCode(grid, kLand) + CountCode(grid, kPad) + CountCode(grid, kOpen) ==
         static_cast<int>(grid.Cells().size());
}

inline int DistinctSquares(const std::vector<std::pair<int, int>>& squares) {
  return static_cast<int>(std::set<std::pair<int, int>>(squares.begin(), squares.end()).size());
}

}  // namespace lorvex::shaping::testing
