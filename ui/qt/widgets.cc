#include "ui/qt/widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>
#include <algorithm>

namespace lorvex::ui::qt {

namespace {
constexpr int kCaptionGap = 4;  // pixels between a check box's indicator and its caption
constexpr QRgb kFigureColour = qRgb(0, 120, 0);
constexpr QRgb kImageEdge = qRgb(160, 160, 160);
constexpr int kPanelGap = 2;  // pixels between status bar panels
constexpr int kStepParts = 100;  // parts of the progress bar a step
constexpr qint64 kFrameMs = 16;  // shortest time between two paints of a picture
}  // namespace

void WrappingCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  const QRect captionBox = rect().adjusted(indicator.right() + 1 + kCaptionGap, 0, 0, 0);
  // The indicator sits beside the caption's first line.
  const int lineHeight = fontMetrics().height();
  const QRect caption = fontMetrics().boundingRect(captionBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
  QStyleOptionButton box = option;
  box.rect = QRect(indicator.left(), caption.top() + (lineHeight - indicator.height()) / 2,
                   indicator.width(), indicator.height());
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);
  painter.drawItemText(captionBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, palette(),
                       isEnabled(), text(), QPalette::WindowText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = caption.adjusted(-1, 0, 1, 0);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

bool WrappingCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

PictureView::PictureView(const platform::PictureSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface),
      image_(platform::PictureSurface::kWidth, platform::PictureSurface::kHeight, QImage::Format_RGB32) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::Refresh() {
  if (imageValid_ && surface_.Revision() == imageRevision_) return;
  const qint64 since = sincePaint_.isValid() ? sincePaint_.elapsed() : kFrameMs;
  if (since >= kFrameMs) {
    update();
  } else if (!repaintDue_) {
    // Painted a moment ago: the change shows at the next frame.
    repaintDue_ = true;
    QTimer::singleShot(static_cast<int>(kFrameMs - since), this, [this] {
      repaintDue_ = false;
      update();
    });
  }
}

const QImage& PictureView::Image() {
  if (imageValid_ && surface_.Revision() == imageRevision_) return image_;
  for (int y = 0; y < platform::PictureSurface::kHeight; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    for (int x = 0; x < platform::PictureSurface::kWidth; ++x) {
      const platform::Rgb pixel = surface_.Pixel(x, y);
      line[x] = qRgb(pixel.r, pixel.g, pixel.b);
    }
  }
  imageRevision_ = surface_.Revision();
  imageValid_ = true;
  return image_;
}

void PictureView::paintEvent(QPaintEvent*) {
  sincePaint_.start();
  QPainter painter(this);
  painter.drawImage(0, 0, Image());
}

ShapeImage::ShapeImage(Grid<char> figure, QWidget* parent)
    : QWidget(parent), figure_(std::move(figure)) {}

void ShapeImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QColor(kImageEdge));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const int width = figure_.Width(), height = figure_.Height();
  if (width == 0 || height == 0) return;
  // The figure as large as fits inside the edge, squares kept square.
  const QRectF inside = QRectF(rect()).adjusted(2, 2, -2, -2);
  const double cell = std::min(inside.width() / width, inside.height() / height);
  const QPointF origin(inside.left() + (inside.width() - cell * width) / 2,
                       inside.top() + (inside.height() - cell * height) / 2);
  const QColor colour(isEnabled() ? QColor(kFigureColour) : palette().color(QPalette::Disabled, QPalette::WindowText));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (figure_(x, y) == 'C')
        painter.fillRect(QRectF(origin.x() + x * cell, origin.y() + y * cell, cell, cell), colour);
}

void ShapeImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && onClick_) onClick_();
}

StatusBarView::StatusBarView(int panelCount, QWidget* parent) : QWidget(parent) {
  for (int i = 0; i < panelCount; ++i) {
    auto* panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    panel->setIndent(3);
    panels_.push_back(panel);
  }
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
}

void StatusBarView::Show(const platform::StatusBar& bar, const platform::ProgressBar& progress) {
  const int height = this->height();
  for (int number = 1; number <= bar.PanelCount() && number <= static_cast<int>(panels_.size()); ++number) {
    const platform::StatusPanel& panel = bar.Panel(number);
    QLabel* label = Panel(number);
    const QRect box(panel.left / platform::kTwipsPerPixel, 0,
                    std::max(panel.width / platform::kTwipsPerPixel - kPanelGap, 1), height);
    if (label->geometry() != box) label->setGeometry(box);
    const QString text = QString::fromLatin1(panel.text.data(), static_cast<qsizetype>(panel.text.size()));
    if (label->text() != text) label->setText(text);
  }
  const QRect box(progress.left / platform::kTwipsPerPixel, 1,
                  std::max(progress.width / platform::kTwipsPerPixel - kPanelGap, 1), height - 2);
  if (progress_->geometry() != box) progress_->setGeometry(box);
  // A range of 0 would make Qt animate a busy bar; the window never means that. Each step
  // is kStepParts parts on the screen, so the share of a long step shows between the steps.
  const int maximum = std::max(progress.max, 1);
  const int value = std::clamp(progress.value, 0, maximum);
  const int parts = value * kStepParts +
                    (value < maximum ? static_cast<int>(std::clamp(progress.within, 0.0, 1.0) * (kStepParts - 1)) : 0);
  if (progress_->maximum() != maximum * kStepParts) progress_->setRange(0, maximum * kStepParts);
  if (progress_->value() != parts) progress_->setValue(parts);
}

}  // namespace lorvex::ui::qt
