#include "qt_test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

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

std::vector<QPointer<QTimer>> waiting;  // the steps of When not yet run

// Forgets every step still waiting (their conditions may refer to a test that has ended).
void CancelSteps() {
  for (const QPointer<QTimer>& timer : waiting)
    if (timer != nullptr && timer->isActive()) delete timer.data();
  waiting.clear();
  if (QCoreApplication::instance() != nullptr) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

void When(std::function<bool()> ready, std::function<void()> action, int timeoutMs,
          std::function<void()> onTimeout) {
  auto* timer = new QTimer(QCoreApplication::instance());  // gone with the application at the latest
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [=] {
    const bool now = ready();
    if (!now && clock->elapsed() <= timeoutMs) return;
    // Stopped first: the action may run a nested event loop (a whole build).
    timer->stop();
    timer->deleteLater();
    if (now) action();
    else if (onTimeout) onTimeout();
  });
  waiting.push_back(timer);
  timer->start(5);
}

void Click(ui::qt::BuildDialog& dialog, const char* name) {
  QTest::mouseClick(dialog.WidgetOf(name, 0), Qt::LeftButton);
}

std::shared_ptr<QString> ChooseFile(const QString& path) {
  auto openedIn = std::make_shared<QString>();
  WhenDialog<QFileDialog>([path, openedIn](QFileDialog& dialog) {
    *openedIn = dialog.directory().absolutePath();
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
    if (dialog.isVisible()) {
      ADD_FAILURE() << "the file dialog did not take " << path.toStdString();
      dialog.reject();
    }
  });
  return openedIn;
}

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

bool QtWindowTest::Build(const std::function<void(ui::qt::BuildDialog&)>& onShown, platform::MessageAnswer answer,
                         int width, int height) {
  platform_->OnWindowShown(onShown);
  platform_->SetMessageAnswerer([this, answer](const std::string& text, platform::MessageButtons) {
    messages_.push_back(text);
    return std::optional<platform::MessageAnswer>(answer);
  });
  return host_->Build(width, height, true);
}

}  // namespace lorvex::qttest

// Both test programs run under Qt's offscreen platform whatever the environment says, so that
// they never open a window on a person's screen; the GUI test under X runs its program again
// with LORVEX_GUI_TEST_PLATFORM=xcb and DISPLAY naming the server it started.
int main(int argc, char** argv) {
  const QByteArray chosen = qgetenv("LORVEX_GUI_TEST_PLATFORM");
  qputenv("QT_QPA_PLATFORM", chosen.isEmpty() ? QByteArray("offscreen") : chosen);
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  lorvex::qttest::DropApp();  // before the exit handlers: Qt's own statics may be gone by then
  return status;
}
