// What the shaping tests share: a world, parameters and hooks for one shaper call, hooks
// that record the land squares the mass preview is shown, and checks on a shaped
// mass grid.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "shaping/mass_canvas.h"
#include "support/engine_rig.h"

namespace lorvex::shaping::testing {

class RecordingHooks : public SilentHooks {
 public:
  void StartMassPreview(int, int) override { land.clear(); }
  void ShowLandSquare(int x, int y) override { land.emplace_back(x, y); }

  std::vector<std::pair<int, int>> land;  // since the last StartMassPreview
};

using ShapingFixture = checks::EngineRig<RecordingHooks>;

inline int CountCode(const MassGrid& grid, char code) {
  return static_cast<int>(std::count(grid.Cells().begin(), grid.Cells().end(), code));
}

// The grid holds "C", "S" and "X" only.
inline bool OnlyMassCodes(const MassGrid& grid) {
  return CountCode(grid, kLand) + CountCode(grid, kPad) + CountCode(grid, kOpen) == static_cast<int>(grid.Cells().size());
}

}  // namespace lorvex::shaping::testing
