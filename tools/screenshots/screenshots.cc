// lorvex_screenshots FOLDER: pictures of the parameters window (each of its six pages, and
// the watch display in the middle of a build) and of lorvex-gui (its seed gallery, and a
// world zoomed in with the square under the pointer read out), taken under Qt's offscreen
// platform, as PNG files in FOLDER.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTabBar>
#include <QWindow>
#include <cstdio>
#include <string>

#include "apps/lorvex-gui/app_window.h"
#include "apps/lorvex-gui/world_view.h"
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
constexpr int kAppWidth = 1366, kAppHeight = 740;  // a 1366 x 768 screen less its panel
constexpr int kLargeSide = 1024;
constexpr double kZoomedPixelsPerSquare = 12.0;
constexpr int kGalleryWaitMs = 300000;  // a guard against a hang only

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

// lorvex-gui after a build of the same seed: its gallery once every thumbnail is ready, and
// the world zoomed in on a city with the pointer over it.
void PhotographApp(lorvex::ui::qt::QtPlatform& platform, const QDir& folder) {
  platform.OnWindowShown([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  lorvex::gui::AppOptions options;
  options.width = kMapWidth;
  options.height = kMapHeight;
  options.wrap = true;
  options.key = lorvex::WorldKey{kSeed, 0};
  lorvex::gui::AppWindow app(platform, options);
  app.resize(kAppWidth, kAppHeight);
  app.show();
  if (!app.BuildAgain()) {
    std::fprintf(stderr, "lorvex_screenshots: lorvex-gui built no world\n");
    failed = true;
    return;
  }
  app.ShowGallery();
  QElapsedTimer clock;
  clock.start();
  while (app.Gallery()->ReadyCount() < lorvex::gui::GalleryPage::kWorldsPerPage && clock.elapsed() < kGalleryWaitMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  Save(app, folder, "gallery.png");

  app.Pages()->setCurrentIndex(0);
  QCoreApplication::processEvents();
  lorvex::gui::WorldView& view = *app.View();
  const auto [x, y] = app.Shown()->world->CitySquares.at(app.Shown()->world->CitySquares.size() / 2);
  view.ZoomBy(kZoomedPixelsPerSquare / view.PixelsPerSquare(), view.SquareCentre(QPoint(x, y)));
  const QPointF pointer = view.SquareCentre(QPoint(x, y));
  QMouseEvent move(QEvent::MouseMove, pointer, view.mapToGlobal(pointer), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  QCoreApplication::processEvents();
  Save(app, folder, "world-zoomed.png");

  // A large world of Recommend's masses, fitted: the city marks shrink with the zoom.
  app.SetMap({kLargeSide, kLargeSide, true});
  app.Builder().SetNextSeed(kSeed);
  app.Builder().Recommend(kLargeSide, kLargeSide);
  if (!app.BuildWithSeed(kSeed)) {
    std::fprintf(stderr, "lorvex_screenshots: lorvex-gui built no large world\n");
    failed = true;
    return;
  }
  QCoreApplication::processEvents();
  Save(app, folder, "world-large.png");
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
  PhotographApp(*platform, folder);
  return failed ? 1 : 0;
}
