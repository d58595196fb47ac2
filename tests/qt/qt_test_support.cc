#include "qt_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPointer>

#include "event_steps.h"

namespace lorvex::qttest {

namespace {

std::unique_ptr<QApplication>& Application() {
  static int argc = 1;
  static char name[] = "lorvex_qt_tests";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> application;
  if (application == nullptr && QCoreApplication::instance() == nullptr)
    application = std::make_unique<QApplication>(argc, argv);
  return application;
}

}  // namespace

QApplication& App() {
  Application();
  return *qApp;
}

void DropApp() {
  CancelSteps();
  Application().reset();
}

BoxAnswerer::BoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer), timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    // Answered from a step of its own, so that this poll keeps running while the answer
    // runs nested event loops.
    QPointer<QMessageBox> open(box);
    QTimer::singleShot(0, timer_.get(), [this, open] {
      if (open == nullptr) return;
      texts_.push_back(open->text());
      if (QAbstractButton* button = open->button(answer_))
        button->click();
      else
        open->reject();
    });
  });
  timer_->start(5);
}

void QtWindowTest::SetUp() {
  App();
  ASSERT_TRUE(folder_.isValid());
  previousFolder_ = QDir::currentPath();
  QDir::setCurrent(folder_.path());
  platform_ = std::make_unique<ui::qt::QtPlatform>();
  host_ = std::make_unique<clsBuild>(*platform_);
  host_->SetNextSeed(7);
}

void QtWindowTest::TearDown() {
  CancelSteps();
  host_.reset();
  platform_.reset();
  QDir::setCurrent(previousFolder_);
}

bool QtWindowTest::Build(const std::function<void(ui::qt::BuildDialog&)>& onShown) {
  platform_->OnWindowShown(onShown);
  return host_->Build(200, 150, true);
}

}  // namespace lorvex::qttest
