#include "qt_test_support.h"

#include <QApplication>
#include <QDir>

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

bool QtWindowTest::Build(const std::function<void(ui::qt::BuildDialog&)>& onShown, platform::MessageAnswer answer) {
  platform_->OnWindowShown(onShown);
  platform_->SetMessageAnswerer([this, answer](const std::string& text, platform::MessageButtons) {
    messages_.push_back(text);
    return std::optional<platform::MessageAnswer>(answer);
  });
  return host_->Build(200, 150, true);
}

}  // namespace lorvex::qttest
