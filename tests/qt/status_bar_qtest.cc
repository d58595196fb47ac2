// The parameters window's status bar under Qt: every panel shows its longest text whole in
// the window's font, and the panels and the progress bar sit side by side within the bar.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "qt_test_support.h"
#include "ui/qt/widgets.h"

namespace lorvex::qttest {
namespace {

using StatusBarTest = QtWindowTest;

TEST_F(StatusBarTest, EveryPanelShowsItsLongestTextWhole) {
  // Panels 1 and 2 as the window writes them for the largest map; panel 3 a land figure of
  // four digits a side (a small map with many masses), panel 4 the longest status text.
  const struct {
    int panel;
    const char* text;  // nullptr: the window's own
  } rows[] = {{1, nullptr}, {2, nullptr}, {3, "Land = 9999 - 9999 % "}, {4, "Getting User Preferences"},
              {4, "Tiny Islands - Placing /"}};
  bool shown = false;
  const bool opened = Build([&](ui::qt::BuildDialog& dialog) {
    shown = true;
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
    static_cast<QPushButton*>(dialog.WidgetOf("cmdCancel", 0))->click();
  }, platform::MessageAnswer::kNo, 4096, 4096);
  EXPECT_FALSE(opened);
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace lorvex::qttest
