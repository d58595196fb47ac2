// lorvex-gui as a person uses it: a build in the parameters window, the world zoomed, panned
// and read out under the pointer, the parameters carried to the next build and through
// settings files, the seed gallery, every export format, and closing while the gallery
// builds. Run under Qt's offscreen platform, and once more under an X server (Xvfb) that
// the last test starts and stops.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

#include "apps/lorvex-gui/app_window.h"
#include "apps/lorvex-gui/world_view.h"
#include "engine/world_hash.h"
#include "event_steps.h"
#include "export/world_formats.h"
#include "qt_test_support.h"
#include "support/io_faults.h"

namespace lorvex::qttest {
namespace {

using gui::AppWindow;
using gui::GalleryPage;
using ui::qt::BuildDialog;

constexpr std::uint64_t kSeed = 4242;
// Only a guard against a hang (a broken app fails instead of waiting for ever); nothing
// here is timed.
constexpr int kHangGuardMs = 300000;

void Click(BuildDialog& dialog, const char* name) {
  QTest::mouseClick(dialog.WidgetOf(name, 0), Qt::LeftButton);
}

void TypeInto(BuildDialog& dialog, const char* name, int index, const char* text) {
  auto* box = WidgetAs<QLineEdit>(dialog, name, index);
  box->setFocus(Qt::MouseFocusReason);
  box->selectAll();
  QTest::keyClicks(box, QString::fromLatin1(text));
}

// Runs the event loop until `done` holds; a hang fails the test instead.
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > kHangGuardMs) return false;
    QTest::qWait(20);
  }
  return true;
}

// The next dialog of type D that the app opens modally gets `answer`.
template <typename D>
void WhenDialog(std::function<void(D&)> answer) {
  When([] { return qobject_cast<D*>(QApplication::activeModalWidget()) != nullptr; },
       [answer] { answer(*qobject_cast<D*>(QApplication::activeModalWidget())); }, kHangGuardMs,
       [] { ADD_FAILURE() << "the dialog never opened"; });
}

