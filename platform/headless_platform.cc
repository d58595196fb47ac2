#include "platform/headless_platform.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace lorvex::platform {

namespace {
constexpr double kSecondsPerDay = 86400.0;
constexpr double kSecondsPerYield = 0.001;
// Quiet yields are counted when the count or the clock is read; a build reads the clock at
// least once a mass, so this only bounds the count's catching up.
constexpr long long kLongestQuietStretch = 1LL << 20;
}  // namespace

std::uint64_t HeadlessPlatform::ClockSeed() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

void HeadlessPlatform::QueueKeyAtYield(long long yieldNumber, KeyEvent key) {
  Tally();
  keys_.push_back({yieldNumber, key});
  quiet_.End();
}

void HeadlessPlatform::ShowModal(Window& window) {
  ++modalShows_;
  // Another window may keep its timer otherwise.
  quiet_.End();
  while (window.IsVisible() && !modalScript_.empty()) {
    ModalAction action = std::move(modalScript_.front());
    modalScript_.pop_front();
    action(window);
  }
  if (window.IsVisible()) window.CloseByUser();
}

void HeadlessPlatform::AdvanceClock(double seconds) {
  clock_ += seconds;
  // fmod answers its argument unchanged inside one day either way, so the division is left
  // to the one yield in millions that crosses midnight.
  if (clock_ >= kSecondsPerDay || clock_ <= -kSecondsPerDay) clock_ = std::fmod(clock_, kSecondsPerDay);
}

void HeadlessPlatform::Tally() {
  long long n = quiet_.Tally();
  yieldCount_ += n;
  // Each yield adds kSecondsPerYield to the clock, rounded, and wraps it at midnight. From
  // one second on, a sum that stays in the clock's binade [2^(e-1), 2^e) is a multiple of
  // the binade's spacing 2^(e-53), and the step is never half a spacing off a multiple of
  // it, so every such addition adds the same whole number of spacings: a run of steps that
  // stays inside the binade and short of midnight is added at once, and lands exactly where
  // the steps one at a time would. The steps near either bound are taken one at a time.
  while (n > 0) {
    if (clock_ >= 1.0 && clock_ < kSecondsPerDay) {
      int e = 0;
      std::frexp(clock_, &e);
      const double spacing = std::ldexp(1.0, e - 53);
      const double step = std::nearbyint(kSecondsPerYield / spacing) * spacing;
      const double top = std::min(std::ldexp(1.0, e), kSecondsPerDay);
      const auto room = static_cast<long long>((top - clock_) / step) - 2;
      if (room > 0) {
        const long long run = std::min(n, room);
        // run * step is a multiple of the spacing below 2^e: the product and sum are exact.
        clock_ += static_cast<double>(run) * step;
        n -= run;
        continue;
      }
    }
    AdvanceClock(kSecondsPerYield);
    --n;
  }
}

long long HeadlessPlatform::QuietStretch(const Window& window) const {
  if (yieldHook_ || window.PauseTimerEnabled()) return 0;
  // A key queued for yield n arrives at the yield that brings the count to n.
  long long quiet = kLongestQuietStretch;
  for (const QueuedKey& queued : keys_) quiet = std::min(quiet, queued.yieldNumber - yieldCount_ - 1);
  return std::max(quiet, 0LL);
}

void HeadlessPlatform::DoEvents(Window& window) {
  Tally();
  ++yieldCount_;
  AdvanceClock(kSecondsPerYield);
  // Keys queued for this yield (or an earlier one that has passed) arrive now, in order.
  if (!keys_.empty()) DeliverDueKeys(window);
  if (window.PauseTimerEnabled()) {
    AdvanceClock(window.PauseTimerInterval() / 1000.0);
    ++timerTicks_;
    window.PauseTimerTick();
  }
  if (yieldHook_) yieldHook_(window);
  quiet_.Grant(QuietStretch(window));
}

void HeadlessPlatform::DeliverDueKeys(Window& window) {
  std::deque<QueuedKey> later;
  std::deque<QueuedKey> due;
  for (QueuedKey& queued : keys_)
    (queued.yieldNumber <= yieldCount_ ? due : later).push_back(queued);
  keys_ = std::move(later);
  for (const QueuedKey& queued : due) {
    window.KeyDown(queued.key.keyCode, queued.key.shift);
    if (queued.key.keyAscii != 0) window.KeyPress(queued.key.keyAscii);
  }
}

MessageAnswer HeadlessPlatform::MessageBox(const std::string& text, MessageButtons buttons) {
  MessageAnswer answer = buttons == MessageButtons::kOk ? MessageAnswer::kOk : defaultQuestionAnswer_;
  if (buttons == MessageButtons::kYesNo && !answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  messages_.push_back({text, buttons, answer});
  if (messageSink_) messageSink_(messages_.back());
  return answer;
}

std::optional<std::string> HeadlessPlatform::FileDialog(const FileDialogRequest& request) {
  fileRequests_.push_back(request);
  if (fileAnswers_.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return answer;
}

}  // namespace lorvex::platform
