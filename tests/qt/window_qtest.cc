// The parameters window on the screen: driven as a person drives it while the host's Build
// runs its modal loop, shown by a host of liblorvex.so from the window's own library, and
// read against the catalogue of the fields.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <fstream>
#include <set>

#include "host/c_api/lorvex.h"
#include "params/build_parameters.h"
#include "params/parameter_catalogue.h"
#include "qt_test_support.h"
#include "ui/qt/widgets.h"

namespace lorvex::qttest {
namespace {

using ui::qt::BuildDialog;

void AltF5(BuildDialog& dialog) { QTest::keyClick(dialog.windowHandle(), Qt::Key_F5, Qt::AltModifier); }

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
    // Side by side, left to right, the last within the bar's right edge; the progress bar
    // over panel 5.
    for (int panel = 2; panel <= 5; ++panel)
      EXPECT_GT(bar.Panel(panel)->geometry().left(), bar.Panel(panel - 1)->geometry().right()) << panel;
    EXPECT_LE(bar.Panel(5)->geometry().right(), bar.width() - 1);
    EXPECT_EQ(bar.Progress()->geometry().left(), bar.Panel(5)->geometry().left());
    EXPECT_GE(bar.Progress()->width(), 80);
    ui::frmBuild& form = dialog.Form();
    // Watch mode on, with masses of 20 to 30 squares: a watched mass takes about a second.
    for (int i : {2, 3, 8, 9, 14, 15}) form.Controls().At("txtLandMass", i).SetText(i % 2 == 0 ? "20" : "30");
    AltF5(dialog);
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

// The catalogue of the fields against the window a person sees when it opens: one entry per
// input; its page the input's tab; its label the texts shown beside the input (a check box's
// caption); its default what the input shows; a selection box's items as its meaning names them.
std::string Shown(QString text) { return text.replace(QStringLiteral("&&"), QStringLiteral("&")).toStdString(); }

// The texts left of `field` on its row and above it in its column, nearest first; only shown
// ones, unless the field itself is hidden.
void TextsAround(QWidget* field, std::vector<std::string>& left, std::vector<std::string>& above) {
  QWidget* parent = field->parentWidget();
  const bool fieldShown = field->isVisibleTo(parent);
  std::vector<std::pair<QRect, std::string>> texts;  // the labels and check boxes beside it
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (fieldShown && !child->isVisibleTo(parent)) continue;
    if (auto* label = qobject_cast<QLabel*>(child)) texts.push_back({label->geometry(), Shown(label->text())});
    if (auto* box = qobject_cast<QCheckBox*>(child)) texts.push_back({box->geometry(), Shown(box->text())});
  }
  const QRect f = field->geometry();
  const int middleX = f.left() + f.width() / 2, middleY = f.top() + f.height() / 2;
  std::vector<std::pair<int, std::string>> leftOf, aboveOf;  // (distance, text)
  for (const auto& [box, text] : texts) {
    const int right = box.left() + box.width(), bottom = box.top() + box.height();
    if (right <= f.left() && box.top() <= middleY && middleY < bottom) leftOf.push_back({f.left() - right, text});
    if (bottom <= f.top() && box.left() <= middleX && middleX < right) aboveOf.push_back({f.top() - bottom, text});
  }
  std::stable_sort(leftOf.begin(), leftOf.end());
  std::stable_sort(aboveOf.begin(), aboveOf.end());
  for (const auto& [distance, text] : leftOf) left.push_back(text);
  for (const auto& [distance, text] : aboveOf) above.push_back(text);
}

// Whether the label's parts (" / " between them) are the a nearest texts to the left and
// the b nearest above.
bool LabelReadsAsShown(const std::string& label, const std::vector<std::string>& left,
                       const std::vector<std::string>& above) {
  std::set<std::string> parts;
  for (std::size_t from = 0, at = 0; at != std::string::npos; from = at + 3) {
    at = label.find(" / ", from);
    parts.insert(label.substr(from, at - from));
  }
  for (std::size_t a = left.empty() ? 0 : 1; a <= left.size(); ++a)
    for (std::size_t b = above.empty() ? 0 : 1; b <= above.size(); ++b) {
      std::set<std::string> read(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(a));
      read.insert(above.begin(), above.begin() + static_cast<std::ptrdiff_t>(b));
      if (read == parts) return true;
    }
  return false;
}

// The tab page an input lies on: the number k of its ancestor fratabs(k).
int PageOf(QWidget* field) {
  for (QWidget* w = field; w != nullptr; w = w->parentWidget())
    if (w->objectName().startsWith(QStringLiteral("fratabs(")))
      return w->objectName().mid(8).chopped(1).toInt();
  return 0;
}

TEST_F(QtWindow, TheCatalogueDescribesEveryInputOfTheWindowAsItIsShown) {
  bool checked = false;
  EXPECT_FALSE(Build([&](BuildDialog& dialog) {
    const QTabBar* tabs = dialog.findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    std::set<std::string> inputs;
    for (QWidget* field : dialog.findChildren<QWidget*>()) {
      auto* const combo = qobject_cast<QComboBox*>(field);
      const bool number = qobject_cast<QLineEdit*>(field) != nullptr;
      const bool check = qobject_cast<QCheckBox*>(field) != nullptr;
      if (!number && !check && combo == nullptr) continue;
      const std::string key = field->objectName().toStdString();
      SCOPED_TRACE(key);
      EXPECT_TRUE(inputs.insert(key).second);
      const params::ParameterInfo* info = params::FindParameterInfo(key);
      ASSERT_NE(info, nullptr);
      EXPECT_EQ(info->page, PageOf(field));
      EXPECT_EQ(params::PageCaption(*info), Shown(tabs->tabText(PageOf(field) - 1)));
      std::string shown;
      if (number) shown = qobject_cast<QLineEdit*>(field)->text().toStdString();
      if (check) {
        const Qt::CheckState state = qobject_cast<QCheckBox*>(field)->checkState();
        shown = state == Qt::Checked ? "1" : state == Qt::PartiallyChecked ? "2" : "0";
      }
      if (combo != nullptr) shown = std::to_string(combo->currentIndex());
      EXPECT_EQ(info->defaultValue, shown);
      if (combo != nullptr) { EXPECT_EQ(combo->count(), info->maximum + 1); }
      for (int item = 0; combo != nullptr && item < combo->count(); ++item)
        EXPECT_NE(std::string(info->meaning).find(std::to_string(item) + " \"" + Shown(combo->itemText(item)) + "\""),
                  std::string::npos) << item;
      if (check) {
        EXPECT_EQ(info->label, Shown(qobject_cast<QCheckBox*>(field)->text()));
      } else {
        std::vector<std::string> left, above;
        TextsAround(field, left, above);
        EXPECT_TRUE(LabelReadsAsShown(info->label, left, above))
            << info->label << "\n  left: " << ::testing::PrintToString(left)
            << "\n  above: " << ::testing::PrintToString(above);
      }
    }
    EXPECT_EQ(inputs.size(), params::ParameterCatalogue().size());
    checked = true;
    QTest::mouseClick(dialog.WidgetOf("cmdCancel", 0), Qt::LeftButton);
  }));
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace lorvex::qttest
