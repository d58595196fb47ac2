#include "apps/lorvex-gui/world_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "export/world_export.h"

namespace lorvex::gui {

namespace {

constexpr int kOutlineFromScale = 3;     // pixels a square from which cities are outlined
constexpr double kLeastMark = 1.0;       // pixels: the side of a city's dot on a whole map
constexpr double kMostMark = 5.0;        // pixels: the most a dot grows before squares show
constexpr int kHighlightFromScale = 4;   // pixels a square from which the hovered one is framed
constexpr double kWheelNotch = 120.0;    // angle delta of one wheel notch
constexpr double kKeyPanShare = 0.1;     // of the view's side, per arrow key
const QColor kBackground(48, 48, 48);

QColor ToColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

// The colour of every terrain letter, as a pixel.
std::array<QRgb, 256> PixelColours() {
  std::array<QRgb, 256> colours{};
  for (int code = 0; code < 256; ++code) {
    const Rgb rgb = exporting::ColourOf(static_cast<char>(code));
    colours[static_cast<std::size_t>(code)] = qRgb(rgb.r, rgb.g, rgb.b);
  }
  return colours;
}

}  // namespace

QImage WorldImage(const HostWorld& world) {
  const Grid<char>& map = world.MapArray;
  QImage image(map.Width(), map.Height(), QImage::Format_RGB32);
  if (image.isNull()) return image;
  const std::array<QRgb, 256> colours = PixelColours();
  for (int y = 0; y < map.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const char* row = &map(0, y);
    for (int x = 0; x < map.Width(); ++x) line[x] = colours[static_cast<unsigned char>(row[x])];
  }
  return image;
}

double CityMarkSide(double pixelsPerSquare) {
  if (pixelsPerSquare >= kOutlineFromScale) return pixelsPerSquare;
  // Below an outlined square: twice the square, within the dot's bounds.
  return std::clamp(2.0 * pixelsPerSquare, kLeastMark, kMostMark);
}

QImage Thumbnail(const HostWorld& world, QSize box, bool cities) {
  const int width = world.MapArray.Width(), height = world.MapArray.Height();
  if (width <= 0 || height <= 0 || box.isEmpty()) return {};
  const QImage full = WorldImage(world);
  if (full.isNull()) return full;
  // Sharp squares when each can be two pixels or more; smoothed otherwise.
  const int whole = std::min(box.width() / width, box.height() / height);
  QImage small = whole >= 2 ? full.scaled(width * whole, height * whole)
                            : full.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  if (!cities) return small;
  const double square = static_cast<double>(small.width()) / width;
  const double side = std::max(square, kLeastMark);
  QPainter painter(&small);
  const QColor city = ToColor(exporting::ColourOf(terrain::kCity));
  for (const auto& [x, y] : world.CitySquares)
    painter.fillRect(QRectF((x + 0.5) * square - side / 2, (y + 0.5) * square - side / 2, side, side), city);
  return small;
}

WorldView::WorldView(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, kBackground);
  background.setColor(QPalette::WindowText, QColor(220, 220, 220));
  setPalette(background);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void WorldView::SetWorld(const HostWorld* world, bool wraps) {
  world_ = world;
  wraps_ = wraps;
  image_ = world != nullptr ? WorldImage(*world) : QImage();
  shrunk_ = QImage();
  shrunkScale_ = 0.0;
  hovered_.reset();
  FitToWindow();
}

void WorldView::ReplaceWorld(const HostWorld* world, bool wraps) {
  const bool sameSize = world != nullptr && world_ != nullptr && world->MapArray.Width() == world_->MapArray.Width() &&
                        world->MapArray.Height() == world_->MapArray.Height();
  if (!sameSize) {
    SetWorld(world, wraps);
    return;
  }
  world_ = world;
  wraps_ = wraps;
  image_ = WorldImage(*world);
  shrunk_ = QImage();
  shrunkScale_ = 0.0;
  ClampOffset();
  update();
  hovered_.reset();
  HoverAgain();
}

void WorldView::SetCitiesShown(bool shown) {
  citiesShown_ = shown;
  update();
}

void WorldView::SetEmptyText(const QString& text) {
  emptyText_ = text;
  update();
}

double WorldView::FitScale() const {
  if (image_.isNull() || width() <= 0 || height() <= 0) return 1.0;
  return std::min(static_cast<double>(width()) / image_.width(),
                  static_cast<double>(height()) / image_.height());
}

double WorldView::LeastScale() const { return std::min(FitScale(), 1.0); }

void WorldView::ZoomBy(double factor, QPointF anchor) {
  if (image_.isNull() || !(factor > 0.0)) return;
  const double scale = std::clamp(scale_ * factor, LeastScale(), kMostPixelsPerSquare);
  // The map point under the anchor stays under it.
  const QPointF mapPoint = (anchor - offset_) / scale_;
  scale_ = scale;
  offset_ = anchor - mapPoint * scale_;
  fitted_ = false;
  ClampOffset();
  update();
  HoverAgain();
}

void WorldView::FitToWindow() {
  scale_ = FitScale();
  fitted_ = true;
  if (!image_.isNull())
    offset_ = QPointF((width() - image_.width() * scale_) / 2, (height() - image_.height() * scale_) / 2);
  ClampOffset();
  update();
  HoverAgain();
}

void WorldView::ActualSize() {
  if (image_.isNull()) return;
  const QPointF centre = rect().center();
  ZoomBy(1.0 / scale_, centre);
}

void WorldView::PanBy(QPointF delta) {
  offset_ += delta;
  fitted_ = false;
  ClampOffset();
  update();
  HoverAgain();
}

bool WorldView::Tiled() const { return wraps_ && !image_.isNull() && image_.width() * scale_ > width(); }

void WorldView::ClampOffset() {
  if (image_.isNull()) return;
  const auto clampAxis = [](double offset, double view, double map) {
    const double keep = std::min(map, view) / 2;
    return std::clamp(offset, keep - map, view - keep);
  };
  const double mapWidth = image_.width() * scale_;
  if (Tiled())
    offset_.setX(offset_.x() - mapWidth * std::ceil(offset_.x() / mapWidth));  // into (-width, 0]
  else
    offset_.setX(clampAxis(offset_.x(), width(), mapWidth));
  offset_.setY(clampAxis(offset_.y(), height(), image_.height() * scale_));
}

QRectF WorldView::MapArea() const {
  if (image_.isNull()) return {};
  return {offset_, QSizeF(image_.width() * scale_, image_.height() * scale_)};
}

std::optional<QPoint> WorldView::SquareAt(QPointF point) const {
  if (image_.isNull()) return std::nullopt;
  const QPointF at = (point - offset_) / scale_;
  int x = static_cast<int>(std::floor(at.x()));
  const int y = static_cast<int>(std::floor(at.y()));
  if (Tiled()) x = ((x % image_.width()) + image_.width()) % image_.width();
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return std::nullopt;
  return QPoint(x, y);
}

QPointF WorldView::SquareCentre(QPoint square) const {
  QPointF centre = offset_ + QPointF(square.x() + 0.5, square.y() + 0.5) * scale_;
  // Of a tiled map, the copy in view.
  if (Tiled() && centre.x() < 0) centre.rx() += image_.width() * scale_;
  return centre;
}

void WorldView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (image_.isNull()) {
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
    return;
  }
  const QRectF area = MapArea();
  // A tiled map is drawn twice, side by side: its width exceeds the view's.
  const int copies = Tiled() ? 2 : 1;
  for (int copy = 0; copy < copies; ++copy) {
    const QRectF at = area.translated(copy * area.width(), 0);
    DrawMap(painter, at);
    if (citiesShown_) DrawCities(painter, at);
  }
  if (hovered_ && scale_ >= kHighlightFromScale) {
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    const QPointF corner = SquareCentre(*hovered_) - QPointF(scale_ / 2, scale_ / 2);
    painter.drawRect(QRectF(corner, QSizeF(scale_, scale_)).adjusted(0.5, 0.5, -0.5, -0.5));
  }
}

