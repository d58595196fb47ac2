// lorvex-gui for a map maker: the world's key, zoom and pan, the parameter panel, settings
// files and the progress bar; offscreen, and again under X with the rest of lorvex_gui_tests.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "apps/lorvex-gui/gallery.h"
#include "apps/lorvex-gui/parameter_panel.h"
#include "apps/lorvex-gui/world_view.h"
#include "export/palette.h"
#include "gui_app_test.h"
#include "ui/qt/widgets.h"

namespace lorvex::qttest {
namespace {

using gui::AppWindow;
using ui::qt::BuildDialog;

constexpr std::uint64_t kSeed = 777;

// The colour the palette gives the square's letter.
QColor SquareColour(const HostWorld& world, int x, int y) {
  const Rgb colour = kPalette[static_cast<std::size_t>(*PaletteIndex(world.MapArray(x, y)))].colour;
  return QColor(colour.r, colour.g, colour.b);
}

bool ReadsSquare(const AppWindow& app, int x, int y) {
  return app.Readout()->text().startsWith(QStringLiteral("x %1, y %2:").arg(x).arg(y));
}

// Calls onPaint whenever the watched widget is painted.
class PaintWatch : public QObject {
 public:
  std::function<void()> onPaint;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && onPaint) onPaint();
    return false;
  }
};

using MapMaker = GuiAppTest;

// What the window drew before Build becomes part of the key; the key alone, with the
// parameters, builds the same world with no window. Copy Seed copies that key.
TEST_F(MapMaker, AWindowBuildAfterRecommendOrAStoppedBuildIsTheHeadlessBuildOfItsKey) {
  // Recommend's large masses on a large map: a build lasts long enough to be stopped.
  constexpr int kSide = 2048;
  AppWindow& app = OpenApp(kSide, kSide, kSeed);
  // Recommend, then Build.
  OnWindow([](BuildDialog& dialog) {
    Click(dialog, "cmdDefaults");  // Recommend
    Click(dialog, "cmdBuild");
  });
  ASSERT_TRUE(app.BuildAgain());
  WorldKey key = app.Shown()->Key();
  EXPECT_EQ(key.seed, kSeed);
  EXPECT_GT(key.draws, 0u) << "Recommend draws from the window's generator";
  EXPECT_EQ(HostWorldHash(*app.Shown()->world), HeadlessHash(app.Builder().LastBuildParameters(), key, kSide, kSide));
  app.findChild<QAction*>(QStringLiteral("copySeed"))->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("%1-%2").arg(kSeed).arg(key.draws));
  EXPECT_EQ(app.SeedLabel()->text(), QStringLiteral("Seed %1-%2").arg(kSeed).arg(key.draws));

  // A build stopped by a key answered Yes, then Build again in the same window. (The steps
  // wait for the build the click starts; the click returns when it is over.)
  BoxAnswerer yes(QMessageBox::Yes);
  bool stopped = false;
  OnWindow([&](BuildDialog& dialog) {
    When([&] { return dialog.Form().Progress().value > 1; },
         [&] { QTest::keyClick(dialog.windowHandle(), Qt::Key_S); });
    When([&] { return !yes.Texts().empty() && dialog.Form().Progress().value == 0; }, [&] {
      stopped = true;
      Click(dialog, "cmdBuild");
    });
    Click(dialog, "cmdBuild");
  });
  app.Builder().SetNextSeed(kSeed + 1);
  ASSERT_TRUE(app.BuildAgain());
  ASSERT_TRUE(stopped);
  key = app.Shown()->Key();
  EXPECT_EQ(key.seed, kSeed + 1);
  EXPECT_GT(key.draws, 0u) << "the stopped build drew first";
  EXPECT_EQ(HostWorldHash(*app.Shown()->world), HeadlessHash(app.Builder().LastBuildParameters(), key, kSide, kSide));
  // Build with Seed takes the key as Copy Seed wrote it and gives the world back.
  const std::uint64_t hash = HostWorldHash(*app.Shown()->world);
  OnWindow([](BuildDialog&) {});
  ASSERT_TRUE(app.BuildWithKey(*gui::ParseKey(QStringLiteral(" %1-%2 ").arg(key.seed).arg(key.draws))));
  EXPECT_EQ(HostWorldHash(*app.Shown()->world), hash);
}

