// The seam to the outside: what the window toolkit gives the parameters window besides its
// controls — the modal show, the yield to the event loop (which delivers key presses and
// timer ticks), message boxes, the common file dialog, the clock and the mouse pointer.
// HeadlessPlatform implements it for tests and the command line; the Qt binding is the
// other implementation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lorvex::platform {

inline constexpr int kKeyF5 = 116;
inline constexpr int kShiftAlt = 4;  // modifier bit of the Alt key in a key-down event

// What the event loop delivers to a window while it is shown or while it yields.
class Window {
 public:
  virtual ~Window() = default;
  virtual bool IsVisible() const = 0;
  virtual void KeyDown(int keyCode, int shift) = 0;
  virtual void KeyPress(int keyAscii) = 0;
  // The pause timer: whether it is enabled and its interval, and its tick.
  virtual bool PauseTimerEnabled() const = 0;
  virtual int PauseTimerInterval() const = 0;
  virtual void PauseTimerTick() = 0;
  // The person closed the window by other means than its buttons (it acts as Cancel).
  virtual void CloseByUser() = 0;
};

// A build yields millions of times. A platform that knows nothing can be delivered at its
// next yields (no key due, no timer, nobody watching) says how many may pass uncounted;
// before anything reads its count or clock it adds them to both, exactly as that many
// delivering yields would have.
class QuietYields {
 public:
  // Takes one quiet yield, if one is left: one count a yield, nothing else.
  bool Take() {
    if (left_ <= 0) return false;
    --left_;
    return true;
  }
  // The next n yields may pass quietly; the ones taken before must have been tallied.
  void Grant(long long n) { left_ = granted_ = n; }
  // No more may pass; those taken so far stay to be tallied.
  void End() {
    granted_ -= left_;
    left_ = 0;
  }
  // The yields taken since the last tally, now tallied.
  long long Tally() {
    const long long taken = granted_ - left_;
    granted_ = left_;
    return taken;
  }

 private:
  long long left_ = 0;     // yields that may still pass with nothing to deliver
  long long granted_ = 0;  // left_ plus the yields taken and not yet tallied
};

enum class MessageButtons { kOk, kYesNo };
enum class MessageAnswer { kOk, kYes, kNo };

enum class MousePointer { kDefault, kHourglass };

// The settings of one common file dialog, as the window sets them before showing it.
struct FileDialogRequest {
  bool save = false;  // show save (true) or show open (false)
  std::string defaultExt;
  std::string initDir;
  std::string filter;
  int filterIndex = 1;
  int flags = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Shows the window modally and returns once it is hidden.
  virtual void ShowModal(Window& window) = 0;
  // One yield to the event loop: pending keys, timer ticks and repaints are delivered.
  virtual void DoEvents(Window& window) = 0;

  // Between two yields, a long step of a build may have the progress display brought up to
  // date and painted now; nothing is delivered (no key, no timer).
  virtual void ShowProgress(Window& /*window*/) {}

  // Yields that may pass without a call (see QuietYields): the window's build hooks take
  // them, and end them when the window enables its pause timer.
  QuietYields& Quiet() { return quiet_; }

  virtual MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) = 0;
  // The chosen file name, or nothing when the person cancelled.
  virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;

  // The time of day in seconds since midnight.
  virtual double SecondsSinceMidnight() = 0;
  // A seed taken from the clock, for a build whose host gave none.
  virtual std::uint64_t ClockSeed() = 0;

  virtual void SetMousePointer(MousePointer pointer) = 0;

 protected:
  QuietYields quiet_;
};

}  // namespace lorvex::platform