void WorldView::DrawMap(QPainter& painter, const QRectF& area) {
  if (scale_ < 1.0) {
    // Below one pixel a square the picture is smoothed down once for this zoom.
    if (shrunkScale_ != scale_) {
      shrunk_ = image_.scaled(std::max(1, static_cast<int>(std::lround(area.width()))),
                              std::max(1, static_cast<int>(std::lround(area.height()))),
                              Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      shrunkScale_ = scale_;
    }
    painter.drawImage(area.topLeft(), shrunk_);
  } else {
    // Only the squares in view are drawn, each a sharp block.
    const QRectF visible = QRectF(rect()).intersected(area);
    if (visible.isEmpty()) return;
    const QRectF source((visible.topLeft() - area.topLeft()) / scale_, visible.size() / scale_);
    const QRectF squares(QPointF(std::floor(source.left()), std::floor(source.top())),
                         QPointF(std::ceil(source.right()), std::ceil(source.bottom())));
    const QRectF target(area.topLeft() + squares.topLeft() * scale_, squares.size() * scale_);
    painter.drawImage(target, image_, squares);
  }
}

void WorldView::DrawCities(QPainter& painter, const QRectF& area) const {
  if (world_ == nullptr) return;
  const double side = CityMarkSide(scale_);
  const QColor city = ToColor(exporting::ColourOf(terrain::kCity));
  const QRectF shown = QRectF(rect()).adjusted(-scale_ - side, -scale_ - side, side, side);
  if (scale_ >= kOutlineFromScale) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ToColor(exporting::kCityOutline), 1));
    painter.setBrush(city);
  }
  for (const auto& [x, y] : world_->CitySquares) {
    const QPointF corner(area.left() + x * scale_, area.top() + y * scale_);
    if (!shown.contains(corner)) continue;
    if (scale_ >= kOutlineFromScale)
      painter.drawRect(QRectF(corner, QSizeF(scale_, scale_)).adjusted(0.5, 0.5, -0.5, -0.5));
    else
      painter.fillRect(QRectF(corner + QPointF((scale_ - side) / 2, (scale_ - side) / 2), QSizeF(side, side)), city);
  }
}

