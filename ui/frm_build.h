// frmBuild, the parameters window: its controls and common controls, the world state of
// one Build, and the window's behaviour — GetMap (open, show modally, copy the world out),
// the Build and Cancel buttons, the keys (stop question, Alt+F5 watch toggle), the pause
// timer, the status text with its spinner, the progress bar and the previews. It reaches
// the screen only through a platform::Platform.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/random.h"
#include "common/world_key.h"
#include "world/build_context.h"
#include "world/grid.h"
#include "engine/host_world.h"
#include "world/world_state.h"
#include "params/build_parameters.h"
#include "params/parameter_form.h"
#include "params/settings_file.h"
#include "platform/common_controls.h"
#include "platform/control.h"
#include "platform/picture_surface.h"
#include "platform/platform.h"
#include "ui/previews.h"

namespace lorvex::ui {

inline constexpr int kStatusPanels = 5;
inline constexpr int kStatusPanelBuild = 4;
inline constexpr int kStatusPanelProgress = 5;

class frmBuild : public BuildHooks, public platform::Window {
 public:
  explicit frmBuild(platform::Platform& platform);
  frmBuild(const frmBuild&) = delete;
  frmBuild& operator=(const frmBuild&) = delete;

  // The key of the next GetMap: the generator is seeded with its seed and skips its draws
  // before the window opens. Without one the clock seeds the generator.
  void SetKey(std::optional<WorldKey> key) { key_ = key; }
  void SetSeed(std::optional<std::uint64_t> seed) {
    key_ = seed ? std::optional<WorldKey>(WorldKey{*seed, 0}) : std::nullopt;
  }
  // The key of the last build started in this window: the generator's seed and the draws
  // it had made when Build was pressed (by Recommend or an earlier, stopped build). A new
  // window given this key builds the same world from the same parameters.
  WorldKey BuildKey() const { return buildKey_; }
  // Settings lines that GetMap applies after the default settings file, as a settings file
  // of just those lines is applied (a builder's own parameters).
  void SetOpeningSettings(std::vector<params::SettingsLine> lines) { openingSettings_ = std::move(lines); }
  // Stop flags another thread may raise (BuildHooks::SetStopFlags): a build then stops at
  // its next yield or checkpoint, as after a Yes to the stop question, and the window
  // closes, as nobody may be there to close it.
  // For a host that lets the window go once GetMap returns: the world's map, masses and
  // grid of masses are moved into `out` rather than copied, so that the world is never
  // held twice. The window's own world is then left without them.
  void SetHandOver(bool handOver) { handOver_ = handOver; }

  // Opens the window for a map of the given size, shows it modally, and when a build ran
  // to its end copies the world into `out` and answers true.
  bool GetMap(std::int32_t mapWidth, std::int32_t mapHeight, bool mapWrap, HostWorld& out);

  // How the last press of Build ended: refused by one of the window's messages (the text
  // it showed), stopped, or built; kNone before any press.
  enum class PressOutcome { kNone, kRefused, kStopped, kBuilt };
  PressOutcome LastPress() const { return lastPress_; }
  const std::string& RefusalMessage() const { return refusal_; }

  // Called whenever a build's stage or its step on the progress bar changes: the stage's
  // name as the status panel shows it ("Large", "Terrain" ...), the progress value and the
  // progress bar's maximum. The call runs on the building thread, inside the build.
  using ProgressSink = std::function<void(std::string_view stage, int step, int whole)>;
  void OnProgress(ProgressSink sink) { progressSink_ = std::move(sink); }

  // Buttons and events.
  void cmdBuild_Click();
  void cmdCancel_Click();
  bool ValidateBuild();
  void Form_KeyDown(int keyCode, int shift);
  void Form_KeyPress(int keyAscii);
  void tmrPause_Timer();

  // Access for bindings, the command line and tests.
  platform::ControlSet& Controls() { return controls_; }
  const platform::ControlSet& Controls() const { return controls_; }
  params::ParameterForm& Form() { return form_; }
  WorldState& World() { return world_; }
  const WorldState& World() const { return world_; }
  platform::StatusBar& StatusBar() { return statusBar_; }
  const platform::ProgressBar& Progress() const { return progress_; }
  platform::TabStrip& Tabs() { return tabs_; }
  const platform::PictureSurface& PicWorld() const { return picWorld_; }
  const platform::PictureSurface& PicMass() const { return picMass_; }
  Random& Generator() { return random_; }
  std::string Caption() const { return params::kWindowCaption; }
  void Show() { visible_ = true; }
  void Hide() { visible_ = false; }

