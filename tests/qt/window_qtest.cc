// The parameters window on the screen, driven as a person drives it while the host's Build
// runs its modal loop, and shown by a host of liblorvex.so from the window's own library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <fstream>

#include "host/c_api/lorvex.h"
#include "params/build_parameters.h"
#include "qt_test_support.h"
#include "ui/qt/widgets.h"

namespace lorvex::qttest {
namespace {

using ui::qt::BuildDialog;

void AltF5(BuildDialog& dialog) { QTest::keyClick(dialog.windowHandle(), Qt::Key_F5, Qt::AltModifier); }

// Watch mode on, with masses of 20 to 30 squares, so that a watched mass takes about a second.
void WatchSmallMasses(BuildDialog& dialog) {
  for (int i : {2, 3, 8, 9, 14, 15}) dialog.Form().Controls().At("txtLandMass", i).SetText(i % 2 == 0 ? "20" : "30");
  AltF5(dialog);
}

bool WatchDisplayShown(BuildDialog& dialog) { return dialog.WidgetOf("fraWatchIt", 0)->isVisible(); }

using QtWindow = QtWindowTest;

// On the largest map: the status bar shows every panel's longest text whole in the window's
// font, the panels and the progress bar side by side within the bar. A key during a build
// asks the stop question; Yes stops the build at once, and the window stays open, unlocked,
// its pointer back and its watch display hidden. The close box during the next build stops
// it after at most the mass in hand, without a question, and answers False.
TEST_F(QtWindow, TheStatusBarAndTheStopKeyAndTheCloseBox) {
  // Panels 1 and 2 as the window writes them for the largest map; panel 3 a land figure of
  // four digits a side (a small map with many masses), panel 4 the longest status text.
  const struct { int panel; const char* text; } rows[] = {  // text nullptr: the window's own
      {1, nullptr}, {2, nullptr}, {3, "Land = 9999 - 9999 % "}, {4, "Getting User Preferences"}, {4, "Tiny Islands - Placing /"}};
  int progressAtClose = 0, highestAfterClose = 0;
  EXPECT_FALSE(Build([&](BuildDialog& dialog) {
    ui::qt::StatusBarView& bar = *dialog.StatusBar();
    EXPECT_EQ(dialog.Form().StatusBar().Panel(1).text, "Map: 4096 x 4096 ");
    EXPECT_EQ(dialog.Form().StatusBar().Panel(2).text, "Squares = 16,777,216 ");
    for (const auto& row : rows) {
      if (row.text != nullptr) dialog.Form().StatusBar().Panel(row.panel).text = row.text;
      dialog.Sync();
      const QLabel* label = bar.Panel(row.panel);
      SCOPED_TRACE(label->text().toStdString());
      EXPECT_LE(label->minimumSizeHint().width(), label->width());
    }
    // Side by side, left to right, none past the bar's right edge; the progress bar over
    // panel 5.
    for (int panel = 1; panel <= 5; ++panel) {
      const QRect box = bar.Panel(panel)->geometry();
      EXPECT_LE(box.right(), bar.width() - 1) << panel;
      if (panel > 1) {
        EXPECT_GT(box.left(), bar.Panel(panel - 1)->geometry().right()) << panel;
      }
    }
    const QProgressBar* progress = bar.findChild<QProgressBar*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->geometry().left(), bar.Panel(5)->geometry().left());
    EXPECT_GE(progress->width(), 80);
    ui::frmBuild& form = dialog.Form();
    WatchSmallMasses(dialog);  // slow enough to stop in the middle
    const auto inTheMiddle = [&] { return WatchDisplayShown(dialog) && form.Progress().value >= 3; };
    When(inTheMiddle, [&] {
      EXPECT_TRUE(QApplication::overrideCursor() != nullptr && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
      QTest::keyClick(dialog.windowHandle(), Qt::Key_S);
      EXPECT_TRUE(form.World().StopRequested);  // Yes was answered inside the key press
      EXPECT_LT(form.Progress().value + 2, form.Progress().max);
    });
    Click(dialog, "cmdBuild");  // returns when the build has stopped
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.WidgetOf("fratabs", 1)->isEnabled() && dialog.WidgetOf("cmdBuild", 0)->isEnabled());
    EXPECT_TRUE(!WatchDisplayShown(dialog) && QApplication::overrideCursor() == nullptr);
    When(inTheMiddle, [&] {
      progressAtClose = form.Progress().value;
      EXPECT_LT(progressAtClose + 2, form.Progress().max);
      dialog.close();
      When([&] { highestAfterClose = std::max(highestAfterClose, form.Progress().value); return false; }, [] {});
    });
    Click(dialog, "cmdBuild");
  }, platform::MessageAnswer::kYes, 4096, 4096));
  EXPECT_EQ(messages_, std::vector<std::string>{"Stop World Build in Progress?"});
  EXPECT_GE(progressAtClose, 3);
  EXPECT_LE(highestAfterClose, progressAtClose + 2);
  EXPECT_EQ(host_->World().MapArray.Width(), 0);  // no world reached the host
}

// Save Settings and Load Settings through Qt's own file dialog: the name typed into the
// save dialog is written, and loading it gives the saved field back. Then Alt+F5 turns watch
// mode on, and again in the middle of the build off, hiding the display; the build runs on.
TEST_F(QtWindow, SaveLoadAndAltF5) {
  QStringList filters;
  bool shownWhileOn = false;
  const auto answerDialog = [&](bool save) {
    WhenDialog<QFileDialog>([&, save](QFileDialog& dialog) {
      filters = dialog.nameFilters();
      EXPECT_EQ(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
      dialog.selectFile(QDir(folder_.path()).filePath("mine.kst"));
      QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
    });
  };
  EXPECT_TRUE(Build([&](BuildDialog& dialog) {
    platform::ControlSet& controls = dialog.Form().Controls();
    controls.At("txtLandMass", 0).SetText("4");
    dialog.Sync();
    answerDialog(true);
    Click(dialog, "cmdSave");
    controls.At("txtLandMass", 0).SetText("2");
    dialog.Sync();
    answerDialog(false);
    Click(dialog, "cmdLoad");
    EXPECT_EQ(controls.At("txtLandMass", 0).Text(), "4");
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.WidgetOf("txtLandMass", 0))->text(), QStringLiteral("4"));
    AltF5(dialog);
    EXPECT_TRUE(dialog.Form().World().WatchMode);
    When([&] { return WatchDisplayShown(dialog); }, [&] {
      shownWhileOn = true;
      AltF5(dialog);
      EXPECT_FALSE(dialog.Form().World().WatchMode || WatchDisplayShown(dialog));
    });
    Click(dialog, "cmdBuild");
  }));
  EXPECT_TRUE(QFile::exists(QDir(folder_.path()).filePath("mine.kst")));
  EXPECT_EQ(filters, QStringList{"Kestrin's Settings (*.kst)"});
  EXPECT_TRUE(shownWhileOn);
}

