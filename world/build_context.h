// The explicit context every build stage receives: the world state, a read-only view of
// the parameters, the one random generator, and the small interface through which a stage
// reaches the window (yield to the event loop, status, progress, the pause timer and the
// two previews). Nothing else is shared; two builds with two contexts never meet.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "common/random.h"
#include "platform/platform.h"
#include "world/world_state.h"
#include "params/build_parameters.h"

namespace lorvex {

// What a running build asks of its window. Every preview operation does nothing unless
// the world state's WatchMode is on; the window decides how to draw.
class BuildHooks {
 public:
  virtual ~BuildHooks() = default;

  // One yield to the event loop; keys and timer ticks are handled during it, so the caller
  // re-reads StopRequested and PauseActive afterwards. A yield the platform lets pass
  // quietly is taken here, without a call.
  void Yield() {
    if (quiet_ == nullptr || !quiet_->Take())
      YieldToEventLoop();
    else if (StopRaised())
      StopFromOutside();
  }
  // Whether another thread has asked this build to stop (one load of each flag set: cheap
  // enough for the checkpoints of stretches that never yield).
  bool StopRaised() const {
    for (const std::atomic<bool>* flag : stopFlags_)
      if (flag != nullptr && flag->load(std::memory_order_relaxed)) return true;
    return false;
  }
  // Flags another thread may raise to stop the build at its next yield or checkpoint
  // (nullptr: none). They must outlive the build.
  void SetStopFlags(const std::atomic<bool>* first, const std::atomic<bool>* second) {
    stopFlags_[0] = first;
    stopFlags_[1] = second;
  }
  // Time of day in seconds (bounds the pause wait).
  virtual double Clock() = 0;

  // Writes the build status panel as it stands (no spinner).
  virtual void SetStatusText(std::string_view text) = 0;
  // The status with its spinner and throttle: "stage - detail spinner".
  virtual void ShowStatus(std::string_view stage, std::string_view detail) = 0;
  virtual void SetProgressMax(int max) = 0;
  virtual void SetProgressValue(int value) = 0;
  virtual int ProgressValue() const = 0;
  // How far the step in progress has come, `done` of `total`: for a finer display between
  // the progress bar's steps (a large mass grows for many seconds); the bar's value stays.
  virtual void ShowStepShare(std::int64_t /*done*/, std::int64_t /*total*/) {}

  // Enables the 20 ms pause timer; its tick clears PauseActive.
  virtual void EnablePauseTimer() = 0;

  // The world preview (picWorld), in map squares.
  virtual void PreviewInit(int width, int height) = 0;
  virtual void PreviewMarkSquare(int x, int y) = 0;
  virtual void PreviewLandSquare(int x, int y) = 0;
  virtual void PreviewTrail(int x, int y) = 0;
  // Ages the world trail to plain land green, one pause a step; the driver passes 0.
  virtual void FadeTrail(int step) = 0;

  // The mass preview (picMass), in canvas squares.
  virtual void StartMassPreview(int width, int height) = 0;
  virtual void ShowLandSquare(int x, int y) = 0;
  virtual void FadeLandTrail(int step) = 0;
  virtual void ShowPadSquare(int x, int y) = 0;
  virtual void FadePadTrail(int step) = 0;

 protected:
  virtual void YieldToEventLoop() = 0;
  // A raised stop flag was seen at a quiet yield or a checkpoint: the build's stop.
  virtual void StopFromOutside() {}
  // The platform's quiet yields, for hooks whose yields do nothing else when the platform
  // has nothing to deliver; nullptr: every yield is the hooks' own.
  platform::QuietYields* quiet_ = nullptr;
  const std::atomic<bool>* stopFlags_[2] = {nullptr, nullptr};
};

// Hooks that show nothing and never stop: for tests, benchmarks and batch builds.
class SilentHooks : public BuildHooks {
 public:
  double Clock() override { return 0.0; }
  void SetStatusText(std::string_view) override {}
  void ShowStatus(std::string_view, std::string_view) override {}
  void SetProgressMax(int max) override { progressMax = max; }
  void SetProgressValue(int value) override { progressValue = value; }
  int ProgressValue() const override { return progressValue; }
  void EnablePauseTimer() override {}
  void PreviewInit(int, int) override {}
  void PreviewMarkSquare(int, int) override {}
  void PreviewLandSquare(int, int) override {}
  void PreviewTrail(int, int) override {}
  void FadeTrail(int) override {}
  void StartMassPreview(int, int) override {}
  void ShowLandSquare(int, int) override {}
  void FadeLandTrail(int) override {}
  void ShowPadSquare(int, int) override {}
  void FadePadTrail(int) override {}

  long long yields = 0;
  int progressMax = 0;
  int progressValue = 0;

 protected:
  void YieldToEventLoop() override { ++yields; }
};

struct BuildContext {
  WorldState& world;
  const params::ParameterView& params;
  Random& random;
  BuildHooks& hooks;

  bool Stopped() const { return world.StopRequested; }
  // Yields once and answers whether the build has been asked to stop.
  bool YieldAndCheckStop() {
    hooks.Yield();
    return world.StopRequested;
  }
  // A checkpoint of a stretch that never yields (it takes no draw and no yield): answers
  // whether another thread has asked the build to stop, and then stops it.
  bool StopPoint() {
    if (!hooks.StopRaised()) return false;
    world.StopRequested = true;
    return true;
  }
  void AdvanceProgress(int by) { hooks.SetProgressValue(hooks.ProgressValue() + by); }
};

// One pause of the timer handshake: PauseActive is set, the timer enabled, and the build
// yields until the timer's tick has cleared PauseActive (or a second of clock time has
// passed, so a timer that never ticks cannot hold the build for ever).
void PauseOneTick(WorldState& world, BuildHooks& hooks);

// In watch mode: 31 pauses in a row, after each placed mass.
void WatchPause(BuildContext& context);

// In watch mode: ends any pause and empties both trails (before the tiny islands).
void ClearTrail(WorldState& world);

}  // namespace lorvex
