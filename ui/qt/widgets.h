// The widgets of the parameters window that Qt does not have as they are: a check box whose
// caption wraps, the picture boxes of the watch display, the shape pictures of the shapes
// page, and the status bar with numbered panels placed in twips.
#pragma once

#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <functional>
#include <vector>

#include "world/grid.h"
#include "platform/common_controls.h"
#include "platform/picture_surface.h"

namespace lorvex::ui::qt {

// A check box whose caption runs over as many lines as its width needs; clicking anywhere
// on it toggles it.
class WrappingCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;
};

// A picture box shown 1:1; it repaints when its surface has changed, at most about sixty
// times a second (a build may change it at every yield).
class PictureView : public QWidget {
 public:
  PictureView(const platform::PictureSurface& surface, QWidget* parent);
  // Schedules a repaint when the surface changed since it was last painted.
  void Refresh();
  // The picture as it stands (what the next paint shows).
  const QImage& Image();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const platform::PictureSurface& surface_;
  QImage image_;
  unsigned long imageRevision_ = 0;
  bool imageValid_ = false;
  QElapsedTimer sincePaint_;
  bool repaintDue_ = false;
};

// One shape's picture: the figure scaled to fit, centred; clicking it runs the callback.
class ShapeImage : public QWidget {
 public:
  ShapeImage(Grid<char> figure, QWidget* parent);
  void OnClick(std::function<void()> action) { onClick_ = std::move(action); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Grid<char> figure_;
  std::function<void()> onClick_;
};

// The status bar: numbered panels at their left edges and widths in twips, and the progress
// bar laid over the panel the window chose.
class StatusBarView : public QWidget {
 public:
  StatusBarView(int panelCount, QWidget* parent);
  void Show(const platform::StatusBar& bar, const platform::ProgressBar& progress);
  QLabel* Panel(int number) const { return panels_.at(static_cast<std::size_t>(number - 1)); }
  QProgressBar* Progress() const { return progress_; }

 private:
  std::vector<QLabel*> panels_;
  QProgressBar* progress_;
};

}  // namespace lorvex::ui::qt
