// lorvex-gui as a person uses it, under Qt's offscreen platform and once more under Xvfb.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "apps/lorvex-gui/square_readout.h"
#include "apps/lorvex-gui/world_view.h"
#include "gui_app_test.h"
#include "support/io_faults.h"

namespace lorvex::qttest {
namespace {

using gui::AppWindow;
using gui::GalleryPage;
using ui::qt::BuildDialog;

constexpr std::uint64_t kSeed = 4242;

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using GuiApp = GuiAppTest;

// The status line's text for each kind of square of a small world written here: two masses
// and the tiny islands, three cities in the host's column-major order.
TEST(SquareReadout, NamesTheSquareItsMassAndItsCityInWords) {
  const std::vector<std::string> rows = {"TTTTTT", "SYCSFS", "SMGSYS", "SSSRSY", "BBBBBB"};
  HostWorld world;
  world.MapArray.Reset(6, 5, 'S');
  world.MassOfSquare.Reset(6, 5, -1);
  const char* masses[] = {"......", "000.1.", "000.1.", "...1.2", "......"};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      world.MapArray(x, y) = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      if (masses[y][x] != '.') world.MassOfSquare(x, y) = masses[y][x] - '0';
    }
  world.Masses = {{kLarge, 6}, {kMedium, 3}, {kTinyIslands, 1}};
  world.CitySquares = {{1, 1}, {4, 2}, {5, 3}};
  world.ProdArray = {120, 75, 200};
  world.SpecArray = {9, 13, 19};
  world.OwnerArray = {0, 0, 0};
  world.CityCount = 3;
  const struct { int x, y; const char* text; } squares[] = {
      {1, 1, "x 1, y 1: city, land mass 1 of 3 (Large, 6 squares); city 0: production 120, specialty 9, owner 0"},
      {4, 2, "x 4, y 2: city, land mass 2 of 3 (Medium, 3 squares); city 1: production 75, specialty 13, owner 0"},
      {5, 3, "x 5, y 3: city, land mass 3 of 3 (tiny islands, 1 squares); city 2: production 200, specialty 19, owner 0"},
      {2, 1, "x 2, y 1: clear, land mass 1 of 3 (Large, 6 squares)"},
      {1, 2, "x 1, y 2: mountains, land mass 1 of 3 (Large, 6 squares)"},
      {2, 2, "x 2, y 2: rough, land mass 1 of 3 (Large, 6 squares)"},
      {4, 1, "x 4, y 1: forest, land mass 2 of 3 (Medium, 3 squares)"},
      {3, 3, "x 3, y 3: river, land mass 2 of 3 (Medium, 3 squares)"},
      {0, 3, "x 0, y 3: sea"},
      {3, 0, "x 3, y 0: border water (top)"},
      {5, 4, "x 5, y 4: border water (bottom)"},
      {6, 1, ""}, {-1, 1, ""}, {0, 5, ""},
  };
  for (const auto& square : squares) EXPECT_EQ(gui::SquareReadout(world, square.x, square.y), square.text);
}

TEST_F(GuiApp, ABuildIsZoomedPannedAndReadOutAndItsParametersCarryOver) {
  AppWindow& app = OpenApp(200, 150, kSeed);
  OnWindow([](BuildDialog& dialog) {
    for (int index : {0, 1}) {
      auto* box = static_cast<QLineEdit*>(dialog.WidgetOf("txtCities", index));
      box->setFocus(Qt::MouseFocusReason);
      box->selectAll();
      QTest::keyClicks(box, QStringLiteral("30"));
    }
    Click(dialog, "cmdBuild");
  });
  ASSERT_TRUE(app.BuildAgain());
  const HostWorld& world = *app.Shown()->world;
  EXPECT_EQ(app.windowTitle(), QStringLiteral("lorvex-gui - seed 4242"));
  // The world's line: its size, wrap, land share in whole percent and cities, counted here.
  const std::vector<char>& letters = world.MapArray.Cells();
  const auto land = std::count_if(letters.begin(), letters.end(), [](char c) { return std::string_view("CMGFRY").find(c) != std::string_view::npos; });
  EXPECT_EQ(app.WorldLabel()->text(), QStringLiteral("200 x 150, wrapping: %1 % land, %2 cities")
                                          .arg(std::lround(100.0 * static_cast<double>(land) / 30000))
                                          .arg(std::count(letters.begin(), letters.end(), 'Y')));

  // Zoomed in (the wheel is the map maker's), a drag moves the map with the pointer; 1:1 and
  // Fit to Window.
  gui::WorldView& view = *app.View();
  const QRectF fitted = view.MapArea();
  EXPECT_TRUE(std::abs(fitted.width() - view.width()) < 1 || std::abs(fitted.height() - view.height()) < 1);
  const QPoint pointer(view.width() / 3, view.height() / 2);
  view.ZoomBy(1.5625, pointer);
  const QPointF corner = view.MapArea().topLeft();
  QTest::mousePress(&view, Qt::LeftButton, {}, pointer);
  QTest::mouseMove(&view, pointer + QPoint(-40, -30));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, pointer + QPoint(-40, -30));
  EXPECT_EQ(view.MapArea().topLeft(), corner + QPointF(-40, -30));
  app.findChild<QAction*>(QStringLiteral("actualSize"))->trigger();
  EXPECT_EQ(view.PixelsPerSquare(), 1.0);
  app.findChild<QAction*>(QStringLiteral("fit"))->trigger();
  EXPECT_EQ(view.MapArea(), fitted);