// The app's next file dialog: the folder it opened in is recorded, then `path` is chosen
// as a person types it and presses Save or Open.
std::shared_ptr<QString> ChooseFile(const QString& path) {
  auto openedIn = std::make_shared<QString>();
  WhenDialog<QFileDialog>([path, openedIn](QFileDialog& dialog) {
    *openedIn = dialog.directory().absolutePath();
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);  // pasted: typing would open the name completer's list
    QTest::keyClick(name, Qt::Key_Return);
    if (dialog.isVisible()) {  // Return took no name: fail rather than wait for ever
      ADD_FAILURE() << "the file dialog did not take " << path.toStdString();
      dialog.reject();
    }
  });
  return openedIn;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class GuiApp : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(folder_.isValid());
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(folder_.path());
    platform_ = std::make_unique<ui::qt::QtPlatform>();
  }
  void TearDown() override {
    CancelSteps();
    app_.reset();
    platform_.reset();
    QDir::setCurrent(previousFolder_);
  }

  AppWindow& OpenApp(int width, int height) {
    gui::AppOptions options;
    options.width = width;
    options.height = height;
    options.wrap = true;
    options.seed = kSeed;
    options.preferencesFile = Path("preferences.ini");
    app_ = std::make_unique<AppWindow>(*platform_, options);
    app_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(app_.get()));
    return *app_;
  }
  // What the parameters window does each time it opens from now on (a watchdog closes a
  // window left open).
  void OnWindow(std::function<void(BuildDialog&)> script) {
    platform_->OnWindowShown([script](BuildDialog& dialog) {
      ArmWatchdog(dialog);
      script(dialog);
    });
  }
  void PressBuildInTheWindow() {
    OnWindow([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  }
  QString Path(const QString& name) const { return folder_.filePath(name); }

  QTemporaryDir folder_;
  QString previousFolder_;
  std::unique_ptr<ui::qt::QtPlatform> platform_;
  std::unique_ptr<AppWindow> app_;
};

// A person builds with fewer cities, looks at the world closely, reads squares under the
// pointer, and opens the window again: it holds what they typed, and settings files carry
// parameters both ways.
TEST_F(GuiApp, ABuildIsZoomedPannedAndReadOutAndItsParametersCarryOver) {
  AppWindow& app = OpenApp(200, 150);
  OnWindow([](BuildDialog& dialog) {
    TypeInto(dialog, "txtCities", 0, "30");
    TypeInto(dialog, "txtCities", 1, "30");
    Click(dialog, "cmdBuild");
  });
  ASSERT_TRUE(app.BuildAgain());
  ASSERT_TRUE(app.Shown());
  const HostWorld& world = *app.Shown()->world;
  EXPECT_EQ(world.MapArray.Width(), 200);
  EXPECT_EQ(app.Shown()->seed, kSeed);
  EXPECT_EQ(app.SeedLabel()->text(), QStringLiteral("Seed 4242"));
  ASSERT_GT(world.CityCount, 0);
  EXPECT_LE(world.CityCount, 30);

  gui::WorldView& view = *app.View();
  const QRectF fitted = view.MapArea();
  EXPECT_TRUE(QRectF(view.rect()).contains(fitted.adjusted(0.5, 0.5, -0.5, -0.5)));
  EXPECT_TRUE(std::abs(fitted.width() - view.width()) < 1 || std::abs(fitted.height() - view.height()) < 1);
  // Two wheel notches in: the zoom grows by 1.25 twice, around the square under the pointer.
  const QPoint pointer(view.width() / 3, view.height() / 2);
  const std::optional<QPoint> underPointer = view.SquareAt(pointer);
  const double before = view.PixelsPerSquare();
  QWheelEvent wheel(pointer, view.mapToGlobal(pointer), {}, QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &wheel);
  EXPECT_DOUBLE_EQ(view.PixelsPerSquare(), before * 1.5625);
  EXPECT_EQ(view.SquareAt(pointer), underPointer);
  // A drag moves the map with the pointer.
  const QPointF corner = view.MapArea().topLeft();
  QTest::mousePress(&view, Qt::LeftButton, {}, pointer);
  QTest::mouseMove(&view, pointer + QPoint(-40, -30));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, pointer + QPoint(-40, -30));
  EXPECT_EQ(view.MapArea().topLeft(), corner + QPointF(-40, -30));
  app.findChild<QAction*>(QStringLiteral("actualSize"))->trigger();
  EXPECT_EQ(view.PixelsPerSquare(), 1.0);
  app.findChild<QAction*>(QStringLiteral("fit"))->trigger();
  EXPECT_EQ(view.MapArea(), fitted);

  // The status line names the square under the pointer.
  const auto [cityX, cityY] = world.CitySquares[0];
  QPoint land(-1, -1);
  for (int x = 0; x < 200 && land.x() < 0; ++x)
    for (int y = 0; y < 150 && land.x() < 0; ++y)
      if (world.MapArray(x, y) == 'C') land = QPoint(x, y);
  ASSERT_GE(land.x(), 0);
  const std::string city = "city 0: production " + std::to_string(world.ProdArray[0]) + ", specialty " +
                           std::to_string(world.SpecArray[0]) + ", owner " + std::to_string(world.OwnerArray[0]);
  const struct {
    QPoint square;
    std::string begins;
    std::string has;
    std::string lacks;
  } squares[] = {
      {{cityX, cityY}, "x " + std::to_string(cityX) + ", y " + std::to_string(cityY) + ": city, land mass ", city, ""},
      {land, "x " + std::to_string(land.x()) + ", y " + std::to_string(land.y()) + ": clear, land mass ", " squares)",
       "production"},
      {{5, 0}, "x 5, y 0: border water (top)", "", "land mass"},
  };
  for (const auto& row : squares) {
    QTest::mouseMove(&view, view.SquareCentre(row.square).toPoint());
    const std::string text = app.Readout()->text().toStdString();
    SCOPED_TRACE(text);
    EXPECT_EQ(text.rfind(row.begins, 0), 0u);
    EXPECT_NE(text.find(row.has), std::string::npos);
    if (!row.lacks.empty()) {
      EXPECT_EQ(text.find(row.lacks), std::string::npos);
    }
  }

  // Build Again opens the window with what the last build used; Cancel keeps the world.
  QString heldLo;
  OnWindow([&](BuildDialog& dialog) {
    heldLo = WidgetAs<QLineEdit>(dialog, "txtCities", 0)->text();
    Click(dialog, "cmdCancel");
  });
  EXPECT_FALSE(app.BuildAgain());
  EXPECT_EQ(heldLo, QStringLiteral("30"));
  EXPECT_EQ(&*app.Shown()->world, &world);

  // Save Settings writes them; Load Settings gives the next window a file's fields.
  ChooseFile(Path("saved.kst"));
  ASSERT_TRUE(app.SaveSettings());
  EXPECT_TRUE(Contents(Path("saved.kst")).contains("txtCities(0) = 30\r\n"));
  QFile other(Path("other.kst"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.write("txtCities(1) = 45\r\n");
  other.close();
  ChooseFile(Path("other.kst"));
  ASSERT_TRUE(app.LoadSettings());
  QString heldHi;
  OnWindow([&](BuildDialog& dialog) {
    heldLo = WidgetAs<QLineEdit>(dialog, "txtCities", 0)->text();
    heldHi = WidgetAs<QLineEdit>(dialog, "txtCities", 1)->text();
    Click(dialog, "cmdCancel");
  });
  app.BuildAgain();
  EXPECT_EQ(heldLo, QStringLiteral("30"));
  EXPECT_EQ(heldHi, QStringLiteral("45"));
}

// Twelve seeds after the shown world's, built side by side; each thumbnail is a placeholder
// until its world arrives, then shows the world of its seed. A click opens it large; Build
// with Seed builds any of them again; More goes on with the next twelve.
TEST_F(GuiApp, TheGalleryBuildsTwelveSeedsAndOpensOneLarge) {
  AppWindow& app = OpenApp(160, 120);
  PressBuildInTheWindow();
  ASSERT_TRUE(app.BuildAgain());
  app.findChild<QAction*>(QStringLiteral("gallery"))->trigger();
  GalleryPage& gallery = *app.Gallery();
  EXPECT_EQ(app.Pages()->currentWidget(), &gallery);
  ASSERT_EQ(gallery.FirstSeed(), kSeed + 1);
  for (int slot = 0; slot < GalleryPage::kWorldsPerPage; ++slot) {
    EXPECT_FALSE(gallery.Tile(slot)->Ready());
    EXPECT_EQ(gallery.Tile(slot)->Caption(), QStringLiteral("Seed %1\nbuilding...").arg(kSeed + 1 + slot));
  }
  ASSERT_TRUE(WaitFor([&] { return gallery.ReadyCount() == GalleryPage::kWorldsPerPage; }));

  clsBuild alone;  // the same parameters and seed, built on this thread
  alone.SetHeadlessBuild(true);
  alone.SetParameters(gallery.Parameters());
  for (int slot = 0; slot < GalleryPage::kWorldsPerPage; ++slot) {
    const gui::GalleryWorld& made = *gallery.Tile(slot)->World();
    SCOPED_TRACE(slot);
    ASSERT_TRUE(made.built);
    ASSERT_NE(made.world, nullptr);
    EXPECT_EQ(made.seed, kSeed + 1 + static_cast<std::uint64_t>(slot));
    const long land = std::lround(100.0 * static_cast<double>(exporting::Summarize(*made.world).land) / (160 * 120));
    EXPECT_EQ(gallery.Tile(slot)->Caption(),
              QStringLiteral("Seed %1\n%2 % land, %3 cities").arg(made.seed).arg(land).arg(made.world->CityCount));
    EXPECT_EQ(made.thumbnail.size(), QSize(320, 240));  // two pixels a square
    alone.SetNextSeed(made.seed);
    ASSERT_TRUE(alone.Build(160, 120, true));
    EXPECT_EQ(HostWorldHash(*made.world), HostWorldHash(alone.World()));
  }

  QTest::mouseClick(gallery.Tile(5), Qt::LeftButton);
  ASSERT_TRUE(app.Shown());
  EXPECT_EQ(app.Shown()->seed, kSeed + 6);
  EXPECT_EQ(app.Shown()->world, gallery.Tile(5)->World()->world);
  EXPECT_EQ(app.Pages()->currentWidget(), app.View());
  EXPECT_EQ(app.SeedLabel()->text(), QStringLiteral("Seed %1").arg(kSeed + 6));

  // Build with Seed: the window builds the typed seed by itself.
  OnWindow([](BuildDialog&) {});
  WhenDialog<QInputDialog>([](QInputDialog& ask) {
    ask.setTextValue(QStringLiteral(" %1 ").arg(kSeed + 8));
    ask.accept();
  });
  ASSERT_TRUE(app.AskSeedAndBuild());
  EXPECT_EQ(app.Shown()->seed, kSeed + 8);
  EXPECT_EQ(HostWorldHash(*app.Shown()->world), HostWorldHash(*gallery.Tile(7)->World()->world));

  // More: the next twelve seeds, placeholders first.
  app.ShowGallery();
  EXPECT_EQ(gallery.FirstSeed(), kSeed + 1);  // the same parameters: the page stays
  QTest::mouseClick(gallery.MoreButton(), Qt::LeftButton);
  EXPECT_EQ(gallery.FirstSeed(), kSeed + 13);
  EXPECT_EQ(gallery.ReadyCount(), 0);
  ASSERT_TRUE(WaitFor([&] { return gallery.ReadyCount() == GalleryPage::kWorldsPerPage; }));
  EXPECT_EQ(gallery.Tile(11)->World()->seed, kSeed + 24);
}

// Every format in the table, through its menu entry and the file dialog: the file is what
// the format's writer makes of the shown world with its seed and wrap (4 pixels a square
// for a picture). A write that fails names the file and leaves nothing behind.
TEST_F(GuiApp, EveryExportFormatWritesTheShownWorldAndAFailedWriteLeavesNothing) {
  AppWindow& app = OpenApp(200, 150);
  PressBuildInTheWindow();
  ASSERT_TRUE(app.BuildAgain());
  const HostWorld& world = *app.Shown()->world;
  ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("out")));
  ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("expected")));
  const std::span<const exporting::FormatEntry> formats = exporting::Formats();
  ASSERT_EQ(app.ExportActions().size(), formats.size());
  for (std::size_t i = 0; i < formats.size(); ++i) {
    const exporting::FormatEntry& format = formats[i];
    const QString name = QStringLiteral("world") + QString::fromLatin1(format.extension.data(), format.extension.size());
    SCOPED_TRACE(name.toStdString());
    const std::shared_ptr<QString> openedIn = ChooseFile(Path(QStringLiteral("out/") + name));
    ASSERT_TRUE(app.ExportActions()[i]->isEnabled());
    app.ExportActions()[i]->trigger();
    // The first dialog opens in the working folder, every later one where the last file went.
    EXPECT_EQ(*openedIn, i == 0 ? QDir(folder_.path()).absolutePath() : Path(QStringLiteral("out")));
    std::string error;
    ASSERT_TRUE(exporting::WriteWorldFile({world, {true, kSeed}, 4}, format.format,
                                          Path(QStringLiteral("expected/") + name).toStdString(), error))
        << error;
    const QByteArray written = Contents(Path(QStringLiteral("out/") + name));
    EXPECT_FALSE(written.isEmpty());
    EXPECT_EQ(written, Contents(Path(QStringLiteral("expected/") + name)));
    if (format.companion != nullptr) {
      const QString companion = QString::fromStdString(format.companion(name.toStdString()));
      EXPECT_EQ(Contents(Path(QStringLiteral("out/") + companion)), Contents(Path(QStringLiteral("expected/") + companion)));
    }
  }
  EXPECT_EQ(QDir(Path(QStringLiteral("out"))).entryList(QDir::Files).size(),
            QDir(Path(QStringLiteral("expected"))).entryList(QDir::Files).size());

  // A write that fails at any step: the box names the file and why, the old file stays as
  // it was and no partial file is left beside it.
  const QString png = Path(QStringLiteral("out/world.png"));
  const QByteArray old = Contents(png);
  const QStringList files = QDir(Path(QStringLiteral("out"))).entryList(QDir::Files);
  const struct {
    const char* step;
    const char* reason;
  } faults[] = {{"create", "Read-only file system"},
                {"write", "No space left on device"},
                {"close", "Input/output error"},
                {"rename", "Device or resource busy"}};
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.step);
    testing::ScopedIoFault armed(fault.step, "out/world.png");
    BoxAnswerer yes(QMessageBox::Yes);  // to replace the file; the failure's box just closes
    ChooseFile(png);
    EXPECT_FALSE(app.Export(formats[1]));
    EXPECT_GT(armed.Hits(), 0);
    ASSERT_FALSE(yes.Texts().empty());
    const QString told = yes.Texts().back();
    EXPECT_TRUE(told.contains(png) && told.contains(QString::fromLatin1(fault.reason))) << told.toStdString();
    EXPECT_EQ(Contents(png), old);
    EXPECT_EQ(QDir(Path(QStringLiteral("out"))).entryList(QDir::Files), files);
  }

  // The last folder outlives the app.
  app_.reset();
  gui::AppOptions options;
  options.preferencesFile = Path(QStringLiteral("preferences.ini"));
  EXPECT_EQ(AppWindow(*platform_, options).LastFolder(), Path(QStringLiteral("out")));
}

