#include "apps/lorvex-gui/world_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/atomic_file.h"
#include "export/world_export.h"

namespace lorvex::gui {

namespace {

constexpr int kSavedScale = 4;         // pixels a square, as the command line's default
constexpr int kLargestSavedSide = 4096;  // pixels
constexpr int kOutlineFromScale = 3;   // the PNG export outlines cities from this size on
constexpr double kMarkerRadius = 2.5;  // pixels, for cities on squares too small to outline
constexpr int kViewMinimumWidth = 640, kViewMinimumHeight = 400;

QColor ToColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

}  // namespace

QImage RenderWorld(const HostWorld& world, int scale) {
  const Grid<char>& map = world.MapArray;
  scale = std::max(scale, 1);
  QImage image(map.Width() * scale, map.Height() * scale, QImage::Format_RGB32);
  if (image.isNull()) return image;
  QPainter painter(&image);
  const QColor outline = ToColor(exporting::kCityOutline);
  for (int y = 0; y < map.Height(); ++y) {
    for (int x = 0; x < map.Width(); ++x) {
      const char code = map(x, y);
      const QRect square(x * scale, y * scale, scale, scale);
      painter.fillRect(square, ToColor(exporting::ColourOf(code)));
      if (code == terrain::kCity && scale >= kOutlineFromScale) {
        painter.setPen(outline);
        painter.drawRect(square.adjusted(0, 0, -1, -1));
      }
    }
  }
  return image;
}

int SavedPictureScale(const HostWorld& world) {
  const int side = std::max({world.MapArray.Width(), world.MapArray.Height(), 1});
  return std::clamp(kLargestSavedSide / side, 1, kSavedScale);
}

bool SaveWorldPng(const HostWorld& world, const std::string& fileName, std::string& error) {
  AtomicFile out(fileName);
  if (!out.Open(error)) return false;
  if (!exporting::WriteWorldPng(world, SavedPictureScale(world), out.Stream(), error)) return false;
  return out.Finish(error) && out.Publish(error);
}

WorldView::WorldView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(kViewMinimumWidth, kViewMinimumHeight);
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(48, 48, 48));
  setPalette(background);
}

void WorldView::SetWorld(const HostWorld& world) {
  world_ = &world;
  image_ = RenderWorld(world, 1);
  update();
}

QRectF WorldView::MapArea() const {
  if (world_ == nullptr || image_.isNull()) return {};
  const double scale = std::min(static_cast<double>(width()) / image_.width(),
                                static_cast<double>(height()) / image_.height());
  const double w = image_.width() * scale, h = image_.height() * scale;
  return {(width() - w) / 2, (height() - h) / 2, w, h};
}

void WorldView::paintEvent(QPaintEvent*) {
  if (world_ == nullptr || image_.isNull()) return;
  QPainter painter(this);
  const QRectF area = MapArea();
  const double square = area.width() / image_.width();
  // Squares stay sharp when enlarged; a map larger than the view is smoothed down.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, square < 1.0);
  painter.drawImage(area, image_);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(ToColor(exporting::kCityOutline), 1));
  painter.setBrush(ToColor(exporting::ColourOf(terrain::kCity)));
  for (const exporting::CityAt& city : exporting::CitySquares(*world_)) {
    if (square >= kOutlineFromScale) {
      painter.drawRect(QRectF(area.left() + city.x * square, area.top() + city.y * square, square, square));
    } else {
      const QPointF centre(area.left() + (city.x + 0.5) * square, area.top() + (city.y + 0.5) * square);
      painter.drawEllipse(centre, kMarkerRadius, kMarkerRadius);
    }
  }
}

WorldWindow::WorldWindow(std::function<bool()> buildAgain, std::function<std::string()> chooseFile,
                         QWidget* parent)
    : QWidget(parent), buildAgain_(std::move(buildAgain)), chooseFile_(std::move(chooseFile)) {
  view_ = new WorldView(this);
  summary_ = new QLabel(this);
  save_ = new QPushButton(QStringLiteral("Save as PNG..."), this);
  again_ = new QPushButton(QStringLiteral("Build Again"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(summary_, 1);
  buttons->addWidget(save_);
  buttons->addWidget(again_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);
  connect(save_, &QPushButton::clicked, this, [this] { SaveAsPng(); });
  connect(again_, &QPushButton::clicked, this, [this] { BuildAgain(); });
}

void WorldWindow::ShowWorld(const HostWorld& world, bool wrap, std::uint64_t seed) {
  world_ = &world;
  view_->SetWorld(world);
  long long land = 0;
  for (char code : world.MapArray.Cells()) land += IsLand(code) ? 1 : 0;
  const QString size = QStringLiteral("%1 x %2").arg(world.MapArray.Width()).arg(world.MapArray.Height());
  setWindowTitle(QStringLiteral("Lorvex - %1 world").arg(size));
  summary_->setText(QStringLiteral("%1 squares%2, seed %3: %4 land squares, %5 cities")
                        .arg(size, wrap ? QStringLiteral(", wrapping") : QString())
                        .arg(seed)
                        .arg(land)
                        .arg(world.ProdArray.size()));
}

bool WorldWindow::SaveAsPng() {
  if (world_ == nullptr) return false;
  const std::string fileName = chooseFile_ ? chooseFile_() : std::string();
  if (fileName.empty()) return false;
  std::string error;
  if (!SaveWorldPng(*world_, fileName, error)) {
    QMessageBox::warning(this, windowTitle(), QString::fromStdString("The picture was not saved: " + error));
    return false;
  }
  return true;
}

void WorldWindow::BuildAgain() {
  if (!buildAgain_ || !buildAgain_()) {
    // Cancel in the parameters window ends the program.
    close();
    QApplication::quit();
  }
}

}  // namespace lorvex::gui