bool WindowLibraryLoaded() {
  std::ifstream maps("/proc/self/maps");
  return std::string(std::istreambuf_iterator<char>(maps), {}).find("liblorvex-qt.so") != std::string::npos;
}

// The parameters window on the screen, or nullptr.
QWidget* ShownParametersWindow() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->windowTitle() == QString::fromLatin1(params::kWindowCaption)) return window;
  return nullptr;
}

// The parameters window a host's Build shows: once it is on the screen its inputs are
// counted and Build is clicked. Armed by the test below; set up when Build makes the
// application.
bool clickBuildWhenShown = false;
int inputsShown = 0;

void ClickBuildWhenTheWindowShows() {
  if (!clickBuildWhenShown) return;
  When([] { return ShownParametersWindow() != nullptr; }, [] {
    QWidget* window = ShownParametersWindow();
    inputsShown = static_cast<int>(window->findChildren<QWidget*>(QRegularExpression(QStringLiteral("^(txt|chk|cbo)"))).size());
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdBuild(0)")), Qt::LeftButton);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass gone with the build
  }, 60000, [] {
    if (QWidget* window = ShownParametersWindow()) window->close();
  });
}

// A host of liblorvex.so in a program without a QApplication: a Build without a headless
// flag loads liblorvex-qt.so from beside liblorvex.so and shows the parameters window on an
// application made for the call and gone after it; a click on Build builds the world the
// host then reads.
TEST(WindowLibrary, ABuildThroughTheCInterfaceShowsTheWindowFromItsOwnLibrary) {
  DropApp();
  qAddPreRoutine(&ClickBuildWhenTheWindowShows);
  void* library = dlopen(LORVEX_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto create = reinterpret_cast<decltype(&lorvex_create)>(dlsym(library, "lorvex_create"));
  const auto seed = reinterpret_cast<decltype(&lorvex_set_seed)>(dlsym(library, "lorvex_set_seed"));
  const auto build = reinterpret_cast<decltype(&lorvex_build)>(dlsym(library, "lorvex_build"));
  const auto width = reinterpret_cast<decltype(&lorvex_map_width)>(dlsym(library, "lorvex_map_width"));
  const auto destroy = reinterpret_cast<decltype(&lorvex_destroy)>(dlsym(library, "lorvex_destroy"));
  EXPECT_FALSE(WindowLibraryLoaded());
  LorvexBuilder* builder = create();
  seed(builder, 11);
  clickBuildWhenShown = true;
  EXPECT_EQ(build(builder, 200, 150, 1), 1);  // no land warning at this size
  clickBuildWhenShown = false;
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(width(builder), 200);
  EXPECT_EQ(inputsShown, 103);
  destroy(builder);
  EXPECT_TRUE(WindowLibraryLoaded());
}

}  // namespace
}  // namespace lorvex::qttest
