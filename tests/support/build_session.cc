#include "support/build_session.h"

#include "platform/headless_platform.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex::checks {

namespace {

constexpr int kEscape = 27;  // any key pressed during a build asks the stop question

bool IsRefusal(const std::string& text) {
  return text == "Please Select at least One Building Algorithm" ||
         text == "Shapes Algorithm is Selected, Please Select at least One Shape";
}

// What the window must show once a build has ended and left it open.
std::string CheckOpenWindow(ui::frmBuild& window, const platform::HeadlessPlatform& platform) {
  const platform::ControlSet& controls = window.Controls();
  if (!window.World().StopRequested) return "the window is open but not idle";
  for (int k = 1; k <= params::kTabCount; ++k)
    if (!controls.At("fratabs", k).enabled) return "a page stayed locked after the build";
  if (!controls.At("fraButtons", 0).enabled) return "the buttons stayed locked after the build";
  if (controls.At("fraWatchIt", 0).visible) return "the preview frame stayed shown";
  if (platform.Pointer() != platform::MousePointer::kDefault) return "the hourglass stayed";
  return "";
}

// The build's end as the window shows it: progress back to 0 and the idle status.
std::string CheckAfterBuild(ui::frmBuild& window) {
  if (window.Progress().value != 0) return "the progress bar was not reset";
  if (window.StatusBar().Panel(ui::kStatusPanelBuild).text != "Getting User Preferences")
    return "the status panel was not reset";
  return "";
}

// The host's copy of a finished world: the same letters, one city entry per city square.
std::string CheckHostCopy(const WorldState& world, const HostWorld& out) {
  if (out.MapArray.Width() != world.MapWidth || out.MapArray.Height() != world.MapHeight)
    return "the host's map has the wrong size";
  if (out.MapArray.Cells() != world.WorldMap.Cells()) return "the host's map differs from the world";
  std::int32_t cities = 0;
  for (char code : world.WorldMap.Cells()) cities += code == terrain::kCity ? 1 : 0;
  if (out.CityCount != cities) return "the host counts " + std::to_string(out.CityCount) + " cities";
  if (out.Masses.size() != world.MassTable.size()) return "the host's mass list differs";
  return "";
}

}  // namespace

SessionResult RunSession(const SessionPlan& plan) {
  SessionResult result;
  platform::HeadlessPlatform platform;
  platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
  ui::frmBuild window(platform);
  window.SetSeed(plan.seed);
  long long budgetEnd = plan.yieldBudget;
  platform.OnYield([&](platform::Window&) {
    if (platform.YieldCount() > budgetEnd && !result.overBudget) {
      result.overBudget = true;
      window.World().StopRequested = true;
    }
  });
  if (plan.stopAtYield > 0) platform.QueueKeyAtYield(plan.stopAtYield, {0, 0, kEscape});

  const auto note = [&result](const std::string& broken) {
    if (result.broken.empty()) result.broken = broken;
  };
  bool evenSpacing = false;
  platform.AddModalAction([&](platform::Window&) {
    if (plan.setParameters) plan.setParameters(window.Controls());
    if (plan.watch) window.Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
    const std::size_t messagesBefore = platform.Messages().size();
    window.Controls().At("cmdBuild", 0).Click();
    evenSpacing = window.Controls().At("chkLandPlace", 0).Value() == 1;
    if (!window.IsVisible()) return;  // built: the window closed itself
    note(CheckOpenWindow(window, platform));
    if (platform.Messages().size() > messagesBefore && IsRefusal(platform.Messages().back().text)) {
      result.refused = true;
    } else {
      result.stopped = !result.overBudget;
      note(CheckAfterBuild(window));
      note(CheckWorld(window.World(), {.evenSpacing = evenSpacing}));
      if (plan.buildAgainAfterStop) {
        budgetEnd = platform.YieldCount() + plan.yieldBudget;
        window.Controls().At("cmdBuild", 0).Click();
        if (!window.IsVisible()) return;
        note(CheckOpenWindow(window, platform));
      }
    }
    window.Controls().At("cmdCancel", 0).Click();
  });

  HostWorld out;
  result.answer = window.GetMap(plan.width, plan.height, plan.wrap, out);
  result.yields = platform.YieldCount();
  for (char code : window.World().WorldMap.Cells()) result.landSquares += IsLand(code) ? 1 : 0;
  if (result.answer) {
    note(CheckAfterBuild(window));
    note(CheckWorld(window.World(), {.evenSpacing = evenSpacing}));
    note(CheckHostCopy(window.World(), out));
  }
  return result;
}

}  // namespace lorvex::checks
