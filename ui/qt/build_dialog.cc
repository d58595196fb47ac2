#include "ui/qt/build_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <deque>

#include "ui/qt/key_codes.h"
#include "ui/qt/qt_platform.h"
#include "ui/qt/widgets.h"

namespace lorvex::ui::qt {

using platform::Control;
using platform::ControlKind;

namespace {

constexpr int kFontPixels = 11;
constexpr int kTitleFontPixels = 16;
constexpr int kNoMaxLength = 32767;  // QLineEdit's own "no limit"
constexpr const char* kFontFamily = "DejaVu Sans";

int Px(int twips) { return twips / platform::kTwipsPerPixel; }

QRect PxBox(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(width), Px(height)};
}

QString FromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The window's texts hold one byte per character.
std::string ToLatin1(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A caption for a button or check box: "&" would be read as a shortcut mark.
QString ButtonCaption(const std::string& caption) {
  return FromLatin1(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

Qt::Alignment AlignmentOf(TextAlign align) {
  switch (align) {
    case TextAlign::kCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case TextAlign::kRight: return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlign::kLeft: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

Qt::CheckState CheckStateOf(int value) {
  if (value == 0) return Qt::Unchecked;
  return value == 2 ? Qt::PartiallyChecked : Qt::Checked;
}

int ValueOf(Qt::CheckState state) {
  if (state == Qt::Unchecked) return 0;
  return state == Qt::PartiallyChecked ? 2 : 1;
}

// Leaving a box by these means is no focus change within the window.
bool IsFocusLostWithinWindow(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
         reason != Qt::MenuBarFocusReason;
}

}  // namespace

BuildDialog::BuildDialog(frmBuild& form, QtPlatform& platform, const ShapeFigureSource& figures,
                         QWidget* parent)
    : QDialog(parent), form_(form), platform_(platform) {
  // The host decides when its application ends, not the closing of this window.
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  QFont windowFont(QString::fromLatin1(kFontFamily));
  windowFont.setPixelSize(kFontPixels);
  setFont(windowFont);
  setFixedSize(Px(kClientWidth), Px(kClientHeight));

  CreateFrame();
  std::deque<Control>& controls = form_.Controls().All();
  bound_.reserve(controls.size());
  // Frames first, in control order, so that every control finds the frame it lies in.
  for (Control& control : controls)
    if (control.Kind() == ControlKind::kFrame) Add(control, figures);
  for (Control& control : controls)
    if (control.Kind() != ControlKind::kFrame && control.Kind() != ControlKind::kTimer)
      Add(control, figures);
  CreatePageTexts();

  statusBar_ = new StatusBarView(kStatusPanels, this);
  statusBar_->setGeometry(PxBox(kStatusBarBox.left, kStatusBarBox.top, kStatusBarBox.width,
                                kStatusBarBox.height));
  SetTabOrder();
  Sync();
}

BuildDialog::~BuildDialog() {
  // The widgets go after this body, with the members their handlers use: none may reach
  // a handler on the way.
  for (const Bound& bound : bound_) QObject::disconnect(bound.widget, nullptr, this, nullptr);
  QObject::disconnect(tabBar_, nullptr, this, nullptr);
}

void BuildDialog::CreateFrame() {
  const QRect strip = PxBox(kTabStripBox.left, kTabStripBox.top, kTabStripBox.width, kTabStripBox.height);
  tabPanel_ = new QFrame(this);
  tabPanel_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  tabBar_ = new QTabBar(this);
  tabBar_->setDrawBase(false);
  tabBar_->setExpanding(false);
  tabBar_->setFocusPolicy(Qt::StrongFocus);  // a click on a tab takes the focus from a box
  for (const std::string& caption : form_.Tabs().captions) tabBar_->addTab(ButtonCaption(caption));
  const int tabHeight = tabBar_->sizeHint().height();
  tabBar_->setGeometry(strip.left(), strip.top(), std::min(tabBar_->sizeHint().width(), strip.width()), tabHeight);
  tabPanel_->setGeometry(strip.left(), strip.top() + tabHeight - 1, strip.width(), strip.height() - tabHeight + 1);
  connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) { TabChanged(index); });
}

void BuildDialog::Add(Control& control, const ShapeFigureSource& figures) {
  const ControlPlace* place = FindPlace(control.Name(), control.Index());
  QWidget* parent = this;
  if (place != nullptr && place->parentName != nullptr)
    if (QWidget* frame = WidgetOf(place->parentName, place->parentIndex)) parent = frame;
  const std::size_t index = bound_.size();
  QWidget* widget = CreateWidget(control, parent, place, figures, index);
  widget->setObjectName(FromLatin1(control.Key()));
  if (place != nullptr)
    widget->setGeometry(PxBox(place->left, place->top, place->width, place->height));
  else
    widget->adjustSize();  // a control the layout does not know: visible, so it is noticed
  byKey_[{control.Name(), control.Index()}] = index;
  byWidget_[widget] = index;
  bound_.push_back({&control, widget, place != nullptr && place->title, {}});
}

QWidget* BuildDialog::CreateWidget(Control& control, QWidget* parent, const ControlPlace* place,
                                   const ShapeFigureSource& figures, std::size_t boundIndex) {
  const std::size_t i = boundIndex;
  switch (control.Kind()) {
    case ControlKind::kNumberBox: {
      auto* box = new QLineEdit(parent);
      box->installEventFilter(this);
      connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) { Typed(bound_[i], text); });
      return box;
    }
    case ControlKind::kCheckBox: {
      QCheckBox* box = place != nullptr && place->wrap ? new WrappingCheckBox(parent) : new QCheckBox(parent);
      connect(box, &QCheckBox::clicked, this, [this, i](bool checked) { Toggled(bound_[i], checked); });
      return box;
    }
    case ControlKind::kSelectionBox: {
      auto* box = new QComboBox(parent);
      box->setEditable(false);
      connect(box, &QComboBox::activated, this, [this, i](int index) { Selected(bound_[i], index); });
      return box;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      if (place != nullptr) {
        label->setAlignment(AlignmentOf(place->align));
        label->setWordWrap(place->wrap);
        if (place->title) {
          QFont titleFont = label->font();
          titleFont.setPixelSize(kTitleFontPixels);
          titleFont.setBold(true);
          label->setFont(titleFont);
        }
      }
      return label;
    }
    case ControlKind::kButton: {
      auto* button = new QPushButton(parent);
      connect(button, &QPushButton::clicked, this, [this, i] { Clicked(bound_[i]); });
      return button;
    }
    case ControlKind::kPicture:
      if (control.Name() == "picWorld") return picWorld_ = new PictureView(form_.PicWorld(), parent);
      if (control.Name() == "picMass") return picMass_ = new PictureView(form_.PicMass(), parent);
      return new QFrame(parent);
    case ControlKind::kImage: {
      // imgShape(i) pictures the figure of the shape check box beside it, whose Tag is the
      // figure's code.
      const Control* shapeBox = form_.Controls().Find("chkShape", control.Index());
      const int code = shapeBox != nullptr ? std::atoi(shapeBox->tag.c_str()) : control.Index();
      auto* image = new ShapeImage(figures ? figures(code) : Grid<char>{}, parent);
      image->OnClick([this, i] { Clicked(bound_[i]); });
      return image;
    }
    case ControlKind::kLine: {
      auto* line = new QFrame(parent);
      line->setFrameShape(QFrame::HLine);
      return line;
    }
    case ControlKind::kFrame: {
      auto* frame = new QFrame(parent);
      // The watch display covers the pages beneath it.
      if (control.Name() == "fraWatchIt") frame->setAutoFillBackground(true);
      return frame;
    }
    case ControlKind::kTimer:
      break;
  }
  return new QWidget(parent);
}

void BuildDialog::CreatePageTexts() {
  for (const PageText& text : PageTexts()) {
    QWidget* parent = WidgetOf(text.parentName, text.parentIndex);
    if (parent == nullptr) continue;
    auto* label = new QLabel(QString::fromLatin1(text.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(AlignmentOf(text.align));
    label->setWordWrap(text.wrap);
    if (text.bold) {
      QFont bold = label->font();
      bold.setBold(true);
      label->setFont(bold);
    }
    label->setGeometry(PxBox(text.left, text.top, text.width, text.height));
  }
}

void BuildDialog::SetTabOrder() {
  QWidget* previous = tabBar_;
  for (const Bound& bound : bound_) {
    const ControlKind kind = bound.control->Kind();
    if (kind != ControlKind::kNumberBox && kind != ControlKind::kCheckBox &&
        kind != ControlKind::kSelectionBox && kind != ControlKind::kButton)
      continue;
    QWidget::setTabOrder(previous, bound.widget);
    previous = bound.widget;
  }
}

QWidget* BuildDialog::WidgetOf(std::string_view name, int index) const {
  const auto it = byKey_.find(std::pair<std::string, int>(std::string(name), index));
  return it == byKey_.end() ? nullptr : bound_[it->second].widget;
}

BuildDialog::Bound* BuildDialog::BoundOf(const QWidget* widget) {
  const auto it = byWidget_.find(widget);
  return it == byWidget_.end() ? nullptr : &bound_[it->second];
}

void BuildDialog::Retire() {
  finished_ = true;
  retired_ = true;
  // Hidden now, its handlers closed by `finished_`; the host waits for nothing more.
  hide();
  if (keysWatched_ && windowHandle() != nullptr) windowHandle()->removeEventFilter(this);
}

void BuildDialog::PaintProgress() {
  if (retired_) return;
  statusBar_->Show(form_.StatusBar(), form_.Progress());
  statusBar_->repaint();
}

void BuildDialog::Sync() {
  if (retired_) return;
  const std::string caption = form_.Caption();
  if (caption != shownCaption_) {
    setWindowTitle(FromLatin1(caption));
    shownCaption_ = caption;
  }
  {
    const platform::TabStrip& tabs = form_.Tabs();
    const QSignalBlocker blocker(tabBar_);
    const int count = static_cast<int>(tabs.captions.size());
    while (tabBar_->count() > count) tabBar_->removeTab(tabBar_->count() - 1);
    while (tabBar_->count() < count) tabBar_->addTab(QString());
    for (int k = 0; k < count; ++k) {
      const QString text = ButtonCaption(tabs.captions[static_cast<std::size_t>(k)]);
      if (tabBar_->tabText(k) != text) tabBar_->setTabText(k, text);
    }
    if (tabs.selected >= 1 && tabs.selected <= count && tabBar_->currentIndex() != tabs.selected - 1)
      tabBar_->setCurrentIndex(tabs.selected - 1);
  }
  for (Bound& bound : bound_) SyncOne(bound);
  statusBar_->Show(form_.StatusBar(), form_.Progress());
  if (picWorld_ != nullptr) picWorld_->Refresh();
  if (picMass_ != nullptr) picMass_->Refresh();
}

void BuildDialog::SyncOne(Bound& bound) {
  const Control& c = *bound.control;
  Shown& shown = bound.shown;
  QWidget* widget = bound.widget;
  const QSignalBlocker blocker(widget);

  if (shown.visible != static_cast<int>(c.visible)) {
    widget->setVisible(c.visible);
    shown.visible = c.visible;
    // A frame that appears comes to the front (the watch display over the pages).
    if (c.visible && c.Kind() == ControlKind::kFrame) widget->raise();
  }
  if (shown.enabled != static_cast<int>(c.enabled)) {
    widget->setEnabled(c.enabled);
    shown.enabled = c.enabled;
  }
  if (shown.bold != static_cast<int>(c.bold)) {
    QFont font = widget->font();
    font.setBold(c.bold || bound.title);
    widget->setFont(font);
    shown.bold = c.bold;
  }
  const bool canTakeFocus = c.Kind() == ControlKind::kNumberBox || c.Kind() == ControlKind::kCheckBox ||
                            c.Kind() == ControlKind::kSelectionBox || c.Kind() == ControlKind::kButton;
  if (canTakeFocus && shown.tabStop != static_cast<int>(c.tabStop)) {
    // Without a tab stop the Tab key passes the control by; a click still reaches it.
    widget->setFocusPolicy(c.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    shown.tabStop = c.tabStop;
  }

  switch (c.Kind()) {
    case ControlKind::kNumberBox: {
      auto* box = static_cast<QLineEdit*>(widget);
      // Typing stops at MaxLength; a longer text the box already holds stays whole, as
      // the control keeps it.
      const int maxLength = c.MaxLength() > 0
                                ? std::max(c.MaxLength(), static_cast<int>(c.Text().size()))
                                : kNoMaxLength;
      if (box->maxLength() != maxLength) box->setMaxLength(maxLength);
      if (shown.text != c.Text()) {
        box->setText(FromLatin1(c.Text()));
        shown.text = c.Text();
      }
      if (shown.locked != static_cast<int>(c.locked)) {
        box->setReadOnly(c.locked);
        shown.locked = c.locked;
      }
      if (!shown.backColorShown || shown.backColor != c.backColor) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, QColor(c.backColor.r, c.backColor.g, c.backColor.b));
        box->setPalette(palette);
        shown.backColor = c.backColor;
        shown.backColorShown = true;
      }
      break;
    }
    case ControlKind::kCheckBox: {
      auto* box = static_cast<QCheckBox*>(widget);
      if (shown.caption != c.caption) {
        box->setText(ButtonCaption(c.caption));
        shown.caption = c.caption;
      }
      if (shown.value != c.Value()) {
        box->setTristate(c.Value() == 2);
        box->setCheckState(CheckStateOf(c.Value()));
        shown.value = c.Value();
      }
      break;
    }
    case ControlKind::kSelectionBox: {
      auto* box = static_cast<QComboBox*>(widget);
      const bool itemsChanged = shown.items != c.items;
      if (itemsChanged) {
        box->clear();
        for (const std::string& item : c.items) box->addItem(FromLatin1(item));
        shown.items = c.items;
      }
      if (itemsChanged || shown.listIndex != c.ListIndex()) {
        const int index = c.ListIndex() >= 0 && c.ListIndex() < box->count() ? c.ListIndex() : -1;
        box->setCurrentIndex(index);
        shown.listIndex = c.ListIndex();
      }
      break;
    }
    case ControlKind::kLabel:
      if (shown.caption != c.caption) {
        static_cast<QLabel*>(widget)->setText(FromLatin1(c.caption));
        shown.caption = c.caption;
      }
      break;
    case ControlKind::kButton:
      if (shown.caption != c.caption) {
        static_cast<QPushButton*>(widget)->setText(ButtonCaption(c.caption));
        shown.caption = c.caption;
      }
      break;
    case ControlKind::kFrame:
    case ControlKind::kPicture:
    case ControlKind::kImage:
    case ControlKind::kLine:
    case ControlKind::kTimer:
      break;
  }
}

template <typename Handler>
void BuildDialog::RunHandler(Handler&& handler) {
  if (handlerDepth_ == 0) platform_.HandlerStarting();
  ++handlerDepth_;
  try {
    handler();
  } catch (...) {
    // Nothing may pass through Qt's frames: keep the first failure, stop a running build
    // at its next check, and let the modal show end and pass the failure on.
    if (failure_ == nullptr) failure_ = std::current_exception();
    form_.World().StopRequested = true;
  }
  --handlerDepth_;
  // A window the handler hid (a build handed its world over) closes unseen.
  if (form_.IsVisible() || handlerDepth_ > 0) Sync();
  if (handlerDepth_ == 0) FinishIfDone();
}

void BuildDialog::FinishIfDone() {
  if (finished_) return;
  if (failure_ == nullptr && closeRequested_ && form_.IsVisible()) {
    // The window was closed while a handler ran: now that it has returned, it cancels.
    closeRequested_ = false;
    RunHandler([this] { form_.CloseByUser(); });
    return;
  }
  if (failure_ != nullptr || !form_.IsVisible()) {
    finished_ = true;
    QDialog::done(0);
  }
}

void BuildDialog::RequestClose() {
  if (finished_) return;
  if (handlerDepth_ > 0) {
    // A build runs (or another handler waits): stop it, and cancel once it has returned.
    closeRequested_ = true;
    form_.World().StopRequested = true;
    return;
  }
  RunHandler([this] { form_.CloseByUser(); });
}

void BuildDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Keys are read where they enter the window, once each, before any widget sees them.
  if (!keysWatched_ && windowHandle() != nullptr) {
    windowHandle()->installEventFilter(this);
    keysWatched_ = true;
  }
}

void BuildDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  RequestClose();
}

