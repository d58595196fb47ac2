#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "params/settings_file.h"
#include "platform/control.h"

namespace lorvex::params {
namespace {

// Name before the first "(", index between it and the first ")" (rounded half to even),
// value from two characters after the first "="; lines without that shape are skipped.
TEST(SettingsLineParser, FindsNameIndexAndValue) {
  const struct { const char* line; bool valid; const char* name; int index; const char* value; } cases[] = {
      {"txtLandMass(2) = 400", true, "txtLandMass", 2, "400"},
      {"txtX(1) = a(b)=c", true, "txtX", 1, "a(b)=c"},
      {"txtX(1) = ", true, "txtX", 1, ""},
      {"txtX(1) =", true, "txtX", 1, ""},
      {"txtX(1) =7", true, "txtX", 1, ""},  // the value starts two after the "="
      {"txtX(1) =  7", true, "txtX", 1, " 7"},
      {"txtX(2.5) = 1", true, "txtX", 2, "1"},
      {"txtX(3.5) = 1", true, "txtX", 4, "1"},
      {"txtX( 3 ) = 1", true, "txtX", 3, "1"},
      {"txtX(99999999999) = 1", true, "txtX", 2147483647, "1"},
      {"", false, nullptr, 0, nullptr},
      {"txtX(1) 7", false, nullptr, 0, nullptr},
      {"txtX 1) = 7", false, nullptr, 0, nullptr},
      {"txtX(1 = 7", false, nullptr, 0, nullptr},
      {")txtX( = 7", false, nullptr, 0, nullptr},
      {"txtX(abc) = 7", false, nullptr, 0, nullptr},
      {"txtX() = 7", false, nullptr, 0, nullptr},
      {"txtX(3abc) = 7", false, nullptr, 0, nullptr},
  };
  for (const auto& c : cases) {
    const std::optional<SettingsLine> parsed = ParseSettingsLine(c.line);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.line;
    if (!c.valid) continue;
    EXPECT_EQ(parsed->name, c.name) << c.line;
    EXPECT_EQ(parsed->index, c.index) << c.line;
    EXPECT_EQ(parsed->value, c.value) << c.line;
  }
}

// CR LF, CR alone and LF alone each end a line; the last line needs none; a line longer
// than the limit is cut and the next one still read; lines past the count limit are dropped.
TEST(SettingsLineParser, ReadsEveryLineEndAndKeepsTheLimits) {
  for (const char* end : {"\r\n", "\r", "\n"}) {
    const std::vector<SettingsLine> lines =
        ParseSettingsText(std::string("a(1) = x") + end + "b(2) = y" + end + end + "c(3) = z");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].value, "x");
    EXPECT_EQ(lines[1].name, "b");
    EXPECT_EQ(lines[2].value, "z");
  }
  EXPECT_EQ(ParseSettingsText("a(1) = x\n\rb(2) = y").size(), 2u);  // LF CR is two line ends
  const std::vector<SettingsLine> cut =
      ParseSettingsText("a(1) = " + std::string(3 * kMaxSettingsLineLength, '7') + "\nb(2) = x");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].value.size(), kMaxSettingsLineLength - 7);
  EXPECT_EQ(cut[1].value, "x");
  std::string many;
  for (std::size_t i = 0; i < kMaxSettingsLines + 50; ++i) many += "a(1) = " + std::to_string(i) + "\n";
  EXPECT_EQ(ParseSettingsText(many).size(), kMaxSettingsLines);
}

}  // namespace
}  // namespace lorvex::params
