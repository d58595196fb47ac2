#include "ui/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QThread>
#include <QDateTime>
#include <algorithm>
#include <chrono>
#include <cmath>

#if defined(LORVEX_HAVE_XCB)
#include <xcb/xcb.h>
#endif

#include "params/build_parameters.h"
#include "ui/frm_build.h"
#include "ui/qt/build_dialog.h"
#include "ui/qt/file_filter.h"

namespace lorvex::ui::qt {

using platform::MessageAnswer;
using platform::MessageButtons;

namespace {

// Flags of the common file dialog that the window may set.
constexpr int kFlagOverwritePrompt = 2;
constexpr int kFlagFileMustExist = 4096;

// Counts a message box or file dialog as open for as long as it is.
class OpenBox {
 public:
  explicit OpenBox(int& count) : count_(count) { ++count_; }
  ~OpenBox() { --count_; }
  OpenBox(const OpenBox&) = delete;
  OpenBox& operator=(const OpenBox&) = delete;

 private:
  int& count_;
};

bool HasPlatformPlugin(const QString& prefix) {
  const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
  return !plugins.entryList({prefix + QStringLiteral("*")}, QDir::Files).isEmpty();
}

// Whether a new QApplication of this process could open its windows, and with which
// platform plugin when the environment names none. Qt ends the process when it cannot
// open the display it was told to use, so this is asked first.
bool CanOpenWindows(std::string& why, std::string& platformPlugin) {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;  // the person chose
  if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
    if (!HasPlatformPlugin(QStringLiteral("libqxcb"))) {
      why = "Qt's X11 platform plugin (libqxcb) is not installed";
      return false;
    }
#if defined(LORVEX_HAVE_XCB)
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (!answers) {
      why = "the display " + qEnvironmentVariable("DISPLAY").toStdString() + " does not answer";
      return false;
    }
#endif
    return true;
  }
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    if (!HasPlatformPlugin(QStringLiteral("libqwayland"))) {
      why = "Qt's Wayland platform plugin is not installed";
      return false;
    }
    platformPlugin = "wayland";
    return true;
  }
  return false;  // no display at all: nothing to report
}

}  // namespace

QtPlatform::QtPlatform() : QtPlatform(false, std::string()) {}

QtPlatform::QtPlatform(bool createApplication, const std::string& platformPlugin)
    : platformPlugin_(platformPlugin) {
  if (createApplication) {
    if (!platformPlugin_.empty()) {
      argv_[1] = platformFlag_;
      argv_[2] = platformPlugin_.data();
      argc_ = 3;
    }
    ownApplication_ = std::make_unique<QApplication>(argc_, argv_);
  }
  pauseTimer_ = std::make_unique<QTimer>();
  pauseTimer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(pauseTimer_.get(), &QTimer::timeout, [this] {
    if (timerWindow_ != nullptr && timerWindow_->PauseTimerEnabled()) timerWindow_->PauseTimerTick();
    if (timerWindow_ == nullptr || !timerWindow_->PauseTimerEnabled()) pauseTimer_->stop();
  });
}

std::unique_ptr<QtPlatform> QtPlatform::ForThisProcess(std::string& why) {
  if (QCoreApplication* existing = QCoreApplication::instance()) {
    if (qobject_cast<QApplication*>(existing) == nullptr) {
      why = "the program's Qt application has no widgets";
      return nullptr;
    }
    if (existing->thread() != QThread::currentThread()) {
      why = "Build was called on another thread than the program's Qt application";
      return nullptr;
    }
    return std::unique_ptr<QtPlatform>(new QtPlatform(false, std::string()));
  }
  std::string platformPlugin;
  if (!CanOpenWindows(why, platformPlugin)) return nullptr;
  return std::unique_ptr<QtPlatform>(new QtPlatform(true, platformPlugin));
}

QtPlatform::~QtPlatform() {
  DeleteRetiredDialogs();
  pauseTimer_->stop();
  if (waitCursor_) QApplication::restoreOverrideCursor();
}

