// The parameters window on the screen, driven as a person drives it while the host's Build
// runs its modal loop: Build, Cancel and the close box, the stop key, Alt+F5, and the file
// dialog of Save and Load Settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <algorithm>

#include "qt_test_support.h"
#include "ui/qt/window_platform_qt.h"

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

// The window driven by the test factory below.
std::function<void(BuildDialog&)> windowScript;

// The Qt binding's own factory, with its window handed to windowScript once shown.
std::unique_ptr<platform::Platform> ScriptedQtFactory() {
  std::unique_ptr<platform::Platform> made = ui::qt::MakeQtWindowPlatform();
  if (auto* qtPlatform = dynamic_cast<ui::qt::QtPlatform*>(made.get()))
    qtPlatform->OnWindowShown([](BuildDialog& dialog) { windowScript(dialog); });
  return made;
}

// A host that gives clsBuild no platform, in a program without a QApplication: Build shows
// the real window through the binding's factory, on an application made for the call and
// gone after it; clicking Build builds, and the host reads the world.
TEST(QtHost, BuildShowsTheWindowAndClickingBuildHandsTheWorldToTheHost) {
  DropApp();
  clsBuild host;
  host.SetWindowPlatformFactory(&ScriptedQtFactory);
  bool shown = false, hourglassAfter = true;
  windowScript = [&](BuildDialog& dialog) {
    shown = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    Click(dialog, "cmdBuild");
    hourglassAfter = QApplication::overrideCursor() != nullptr;
  };
  host.SetNextSeed(3);
  EXPECT_TRUE(host.Build(200, 150, false));
  EXPECT_TRUE(shown);
  EXPECT_FALSE(hourglassAfter);
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(host.GetTerrainVB(0, 0), "A");
  EXPECT_EQ(host.World().MapArray.Width(), 200);
}

using QtWindow = QtWindowTest;

// The close box answers False like Cancel, and during a build it stops the build after at
// most the mass in hand, without a question.
TEST_F(QtWindow, CancelAndTheCloseBoxAnswerFalse) {
  int progressAtClose = 0, highestAfterClose = 0, progressMax = 0;
  EXPECT_FALSE(Build([&](BuildDialog& dialog) {
    ui::frmBuild& form = dialog.Form();
    WatchSmallMasses(dialog);  // slow enough to close in the middle
    When([&] { return WatchDisplayShown(dialog) && form.Progress().value >= 3; }, [&] {
      progressAtClose = form.Progress().value;
      progressMax = form.Progress().max;
      dialog.close();
      When([&] { highestAfterClose = std::max(highestAfterClose, form.Progress().value); return false; }, [] {});
    });
    Click(dialog, "cmdBuild");
  }));
  EXPECT_TRUE(messages_.empty());
  EXPECT_LE(highestAfterClose, progressAtClose + 2);
  EXPECT_LT(progressAtClose + 2, progressMax);
  EXPECT_EQ(host_->World().MapArray.Width(), 0);  // no world reached the host
}

// A key during a build asks the stop question; Yes stops the build at once, and the window
// stays open, unlocked, its pointer back and its watch display hidden.
TEST_F(QtWindow, AKeyAnsweredYesStopsTheBuildAndTheWindowStaysOpen) {
  bool hourglass = false, stillOpen = false, unlocked = false, watchHidden = false;
  int progressAtStop = 0, progressMax = 0;
  Build([&](BuildDialog& dialog) {
    ui::frmBuild& form = dialog.Form();
    WatchSmallMasses(dialog);
    When([&] { return WatchDisplayShown(dialog) && form.Progress().value >= 3; }, [&] {
      hourglass = QApplication::overrideCursor() != nullptr && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
      QTest::keyClick(dialog.windowHandle(), Qt::Key_S);
      EXPECT_TRUE(form.World().StopRequested);  // Yes was answered inside the key press
      progressAtStop = form.Progress().value;
      progressMax = form.Progress().max;
    });
    Click(dialog, "cmdBuild");  // returns when the build has stopped
    stillOpen = dialog.isVisible();
    unlocked = dialog.WidgetOf("fratabs", 1)->isEnabled() && dialog.WidgetOf("cmdBuild", 0)->isEnabled();
    watchHidden = !WatchDisplayShown(dialog) && QApplication::overrideCursor() == nullptr;
    Click(dialog, "cmdCancel");
  }, platform::MessageAnswer::kYes);
  EXPECT_EQ(messages_, std::vector<std::string>{"Stop World Build in Progress?"});
  EXPECT_TRUE(hourglass);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(unlocked);
  EXPECT_TRUE(watchHidden);
  EXPECT_LT(progressAtStop + 2, progressMax);
}

// Alt+F5 before Build turns watch mode on and the build shows its watch display; Alt+F5 in
// the middle turns it off and hides the display, and the build runs on to the host.
TEST_F(QtWindow, AltF5TurnsTheWatchDisplayOnAndOff) {
  bool before = false, during = true, shownWhileOn = false;
  EXPECT_TRUE(Build([&](BuildDialog& dialog) {
    ui::frmBuild& form = dialog.Form();
    AltF5(dialog);
    before = form.World().WatchMode;
    When([&] { return WatchDisplayShown(dialog); }, [&] {
      shownWhileOn = true;
      AltF5(dialog);
      during = form.World().WatchMode || WatchDisplayShown(dialog);
    });
    Click(dialog, "cmdBuild");
  }));
  EXPECT_TRUE(before);
  EXPECT_TRUE(shownWhileOn);
  EXPECT_FALSE(during);
}

// Save Settings and Load Settings through Qt's own file dialog: the name typed into the
// save dialog is written, and loading it gives the saved field back.
TEST_F(QtWindow, SaveAndLoadGoThroughTheFileDialog) {
  QStringList filters;
  std::string afterLoad, shownAfterLoad;
  const auto answerDialog = [&](bool save) {
    WhenDialog<QFileDialog>([&, save](QFileDialog& dialog) {
      filters = dialog.nameFilters();
      EXPECT_EQ(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
      dialog.selectFile(QDir(folder_.path()).filePath("mine.kst"));
      QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
    });
  };
  Build([&](BuildDialog& dialog) {
    platform::ControlSet& controls = dialog.Form().Controls();
    controls.At("txtLandMass", 0).SetText("4");
    dialog.Sync();
    answerDialog(true);
    Click(dialog, "cmdSave");
    controls.At("txtLandMass", 0).SetText("2");
    dialog.Sync();
    answerDialog(false);
    Click(dialog, "cmdLoad");
    afterLoad = controls.At("txtLandMass", 0).Text();
    shownAfterLoad = static_cast<QLineEdit*>(dialog.WidgetOf("txtLandMass", 0))->text().toStdString();
    Click(dialog, "cmdCancel");
  });
  EXPECT_TRUE(QFile::exists(QDir(folder_.path()).filePath("mine.kst")));
  EXPECT_EQ(filters, QStringList{"Kestrin's Settings (*.kst)"});
  EXPECT_EQ(afterLoad, "4");
  EXPECT_EQ(shownAfterLoad, "4");
}

}  // namespace
}  // namespace lorvex::qttest
