// The catalogue of the fields against the window a person sees when it opens: one entry per
// input; its page the input's tab; its label the texts shown beside the input (a check box's
// caption); its default what the input shows; a selection box's items as its meaning names them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "params/parameter_catalogue.h"
#include "qt_test_support.h"

namespace lorvex::qttest {
namespace {

using ui::qt::BuildDialog;

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

TEST_F(QtWindowTest, TheCatalogueDescribesEveryInputOfTheWindowAsItIsShown) {
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