BuildDialog* QtPlatform::DialogOf(const platform::Window& window) const {
  for (BuildDialog* dialog : dialogs_)
    if (static_cast<const platform::Window*>(&dialog->Form()) == &window) return dialog;
  return nullptr;
}

QWidget* QtPlatform::BoxParent() const {
  if (BuildDialog* dialog = ShownWindow()) return dialog;
  return QApplication::activeWindow();
}

void QtPlatform::ShowModal(platform::Window& window) {
  auto* form = dynamic_cast<frmBuild*>(&window);
  if (form == nullptr) {
    // Only the parameters window has widgets; any other window could not be seen or
    // closed, so it is closed at once.
    window.CloseByUser();
    return;
  }
  // No parent: the host's window may go while the modal show runs; the window is only
  // centred over it.
  DeleteRetiredDialogs();
  // On the heap: once its show is over the window is hidden at once and deleted later,
  // when the event loop is idle, so that the host gets its world without waiting for
  // hundreds of widgets to go.
  auto* shown = new BuildDialog(*form, *this, ShapingFigures);
  BuildDialog& dialog = *shown;
  dialog.setWindowModality(Qt::ApplicationModal);
  if (QWidget* host = QApplication::activeWindow())
    dialog.move(host->frameGeometry().center() - dialog.rect().center());
  dialogs_.push_back(&dialog);
  // The window is painted as it opens: the first pass of a build is one interval later.
  HandlerStarting();
  if (onShown_) {
    auto hook = onShown_;
    QTimer::singleShot(0, &dialog, [hook, &dialog] { hook(dialog); });
  }
  if (window.IsVisible()) dialog.exec();
  dialogs_.pop_back();
  const std::exception_ptr failure = dialog.Failure();
  dialog.Retire();
  retired_.emplace_back(shown);
  shown->deleteLater();
  if (timerWindow_ == &window) {
    pauseTimer_->stop();
    timerWindow_ = nullptr;
  }
  SetMousePointer(platform::MousePointer::kDefault);
  if (failure != nullptr) std::rethrow_exception(failure);
}

void QtPlatform::DeleteRetiredDialogs() {
  for (const QPointer<BuildDialog>& dialog : retired_) delete dialog.data();
  retired_.clear();
}

void QtPlatform::ArmPauseTimer(platform::Window& window) {
  if (window.PauseTimerEnabled()) {
    timerWindow_ = &window;
    const int interval = window.PauseTimerInterval();
    if (!pauseTimer_->isActive() || pauseTimer_->interval() != interval) pauseTimer_->start(interval);
  } else if (timerWindow_ == &window && pauseTimer_->isActive()) {
    pauseTimer_->stop();
  }
}

void QtPlatform::HandlerStarting() {
  lastPass_ = lastSync_ = std::chrono::steady_clock::now();
  quietGrant_ = 1;
  longestGap_ = {};
}

void QtPlatform::Repainted(std::chrono::steady_clock::time_point now) {
  longestGap_ = std::max(longestGap_, now - lastSync_);
  lastSync_ = now;
}

void QtPlatform::DoEvents(platform::Window& window) {
  const auto now = std::chrono::steady_clock::now();
  if (!window.PauseTimerEnabled() && now - lastPass_ < kPassInterval) {
    // Nothing is due yet: the next yields pass quietly, twice as many as last time.
    quietGrant_ = std::min(quietGrant_ * 2, kMostQuietYields);
    quiet_.Grant(quietGrant_);
    return;
  }
  // A pass that came late (the yields slowed down) means fewer quiet ones before the next.
  if (now - lastPass_ > 2 * kPassInterval) quietGrant_ = std::max(quietGrant_ / 8, 1LL);
  // The widgets first, so that what the build changed (the pages disabled) holds for the
  // events delivered now; during a build, every kRepaintInterval (what they show is
  // repainted then, and repainting the window at every pass would cost the build dear).
  if (window.PauseTimerEnabled() || now - lastSync_ >= kRepaintInterval) {
    if (BuildDialog* dialog = DialogOf(window)) dialog->Sync();
    Repainted(now);
  }
  ArmPauseTimer(window);
  // While the window waits for its pause timer, the loop sleeps until the tick instead of
  // spinning.
  QCoreApplication::processEvents(pauseTimer_->isActive() ? QEventLoop::WaitForMoreEvents
                                                         : QEventLoop::AllEvents);
  lastPass_ = std::chrono::steady_clock::now();
}