// Neither Escape nor Enter has a meaning of its own in this window.
void BuildDialog::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }

void BuildDialog::reject() { RequestClose(); }

bool BuildDialog::eventFilter(QObject* watched, QEvent* event) {
  if (retired_) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress && watched == windowHandle())
    return HandleKey(static_cast<QKeyEvent*>(event));
  if (event->type() == QEvent::FocusOut &&
      IsFocusLostWithinWindow(static_cast<QFocusEvent*>(event)->reason()) && watched->isWidgetType())
    if (Bound* bound = BoundOf(static_cast<QWidget*>(watched))) Left(*bound);
  return QDialog::eventFilter(watched, event);
}

bool BuildDialog::HandleKey(QKeyEvent* event) {
  if (finished_) return false;
  // While a message box or the file dialog is open no key reaches the window's handlers.
  if (platform_.OpenModalBoxes() > 0) return true;
  const bool building = !form_.World().StopRequested;
  const KeyCodes codes = TranslateKey(event->key(), event->modifiers(), event->text());
  RunHandler([&] {
    if (codes.keyCode != 0) form_.KeyDown(codes.keyCode, codes.shift);
    if (codes.keyAscii != 0) form_.KeyPress(codes.keyAscii);
  });
  // During a build a key is the window's alone; otherwise the focused widget gets it too.
  return building;
}

