// The parameters window on the screen: one widget for every control of frmBuild, placed by
// window_layout, with the tab strip, the six pages, the button row, the watch display and
// the status bar. The controls are the truth; the widgets follow them after every handler
// and at every yield, and a person's edits go to the controls (typing sets the text,
// leaving a box fires its focus-lost action, check boxes, selection boxes, buttons,
// pictures and the tab strip fire their click actions).
//
// Handlers never nest: while one runs (the Build button's runs the whole build), clicks and
// edits are not passed on; keys go to the window (the stop question, Alt+F5), and closing
// the window stops a running build and then cancels.
#pragma once

#include <QDialog>
#include <exception>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/control.h"
#include "ui/frm_build.h"
#include "ui/qt/shape_figures.h"
#include "ui/qt/window_layout.h"

class QTabBar;
class QFrame;
class QKeyEvent;

namespace lorvex::ui::qt {

class QtPlatform;
class StatusBarView;
class PictureView;

class BuildDialog : public QDialog {
 public:
  BuildDialog(frmBuild& form, QtPlatform& platform, const ShapeFigureSource& figures,
              QWidget* parent = nullptr);
  ~BuildDialog() override;

  frmBuild& Form() { return form_; }
  // Brings every widget in step with its control; fires no action of any control.
  void Sync();
  // The show is over: the window hides and from now on neither reads nor changes its
  // controls, which may go before it does.
  void Retire();
  // The status bar and progress bar brought up to date and painted at once, outside the
  // event loop (a long step of a build that does not yield).
  void PaintProgress();

  // The widget that shows a control (nullptr when it has none, like the pause timer).
  QWidget* WidgetOf(std::string_view name, int index) const;
  QTabBar* TabBar() const { return tabBar_; }
  StatusBarView* StatusBar() const { return statusBar_; }
  // A failure thrown by a handler; the modal show ends and passes it on.
  std::exception_ptr Failure() const { return failure_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What a widget shows of its control, to change only what changed.
  struct Shown {
    std::string text;
    std::string caption;
    std::vector<std::string> items;
    int value = -1;
    int listIndex = -2;
    int maxLength = -1;
    int enabled = -1, visible = -1, locked = -1, tabStop = -1, bold = -1;
    platform::Rgb backColor{};
    bool backColorShown = false;
  };
  struct Bound {
    platform::Control* control;
    QWidget* widget;
    bool title;  // shown in the title font
    Shown shown;
  };

  void CreateFrame();
  void Add(platform::Control& control, const ShapeFigureSource& figures);
  QWidget* CreateWidget(platform::Control& control, QWidget* parent, const ControlPlace* place,
                        const ShapeFigureSource& figures, std::size_t boundIndex);
  void CreatePageTexts();
  void SetTabOrder();
  void SyncOne(Bound& bound);
  Bound* BoundOf(const QWidget* widget);

  // Runs one handler of the window, then brings the widgets in step, and when no handler
  // is left running ends the modal show if the window has been hidden.
  template <typename Handler>
  void RunHandler(Handler&& handler);
  // Whether a person's click or edit may start a handler now.
  bool AcceptsInput() const { return handlerDepth_ == 0 && failure_ == nullptr; }
  void FinishIfDone();
  void RequestClose();
  bool HandleKey(QKeyEvent* event);

  void Typed(Bound& bound, const QString& text);
  void Left(Bound& bound);
  void Toggled(Bound& bound, bool checked);
  void Selected(Bound& bound, int index);
  void Clicked(Bound& bound);
  void TabChanged(int index);

  frmBuild& form_;
  QtPlatform& platform_;
  std::vector<Bound> bound_;  // in control order
  std::map<std::pair<std::string, int>, std::size_t, std::less<>> byKey_;
  std::map<const QObject*, std::size_t> byWidget_;
  QTabBar* tabBar_ = nullptr;
  QFrame* tabPanel_ = nullptr;
  StatusBarView* statusBar_ = nullptr;
  PictureView* picWorld_ = nullptr;
  PictureView* picMass_ = nullptr;
  std::string shownCaption_;
  int handlerDepth_ = 0;
  bool closeRequested_ = false;
  bool keysWatched_ = false;
  bool finished_ = false;  // the modal show is over; nothing reaches the controls any more
  bool retired_ = false;   // nor is anything read from them
  std::exception_ptr failure_;
};

}  // namespace lorvex::ui::qt