void QtPlatform::ShowProgress(platform::Window& window) {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastSync_ < kRepaintInterval) return;
  Repainted(now);
  if (BuildDialog* dialog = DialogOf(window)) dialog->PaintProgress();
}

MessageAnswer QtPlatform::MessageBox(const std::string& text, MessageButtons buttons) {
  const OpenBox open(openModalBoxes_);
  if (messageAnswerer_)
    if (const std::optional<MessageAnswer> answer = messageAnswerer_(text, buttons)) return *answer;
  QString message = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const bool question = buttons == MessageButtons::kYesNo;
  QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(params::kWindowCaption), message,
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, BoxParent());
  box.setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.setAttribute(Qt::WA_QuitOnClose, false);
  const int answer = box.exec();
  if (!question) return MessageAnswer::kOk;
  // Closing the question any other way answers No.
  return answer == QMessageBox::Yes ? MessageAnswer::kYes : MessageAnswer::kNo;
}

void ConfigureFileDialog(QFileDialog& dialog, const platform::FileDialogRequest& request) {
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!request.save && (request.flags & kFlagFileMustExist) != 0
                         ? QFileDialog::ExistingFile
                         : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite,
                   !request.save || (request.flags & kFlagOverwritePrompt) == 0);
  QString suffix = QString::fromLatin1(request.defaultExt.c_str());
  while (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  const QStringList filters = ToQtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = request.filterIndex - 1;  // the request counts from 1
    dialog.selectNameFilter(filters.at(index >= 0 && index < filters.size() ? index : 0));
  }
  const QDir folder(QDir::current().absoluteFilePath(QFile::decodeName(request.initDir.c_str())));
  dialog.setDirectory(folder.exists() ? folder.absolutePath() : QDir::currentPath());
}

std::optional<std::string> QtPlatform::FileDialog(const platform::FileDialogRequest& request) {
  const OpenBox open(openModalBoxes_);
  if (fileAnswerer_) return fileAnswerer_(request);
  QFileDialog dialog(BoxParent());
  ConfigureFileDialog(dialog, request);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setAttribute(Qt::WA_QuitOnClose, false);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
  return QFile::encodeName(chosen.front()).toStdString();
}

double QtPlatform::SecondsSinceMidnight() {
  // The local time is the system clock moved by the zone's offset from UTC. Asking Qt for
  // the local time reads the zone anew each time, which a build asking every few
  // microseconds cannot afford: the offset is read again once a minute.
  using namespace std::chrono;
  const auto now = steady_clock::now();
  if (zoneReadAt_ == steady_clock::time_point{} || now - zoneReadAt_ > minutes(1)) {
    zoneOffsetSeconds_ = QDateTime::currentDateTime().offsetFromUtc();
    zoneReadAt_ = now;
  }
  constexpr double kSecondsPerDay = 86400.0;
  const double seconds = duration<double>(system_clock::now().time_since_epoch()).count() + zoneOffsetSeconds_;
  return seconds - kSecondsPerDay * std::floor(seconds / kSecondsPerDay);
}

std::uint64_t QtPlatform::ClockSeed() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

void QtPlatform::SetMousePointer(platform::MousePointer pointer) {
  const bool wait = pointer == platform::MousePointer::kHourglass;
  if (wait == waitCursor_) return;
  if (wait)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  waitCursor_ = wait;
}

}  // namespace lorvex::ui::qt
