// What the Qt window's tests share: the application (made on first use, dropped for a test
// of a program without one) and a fixture that runs the host's Build in a fresh folder.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "host/cls_build.h"
#include "ui/qt/build_dialog.h"
#include "ui/qt/qt_platform.h"

namespace lorvex::qttest {

QApplication& App();
void DropApp();

// Runs `action` from the event loop once `ready` answers true (checked every 5 ms), as a
// person acts on the window while Build waits; after `timeoutMs`, runs `onTimeout` instead.
void When(std::function<bool()> ready, std::function<void()> action, int timeoutMs = 60000,
          std::function<void()> onTimeout = {});

constexpr int kHangGuardMs = 300000;  // only against a hang: nothing here is timed

void Click(ui::qt::BuildDialog& dialog, const char* name);

// The next modal dialog of type D gets `answer`.
template <typename D>
void WhenDialog(std::function<void(D&)> answer) {
  When([] { return qobject_cast<D*>(QApplication::activeModalWidget()) != nullptr; },
       [answer] { answer(*qobject_cast<D*>(QApplication::activeModalWidget())); }, kHangGuardMs,
       [] { ADD_FAILURE() << "the dialog never opened"; });
}

// The next file dialog: the folder it opened in is recorded, then `path` is typed and taken.
std::shared_ptr<QString> ChooseFile(const QString& path);

// Runs in a folder of its own (the window reads kessett/default.kst from the current
// folder), with a Qt platform and a host over it.
class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The host's Build on a wrapping map; `onShown` drives the window; every message box is
  // answered `answer` and its text kept in `messages_`.
  bool Build(const std::function<void(ui::qt::BuildDialog&)>& onShown,
             platform::MessageAnswer answer = platform::MessageAnswer::kNo, int width = 200, int height = 150);

  QTemporaryDir folder_;
  QString previousFolder_;
  std::unique_ptr<ui::qt::QtPlatform> platform_;
  std::unique_ptr<clsBuild> host_;
  std::vector<std::string> messages_;
};

// Answers every message box that opens while it lives with `answer` (from a step of its own,
// so that the poll goes on while the answer runs nested event loops), recording the texts.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(QMessageBox::StandardButton answer) {
    QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
      box->setProperty("answered", true);
      QTimer::singleShot(0, &timer_, [this, answer, open = QPointer<QMessageBox>(box)] {
        if (open == nullptr) return;
        texts_.push_back(open->text());
        if (QAbstractButton* button = open->button(answer)) button->click();
        else open->reject();
      });
    });
    timer_.start(5);
  }
  const std::vector<QString>& Texts() const { return texts_; }

 private:
  QTimer timer_;
  std::vector<QString> texts_;
};

}  // namespace lorvex::qttest
