// lorvex-gui, a desktop host: it asks the component for a world as a host game would
// (clsBuild::Build shows the parameters window), shows the finished world, saves it as a
// PNG picture and builds again. Cancel in the parameters window ends it.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <QFileDialog>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "apps/lorvex-gui/world_window.h"
#include "common/version.h"
#include "host/cls_build.h"
#include "ui/qt/qt_platform.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kNoDisplay = 1;

struct Options {
  int width = 200;
  int height = 150;
  bool wrap = true;
  std::optional<std::uint64_t> seed;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{"lorvex-gui " + std::string(lorvex::kVersionText) +
               " - build a world in the parameters window and look at it"};
  app.set_version_flag("--version", std::string("lorvex-gui ") + lorvex::kVersionText);
  app.add_option("--width", options.width, "map width in squares (1 to 4096, default 200)")
      ->check(CLI::Range(1, lorvex::kMaxMapSide));
  app.add_option("--height", options.height, "map height in squares (1 to 4096, default 150)")
      ->check(CLI::Range(1, lorvex::kMaxMapSide));
  app.add_flag("--wrap,!--no-wrap", options.wrap, "the map wraps east-west (the default)");
  app.add_option("--seed", options.seed, "seed of the first build (default: from the clock)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kUsageError;
  }

  std::string why;
  std::unique_ptr<lorvex::ui::qt::QtPlatform> platform = lorvex::ui::qt::QtPlatform::ForThisProcess(why);
  if (platform == nullptr) {
    std::fprintf(stderr, "lorvex-gui: cannot show windows: %s\n",
                 why.empty() ? "no display (set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen)"
                             : why.c_str());
    return kNoDisplay;
  }
  QApplication::setApplicationName(QStringLiteral("lorvex-gui"));
  // The program ends when the world window is closed or a build is cancelled, not when
  // the parameters window closes before the world window is shown.
  QApplication::setQuitOnLastWindowClosed(false);

  int status = 0;
  {
    lorvex::clsBuild host(*platform);
    if (options.seed) host.SetNextSeed(*options.seed);
    const auto build = [&] {
      return host.Build(static_cast<std::int16_t>(options.width),
                        static_cast<std::int16_t>(options.height), options.wrap);
    };
    lorvex::gui::WorldWindow* window = nullptr;
    lorvex::gui::WorldWindow shown(
        [&] {
          if (!build()) return false;
          window->ShowWorld(host.World(), options.wrap, host.LastSeed());
          return true;
        },
        [&] {
          const QString file = QFileDialog::getSaveFileName(window, QStringLiteral("Save the world as PNG"),
                                                            QStringLiteral("world.png"),
                                                            QStringLiteral("PNG pictures (*.png)"));
          return QFile::encodeName(file).toStdString();
        });
    window = &shown;
    if (!build()) return 0;  // cancelled
    shown.ShowWorld(host.World(), options.wrap, host.LastSeed());
    shown.show();
    QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
    status = QApplication::exec();
  }
  return status;
}
