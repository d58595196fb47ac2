#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "params/settings_file.h"
#include "platform/control.h"

namespace lorvex::params {
namespace {

TEST(SettingsLineParser, FindsNameIndexAndValue) {
  struct Case {
    const char* line;
    bool valid;
    const char* name;
    int index;
    const char* value;
  };
  const Case cases[] = {
      {"txtLandMass(2) = 400", true, "txtLandMass", 2, "400"},
      {"chkTerrainEqual(0) = 1", true, "chkTerrainEqual", 0, "1"},
      {"txtX(1) = a(b)=c", true, "txtX", 1, "a(b)=c"},
      {"txtX(1) = ", true, "txtX", 1, ""},
      {"txtX(1) =", true, "txtX", 1, ""},
      {"txtX(1) =7", true, "txtX", 1, ""},     // the value starts two after the "="
      {"txtX(1) =  7", true, "txtX", 1, " 7"},
      {"txtX(2.5) = 1", true, "txtX", 2, "1"},   // half to even
      {"txtX(3.5) = 1", true, "txtX", 4, "1"},
      {"txtX( 3 ) = 1", true, "txtX", 3, "1"},
      {"txtX(1e1) = 1", true, "txtX", 10, "1"},
      {"txtX(99999999999) = 1", true, "txtX", 2147483647, "1"},
      {"(0) = 1", true, "", 0, "1"},
      {"", false, nullptr, 0, nullptr},
      {"txtX(1) 7", false, nullptr, 0, nullptr},
      {"txtX 1) = 7", false, nullptr, 0, nullptr},
      {"txtX(1 = 7", false, nullptr, 0, nullptr},
      {")txtX( = 7", false, nullptr, 0, nullptr},
      {"txtX(1=2) = 7", false, nullptr, 0, nullptr},
      {"txtX(abc) = 7", false, nullptr, 0, nullptr},
      {"txtX() = 7", false, nullptr, 0, nullptr},
      {"txtX(3abc) = 7", false, nullptr, 0, nullptr},
      {"txtX(1e) = 7", false, nullptr, 0, nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<SettingsLine> parsed = ParseSettingsLine(c.line);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.line;
    if (!c.valid) continue;
    EXPECT_EQ(parsed->name, c.name) << c.line;
    EXPECT_EQ(parsed->index, c.index) << c.line;
    EXPECT_EQ(parsed->value, c.value) << c.line;
  }
}

TEST(SettingsLineParser, ReadsEveryLineEnd) {
  for (const char* end : {"\r\n", "\r", "\n"}) {
    const std::string text = std::string("a(1) = x") + end + "b(2) = y" + end + end + "c(3) = z";
    const std::vector<SettingsLine> lines = ParseSettingsText(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].value, "x");
    EXPECT_EQ(lines[1].name, "b");
    EXPECT_EQ(lines[2].value, "z");  // the last line needs no line end
  }
  // LF CR is two line ends; CR LF one.
  EXPECT_EQ(ParseSettingsText("a(1) = x\n\rb(2) = y").size(), 2u);
}

TEST(SettingsLineParser, FormatsEachKindAsItsState) {
  platform::Control check(platform::ControlKind::kCheckBox, "chkTerrainEqual", 0);
  check.SetValue(1);
  platform::Control box(platform::ControlKind::kNumberBox, "txtLandMass", 2);
  box.SetText("400");
  platform::Control list(platform::ControlKind::kSelectionBox, "cboPlacement", 0);
  EXPECT_EQ(FormatSettingsLine(check), "chkTerrainEqual(0) = 1");
  EXPECT_EQ(FormatSettingsLine(box), "txtLandMass(2) = 400");
  EXPECT_EQ(FormatSettingsLine(list), "cboPlacement(0) = -1");
  list.SetListIndex(2);
  EXPECT_EQ(FormatSettingsLine(list), "cboPlacement(0) = 2");
}

TEST(SettingsLineParser, KeepsAtMostTheLineAndCountLimits) {
  const std::string longValue(3 * kMaxSettingsLineLength, '7');
  const std::vector<SettingsLine> cut = ParseSettingsText("a(1) = " + longValue + "\nb(2) = x");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].value.size(), kMaxSettingsLineLength - 7);
  EXPECT_EQ(cut[1].value, "x");

  std::string many;
  for (std::size_t i = 0; i < kMaxSettingsLines + 50; ++i) many += "a(1) = " + std::to_string(i) + "\n";
  const std::vector<SettingsLine> kept = ParseSettingsText(many);
  ASSERT_EQ(kept.size(), kMaxSettingsLines);
  EXPECT_EQ(kept.back().value, std::to_string(kMaxSettingsLines - 1));
}

}  // namespace
}  // namespace lorvex::params
