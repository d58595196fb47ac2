// lorvex-gui's world window: the world in the palette's colours with its cities marked,
// the PNG it saves, and Build Again.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include "apps/lorvex-gui/world_window.h"
#include "export/world_export.h"
#include "qt_test_support.h"

namespace lorvex::gui {
namespace {

HostWorld MakeWorld(const std::vector<std::string>& rows) {
  HostWorld world;
  world.MapArray.Reset(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'S');
  for (int y = 0; y < static_cast<int>(rows.size()); ++y)
    for (int x = 0; x < static_cast<int>(rows[0].size()); ++x) world.MapArray(x, y) = rows[y][x];
  for (char code : world.MapArray.Cells())
    if (code == 'Y') world.ProdArray.push_back(1);
  return world;
}

QColor Colour(char code) {
  const Rgb rgb = exporting::ColourOf(code);
  return QColor(rgb.r, rgb.g, rgb.b);
}

TEST(WorldPicture, EverySquareInItsTerrainColourAndCitiesOutlined) {
  qttest::App();
  const HostWorld world = MakeWorld({"TTTT", "SCMY", "GFRS", "BBBB"});
  const QImage one = RenderWorld(world, 1);
  ASSERT_EQ(one.size(), QSize(4, 4));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(one.pixelColor(x, y), Colour(world.MapArray(x, y))) << x << "," << y;
  const QImage four = RenderWorld(world, 4);
  ASSERT_EQ(four.size(), QSize(16, 16));
  const Rgb outline = exporting::kCityOutline;
  EXPECT_EQ(four.pixelColor(12, 4), QColor(outline.r, outline.g, outline.b));  // the city's edge
  EXPECT_EQ(four.pixelColor(13, 5), Colour('Y'));                              // and inside
  EXPECT_EQ(four.pixelColor(8, 4), Colour('M'));
}

TEST(WorldPicture, TheViewFitsTheMapAndMarksCitiesThatAreTooSmallToSee) {
  qttest::App();
  // A map much larger than the view: one city in the middle of the sea.
  std::vector<std::string> rows(600, std::string(1000, 'S'));
  rows[300][500] = 'Y';
  const HostWorld world = MakeWorld(rows);
  WorldView view;
  view.resize(800, 600);
  view.SetWorld(world);
  const QRectF area = view.MapArea();
  EXPECT_DOUBLE_EQ(area.width(), 800.0);
  EXPECT_DOUBLE_EQ(area.height(), 480.0);  // squares stay square
  const QImage shown = view.grab().toImage();
  const QPoint city(static_cast<int>(area.left() + 500.5 * 0.8), static_cast<int>(area.top() + 300.5 * 0.8));
  EXPECT_EQ(shown.pixelColor(city), Colour('Y'));
  EXPECT_EQ(shown.pixelColor(city + QPoint(20, 20)), Colour('S'));
}

TEST(WorldWindow, SavesThePngAndACancelledBuildAgainClosesIt) {
  qttest::App();
  QTemporaryDir folder;
  const std::string file = (folder.path() + "/world.png").toStdString();
  const HostWorld world = MakeWorld({"TTTTT", "SCYCS", "BBBBB"});
  int builds = 0;
  std::string chosen = file;
  WorldWindow window([&] { return ++builds > 1; }, [&] { return chosen; });
  window.ShowWorld(world, true, 42);
  window.show();
  EXPECT_TRUE(window.Summary()->text().contains(QStringLiteral("seed 42")));
  EXPECT_TRUE(window.Summary()->text().contains(QStringLiteral("1 cities")));
  ASSERT_TRUE(window.SaveAsPng());
  const QImage saved(QString::fromStdString(file));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), QSize(20, 12));  // 4 pixels a square
  EXPECT_EQ(saved.pixelColor(9, 6), Colour('Y'));
  chosen.clear();  // the file dialog cancelled: nothing written, nothing asked
  EXPECT_FALSE(window.SaveAsPng());
  chosen = folder.path().toStdString() + "/no/such/folder/world.png";
  qttest::BoxAnswerer ok(QMessageBox::Ok);
  EXPECT_FALSE(window.SaveAsPng());
  EXPECT_EQ(ok.Texts().size(), 1u);
  window.BuildAgain();  // the host's Build answers False: Cancel ends it
  EXPECT_EQ(builds, 1);
  EXPECT_FALSE(window.isVisible());
}

TEST(WorldWindow, SavedPicturesStayWithin4096PixelsASide) {
  HostWorld world;
  const struct {
    int width, height, scale;
  } rows[] = {{200, 150, 4}, {1024, 10, 4}, {1025, 10, 3}, {4096, 4096, 1}, {3000, 1, 1}, {1, 1, 4}};
  for (const auto& row : rows) {
    world.MapArray.Reset(row.width, row.height, 'S');
    EXPECT_EQ(SavedPictureScale(world), row.scale) << row.width << " x " << row.height;
  }
}

}  // namespace
}  // namespace lorvex::gui
