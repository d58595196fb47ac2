// Faults the stress test and the fuzz targets found, each pinned down where it lived.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/mass_placement.h"
#include "params/build_parameters.h"
#include "apps/cli_run.h"
#include "support/parameter_values.h"
#include "support/world_invariants.h"
#include "tests/params/form_fixture.h"

namespace lorvex {
namespace {

// A world with its initial map, default parameters and silent hooks.
struct Bench {
  Bench(int width, int height, bool wrap) : controls(params::CreateWindowControls()), view(controls) {
    world.SetMapSize(width, height, wrap);
    world.CreateInitialMap();
    world.StopRequested = false;
  }
  BuildContext Context() { return BuildContext{world, view, random, hooks}; }

  WorldState world;
  platform::ControlSet controls;
  params::ParameterView view;
  Random random{1};
  SilentHooks hooks;
};

Grid<char> MakeGrid(const std::vector<std::string>& rows) {
  Grid<char> grid(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'X');
  for (int j = 0; j < grid.Height(); ++j)
    for (int i = 0; i < grid.Width(); ++i) grid(i, j) = rows[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)];
  return grid;
}

// A mass wider than a wrapping map lands on some squares twice, x wrapping round the width.
// Each land square is counted once, and land that the mass's own sea border covers again
// is not counted. On a 5-wide map the middle row of this 9-wide grid lands, from grid
// column 0, on x = 3 4 0 1 2 3 4 0 1 with the letters S C C C C C C C S: the map keeps
// C at x = 0, 2, 3, 4 and S at x = 1.
TEST(Regression, AMassWiderThanAWrappingMapCountsEachLandSquareOnce) {
  Bench b(5, 7, true);
  b.world.MassTable.assign(1, LandMass{});
  BuildContext context = b.Context();
  WriteMassAt(context, MakeGrid({"SSSSSSSSS", "SCCCCCCCS", "SSSSSSSSS"}), 2, 3, 0);
  EXPECT_EQ(std::string(&b.world.WorldMap(0, 3), 1) + b.world.WorldMap(1, 3) + b.world.WorldMap(2, 3) +
                b.world.WorldMap(3, 3) + b.world.WorldMap(4, 3),
            "CSCCC");
  EXPECT_EQ(b.world.MassTable[0].squares, 4);
  EXPECT_EQ(b.world.MassOfSquare(1, 3), -1);  // sea again, no longer the mass's
  EXPECT_EQ(checks::CheckWorld(b.world), "");
}

// A settings file loaded into a fresh window, saved, and loaded into another fresh window
// must give the same parameter values but for the one documented edge-option case (the
// property the settings fuzz target checks).
std::string RoundTripDifference(const std::string& fileText) {
  params::testing::InEmptyDirectory dir;
  testing::WriteFile("first.kst", fileText);
  params::testing::FormFixture first;
  if (!first.form.LoadSettingsFile("first.kst")) return "the file did not load";
  std::string error;
  if (!first.form.WriteSettingsFile("saved.kst", error)) return "the save failed: " + error;
  params::testing::FormFixture second;
  if (!second.form.LoadSettingsFile("saved.kst")) return "the saved file did not load";
  return checks::FirstDifference(checks::ValuesAfterReload(checks::ReadParameterValues(first.controls)),
                                 checks::ReadParameterValues(second.controls));
}

// Files the settings fuzz target found whose values did not survive a save and a load as
// the property expects.
TEST(Regression, SettingsFilesReadBackAsTheyWereSaved) {
  struct Case {
    const char* what;
    const char* text;
  };
  const Case cases[] = {
      // The edge option checked, then the other one set grey: the grey box stays grey in the
      // first window and is unchecked when the saved file checks (2) after it.
      {"a grey edge option after the other one", "chkLandPlace(2)= 1\rchkLandPlace(1)= 2"},
      // The same two the other way round read back unchanged.
      {"a grey edge option before the other one", "chkLandPlace(1)= 2\rchkLandPlace(2)= 1"},
      {"a checked first option and a grey second", "chkLandPlace(1)= 1\rchkLandPlace(2)= 2"},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundTripDifference(c.text), "") << c.what;
}

}  // namespace
}  // namespace lorvex
