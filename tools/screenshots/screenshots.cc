// lorvex_screenshots FOLDER: pictures of the parameters window (each of its six pages, and
// the watch display in the middle of a build) and of lorvex-gui's finished world, taken
// under Qt's offscreen platform, as PNG files in FOLDER.
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <string>

#include "apps/lorvex-gui/world_window.h"
#include "host/cls_build.h"
#include "params/build_parameters.h"
#include "ui/qt/build_dialog.h"
#include "ui/qt/qt_platform.h"

namespace {

using lorvex::ui::qt::BuildDialog;

constexpr std::uint64_t kSeed = 20240601;
constexpr int kMapWidth = 200, kMapHeight = 150;
// Grab the watch display once this many steps of the progress bar are done (a few masses
// made and placed).
constexpr int kWatchProgress = 8;
constexpr int kWorldWindowWidth = 840, kWorldWindowHeight = 660;

const char* const kPageFiles[] = {"page1-land-masses.png", "page2-terrain.png", "page3-cities.png",
                                  "page4-player-cities.png", "page5-building-algorithms.png",
                                  "page6-shapes.png"};

bool failed = false;

void Save(QWidget& widget, const QDir& folder, const char* file) {
  const QString path = folder.filePath(QString::fromLatin1(file));
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "lorvex_screenshots: cannot write %s\n", qPrintable(path));
    failed = true;
  } else {
    std::printf("%s\n", qPrintable(path));
  }
}

void SendKey(BuildDialog& dialog, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(dialog.windowHandle(), &press);
}

void Click(BuildDialog& dialog, const char* button) {
  static_cast<QPushButton*>(dialog.WidgetOf(button, 0))->click();
}

// Every page in turn, through the tab strip; the page shown is the one the strip selects.
void PhotographPages(BuildDialog& dialog, const QDir& folder) {
  for (int k = 1; k <= lorvex::params::kTabCount; ++k) {
    dialog.TabBar()->setCurrentIndex(k - 1);
    for (lorvex::platform::Control* page : dialog.Form().Controls().Array("fratabs"))
      page->visible = page->Index() == k;
    dialog.Sync();
    Save(dialog, folder, kPageFiles[k - 1]);
  }
  dialog.TabBar()->setCurrentIndex(0);
  for (lorvex::platform::Control* page : dialog.Form().Controls().Array("fratabs"))
    page->visible = page->Index() == 1;
  dialog.Sync();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QDir folder(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argc > 1 ? argv[1] : "screenshots")));
  if (!QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "lorvex_screenshots: cannot create %s\n", qPrintable(folder.path()));
    return 1;
  }
  // The window applies kessett/default.kst of the current folder: the pictures show the
  // defaults, whatever settings this folder holds.
  QTemporaryDir emptyFolder;
  if (!emptyFolder.isValid() || !QDir::setCurrent(emptyFolder.path())) {
    std::fprintf(stderr, "lorvex_screenshots: cannot make an empty working folder\n");
    return 1;
  }
  std::string why;
  std::unique_ptr<lorvex::ui::qt::QtPlatform> platform = lorvex::ui::qt::QtPlatform::ForThisProcess(why);
  if (platform == nullptr) {
    std::fprintf(stderr, "lorvex_screenshots: no window can be shown: %s\n", why.c_str());
    return 1;
  }
  // The stop question after the watch picture is answered Yes.
  platform->SetMessageAnswerer([](const std::string&, lorvex::platform::MessageButtons) {
    return std::optional<lorvex::platform::MessageAnswer>(lorvex::platform::MessageAnswer::kYes);
  });
  platform->OnWindowShown([&folder](BuildDialog& dialog) {
    PhotographPages(dialog, folder);
    // Watch mode on (Alt+F5), then a build; a few masses in, the watch display is taken and
    // the build stopped with a key; then watch mode off and a build to the end.
    SendKey(dialog, Qt::Key_F5, Qt::AltModifier, QString());
    lorvex::ui::frmBuild& form = dialog.Form();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (form.Progress().value < kWatchProgress) return;
      watch.stop();
      dialog.Sync();
      Save(dialog, folder, "watch-display.png");
      SendKey(dialog, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    });
    watch.start(5);
    Click(dialog, "cmdBuild");
    failed = failed || watch.isActive();  // the build ended before the watch picture
    watch.stop();
    SendKey(dialog, Qt::Key_F5, Qt::AltModifier, QString());
    Click(dialog, "cmdBuild");
  });

  lorvex::clsBuild host(*platform);
  host.SetNextSeed(kSeed);
  if (!host.Build(kMapWidth, kMapHeight, true)) {
    std::fprintf(stderr, "lorvex_screenshots: the build did not finish\n");
    return 1;
  }
  {
    lorvex::gui::WorldWindow window([] { return false; }, [] { return std::string(); });
    window.ShowWorld(host.World(), true, host.LastSeed());
    window.resize(kWorldWindowWidth, kWorldWindowHeight);
    window.show();
    QCoreApplication::processEvents();
    Save(window, folder, "demo-world.png");
  }
  return failed ? 1 : 0;
}