void BuildDialog::Typed(Bound& bound, const QString& text) {
  bound.shown.text = ToLatin1(text);
  if (!AcceptsInput() || finished_) {
    Sync();  // the widget goes back to its control's text
    return;
  }
  RunHandler([&] { bound.control->SetText(bound.shown.text); });
}

void BuildDialog::Left(Bound& bound) {
  if (!AcceptsInput() || finished_) return;
  RunHandler([&] { bound.control->LoseFocus(); });
}

void BuildDialog::Toggled(Bound& bound, bool) {
  const int value = ValueOf(static_cast<QCheckBox*>(bound.widget)->checkState());
  bound.shown.value = value;
  if (!AcceptsInput() || finished_) {
    Sync();
    return;
  }
  RunHandler([&] { bound.control->SetValue(value); });
}

void BuildDialog::Selected(Bound& bound, int index) {
  bound.shown.listIndex = index;
  if (!AcceptsInput() || finished_) {
    Sync();
    return;
  }
  RunHandler([&] { bound.control->SetListIndex(index); });
}

void BuildDialog::Clicked(Bound& bound) {
  if (!AcceptsInput() || finished_) return;
  RunHandler([&] { bound.control->Click(); });
}

void BuildDialog::TabChanged(int index) {
  if (finished_ || failure_ != nullptr) return;
  // The tab strip stays usable while a build runs: it only shows another page.
  form_.Tabs().selected = index + 1;
  RunHandler([this] { form_.Form().tabParams_Click(); });
}

}  // namespace lorvex::ui::qt