// Closing the app while every worker thread builds a large world: it closes, the builds
// stop at their next checkpoint, and nothing more reaches the window.
TEST_F(GuiApp, ClosingWhileTheGalleryBuildsEndsCleanly) {
  AppWindow& app = OpenApp(1024, 1024);
  app.ShowGallery();
  GalleryPage& gallery = *app.Gallery();
  EXPECT_EQ(gallery.ReadyCount(), 0);
  EXPECT_TRUE(app.close());
  QTest::qWait(50);  // what the threads announced before they stopped arrives now
  EXPECT_LT(gallery.ReadyCount(), GalleryPage::kWorldsPerPage);
  app_.reset();
}

// The scenarios above once more under a real X server, which this test starts and stops.
TEST(GuiUnderX, TheScenariosPassOnAnXServer) {
  if (!qEnvironmentVariableIsEmpty("LORVEX_GUI_TEST_PLATFORM")) GTEST_SKIP() << "this run is the one under X";
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "Xvfb is not installed (Debian's xvfb package): no test under X";
  App();
  QProcess server;
  // -displayfd 1: the server picks a free display and writes its number once it takes
  // clients.
  server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                      QStringLiteral("tcp")});
  ASSERT_TRUE(server.waitForStarted()) << server.errorString().toStdString();
  QByteArray display;
  while (!display.contains('\n') && server.waitForReadyRead(kHangGuardMs)) display += server.readAllStandardOutput();
  ASSERT_TRUE(display.contains('\n')) << "Xvfb gave no display: " << server.readAllStandardError().toStdString();

  QProcess run;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(display.trimmed()));
  environment.insert(QStringLiteral("LORVEX_GUI_TEST_PLATFORM"), QStringLiteral("xcb"));
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=GuiApp.*")});
  const bool finished = run.waitForFinished(kHangGuardMs);
  if (!finished) run.kill();
  const QByteArray output = run.readAll();
  server.terminate();
  server.waitForFinished();
  ASSERT_TRUE(finished) << "the run under X did not end:\n" << output.toStdString();
  EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 4 tests.")) << output.toStdString();
}

}  // namespace
}  // namespace lorvex::qttest