  // platform::Window
  bool IsVisible() const override { return visible_; }
  void KeyDown(int keyCode, int shift) override { Form_KeyDown(keyCode, shift); }
  void KeyPress(int keyAscii) override { Form_KeyPress(keyAscii); }
  bool PauseTimerEnabled() const override { return tmrPause_.enabled; }
  int PauseTimerInterval() const override { return tmrPause_.intervalMs; }
  void PauseTimerTick() override { tmrPause_Timer(); }
  void CloseByUser() override { cmdCancel_Click(); }

  // BuildHooks
  void YieldToEventLoop() override {
    platform_.DoEvents(*this);
    if (StopRaised()) world_.StopRequested = true;
  }
  void StopFromOutside() override { world_.StopRequested = true; }
  double Clock() override { return platform_.SecondsSinceMidnight(); }
  void SetStatusText(std::string_view text) override {
    statusBar_.Panel(kStatusPanelBuild).text = text;
  }
  void ShowStatus(std::string_view stage, std::string_view detail) override;
  void SetProgressMax(int max) override { progress_.max = max; }
  void SetProgressValue(int value) override {
    const bool changed = value != progress_.value;
    progress_.value = value;
    progress_.within = 0;
    if (changed && progressSink_) progressSink_(progressStage_, value, progress_.max);
  }
  void ShowStepShare(std::int64_t done, std::int64_t total) override {
    progress_.within = total > 0 ? std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0) : 0.0;
    platform_.ShowProgress(*this);
  }
  int ProgressValue() const override { return progress_.value; }
  void EnablePauseTimer() override {
    tmrPause_.enabled = true;
    platform_.Quiet().End();
  }
  // The previews draw nothing outside watch mode; the test here spares the call for each
  // of the millions of squares a large build shows.
  void PreviewInit(int width, int height) override { previews_.PreviewInit(width, height); }
  void PreviewMarkSquare(int x, int y) override {
    if (world_.WatchMode) previews_.PreviewMarkSquare(x, y);
  }
  void PreviewLandSquare(int x, int y) override {
    if (world_.WatchMode) previews_.PreviewLandSquare(x, y);
  }
  void PreviewTrail(int x, int y) override {
    if (world_.WatchMode) previews_.PreviewTrail(x, y);
  }
  void FadeTrail(int step) override { previews_.FadeTrail(step); }
  void StartMassPreview(int width, int height) override { previews_.StartMassPreview(width, height); }
  void ShowLandSquare(int x, int y) override {
    if (world_.WatchMode) previews_.ShowLandSquare(x, y);
  }
  void FadeLandTrail(int step) override { previews_.FadeLandTrail(step); }
  void ShowPadSquare(int x, int y) override {
    if (world_.WatchMode) previews_.ShowPadSquare(x, y);
  }
  void FadePadTrail(int step) override { previews_.FadePadTrail(step); }

 private:
  void SetPagesEnabled(bool enabled);
  void CopyWorldOut(HostWorld& out);

  platform::Platform& platform_;
  platform::ControlSet controls_;
  platform::StatusBar statusBar_{kStatusPanels};
  platform::ProgressBar progress_;
  platform::TabStrip tabs_;
  platform::PictureSurface picWorld_;
  platform::PictureSurface picMass_;
  platform::PauseTimer tmrPause_;
  WorldState world_;
  Random random_;
  std::optional<WorldKey> key_;
  WorldKey buildKey_;
  std::vector<params::SettingsLine> openingSettings_;
  bool handOver_ = false;
  bool visible_ = false;
  params::ParameterForm form_;
  Previews previews_;
  PressOutcome lastPress_ = PressOutcome::kNone;
  std::string refusal_;
  ProgressSink progressSink_;
  std::string progressStage_;  // the stage the progress sink was last told

  // ShowStatus throttle: the last write (single-precision seconds since midnight), its two
  // texts, and the spinner position 0..3.
  float lastStatusTime_ = 0.0f;
  std::string lastStage_;
  std::string lastDetail_;
  int spinnerIndex_ = 0;
};

}  // namespace lorvex::ui
