#include "qt_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "event_steps.h"

namespace lorvex::qttest {

namespace {

constexpr int kWatchdogMs = 120000;

std::unique_ptr<QApplication>& Application() {
  static int argc = 1;
  static char name[] = "lorvex_qt_tests";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> application;
  if (application == nullptr && QCoreApplication::instance() == nullptr)
    application = std::make_unique<QApplication>(argc, argv);
  return application;
}

std::string ToLatin1(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

QApplication& App() {
  Application();
  return *qApp;
}

void DropApp() {
  CancelSteps();
  Application().reset();
}

BoxAnswerer::BoxAnswerer(QMessageBox::StandardButton answer, std::function<void()> beforeFirstAnswer)
    : answer_(answer), beforeFirstAnswer_(std::move(beforeFirstAnswer)), timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    // Answered from a step of its own, so that this poll keeps running (and answers any
    // box opened meanwhile) while the answer runs nested event loops.
    QPointer<QMessageBox> open(box);
    QTimer::singleShot(0, timer_.get(), [this, open] {
      if (open == nullptr) return;
      texts_.push_back(open->text());
      if (texts_.size() == 1 && beforeFirstAnswer_) beforeFirstAnswer_();
      if (open == nullptr) return;
      if (QAbstractButton* button = open->button(answer_))
        button->click();
      else
        open->reject();
    });
  });
  timer_->start(5);
}

void ExpectWidgetsShowControls(ui::qt::BuildDialog& dialog) {
  using platform::ControlKind;
  for (const platform::Control& c : dialog.Form().Controls().All()) {
    if (c.Kind() == ControlKind::kTimer) continue;
    QWidget* widget = dialog.WidgetOf(c.Name(), c.Index());
    ASSERT_NE(widget, nullptr) << c.Key();
    SCOPED_TRACE(c.Key());
    EXPECT_EQ(!widget->isHidden(), c.visible);
    EXPECT_EQ(!widget->testAttribute(Qt::WA_Disabled), c.enabled);
    switch (c.Kind()) {
      case ControlKind::kNumberBox: {
        auto* box = static_cast<QLineEdit*>(widget);
        EXPECT_EQ(ToLatin1(box->text()), c.Text());
        EXPECT_EQ(box->isReadOnly(), c.locked);
        if (c.MaxLength() > 0) {
          EXPECT_EQ(box->maxLength(), std::max<int>(c.MaxLength(), static_cast<int>(c.Text().size())));
        }
        EXPECT_EQ((box->focusPolicy() & Qt::TabFocus) != 0, c.tabStop);
        const QColor base = box->palette().color(QPalette::Base);
        EXPECT_EQ(base, QColor(c.backColor.r, c.backColor.g, c.backColor.b));
        break;
      }
      case ControlKind::kCheckBox: {
        auto* box = static_cast<QCheckBox*>(widget);
        EXPECT_EQ(ToLatin1(box->text()), c.caption);
        EXPECT_EQ(box->checkState() == Qt::Checked, c.Value() == 1);
        EXPECT_EQ(box->checkState() == Qt::Unchecked, c.Value() == 0);
        break;
      }
      case ControlKind::kSelectionBox: {
        auto* box = static_cast<QComboBox*>(widget);
        EXPECT_FALSE(box->isEditable());
        ASSERT_EQ(box->count(), static_cast<int>(c.items.size()));
        for (int i = 0; i < box->count(); ++i)
          EXPECT_EQ(ToLatin1(box->itemText(i)), c.items[static_cast<std::size_t>(i)]);
        EXPECT_EQ(box->currentIndex(), c.ListIndex());
        break;
      }
      case ControlKind::kLabel:
        EXPECT_EQ(ToLatin1(static_cast<QLabel*>(widget)->text()), c.caption);
        break;
      case ControlKind::kButton:
        EXPECT_EQ(ToLatin1(static_cast<QPushButton*>(widget)->text()), c.caption);
        break;
      default:
        break;
    }
  }
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

void ArmWatchdog(ui::qt::BuildDialog& dialog) {
  QPointer<ui::qt::BuildDialog> window(&dialog);
  When([] { return false; }, [] {}, kWatchdogMs, [window] {
    ADD_FAILURE() << "the window was still open after two minutes";
    // A box left open would hold the window: close the boxes first (bounded: each close
    // takes one away).
    for (int boxes = 0; boxes < 10; ++boxes) {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == window) break;
      modal->close();
    }
    if (window != nullptr) window->close();
  });
}

bool QtWindowTest::Build(const std::function<void(ui::qt::BuildDialog&)>& onShown, int width, int height) {
  platform_->OnWindowShown([this, onShown](ui::qt::BuildDialog& dialog) {
    ++windowsShown_;
    ArmWatchdog(dialog);
    onShown(dialog);
  });
  return host_->Build(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height), true);
}

}  // namespace lorvex::qttest
