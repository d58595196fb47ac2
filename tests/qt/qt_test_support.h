// What the Qt binding's tests share: the application (made on first use, dropped for the
// tests of a program without one), a fixture that runs Build in a fresh folder with a
// watchdog, answers to message boxes, and the check that every widget shows its control.
#pragma once

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/cls_build.h"
#include "ui/qt/build_dialog.h"
#include "ui/qt/qt_platform.h"

class QApplication;
class QWidget;

namespace lorvex::qttest {

QApplication& App();
void DropApp();

// Answers every message box that opens while it lives with `answer`, recording the texts;
// `beforeFirstAnswer` runs once while the first box is still open.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(QMessageBox::StandardButton answer, std::function<void()> beforeFirstAnswer = {});
  const std::vector<QString>& Texts() const { return texts_; }

 private:
  QMessageBox::StandardButton answer_;
  std::function<void()> beforeFirstAnswer_;
  std::vector<QString> texts_;
  std::unique_ptr<QTimer> timer_;
};

// Closes the window, failing the test, when it is still open after two minutes.
void ArmWatchdog(ui::qt::BuildDialog& dialog);

// Every widget shows what its control holds: text, state, items, caption, enabled and
// visible flags, locking and maximum length.
void ExpectWidgetsShowControls(ui::qt::BuildDialog& dialog);

// Runs in a folder of its own (the window reads kessett/default.kst from the current
// folder), with a Qt platform and a host over it.
class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Build on a map of the given size; `onShown` drives the window. A window still open
  // after two minutes is closed, failing the test.
  bool Build(const std::function<void(ui::qt::BuildDialog&)>& onShown, int width = 200,
             int height = 150);

  QTemporaryDir folder_;
  QString previousFolder_;
  std::unique_ptr<ui::qt::QtPlatform> platform_;
  std::unique_ptr<clsBuild> host_;
  int windowsShown_ = 0;
};

// The widget of a control as its Qt type.
template <typename W>
W* WidgetAs(ui::qt::BuildDialog& dialog, const char* name, int index) {
  auto* widget = dynamic_cast<W*>(dialog.WidgetOf(name, index));
  EXPECT_NE(widget, nullptr) << name << "(" << index << ")";
  return widget;
}

}  // namespace lorvex::qttest