// The first window fits the screen it opens on. Notches of the wheel with the pointer a few
// pixels inside an edge of the fitted map zoom by 1.25 each, and the square under the pointer
// stays, as the picture on the screen and the readout show it. On a wrapping world the arrow
// keys pan on across the seam, and the readout and the picture name the square the pan's
// arithmetic puts under the pointer.
TEST_F(MapMaker, AWheelZoomKeepsTheSquareUnderThePointerAndAPanCrossesTheSeam) {
  AppWindow& app = OpenApp(200, 150, kSeed);
  const QRect free = app.screen()->availableGeometry();
  EXPECT_LE(app.width(), free.width() * 0.92 + 1);
  EXPECT_LE(app.height(), free.height() * 0.92 + 1);
  OnWindow([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  ASSERT_TRUE(app.BuildAgain());
  const HostWorld& world = *app.Shown()->world;
  gui::WorldView& view = *app.View();
  view.SetCitiesShown(false);  // the picture is then the terrain alone
  const struct {
    double x, y;  // share of the fitted map's width and height
    int notches;
  } rows[] = {{0.01, 0.5, 1}, {0.99, 0.5, 1}, {0.5, 0.01, 1}, {0.5, 0.99, 1}, {0.99, 0.99, 3}, {0.01, 0.01, 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
    app.findChild<QAction*>(QStringLiteral("fit"))->trigger();
    const QRectF area = view.MapArea();
    const double scale = view.PixelsPerSquare();
    const QPoint pointer(static_cast<int>(area.left() + row.x * area.width()),
                         static_cast<int>(area.top() + row.y * area.height()));
    // The wheel turns at the centre of the pointer's pixel; the square there, from the
    // fitted map's place alone.
    const QPointF centre = QPointF(pointer) + QPointF(0.5, 0.5);
    const QPoint square(static_cast<int>(std::floor((centre.x() - area.left()) / scale)),
                        static_cast<int>(std::floor((centre.y() - area.top()) / scale)));
    QTest::mouseMove(&view, pointer);
    QWheelEvent wheel(centre, view.mapToGlobal(centre), {}, QPoint(0, 120 * row.notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    EXPECT_DOUBLE_EQ(view.PixelsPerSquare(), scale * std::pow(1.25, row.notches));
    EXPECT_TRUE(ReadsSquare(app, square.x(), square.y())) << app.Readout()->text().toStdString();
    // The pointer leaves, so that the frame round the hovered square is not drawn.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    // The pixel under the pointer has the square's terrain colour, and its eight
    // neighbours' pixels a zoomed square away tell it from any other square of that colour.
    const QImage shot = view.grab().toImage();
    const double zoomed = view.PixelsPerSquare();
    // A neighbour's pixel is its square's only when the pointer lies a pixel or more inside
    // its own square; the centre pixel is exact.
    const QPointF inside = (centre - view.MapArea().topLeft()) / zoomed;
    const double fx = (inside.x() - std::floor(inside.x())) * zoomed, fy = (inside.y() - std::floor(inside.y())) * zoomed;
    const bool neighboursToo = fx >= 1 && fx <= zoomed - 1 && fy >= 1 && fy <= zoomed - 1;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QPoint at(static_cast<int>(centre.x() + dx * zoomed), static_cast<int>(centre.y() + dy * zoomed));
        const int sx = ((square.x() + dx) % 200 + 200) % 200, sy = square.y() + dy;
        if (!shot.rect().contains(at) || sy < 0 || sy >= 150 || ((dx != 0 || dy != 0) && !neighboursToo)) continue;
        EXPECT_EQ(QColor(shot.pixel(at)), SquareColour(world, sx, sy)) << dx << "," << dy;
      }
  }
  // After a build the arrow keys reach the map, which pans; the pages stay as they are.
  view.ZoomBy(4.0, view.rect().center());
  const QRectF zoomedIn = view.MapArea();
  ASSERT_GT(zoomedIn.height(), view.height());
  ASSERT_NE(app.focusWidget(), nullptr);
  QTest::keyClick(app.focusWidget(), Qt::Key_Down);
  EXPECT_EQ(app.Pages()->currentIndex(), 0);
  EXPECT_LT(view.MapArea().top(), zoomedIn.top());

  // Eight pixels a square from the fitted map.
  app.findChild<QAction*>(QStringLiteral("fit"))->trigger();
  view.ZoomBy(8.0 / view.PixelsPerSquare(), view.rect().center());
  const double scale = view.PixelsPerSquare();
  ASSERT_GT(200 * scale, view.width());
  const QPointF pointer = QPointF(view.rect().center()) + QPointF(0.5, 0.5);
  const double column = (pointer.x() - view.MapArea().left()) / scale;
  const int row = static_cast<int>(std::floor((pointer.y() - view.MapArea().top()) / scale));
  // Left arrows move the map right, a tenth of the view each, until the seam has passed
  // under the pointer and five columns more.
  const double step = std::floor(view.width() * 0.1);
  ASSERT_GT(step, 0);
  const int presses = static_cast<int>(std::ceil((column + 5) * scale / step));
  view.setFocus();
  for (int k = 0; k < presses; ++k) QTest::keyClick(&view, Qt::Key_Left);
  const double moved = column - presses * view.width() * 0.1 / scale;
  ASSERT_LT(moved, -4);
  // The readout at the pointer, east of the seam, and at the view's right edge, west of it.
  const int further = static_cast<int>((view.width() - 1 - pointer.x()) / scale);
  ASSERT_GE(std::floor(moved) + further, 0);
  for (const int on : {0, further}) {
    QTest::mouseMove(&view, (pointer + QPointF(on * scale, 0)).toPoint());
    EXPECT_TRUE(ReadsSquare(app, (static_cast<int>(std::floor(moved)) + on + 200) % 200, row))
        << app.Readout()->text().toStdString();
  }
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&view, &leave);
  // Every pixel along the pointer's row, left edge to right, shows the square the same
  // arithmetic puts there: the east end of the map left of the seam, the west end right of it.
  const QImage shot = view.grab().toImage();
  int checked = 0;
  for (int x = 0; x < shot.width(); ++x) {
    const double at = moved + (x + 0.5 - pointer.x()) / scale;
    const double inside = at - std::floor(at);
    if (inside * scale < 1 || inside * scale > scale - 1) continue;  // a pixel on a square's border
    const int sx = ((static_cast<int>(std::floor(at)) % 200) + 200) % 200;
    ASSERT_EQ(QColor(shot.pixel(x, static_cast<int>(pointer.y()))), SquareColour(world, sx, row)) << "pixel " << x;
    ++checked;
  }
  EXPECT_GT(checked, shot.width() / 2);
}

// Hiding the cities takes their marks off the map and off the gallery's thumbnails; a
// thumbnail of a large world then has no pixel of the city colour, with them one at each city.
TEST_F(MapMaker, HidingTheCitiesClearsTheirMarksFromTheThumbnails) {
  AppWindow& app = OpenApp(1000, 750, kSeed);
  OnWindow([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  ASSERT_TRUE(app.BuildAgain());
  app.findChild<QAction*>(QStringLiteral("gallery"))->trigger();
  gui::GalleryPage& gallery = *app.Gallery();
  ASSERT_TRUE(QTest::qWaitFor([&] { return gallery.ReadyCount() == gui::GalleryPage::kWorldsPerPage; }, 120000));
  const Rgb city = kPalette[static_cast<std::size_t>(*PaletteIndex('Y'))].colour;
  const QColor cityColour(city.r, city.g, city.b);
  const auto cityPixels = [&](const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) count += QColor(picture.pixel(x, y)) == cityColour;
    return count;
  };
  QAction& show = *app.findChild<QAction*>(QStringLiteral("showCities"));
  ASSERT_TRUE(show.isChecked());
  for (int slot = 0; slot < 3; ++slot) {
    SCOPED_TRACE(slot);
    gui::GalleryTile& tile = *gallery.Tile(slot);
    const HostWorld& world = *tile.World()->world;
    ASSERT_GT(world.CityCount, 0);
    const QImage& marked = tile.Picture();
    const double square = static_cast<double>(marked.width()) / 1000;
    for (const auto& [x, y] : world.CitySquares)
      EXPECT_EQ(QColor(marked.pixel(static_cast<int>((x + 0.5) * square), static_cast<int>((y + 0.5) * square))),
                cityColour);
  }
  show.trigger();
  for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(cityPixels(gallery.Tile(slot)->Picture()), 0) << slot;
}

// The panel sets its fields through the builder; each change builds the shown world again
// (same seed, same zoom and place) with that field; the parameters outlive the app, and a
// preset and Defaults bring back theirs.
TEST_F(MapMaker, ThePanelsChangeRebuildsTheWorldWithThatField) {
  AppWindow& app = OpenApp(200, 150, kSeed);
  OnWindow([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  ASSERT_TRUE(app.BuildAgain());
  gui::ParameterPanel& panel = *app.Panel();
  app.View()->ZoomBy(2.0, QPointF(50, 40));
  const QRectF area = app.View()->MapArea();
  const auto classCount = [&](int sizeClass) {
    const std::vector<LandMass>& masses = app.Shown()->world->Masses;
    return std::count_if(masses.begin(), masses.end(), [&](const LandMass& m) { return m.sizeClass == sizeClass; });
  };
  const std::pair<const char*, const char*> fields[] = {
      // Lo first: a Hi below its Lo would be corrected up to it.
      {"txtLandMass(0)", "2"}, {"txtLandMass(1)", "2"},   // two Large masses
      {"txtLandMass(6)", "4"}, {"txtLandMass(7)", "4"},   // four Medium
      {"txtLandMass(12)", "1"}, {"txtLandMass(13)", "1"}, // one Small
      {"txtCities(0)", "9"}, {"txtCities(1)", "9"},       // nine cities
  };
  for (const auto& [key, value] : fields) {
    const HostWorld* before = app.Shown()->world.get();
    ASSERT_TRUE(panel.Enter(key, QString::fromLatin1(value))) << key;
    std::string held;
    ASSERT_TRUE(app.Builder().GetParameter(key, held).Ok());
    EXPECT_EQ(held, value) << key;
    EXPECT_NE(app.Shown()->world.get(), before) << key << " rebuilt nothing";
  }
  EXPECT_EQ(classCount(kLarge), 2);
  EXPECT_EQ(classCount(kMedium), 4);
  EXPECT_EQ(classCount(kSmall), 1);
  EXPECT_EQ(app.Shown()->world->CityCount, 9);
  EXPECT_EQ(app.Shown()->seed, kSeed);
  EXPECT_EQ(app.View()->MapArea(), area);
  // Turning an algorithm off is a field too.
  for (int i : {0, 1}) ASSERT_TRUE(panel.Enter("chkAlgorithm(" + std::to_string(i) + ")", QStringLiteral("0")));
  std::string allowed;
  app.Builder().GetParameter("chkAlgorithm(1)", allowed);
  EXPECT_EQ(allowed, "0");

  // A preset keeps this set; Defaults brings back the window's; the preset this set again.
  ASSERT_TRUE(panel.SavePreset(QStringLiteral("two large")));
  EXPECT_TRUE(panel.Presets().contains(QStringLiteral("two large")));
  panel.Defaults();
  EXPECT_EQ(qobject_cast<QLineEdit*>(panel.Field("txtLandMass(0)"))->text(), QStringLiteral("3"));
  EXPECT_GE(classCount(kLarge), 3);
  ASSERT_TRUE(panel.LoadPreset(QStringLiteral("two large")));
  EXPECT_EQ(classCount(kLarge), 2);

  // The next run opens with the parameters this one left.
  app_.reset();
  AppWindow& again = OpenApp(200, 150, kSeed);
  std::string large;
  again.Builder().GetParameter("txtLandMass(0)", large);
  EXPECT_EQ(large, "2");
  EXPECT_EQ(qobject_cast<QLineEdit*>(again.Panel()->Field("txtCities(1)"))->text(), QStringLiteral("9"));
}

// Load Settings opens in the app's own settings folder, names the lines it ignored and the
// values it corrected, and loads nothing from a file of no settings; no settings folder is
// made in the working folder.
TEST_F(MapMaker, LoadSettingsSaysWhatItIgnoredAndCorrected) {
  AppWindow& app = OpenApp(200, 150, kSeed);
  const struct {
    const char* name;
    QByteArray contents;
    bool loads;
    std::vector<const char*> said;
  } files[] = {
      {"noise.kst", QByteArray("\x8f\x01\xfe garbage") + QByteArray(1, '\0') + QByteArray("\x13\r\nmore(noise\n"), false,
       {"holds no settings", "2 lines ignored", "garbage"}},
      {"mixed.kst", "txtLandMass(0) = 2\r\nnoSuchField(3) = 1\r\ncboCityNumber(0) = 5\r\nnot a line\r\n", true,
       {"1 setting taken", "2 lines ignored", "noSuchField(3)", "\"not a line\"", "cboCityNumber(0): \"5\" -> \"0\""}},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    QFile out(Path(QString::fromLatin1(file.name)));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file.contents);
    out.close();
    BoxAnswerer ok(QMessageBox::Ok);
    const std::shared_ptr<QString> openedIn = ChooseFile(Path(QString::fromLatin1(file.name)));
    EXPECT_EQ(app.LoadSettings(), file.loads);
    EXPECT_EQ(*openedIn, QDir(Path("own/kessett")).absolutePath()) << "not the app's own settings folder";
    ASSERT_EQ(ok.Texts().size(), 1u);
    for (const char* words : file.said) EXPECT_TRUE(ok.Texts()[0].contains(QString::fromLatin1(words))) << ok.Texts()[0].toStdString();
  }
  std::string large;
  app.Builder().GetParameter("txtLandMass(0)", large);
  EXPECT_EQ(large, "2");
  EXPECT_FALSE(QDir(QDir::currentPath()).exists(QStringLiteral("kessett")));
}

// Between two of its steps the progress bar on the screen moves while one large mass
// grows; at every step it shows the step itself.
TEST_F(MapMaker, TheProgressBarMovesWhileTheLargestMassGrows) {
  // One Large mass of four million squares and nothing else: its growth is one long step.
  const std::pair<const char*, const char*> fields[] = {
      {"txtLandMass(0)", "1"},  {"txtLandMass(1)", "1"},  {"txtLandMass(3)", "4000000"}, {"txtLandMass(2)", "4000000"},
      {"txtLandMass(6)", "0"},  {"txtLandMass(7)", "0"},  {"txtLandMass(12)", "0"},      {"txtLandMass(13)", "0"},
      {"txtLandMass(18)", "0"}, {"txtLandMass(19)", "0"}};
  for (const auto& [key, value] : fields) ASSERT_TRUE(host_->SetParameter(key, value).Ok()) << key;
  std::vector<int> shown;  // the bar's values as it is painted, and the steps beneath them
  std::vector<int> steps;
  PaintWatch watch;
  const bool built = Build(
      [&](BuildDialog& dialog) {
        watch.onPaint = [&] {
          shown.push_back(dialog.StatusBar()->Progress()->value());
          steps.push_back(dialog.Form().Progress().value);
        };
        dialog.StatusBar()->Progress()->installEventFilter(&watch);
        Click(dialog, "cmdBuild");
      },
      platform::MessageAnswer::kYes, 4096, 4096);
  ASSERT_TRUE(built);
  // A hundred parts a step: the growth of the mass shows between two steps.
  const bool between = std::any_of(shown.begin(), shown.end(), [](int v) { return v % 100 != 0; });
  EXPECT_TRUE(between) << "the bar stood still while the mass grew";
  // The screen never shows a step the build has not reached.
  for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_LE(shown[i] / 100, steps[i]) << i;
}

}  // namespace
}  // namespace lorvex::qttest
