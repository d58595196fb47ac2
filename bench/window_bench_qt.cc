// The same worlds built in the parameters window on the screen (Qt, offscreen unless the
// environment names a platform) and headless, one after the other, with the watch display
// off: Build pressed until the window has handed the world over. Reported: both wall-clock
// times and vs_headless, the window's time over the headless one. The two builds must make
// the same world (their fingerprints are compared), or the run fails.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/world_hash.h"
#include "platform/headless_platform.h"
#include "support/parameter_values.h"
#include "ui/frm_build.h"
#include "ui/qt/build_dialog.h"
#include "ui/qt/qt_platform.h"

namespace lorvex {
namespace {

using Clock = std::chrono::steady_clock;

// A field of the window set after Recommend: a number box's text, or a selection box's item.
struct Field {
  const char* name;
  int index;
  const char* text;  // a number box's text, or nullptr for a selection box
  int item = 0;
};

struct WindowPlan {
  int width, height;
  bool recommend;  // Recommend pressed first (seed 1), as for the large maps
  std::vector<Field> fields = {};
};

constexpr std::uint64_t kSeed = 1;

struct Timed {
  double seconds = 0;
  double longestRepaintGap = 0;  // seconds, the window only
  std::uint64_t hash = 0;
  bool built = false;
};

// Sets the window up as the plan says; the caller starts the clock and presses Build.
void Prepare(ui::frmBuild& form, const WindowPlan& plan) {
  checks::ApplyWindowDefaults(form.Controls());
  if (plan.recommend) {
    std::string failure;
    if (!form.Form().Recommend(failure)) std::fprintf(stderr, "%s\n", failure.c_str());
    form.Generator().Seed(kSeed);
  }
  for (const Field& field : plan.fields) {
    platform::Control& control = form.Controls().At(field.name, field.index);
    if (field.text != nullptr)
      control.SetText(field.text);
    else
      control.SetListIndex(field.item);
  }
}

Timed Finish(ui::frmBuild& window, const WindowPlan& plan, const Clock::time_point& start) {
  HostWorld host;
  Timed timed;
  timed.built = window.GetMap(plan.width, plan.height, true, host);
  timed.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (timed.built) timed.hash = HostWorldHash(host);
  return timed;
}

Timed Headless(const WindowPlan& plan) {
  platform::HeadlessPlatform platform;
  ui::frmBuild window(platform);
  window.SetSeed(kSeed);
  window.SetHandOver(true);
  Clock::time_point start;
  platform.AddModalAction([&](platform::Window& w) {
    auto& form = static_cast<ui::frmBuild&>(w);
    Prepare(form, plan);
    start = Clock::now();
    form.Controls().At("cmdBuild", 0).Click();
  });
  return Finish(window, plan, start);
}

// One platform for the whole run, never deleted: it would outlive Qt's own statics at exit.
ui::qt::QtPlatform* WindowPlatform() {
  static ui::qt::QtPlatform* platform = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string why;
    auto made = ui::qt::QtPlatform::ForThisProcess(why);
    if (made == nullptr) std::fprintf(stderr, "no window: %s\n", why.c_str());
    return made.release();
  }();
  return platform;
}

Timed InWindow(ui::qt::QtPlatform& platform, const WindowPlan& plan) {
  ui::frmBuild window(platform);
  window.SetSeed(kSeed);
  window.SetHandOver(true);
  Clock::time_point start;
  // Build is pressed as a person presses it: the button's click, once the window is shown.
  platform.OnWindowShown([&](ui::qt::BuildDialog& dialog) {
    // The widgets show what was set, and the window is painted, as before a person's click.
    Prepare(dialog.Form(), plan);
    dialog.Sync();
    dialog.repaint();
    QCoreApplication::processEvents();
    start = Clock::now();
    static_cast<QPushButton*>(dialog.WidgetOf("cmdBuild", 0))->click();
  });
  Timed timed = Finish(window, plan, start);
  timed.longestRepaintGap = std::chrono::duration<double>(platform.LongestRepaintGap()).count();
  platform.OnWindowShown(nullptr);
  return timed;
}

void RunWindowBenchmark(benchmark::State& state, const WindowPlan& plan) {
  ui::qt::QtPlatform* platform = WindowPlatform();
  if (platform == nullptr) {
    state.SkipWithError("this process cannot show windows");
    return;
  }
  double window = 0, headless = 0, longestGap = 0;
  for (auto _ : state) {
    const Timed shown = InWindow(*platform, plan);
    const Timed plain = Headless(plan);
    if (!shown.built || !plain.built || shown.hash != plain.hash) {
      state.SkipWithError("the window and the headless build made different worlds");
      return;
    }
    state.SetIterationTime(shown.seconds);
    window += shown.seconds;
    longestGap = std::max(longestGap, shown.longestRepaintGap);
    headless += plain.seconds;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["window_ms"] = window / n * 1e3;
  state.counters["headless_ms"] = headless / n * 1e3;
  state.counters["vs_headless"] = headless > 0 ? window / headless : 0;
  // The longest the window went without a repaint during a build (none at all on a build
  // shorter than the repaint interval: then the time from Build to the hand-over).
  state.counters["longest_repaint_gap_ms"] = longestGap * 1e3;
}

void BM_Window200x150Default(benchmark::State& state) { RunWindowBenchmark(state, {200, 150, false}); }
BENCHMARK(BM_Window200x150Default)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_Window1000x1000Recommended(benchmark::State& state) { RunWindowBenchmark(state, {1000, 1000, true}); }
BENCHMARK(BM_Window1000x1000Recommended)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_Window2048x2048Recommended(benchmark::State& state) { RunWindowBenchmark(state, {2048, 2048, true}); }
BENCHMARK(BM_Window2048x2048Recommended)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

void BM_Window4096x4096Recommended(benchmark::State& state) { RunWindowBenchmark(state, {4096, 4096, true}); }
BENCHMARK(BM_Window4096x4096Recommended)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// The longest stretches without a yield: terrain over nearly all the land and a city on
// every hundredth land square of the largest map.
void BM_Window4096x4096TerrainAndCities(benchmark::State& state) {
  RunWindowBenchmark(state, {4096, 4096, true,
                             {{"txtTerrain", 0, "20"}, {"txtTerrain", 1, "20"}, {"txtTerrain", 2, "25"},
                              {"txtTerrain", 3, "25"}, {"txtTerrain", 4, "25"}, {"txtTerrain", 5, "25"},
                              {"txtTerrain", 6, "25"}, {"txtTerrain", 7, "25"}, {"cboCityNumber", 0, nullptr, 1},
                              {"txtCities", 0, "100"}, {"txtCities", 1, "100"}}});
}
BENCHMARK(BM_Window4096x4096TerrainAndCities)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
}  // namespace lorvex