void WorldView::resizeEvent(QResizeEvent*) {
  if (fitted_)
    FitToWindow();
  else {
    scale_ = std::max(scale_, LeastScale());
    ClampOffset();
  }
}

void WorldView::wheelEvent(QWheelEvent* event) {
  pointer_ = event->position();
  const double notches = event->angleDelta().y() / kWheelNotch;
  if (notches != 0.0) ZoomBy(std::pow(kZoomStep, notches), event->position());
  event->accept();
}

void WorldView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || image_.isNull()) return;
  dragFrom_ = event->position();
  setCursor(Qt::ClosedHandCursor);
}

void WorldView::mouseMoveEvent(QMouseEvent* event) {
  pointer_ = event->position();
  if (dragFrom_ && (event->buttons() & Qt::LeftButton) != 0) {
    PanBy(event->position() - *dragFrom_);
    dragFrom_ = event->position();
  }
  Hover(SquareAt(event->position()));
}

void WorldView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragFrom_.reset();
  unsetCursor();
}

void WorldView::leaveEvent(QEvent*) {
  pointer_.reset();
  Hover(std::nullopt);
}

void WorldView::keyPressEvent(QKeyEvent* event) {
  const double across = width() * kKeyPanShare, down = height() * kKeyPanShare;
  switch (event->key()) {
    case Qt::Key_Left: PanBy({across, 0}); break;
    case Qt::Key_Right: PanBy({-across, 0}); break;
    case Qt::Key_Up: PanBy({0, down}); break;
    case Qt::Key_Down: PanBy({0, -down}); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void WorldView::HoverAgain() {
  if (pointer_) {
    const std::optional<QPoint> square = SquareAt(*pointer_);
    // The frame moves with the map even when the square's name stays.
    if (square == hovered_ && scale_ >= kHighlightFromScale) update();
    hovered_.reset();
    Hover(square);
  }
}

void WorldView::Hover(std::optional<QPoint> square) {
  if (square == hovered_) return;
  hovered_ = square;
  if (scale_ >= kHighlightFromScale) update();
  if (onHover_) onHover_(square);
}

}  // namespace lorvex::gui
