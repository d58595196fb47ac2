// The platform of the real parameters window, on Qt Widgets: the modal show is a
// BuildDialog, a yield is one pass of Qt's event loop (keys, the 20 ms pause timer,
// repaints), message boxes and the file dialog are Qt's, and the mouse pointer is the
// application's. Everything runs on the thread of the QApplication.
//
// A build yields millions of times a second. Outside watch mode a pass of the event loop
// (keys, timers) is made every kPassInterval of wall-clock time and the widgets are
// brought in step and repainted every kRepaintInterval; the yields in between pass quietly
// or with one look at the clock, so a build in the window costs about what it costs
// headless, while keys are answered and the window repaints many times a second.
#pragma once

#include <QPointer>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "ui/qt/shape_figures.h"

class QApplication;
class QFileDialog;
class QWidget;

namespace lorvex::ui::qt {

class BuildDialog;

class QtPlatform : public platform::Platform {
 public:
  // Wall-clock time between two passes of the event loop during a build.
  static constexpr std::chrono::milliseconds kPassInterval{20};
  // Wall-clock time between two updates of the widgets (and so repaints) during a build.
  static constexpr std::chrono::milliseconds kRepaintInterval{100};
  // The most yields that may pass without a look at the clock.
  static constexpr long long kMostQuietYields = 1024;

  // Answers instead of a message box (tests, tools); nothing = show the box after all.
  using MessageAnswerer = std::function<std::optional<platform::MessageAnswer>(
      const std::string& text, platform::MessageButtons buttons)>;
  // Answers instead of the file dialog: the chosen file, or nothing for a cancel.
  using FileAnswerer = std::function<std::optional<std::string>(const platform::FileDialogRequest&)>;

  // On the QApplication of the process, which must exist.
  QtPlatform();
  // On the process's QApplication, or on one of its own when the process has none (it is
  // deleted with the platform). Answers nothing when this process cannot show windows;
  // `why` then says what is wrong (a display that does not answer, a Qt application
  // without widgets or on another thread) and stays empty when there is no display at all.
  static std::unique_ptr<QtPlatform> ForThisProcess(std::string& why);
  ~QtPlatform() override;
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  void SetMessageAnswerer(MessageAnswerer answerer) { messageAnswerer_ = std::move(answerer); }
  void SetFileAnswerer(FileAnswerer answerer) { fileAnswerer_ = std::move(answerer); }
  // Called once each window is on the screen, from the event loop of its modal show.
  void OnWindowShown(std::function<void(BuildDialog&)> hook) { onShown_ = std::move(hook); }

  // Message boxes and file dialogs open right now (keys reach no window meanwhile).
  int OpenModalBoxes() const { return openModalBoxes_; }
  // The window being shown, or nullptr.
  BuildDialog* ShownWindow() const { return dialogs_.empty() ? nullptr : dialogs_.back(); }
  // A handler of the window (a click, a key) starts: the event that called it was just
  // delivered and the window is as it was painted, so the first pass and the first repaint
  // of whatever the handler runs are due one interval from now.
  void HandlerStarting();
  // The longest wall-clock time between two repaints of the window since the last handler
  // started (the benchmark reports it for builds).
  std::chrono::steady_clock::duration LongestRepaintGap() const { return longestGap_; }

  // platform::Platform
  void ShowModal(platform::Window& window) override;
  void DoEvents(platform::Window& window) override;
  void ShowProgress(platform::Window& window) override;
  platform::MessageAnswer MessageBox(const std::string& text, platform::MessageButtons buttons) override;
  std::optional<std::string> FileDialog(const platform::FileDialogRequest& request) override;
  double SecondsSinceMidnight() override;
  std::uint64_t ClockSeed() override;
  void SetMousePointer(platform::MousePointer pointer) override;

 private:
  // With createApplication, the platform makes the process's QApplication (with
  // `platformPlugin` when not empty) and deletes it again with itself.
  QtPlatform(bool createApplication, const std::string& platformPlugin);
  BuildDialog* DialogOf(const platform::Window& window) const;
  QWidget* BoxParent() const;
  // Starts or stops the pause timer as the window asks.
  void ArmPauseTimer(platform::Window& window);

  // QApplication keeps references to these for its whole life.
  int argc_ = 1;
  char appName_[8] = "lorvex";
  char platformFlag_[10] = "-platform";
  std::string platformPlugin_;
  char* argv_[4] = {appName_, nullptr, nullptr, nullptr};
  std::unique_ptr<QApplication> ownApplication_;

  // The next yields that pass without a look at the clock, grown while yields come faster
  // than passes are due and cut back when a pass came late.
  long long quietGrant_ = 1;
  std::chrono::steady_clock::time_point lastPass_{};
  std::chrono::steady_clock::time_point lastSync_{};
  std::chrono::steady_clock::duration longestGap_{};
  // A repaint happened at `now`: the gap since the one before counts.
  void Repainted(std::chrono::steady_clock::time_point now);
  // Windows whose show is over, hidden and waiting for the event loop to delete them; the
  // next show or the platform's end deletes those still there.
  std::vector<QPointer<BuildDialog>> retired_;
  void DeleteRetiredDialogs();
  // The zone's offset from UTC, and when it was read.
  int zoneOffsetSeconds_ = 0;
  std::chrono::steady_clock::time_point zoneReadAt_{};
  std::unique_ptr<QTimer> pauseTimer_;  // made once the application exists
  platform::Window* timerWindow_ = nullptr;
  std::vector<BuildDialog*> dialogs_;  // modal shows in progress, innermost last
  bool waitCursor_ = false;
  int openModalBoxes_ = 0;
  MessageAnswerer messageAnswerer_;
  FileAnswerer fileAnswerer_;
  std::function<void(BuildDialog&)> onShown_;
};

// Sets up a file dialog as the window's common dialog request asks: save or open, the
// filter in Qt's form and its index, the default extension, the initial folder (relative
// to the current folder), and the flags "ask before overwriting" (2) and "the file must
// exist" (4096).
void ConfigureFileDialog(QFileDialog& dialog, const platform::FileDialogRequest& request);

}  // namespace lorvex::ui::qt
