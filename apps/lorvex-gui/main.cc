// lorvex-gui, the desktop app for finding a world one likes: it hosts Lorvex as a game
// would (the builder's parameters window for every build), shows the world large, builds a
// gallery of neighbouring seeds on every core, and exports the world in every format the
// command line writes. The parameters window opens for the first build at once.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "apps/lorvex-gui/app_window.h"
#include "common/version.h"
#include "host/cls_build.h"
#include "ui/qt/qt_platform.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kNoDisplay = 1;

}  // namespace

int main(int argc, char** argv) {
  lorvex::gui::AppOptions options;
  CLI::App app{"lorvex-gui " + std::string(lorvex::kVersionText) +
               " - build worlds, compare seeds in a gallery, look at them closely and export them"};
  app.set_version_flag("--version", std::string("lorvex-gui ") + lorvex::kVersionText);
  int width = 0, height = 0;
  bool wrap = true;
  std::string seed;
  CLI::Option* widthOption = app.add_option("--width", width, "map width in squares (1 to 4096; default: as last time, at first 200)")
                                 ->check(CLI::Range(1, lorvex::kMaxMapSide));
  CLI::Option* heightOption =
      app.add_option("--height", height, "map height in squares (1 to 4096; default: as last time, at first 150)")
          ->check(CLI::Range(1, lorvex::kMaxMapSide));
  CLI::Option* wrapOption =
      app.add_flag("--wrap,!--no-wrap", wrap, "the map wraps east-west (default: as last time, at first wrapping)");
  CLI::Option* seedOption =
      app.add_option("--seed", seed,
                     "seed or world key (SEED or SEED-DRAWS, as Copy Seed gives it) of the first build (default: from the clock)")
          ->check([](const std::string& text) -> std::string {
            if (lorvex::gui::ParseKey(QString::fromStdString(text))) return {};
            return "not a seed (0 to 18446744073709551615) nor a key SEED-DRAWS";
          });
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kUsageError;
  }
  if (*widthOption) options.width = width;
  if (*heightOption) options.height = height;
  if (*wrapOption) options.wrap = wrap;
  if (*seedOption) options.key = lorvex::gui::ParseKey(QString::fromStdString(seed));

  std::string why;
  std::unique_ptr<lorvex::ui::qt::QtPlatform> platform = lorvex::ui::qt::QtPlatform::ForThisProcess(why);
  if (platform == nullptr) {
    std::fprintf(stderr, "lorvex-gui: cannot show windows: %s\n",
                 why.empty() ? "no display (set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen)"
                             : why.c_str());
    return kNoDisplay;
  }
  QApplication::setApplicationName(QStringLiteral("lorvex-gui"));
  const QString ownFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  options.preferencesFile = QDir(ownFolder).filePath(QStringLiteral("lorvex-gui.ini"));
  // The app works in its own folder: the parameters window's settings folder and default
  // file are found there, never in the folder the app was started from.
  options.startFolder = QDir::currentPath();
  if (QDir().mkpath(ownFolder) && QDir::setCurrent(ownFolder)) options.settingsFolder = ownFolder;

  lorvex::gui::AppWindow window(*platform, options);
  window.show();
  QTimer::singleShot(0, &window, [&window] { window.BuildAgain(); });
  return QApplication::exec();
}
