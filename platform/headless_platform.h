// A platform with no screen, scripted by tests and the command line.
//
// - The modal show runs a script of actions, one after another, while the window stays
//   visible; when the script is spent and the window is still shown, it is closed as if
//   the person closed it (so a modal show always ends).
// - Every yield is counted; key presses queued for yield N arrive during yield N.
// - Time is simulated: a yield advances the clock by one millisecond, and when the window's
//   pause timer is enabled the clock jumps to the next tick and the tick is delivered, so a
//   watch-mode build runs at full speed.
// - Message boxes are recorded; an OK box answers OK, a Yes/No question takes the next
//   queued answer (when none is queued: the default answer, No unless set otherwise); file
//   dialogs are recorded and answered from their own queue (empty = cancelled).
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/platform.h"

namespace lorvex::platform {

struct KeyEvent {
  int keyCode = 0;
  int shift = 0;
  int keyAscii = 0;  // also delivered as a key press when not 0
};

struct ShownMessage {
  std::string text;
  MessageButtons buttons;
  MessageAnswer answer;
};

class HeadlessPlatform : public Platform {
 public:
  using ModalAction = std::function<void(Window&)>;

  // Scripting.
  void AddModalAction(ModalAction action) { modalScript_.push_back(std::move(action)); }
  void QueueKeyAtYield(long long yieldNumber, KeyEvent key);
  void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  void SetDefaultQuestionAnswer(MessageAnswer answer) { defaultQuestionAnswer_ = answer; }
  void QueueFileAnswer(std::optional<std::string> fileName) {
    fileAnswers_.push_back(std::move(fileName));
  }
  void SetClock(double secondsSinceMidnight) {
    Tally();
    clock_ = secondsSinceMidnight;
  }
  // Called with every message as it is shown (the command line prints them).
  void OnMessage(std::function<void(const ShownMessage&)> sink) { messageSink_ = std::move(sink); }
  // Called at every yield after the events are delivered (the command line draws progress).
  void OnYield(std::function<void(Window&)> hook) {
    yieldHook_ = std::move(hook);
    quiet_.End();
  }

  // Records.
  const std::vector<ShownMessage>& Messages() const { return messages_; }
  const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }
  long long YieldCount() {
    Tally();
    return yieldCount_;
  }
  long long TimerTicks() const { return timerTicks_; }
  MousePointer Pointer() const { return pointer_; }
  int ModalShows() const { return modalShows_; }

  // Platform.
  void ShowModal(Window& window) override;
  void DoEvents(Window& window) override;
  MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override;
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  double SecondsSinceMidnight() override {
    Tally();
    return clock_;
  }
  // The seed of a build nobody seeded: the system clock's, unless a test fixed it.
  std::uint64_t ClockSeed() override;
  void SetMousePointer(MousePointer pointer) override { pointer_ = pointer; }

 private:
  struct QueuedKey {
    long long yieldNumber;
    KeyEvent key;
  };
  void AdvanceClock(double seconds);
  // Counts the yields that passed quietly, each as DoEvents counts one.
  void Tally();
  // How many of the next yields can deliver nothing.
  long long QuietStretch(const Window& window) const;
  void DeliverDueKeys(Window& window);

  std::deque<ModalAction> modalScript_;
  std::deque<QueuedKey> keys_;
  std::deque<MessageAnswer> answers_;
  MessageAnswer defaultQuestionAnswer_ = MessageAnswer::kNo;
  std::deque<std::optional<std::string>> fileAnswers_;
  std::function<void(const ShownMessage&)> messageSink_;
  std::function<void(Window&)> yieldHook_;
  std::vector<ShownMessage> messages_;
  std::vector<FileDialogRequest> fileRequests_;
  double clock_ = 43200.0;  // noon, far from the midnight wrap unless a test moves it
  long long yieldCount_ = 0;
  long long timerTicks_ = 0;
  MousePointer pointer_ = MousePointer::kDefault;
  int modalShows_ = 0;
};

}  // namespace lorvex::platform
