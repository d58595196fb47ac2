// The catalogue of the fields against what the fields do, through a builder as a host sets
// them, and the README's table of the fields against `lorvex settings --list`. (Labels,
// pages, defaults and items are checked against the window on the screen, tests/qt.)
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "apps/cli_run.h"
#include "host/cls_build.h"
#include "params/build_parameters.h"

namespace lorvex {
namespace {

using params::ParameterInfo;

double CatalogueHeld(const clsBuild& builder, const std::string& key) {
  std::string value;
  EXPECT_TRUE(builder.GetParameter(key, value).Ok()) << key;
  return std::stod(value);
}

// A number box given 0, a far negative and a far positive value (its Lo set to 0 first)
// holds the minimum, or the bound, or the value where the catalogue gives no bound.
void CatalogueCheckNumberBox(const ParameterInfo& info, const std::string& key, const std::string& lo) {
  const struct {
    const char* given;
    double expected;  // NaN: only "not below the minimum"
  } rows[] = {
      {"0", std::max(std::isinf(info.minimum) ? 0.0 : info.minimum, 0.0)},
      {"-99999999", std::isinf(info.minimum) ? -99999999.0 : NAN},
      {"99999999", std::isinf(info.maximum) ? 99999999.0 : info.maximum},
  };
  for (const auto& row : rows) {
    clsBuild builder;
    if (!lo.empty()) { ASSERT_TRUE(builder.SetParameter(lo, "0").Ok()); }
    ASSERT_TRUE(builder.SetParameter(key, row.given).Ok()) << key << " = " << row.given;
    const double held = CatalogueHeld(builder, key);
    if (std::isnan(row.expected))
      EXPECT_GE(held, info.minimum) << key << " = " << row.given;
    else
      EXPECT_EQ(held, row.expected) << key << " = " << row.given;
  }
}

// A check box or selection box takes exactly the values from its minimum to its maximum.
void CatalogueCheckChoice(const ParameterInfo& info, const std::string& key) {
  ASSERT_TRUE(std::isfinite(info.minimum) && std::isfinite(info.maximum)) << key;
  for (int value = static_cast<int>(info.minimum) - 1; value <= static_cast<int>(info.maximum) + 1; ++value) {
    clsBuild builder;
    const bool inRange = value >= info.minimum && value <= info.maximum;
    EXPECT_EQ(builder.SetParameter(key, std::to_string(value)).Ok(), inRange) << key << " = " << value;
    if (inRange) { EXPECT_EQ(CatalogueHeld(builder, key), value) << key; }
  }
}

TEST(FieldCatalogue, EachFieldHoldsItsDefaultAndTheRangeTheValidatorHoldsItTo) {
  const std::regex notBelow("not below (\\w+\\(\\d+\\))");
  const std::regex capped("(\\d+) at most while (\\w+\\(\\d+\\)) is checked");
  const clsBuild fresh;
  const platform::ControlSet window = params::CreateWindowControls();
  ASSERT_EQ(clsBuild::ParameterCatalogue().size(), fresh.ParameterKeys().size());
  std::size_t i = 0;
  for (const ParameterInfo& info : clsBuild::ParameterCatalogue()) {
    const std::string key = params::ParameterKey(info);
    SCOPED_TRACE(key);
    EXPECT_EQ(key, fresh.ParameterKeys()[i++]);  // the window's order
    EXPECT_EQ(clsBuild::ParameterInfo(key), &info);
    const platform::Control& box = window.At(info.name, info.index);
    // A bounded box takes just the characters of its maximum (the README gives the others').
    if (key.starts_with("txt") && std::isfinite(info.maximum)) {
      EXPECT_EQ(box.MaxLength(), std::to_string(static_cast<int>(info.maximum)).size());
    }
    // The Player Cities page is hidden and disabled, but its fields are parameters.
    EXPECT_TRUE(std::string(params::PageCaption(info)) != "Player Cities" || !(box.visible || box.enabled));

    std::smatch match;
    const std::string note = info.rangeNote;
    const std::string lo = std::regex_search(note, match, notBelow) ? match[1].str() : "";
    if (key.starts_with("txt"))
      CatalogueCheckNumberBox(info, key, lo);
    else
      CatalogueCheckChoice(info, key);
    if (!lo.empty()) {  // a Hi given less than its Lo holds the Lo
      clsBuild builder;
      ASSERT_TRUE(builder.SetParameter(lo, "50").Ok());
      ASSERT_TRUE(builder.SetParameter(key, "7").Ok());
      EXPECT_EQ(CatalogueHeld(builder, key), 50);
    }
    if (std::regex_search(note, match, capped)) {
      clsBuild builder;
      ASSERT_TRUE(builder.SetParameter(match[2].str(), "1").Ok());
      ASSERT_TRUE(builder.SetParameter(key, "99").Ok());
      EXPECT_EQ(CatalogueHeld(builder, key), std::stod(match[1].str()));
    }
  }
  EXPECT_EQ(clsBuild::ParameterInfo("txtLandMass(20)"), nullptr);
}

// The README's table of the fields, the lines from its header row to the first line that is
// no table row, against what the command line prints.
TEST(FieldCatalogue, TheReadmesTableIsWhatTheCommandLineLists) {
  const lorvex::testing::CliFolder folder;
  const lorvex::testing::CliRun listed = folder.Run("settings --list");
  ASSERT_EQ(listed.status, 0) << listed.err;
  std::vector<std::string> table;
  for (const std::string& line : lorvex::testing::Lines(lorvex::testing::ReadFile(LORVEX_README_PATH))) {
    if (line.starts_with("| Field | Page | Label |")) table.push_back(line);
    else if (!table.empty() && !line.starts_with("|")) break;
    else if (!table.empty()) table.push_back(line);
  }
  const std::vector<std::string> rows = lorvex::testing::Lines(listed.out);
  ASSERT_EQ(rows.size(), 2u + 103u);
  ASSERT_EQ(table.size(), rows.size()) << "README.md's table of the fields has another length than `lorvex settings --list`";
  for (std::size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(table[i], rows[i]) << "README.md's table of the fields, line " << i + 1 << ", differs from `lorvex settings --list`";
}

}  // namespace
}  // namespace lorvex