  // Build Again opens the window holding what the last build used; Cancel keeps the world.
  // Save Settings writes those parameters.
  QString lo, hi;
  OnWindow([&](BuildDialog& dialog) {
    lo = static_cast<QLineEdit*>(dialog.WidgetOf("txtCities", 0))->text();
    hi = static_cast<QLineEdit*>(dialog.WidgetOf("txtCities", 1))->text();
    Click(dialog, "cmdCancel");
  });
  EXPECT_FALSE(app.BuildAgain());
  EXPECT_EQ(lo + hi, QStringLiteral("3030"));
  EXPECT_EQ(&*app.Shown()->world, &world);
  ChooseFile(Path("saved.kst"));
  ASSERT_TRUE(app.SaveSettings());
  EXPECT_TRUE(Contents(Path("saved.kst")).contains("txtCities(1) = 30\r\n"));
}

TEST_F(GuiApp, TheGalleryBuildsTwelveSeedsAndOpensOneLarge) {
  AppWindow& app = OpenApp(160, 120, kSeed);
  OnWindow([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  ASSERT_TRUE(app.BuildAgain());
  app.findChild<QAction*>(QStringLiteral("gallery"))->trigger();
  GalleryPage& gallery = *app.Gallery();
  // The seeds after the shown world's, each a placeholder until its world arrives.
  for (int slot = 0; slot < GalleryPage::kWorldsPerPage; ++slot)
    EXPECT_EQ(gallery.Tile(slot)->Caption(), QStringLiteral("Seed %1\nbuilding...").arg(kSeed + 1 + slot));
  ASSERT_TRUE(QTest::qWaitFor([&] { return gallery.ReadyCount() == GalleryPage::kWorldsPerPage; }, kHangGuardMs));

  // Each is the world of its seed, as a build on this thread makes it.
  for (int slot = 0; slot < GalleryPage::kWorldsPerPage; ++slot) {
    const gui::GalleryWorld& made = *gallery.Tile(slot)->World();
    SCOPED_TRACE(slot);
    ASSERT_NE(made.world, nullptr);
    EXPECT_EQ(made.seed, kSeed + 1 + static_cast<std::uint64_t>(slot));
    const long land = std::lround(100.0 * static_cast<double>(exporting::Summarize(*made.world).land) / (160 * 120));
    EXPECT_EQ(gallery.Tile(slot)->Caption(),
              QStringLiteral("Seed %1\n%2 % land, %3 cities").arg(made.seed).arg(land).arg(made.world->CityCount));
    EXPECT_EQ(made.thumbnail.size(), QSize(320, 240));  // two pixels a square
    EXPECT_EQ(HostWorldHash(*made.world), HeadlessHash(gallery.Parameters(), {made.seed, 0}, 160, 120));
  }

  // A click opens one large; Build with Seed builds another again in the window.
  QTest::mouseClick(gallery.Tile(5), Qt::LeftButton);
  EXPECT_EQ(app.Shown()->world, gallery.Tile(5)->World()->world);
  EXPECT_TRUE(app.Pages()->currentWidget()->isAncestorOf(app.View()));
  EXPECT_EQ(app.SeedLabel()->text(), QStringLiteral("Seed %1").arg(kSeed + 6));
  OnWindow([](BuildDialog&) {});
  WhenDialog<QInputDialog>([](QInputDialog& ask) {
    ask.setTextValue(QStringLiteral(" %1 ").arg(kSeed + 8));
    ask.accept();
  });
  ASSERT_TRUE(app.AskSeedAndBuild());
  EXPECT_EQ(app.Shown()->seed, kSeed + 8);
  EXPECT_EQ(HostWorldHash(*app.Shown()->world), HostWorldHash(*gallery.Tile(7)->World()->world));

  // The same parameters keep the page; eight worlds a page build it again from its first
  // seed, and More goes on with the next eight.
  app.ShowGallery();
  EXPECT_EQ(gallery.FirstSeed(), kSeed + 1);
  gallery.CountBox()->setValue(8);
  QTest::mouseClick(gallery.MoreButton(), Qt::LeftButton);
  EXPECT_EQ(gallery.ReadyCount(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return gallery.ReadyCount() == 8; }, kHangGuardMs));
  EXPECT_EQ(gallery.WorldsPerPage(), 8);
  EXPECT_EQ(gallery.Tile(7)->World()->seed, kSeed + 16);
}

// Every format of the table, through its menu entry and the file dialog, writes what its
// writer makes of the shown world. A write that fails names the file and why and leaves
// nothing behind.
TEST_F(GuiApp, EveryExportFormatWritesTheShownWorldAndAFailedWriteLeavesNothing) {
  AppWindow& app = OpenApp(200, 150, kSeed);
  OnWindow([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  ASSERT_TRUE(app.BuildAgain());
  const HostWorld& world = *app.Shown()->world;
  ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("out")) && QDir(folder_.path()).mkpath(QStringLiteral("expected")));
  const std::span<const exporting::FormatEntry> formats = exporting::Formats();
  ASSERT_EQ(app.ExportActions().size(), formats.size());
  for (std::size_t i = 0; i < formats.size(); ++i) {
    const QString name = QStringLiteral("world") + QString::fromStdString(std::string(formats[i].extension));
    SCOPED_TRACE(name.toStdString());
    const std::shared_ptr<QString> openedIn = ChooseFile(Path(QStringLiteral("out/") + name));
    // A Freeciv scenario asks how many players its game seats.
    const bool freeciv = formats[i].format == exporting::Format::kFreeciv;
    if (freeciv)
      WhenDialog<QInputDialog>([](QInputDialog& ask) {
        ask.setIntValue(7);
        ask.accept();
      });
    app.ExportActions()[i]->trigger();
    // The first dialog opens in the working folder, every later one where the last file went.
    EXPECT_EQ(*openedIn, i == 0 ? QDir(folder_.path()).absolutePath() : Path(QStringLiteral("out")));
    std::string error;
    ASSERT_TRUE(exporting::WriteWorldFile({world, {.wrap = true, .seed = kSeed, .freecivPlayers = freeciv ? 7 : 5}, 4}, formats[i].format,
                                          Path(QStringLiteral("expected/") + name).toStdString(), error));
    EXPECT_EQ(Contents(Path(QStringLiteral("out/") + name)), Contents(Path(QStringLiteral("expected/") + name)));
  }
  // Companion files (the Tiled map's tile set) included.
  const QStringList files = QDir(Path(QStringLiteral("out"))).entryList(QDir::Files);
  EXPECT_EQ(files, QDir(Path(QStringLiteral("expected"))).entryList(QDir::Files));

  // The app names a failed write and why (the command line's tests fail every step).
  const QString png = Path(QStringLiteral("out/world.png"));
  const QByteArray old = Contents(png);
  testing::ScopedIoFault armed("rename", "out/world.png");
  BoxAnswerer yes(QMessageBox::Yes);  // replaces the file; the failure's box just closes
  ChooseFile(png);
  EXPECT_FALSE(app.Export(formats[1]));
  EXPECT_GT(armed.Hits(), 0);
  ASSERT_FALSE(yes.Texts().empty());
  EXPECT_TRUE(yes.Texts().back().contains(png) && yes.Texts().back().contains(QStringLiteral("Device or resource busy")))
      << yes.Texts().back().toStdString();
  EXPECT_EQ(Contents(png), old);
  EXPECT_EQ(QDir(Path(QStringLiteral("out"))).entryList(QDir::Files), files);

  // The last folder outlives the app.
  app_.reset();
  gui::AppOptions options;
  options.preferencesFile = Path(QStringLiteral("preferences.ini"));
  EXPECT_EQ(AppWindow(*platform_, options).LastFolder(), Path(QStringLiteral("out")));
}

// Closing while every worker thread builds a large world: the builds stop at their next
// checkpoint and nothing more reaches the page.
TEST_F(GuiApp, ClosingWhileTheGalleryBuildsEndsCleanly) {
  AppWindow& app = OpenApp(1024, 1024, kSeed);
  app.ShowGallery();
  EXPECT_TRUE(app.close());
  QTest::qWait(50);  // what the threads announced before they stopped arrives now
  const int ready = app.Gallery()->ReadyCount();
  EXPECT_LT(ready, GalleryPage::kWorldsPerPage);
  QTest::qWait(1000);  // and nothing after it
  EXPECT_EQ(app.Gallery()->ReadyCount(), ready);
}

// The scenarios above and the map maker's (gui_map_maker_qtest.cc) once more under a real X
// server, which this test starts and stops.
TEST(GuiUnderX, TheScenariosPassOnAnXServer) {
  if (!qEnvironmentVariableIsEmpty("LORVEX_GUI_TEST_PLATFORM")) GTEST_SKIP() << "this run is the one under X";
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "Xvfb is not installed (Debian's xvfb package): no test under X";
  App();
  QProcess server;
  // -displayfd 1: the server picks a free display and writes its number once it takes clients.
  server.start(xvfb, QStringLiteral("-displayfd 1 -screen 0 1280x1024x24 -nolisten tcp").split(QLatin1Char(' ')));
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
  run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=GuiApp.*:MapMaker.*")});
  const bool finished = run.waitForFinished(kHangGuardMs);
  if (!finished) run.kill();
  const QByteArray output = run.readAll();
  server.terminate();
  server.waitForFinished();
  ASSERT_TRUE(finished) << "the run under X did not end:\n" << output.toStdString();
  EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[       OK ] GuiApp.") && output.contains("[       OK ] MapMaker.")) << output.toStdString();
}

}  // namespace
}  // namespace lorvex::qttest
