// A finished world on the screen: its picture in the palette's colours (one pixel a square,
// and a small one for the gallery), and the view that shows it zoomed and panned, with the
// square under the pointer reported to the window. The view's coordinates are widget
// pixels; squares are (x, y) of the map, x the column from the west, y the row from the top.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "engine/host_world.h"

namespace lorvex::gui {

// The world at one pixel a square, in the palette's colours.
QImage WorldImage(const HostWorld& world);

// The world filling `box` pixels, its squares kept square: enlarged by a whole number when
// each square can be two pixels or more, smoothed to the box otherwise. With `cities`, each
// city is a dot the size of its square (at least one pixel). Safe on any thread.
QImage Thumbnail(const HostWorld& world, QSize box, bool cities = true);

// The side of a city's mark in pixels at a zoom of `pixelsPerSquare`: its square when that
// is large enough to see, otherwise a dot growing with the zoom from one pixel to five, so
// that a fitted large world is not hidden under its cities.
double CityMarkSide(double pixelsPerSquare);

class WorldView : public QWidget {
 public:
  // Zoom limits, in pixels a square: the whole map fits at the low end (or one pixel a
  // square, whichever is smaller); a square fills a good part of the view at the high end.
  static constexpr double kMostPixelsPerSquare = 64.0;
  // The zoom of one wheel notch and of the zoom keys.
  static constexpr double kZoomStep = 1.25;

  explicit WorldView(QWidget* parent = nullptr);

  // Shows a world, fitted to the view; the caller keeps it alive until the next call.
  // nullptr shows `emptyText` instead. A wrapping world pans on across its east-west seam.
  void SetWorld(const HostWorld* world, bool wraps = false);
  // Shows another world of the same size keeping the zoom and position (a rebuild).
  void ReplaceWorld(const HostWorld* world, bool wraps);
  // Whether the cities are marked on the map.
  void SetCitiesShown(bool shown);
  bool CitiesShown() const { return citiesShown_; }
  void SetEmptyText(const QString& text);
  // Called with the square under the pointer whenever it changes (nothing: off the map).
  void OnHover(std::function<void(std::optional<QPoint>)> hook) { onHover_ = std::move(hook); }

  double PixelsPerSquare() const { return scale_; }
  // Zooms by `factor` keeping the square under `anchor` (widget pixels) where it is.
  void ZoomBy(double factor, QPointF anchor);
  void ZoomIn() { ZoomBy(kZoomStep, rect().center()); }
  void ZoomOut() { ZoomBy(1.0 / kZoomStep, rect().center()); }
  // The whole map in the view, following the view's size until the next zoom or pan.
  void FitToWindow();
  // One pixel a square.
  void ActualSize();
  bool Fitted() const { return fitted_; }
  // Moves the map by `delta` widget pixels (as a drag does), kept in the view; a wrapping
  // world wider than the view moves on across its seam.
  void PanBy(QPointF delta);

  // Where the map lies within the widget (for a wrapping world panned across its seam,
  // the copy whose left edge is at or left of the widget's).
  QRectF MapArea() const;
  // The square under a widget point, or nothing off the map.
  std::optional<QPoint> SquareAt(QPointF point) const;
  QPointF SquareCentre(QPoint square) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  double FitScale() const;
  double LeastScale() const;
  // Keeps at least half the map, or half the view when the map is larger, in the view
  // (a zoom round the pointer near an edge stays where it is); a wrapping world wider than
  // the view moves freely across, its copy nearest the left edge kept as the map's place.
  void ClampOffset();
  // Whether the map shows side by side copies of itself (wrapping, wider than the view).
  bool Tiled() const;
  void Hover(std::optional<QPoint> square);
  // After a zoom or pan: the square now under the pointer is read out.
  void HoverAgain();
  void DrawMap(QPainter& painter, const QRectF& area);
  void DrawCities(QPainter& painter, const QRectF& area) const;

  const HostWorld* world_ = nullptr;
  QImage image_;        // one pixel a square
  QImage shrunk_;       // image_ smoothed down to the zoom when it is below 1
  double shrunkScale_ = 0.0;
  QString emptyText_;
  double scale_ = 1.0;  // pixels a square
  QPointF offset_;      // widget pixel of the map's top-left corner
  bool fitted_ = true;
  bool wraps_ = false;
  bool citiesShown_ = true;
  std::optional<QPointF> dragFrom_;
  std::optional<QPointF> pointer_;  // where the pointer is over the view, if it is
  std::optional<QPoint> hovered_;
  std::function<void(std::optional<QPoint>)> onHover_;
};

}  // namespace lorvex::gui
