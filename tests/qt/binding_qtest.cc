// The binding's parts that need no running build: the layout, the widgets following their
// controls, keys, the file dialog's set-up, message boxes, pictures and the pause timer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "event_steps.h"
#include "platform/picture_surface.h"
#include "qt_test_support.h"
#include "ui/qt/file_filter.h"
#include "ui/qt/key_codes.h"
#include "ui/qt/widgets.h"
#include "ui/qt/window_layout.h"

namespace lorvex::ui::qt {
namespace {

using platform::ControlKind;
using qttest::App;

// A window made but not shown, for what needs no modal show.
struct OpenWindow {
  OpenWindow() : platform(), form(platform), dialog(form, platform, NoShapeFigures) {}
  QtPlatform platform;
  frmBuild form;
  BuildDialog dialog;
};

bool TakesInput(ControlKind kind) {
  return kind == ControlKind::kNumberBox || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kSelectionBox || kind == ControlKind::kButton || kind == ControlKind::kImage;
}

TEST(Layout, EveryControlHasAPlaceInsideItsParentAndTheClientAreaIs633By378) {
  App();
  OpenWindow window;
  EXPECT_EQ(window.dialog.size(), QSize(633, 378));
  for (const platform::Control& c : window.form.Controls().All()) {
    if (c.Kind() == ControlKind::kTimer) continue;
    SCOPED_TRACE(c.Key());
    const ControlPlace* place = FindPlace(c.Name(), c.Index());
    ASSERT_NE(place, nullptr);
    QWidget* widget = window.dialog.WidgetOf(c.Name(), c.Index());
    ASSERT_NE(widget, nullptr);
    if (place->parentName != nullptr) {
      EXPECT_EQ(widget->parentWidget(), window.dialog.WidgetOf(place->parentName, place->parentIndex));
    }
    EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
        << "outside its parent: " << widget->geometry().x() << "," << widget->geometry().y();
  }
  // Every place in the table belongs to a control of the window.
  for (const ControlPlace& place : ControlPlaces())
    EXPECT_NE(window.form.Controls().Find(place.name, place.index), nullptr) << place.name << "(" << place.index << ")";
}

TEST(Layout, TheFixedPartsSitWhereTheWindowPutsThem) {
  App();
  OpenWindow window;
  // Pages at left 240, top 1080, 9015 x 3495 twips; the button row at top 4680, 615 high.
  EXPECT_EQ(window.dialog.WidgetOf("fratabs", 3)->geometry(), QRect(16, 72, 601, 233));
  EXPECT_EQ(window.dialog.WidgetOf("fraButtons", 0)->geometry(), QRect(0, 312, 633, 41));
  EXPECT_EQ(window.dialog.TabBar()->geometry().top(), 40);
  // The watch display covers the tab area; its pictures are 301 x 269.
  EXPECT_EQ(window.dialog.WidgetOf("fraWatchIt", 0)->geometry(), QRect(0, 40, 633, 273));
  EXPECT_EQ(window.dialog.WidgetOf("picWorld", 0)->size(), QSize(301, 269));
  EXPECT_EQ(window.dialog.WidgetOf("picMass", 0)->size(), QSize(301, 269));
  // The status bar at the bottom; the progress bar over panel 5.
  const QRect status = window.dialog.StatusBar()->geometry();
  EXPECT_EQ(status.bottom(), 377);
  window.form.StatusBar().Panel(5).left = 7200;
  window.form.StatusBar().Panel(5).width = 2295;
  window.dialog.Sync();
  EXPECT_EQ(window.dialog.StatusBar()->Panel(5)->geometry().left(), 480);
}

TEST(Layout, NoTwoInputsOfOneParentOverlap) {
  App();
  OpenWindow window;
  std::vector<QWidget*> inputs;
  for (const platform::Control& c : window.form.Controls().All())
    if (TakesInput(c.Kind())) inputs.push_back(window.dialog.WidgetOf(c.Name(), c.Index()));
  for (std::size_t a = 0; a < inputs.size(); ++a)
    for (std::size_t b = a + 1; b < inputs.size(); ++b)
      if (inputs[a]->parentWidget() == inputs[b]->parentWidget()) {
        EXPECT_FALSE(inputs[a]->geometry().intersects(inputs[b]->geometry()))
            << inputs[a]->objectName().toStdString() << " and " << inputs[b]->objectName().toStdString();
      }
}

// The longest texts the field behaviour may give a label, besides the catalogue's captions.
struct LaterCaption {
  const char* name;
  int index;
  const char* caption;
};
constexpr LaterCaption kLaterCaptions[] = {
    {"lblCities", 0, "Number"},
    {"lblCities", 1, "Num Cities ="},
    {"lblCities", 2, "Map Squares /"},
    {"lblPlace1Param3", 0, "Num per Land Mass:"},
    {"lblPlace1Param3", 2, "Total Remaining"},
    {"lblPlace1Param3", 3, "Total Remaining"},
    {"lblPlaceAlgoExplain", 0,
     "The number of cities placed on each land mass is proportionate to the number of land squares for that land mass."},
};

// Whether a text fits a box of the widget's size in the widget's font.
bool Fits(const QWidget& widget, const QString& text, bool wrap, int indent) {
  const QRect box = widget.rect().adjusted(indent, 0, 0, 0);
  const QRect needed = widget.fontMetrics().boundingRect(box, (wrap ? Qt::TextWordWrap : 0) | Qt::AlignLeft, text);
  return needed.width() <= box.width() && needed.height() <= box.height();
}

TEST(Layout, EveryCaptionFitsItsBox) {
  App();
  OpenWindow window;
  constexpr int kIndicator = 22;  // a check box's indicator and the gap after it
  for (const platform::Control& c : window.form.Controls().All()) {
    const ControlPlace* place = FindPlace(c.Name(), c.Index());
    if (place == nullptr || c.caption.empty()) continue;
    QWidget* widget = window.dialog.WidgetOf(c.Name(), c.Index());
    const QString caption = QString::fromLatin1(c.caption.c_str());
    if (c.Kind() == ControlKind::kLabel) {
      EXPECT_TRUE(Fits(*widget, caption, place->wrap, 0)) << c.Key();
    } else if (c.Kind() == ControlKind::kCheckBox) {
      EXPECT_TRUE(Fits(*widget, caption, place->wrap, kIndicator)) << c.Key();
    } else if (c.Kind() == ControlKind::kButton) {
      EXPECT_LE(widget->fontMetrics().horizontalAdvance(caption) + 12, widget->width()) << c.Key();
    }
  }
  for (const LaterCaption& later : kLaterCaptions) {
    QWidget* widget = window.dialog.WidgetOf(later.name, later.index);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(Fits(*widget, QString::fromLatin1(later.caption), FindPlace(later.name, later.index)->wrap, 0))
        << later.name << "(" << later.index << ") " << later.caption;
  }
  for (const PageText& text : PageTexts()) {
    QLabel probe(QString::fromLatin1(text.text), window.dialog.WidgetOf(text.parentName, text.parentIndex));
    if (text.bold) {
      QFont bold = probe.font();
      bold.setBold(true);
      probe.setFont(bold);
    }
    probe.resize(text.width / 15, text.height / 15);
    EXPECT_TRUE(Fits(probe, probe.text(), text.wrap, 0)) << text.text;
  }
}

TEST(Sync, WidgetsFollowEveryPropertyWithoutFiringActions) {
  App();
  OpenWindow window;
  platform::ControlSet& controls = window.form.Controls();
  int actions = 0;
  for (platform::Control& c : controls.All()) {
    c.OnClick([&](int) { ++actions; });
    c.OnLostFocus([&](int) { ++actions; });
  }
  // Values first (their own actions are the controls' business), then the watch.
  controls.At("chkShape", 4).SetValue(0);
  controls.At("cboPlacement", 0).SetListIndex(2);
  actions = 0;
  platform::Control& hi = controls.At("txtLandMass", 3);
  hi.SetText("777");
  hi.locked = true;
  hi.tabStop = false;
  hi.backColor = {212, 208, 200};
  controls.At("txtPlace1", 1).SetMaxLength(4);
  controls.At("lblCities", 2).caption = "Land /";
  controls.At("chkLandPlace", 2).enabled = false;
  controls.At("fraPlaceParams", 0).visible = false;
  controls.At("cmdShapeMoreLeft", 0).visible = true;
  controls.At("cboCityNumber", 0).items = {"One", "Two"};
  controls.At("cboCityNumber", 0).SetListIndex(1);
  controls.At("cmdBuild", 0).caption = "Build it";
  actions = 0;
  window.dialog.Sync();
  EXPECT_EQ(actions, 0);
  qttest::ExpectWidgetsShowControls(window.dialog);
  // A locked box refuses typing.
  auto* box = static_cast<QLineEdit*>(window.dialog.WidgetOf("txtLandMass", 3));
  QTest::keyClicks(box, "5");
  EXPECT_EQ(box->text(), QStringLiteral("777"));
  EXPECT_EQ(hi.Text(), "777");
}

TEST(Sync, AShorterMaxLengthKeepsTheTextTheBoxHoldsButStopsTyping) {
  App();
  OpenWindow window;
  platform::Control& box = window.form.Controls().At("txtPlace1", 0);
  box.SetMaxLength(4);
  box.SetText("1234");
  window.dialog.Sync();
  box.SetMaxLength(2);
  window.dialog.Sync();
  auto* edit = static_cast<QLineEdit*>(window.dialog.WidgetOf("txtPlace1", 0));
  EXPECT_EQ(edit->text(), QStringLiteral("1234"));  // what the build would read
  box.SetText("9");
  window.dialog.Sync();
  EXPECT_EQ(edit->maxLength(), 2);
  edit->setFocus();
  QTest::keyClicks(edit, "876");
  EXPECT_EQ(box.Text(), "98");
}

struct KeyRow {
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
  KeyCodes expected;
};

TEST(Keys, QtKeysBecomeTheWindowsKeyCodesShiftMaskAndCharacters) {
  const KeyRow rows[] = {
      {Qt::Key_F5, Qt::AltModifier, "", {116, 4, 0}},          // the watch toggle
      {Qt::Key_F5, Qt::NoModifier, "", {116, 0, 0}},
      {Qt::Key_F1, Qt::NoModifier, "", {112, 0, 0}},
      {Qt::Key_F12, Qt::ShiftModifier, "", {123, 1, 0}},
      {Qt::Key_A, Qt::NoModifier, "a", {65, 0, 97}},
      {Qt::Key_A, Qt::ShiftModifier, "A", {65, 1, 65}},
      {Qt::Key_X, Qt::AltModifier, "x", {88, 4, 0}},          // Alt+letter types nothing
      {Qt::Key_C, Qt::ControlModifier, "\x03", {67, 2, 3}},
      {Qt::Key_5, Qt::NoModifier, "5", {53, 0, 53}},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", {27, 0, 27}},
      {Qt::Key_Return, Qt::NoModifier, "\r", {13, 0, 13}},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", {13, 0, 13}},
      {Qt::Key_Space, Qt::NoModifier, " ", {32, 0, 32}},
      {Qt::Key_Left, Qt::NoModifier, "", {37, 0, 0}},
      {Qt::Key_Shift, Qt::ShiftModifier, "", {16, 1, 0}},
      {Qt::Key_Launch0, Qt::NoModifier, "", {0, 0, 0}},
      {Qt::Key_Eacute, Qt::NoModifier, "\xc3\xa9", {0, 0, 233}},
      {Qt::Key_unknown, Qt::NoModifier, "\xe2\x82\xac", {0, 0, 0}},  // beyond one byte
  };
  for (const KeyRow& row : rows) {
    const KeyCodes codes = TranslateKey(row.key, row.modifiers, QString::fromUtf8(row.text));
    EXPECT_EQ(codes.keyCode, row.expected.keyCode) << row.key;
    EXPECT_EQ(codes.shift, row.expected.shift) << row.key;
    EXPECT_EQ(codes.keyAscii, row.expected.keyAscii) << row.key;
  }
}

TEST(FileDialog, TheFilterBecomesQtsNameFilters) {
  const struct {
    const char* filter;
    QStringList expected;
  } rows[] = {
      {"Kestrin's Settings (*.kst)|*.kst", {"Kestrin's Settings (*.kst)"}},
      {"Text|*.txt;*.text|All Files|*.*", {"Text (*.txt *.text)", "All Files (*.*)"}},
      {"Pictures (*.png)|*.png;*.bmp", {"Pictures (*.png) (*.png *.bmp)"}},
      {"|*.kst", {"(*.kst)"}},
      {"Settings|*.kst|Orphan description", {"Settings (*.kst)"}},
      {"Nothing|", {}},
      {"", {}},
  };
  for (const auto& row : rows) EXPECT_EQ(ToQtNameFilters(row.filter), row.expected) << row.filter;
}

TEST(FileDialog, IsSetUpAsTheRequestAsks) {
  App();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  ASSERT_TRUE(QDir().mkdir("kessett"));

  platform::FileDialogRequest save{true, "kst", "kessett", "Kestrin's Settings (*.kst)|*.kst", 1, 10};
  QFileDialog saving;
  ConfigureFileDialog(saving, save);
  EXPECT_EQ(saving.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(saving.nameFilters(), QStringList{"Kestrin's Settings (*.kst)"});
  EXPECT_EQ(saving.defaultSuffix(), QStringLiteral("kst"));
  EXPECT_EQ(QDir(saving.directory()).canonicalPath(), QDir(folder.path() + "/kessett").canonicalPath());
  EXPECT_FALSE(saving.testOption(QFileDialog::DontConfirmOverwrite));  // flag 2 asks first

  platform::FileDialogRequest open{false, ".kst", "missing", "A|*.a|B|*.b", 2, 8};
  QFileDialog opening;
  ConfigureFileDialog(opening, open);
  EXPECT_EQ(opening.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(opening.fileMode(), QFileDialog::AnyFile);  // a typed name need not exist
  EXPECT_EQ(opening.defaultSuffix(), QStringLiteral("kst"));
  EXPECT_EQ(opening.selectedNameFilter(), QStringLiteral("B (*.b)"));
  EXPECT_EQ(QDir(opening.directory()).canonicalPath(), QDir(folder.path()).canonicalPath());  // no such folder

  open.flags = 4096;
  ConfigureFileDialog(opening, open);
  EXPECT_EQ(opening.fileMode(), QFileDialog::ExistingFile);
  QDir::setCurrent(previous);
}

TEST(FileDialog, QtsDialogAnswersTheChosenFileOrNothing) {
  App();
  QtPlatform platform;
  QTemporaryDir folder;
  const std::string chosen = (folder.path() + "/mine.kst").toStdString();
  const platform::FileDialogRequest request{true, "kst", "", "Kestrin's Settings (*.kst)|*.kst", 1, 10};
  int openWhileShown = -1;
  const auto dialog = [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); };
  qttest::When([&] { return dialog() != nullptr; }, [&] {
    openWhileShown = platform.OpenModalBoxes();
    dialog()->selectFile(QString::fromStdString(chosen));
    QMetaObject::invokeMethod(dialog(), "accept");
  });
  EXPECT_EQ(platform.FileDialog(request), chosen);
  EXPECT_EQ(openWhileShown, 1);
  EXPECT_EQ(platform.OpenModalBoxes(), 0);
  qttest::When([&] { return dialog() != nullptr; }, [&] { QMetaObject::invokeMethod(dialog(), "reject"); });
  EXPECT_EQ(platform.FileDialog(request), std::nullopt);
  qttest::CancelSteps();
}

TEST(MessageBoxes, ShowTheTextAndAnswerTheButtonPressed) {
  App();
  QtPlatform platform;
  {
    qttest::BoxAnswerer yes(QMessageBox::Yes);
    EXPECT_EQ(platform.MessageBox("Warning: one.  Two\r\nthree?", platform::MessageButtons::kYesNo),
              platform::MessageAnswer::kYes);
    ASSERT_EQ(yes.Texts().size(), 1u);
    EXPECT_EQ(yes.Texts()[0], QStringLiteral("Warning: one.  Two\nthree?"));
  }
  {
    qttest::BoxAnswerer no(QMessageBox::No);
    EXPECT_EQ(platform.MessageBox("Stop?", platform::MessageButtons::kYesNo), platform::MessageAnswer::kNo);
  }
  {
    // A question closed by other means than its buttons answers No.
    qttest::BoxAnswerer closed(QMessageBox::Cancel);
    EXPECT_EQ(platform.MessageBox("Stop?", platform::MessageButtons::kYesNo), platform::MessageAnswer::kNo);
  }
  qttest::BoxAnswerer ok(QMessageBox::Ok);
  EXPECT_EQ(platform.MessageBox("Please Select", platform::MessageButtons::kOk), platform::MessageAnswer::kOk);
  EXPECT_EQ(ok.Texts().size(), 1u);
}

TEST(Pictures, APictureShowsItsSurfaceAndRepaintsWhenItChanges) {
  App();
  platform::PictureSurface surface;
  surface.FillBox(0, 0, 4515, 4035, {153, 153, 153});
  PictureView view(surface, nullptr);
  view.resize(301, 269);
  EXPECT_EQ(view.grab().toImage().pixelColor(150, 100), QColor(153, 153, 153));
  // The square (10, 20) .. (12, 22) pixels, given in twips.
  surface.FillBox(150, 300, 30, 30, {0, 153, 0});
  view.Refresh();
  const QImage after = view.grab().toImage();
  EXPECT_EQ(after.pixelColor(10, 20), QColor(0, 153, 0));
  EXPECT_EQ(after.pixelColor(12, 22), QColor(0, 153, 0));
  EXPECT_EQ(after.pixelColor(13, 22), QColor(153, 153, 153));
}

TEST(PauseTimer, TicksComeFromQtsEventLoopAfterTheInterval) {
  App();
  QtPlatform platform;
  frmBuild form(platform);
  for (int pause = 0; pause < 3; ++pause) {
    QElapsedTimer clock;
    clock.start();
    form.EnablePauseTimer();
    ASSERT_TRUE(form.PauseTimerEnabled());
    // Each yield either delivers the tick or sleeps until it is due; a timer that never
    // ticks fails the bound instead of hanging.
    for (int yields = 0; yields < 1000 && form.PauseTimerEnabled(); ++yields) form.Yield();
    EXPECT_FALSE(form.PauseTimerEnabled());
    EXPECT_GE(clock.elapsed(), 19);  // 20 ms, give or take the clock's rounding
  }
}

}  // namespace
}  // namespace lorvex::ui::qt
