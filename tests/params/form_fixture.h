// A parameters window's controls, form and scriptable platform without the rest of the
// window, opened as the window opens, for a map of 100 x 60 unless the test says otherwise.
#pragma once

#include <filesystem>
#include <string>

#include "apps/cli_run.h"

#include "params/parameter_window.h"

namespace lorvex::params::testing {

struct FormFixture : ParameterWindow {
  explicit FormFixture(std::int32_t mapWidth = 100, std::int32_t mapHeight = 60,
                       std::uint64_t seed = 1)
      : ParameterWindow(mapWidth, mapHeight) {
    random.Seed(seed);
    for (int panel = 1; panel <= 5; ++panel) {
      statusBar.Panel(panel).left = 1000 * panel;
      statusBar.Panel(panel).width = 900 + panel;
    }
    form.RefreshDerivedFigures();  // again, over the panels laid out
  }

  platform::Control& At(const char* name, int index) { return controls.At(name, index); }
  const std::string& Text(const char* name, int index) { return controls.At(name, index).Text(); }
  // A person types a text into a box and leaves it.
  void Type(const char* name, int index, const std::string& text) {
    platform::Control& box = controls.At(name, index);
    box.Type(text);
    box.LoseFocus();
  }
  const std::string& LandFigure() { return statusBar.Panel(kLandFigurePanel).text; }
};

using lorvex::testing::InEmptyDirectory;

}  // namespace lorvex::params::testing
