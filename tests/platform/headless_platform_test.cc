// The headless platform lets yields that can deliver nothing pass without a call; the
// count, the clock and the keys must come out as if every yield had been delivered.
#include <gtest/gtest.h>

#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

TEST(HeadlessPlatform, QuietYieldsKeepTheCountTheClockAndTheKeys) {
  // Clocks and runs that cross the bounds where the clock's step changes: a power of two,
  // midnight, one second.
  const struct { double start; long long yields; } rows[] = {
      {43200.0, 300'000}, {65530.0, 20'000}, {32767.9999, 1000}, {86399.5, 1000}, {0.5, 3000}, {1.9999, 100}};
  for (const auto& row : rows) {
    platform::HeadlessPlatform quiet, delivered;
    quiet.SetClock(row.start);
    delivered.SetClock(row.start);
    // Someone watching every yield: each one is delivered.
    delivered.OnYield([](platform::Window&) {});
    ui::frmBuild a(quiet), b(delivered);
    for (long long i = 0; i < row.yields; ++i) {
      a.Yield();
      b.Yield();
    }
    EXPECT_EQ(quiet.YieldCount(), row.yields) << row.start;
    EXPECT_EQ(quiet.SecondsSinceMidnight(), delivered.SecondsSinceMidnight()) << row.start;
  }

  // A key queued for a yield in the middle of a quiet stretch arrives at that yield.
  platform::HeadlessPlatform platform;
  ui::frmBuild window(platform);
  for (int i = 0; i < 10; ++i) window.Yield();
  platform.QueueKeyAtYield(5000, {platform::kKeyF5, platform::kShiftAlt, 0});  // watch mode on
  while (platform.YieldCount() < 4999) window.Yield();
  EXPECT_FALSE(window.World().WatchMode);
  window.Yield();
  EXPECT_TRUE(window.World().WatchMode);
}

}  // namespace
}  // namespace lorvex
