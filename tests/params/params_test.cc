#include <algorithm>
#include <cmath>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "common/numbers.h"
#include "common/random.h"
#include "host/cls_build.h"
#include "params/build_parameters.h"
#include "params/settings_file.h"
#include "platform/control.h"
#include "support/parameter_values.h"
#include "tests/params/form_fixture.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;

// The catalogue of the fields against what the fields do, through a builder as a host sets
// them. (Labels, pages, defaults and items: against the window on the screen, tests/qt.)
double CatalogueHeld(const clsBuild& builder, const std::string& key) {
  std::string value;
  EXPECT_TRUE(builder.GetParameter(key, value).Ok()) << key;
  return std::stod(value);
}

// A number box given 0, a far negative and a far positive value (its Lo set to 0 first)
// holds the minimum, or the value's size held to the bounds the catalogue gives.
void CatalogueCheckNumberBox(const ParameterInfo& info, const std::string& key, const std::string& lo) {
  const double most = std::isinf(info.maximum) ? 99999999.0 : info.maximum;
  const std::pair<const char*, double> rows[] = {
      {"0", std::max(std::isinf(info.minimum) ? 0.0 : info.minimum, 0.0)},
      {"-99999999", std::isinf(info.minimum) ? -99999999.0 : most}, {"99999999", most}};
  for (const auto& [given, expected] : rows) {
    clsBuild builder;
    if (!lo.empty()) { ASSERT_TRUE(builder.SetParameter(lo, "0").Ok()); }
    ASSERT_TRUE(builder.SetParameter(key, given).Ok()) << key << " = " << given;
    EXPECT_EQ(CatalogueHeld(builder, key), expected) << key << " = " << given;
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
  const platform::ControlSet window = CreateWindowControls();
  ASSERT_EQ(clsBuild::ParameterCatalogue().size(), fresh.ParameterKeys().size());
  std::size_t i = 0;
  for (const ParameterInfo& info : clsBuild::ParameterCatalogue()) {
    const std::string key = ParameterKey(info);
    SCOPED_TRACE(key);
    EXPECT_EQ(key, fresh.ParameterKeys()[i++]);  // the window's order
    EXPECT_EQ(clsBuild::ParameterInfo(key), &info);
    const platform::Control& box = window.At(info.name, info.index);
    // A bounded box takes just the characters of its maximum (the README gives the others').
    if (key.starts_with("txt") && std::isfinite(info.maximum)) {
      EXPECT_EQ(box.MaxLength(), std::to_string(static_cast<int>(info.maximum)).size());
    }
    // The Player Cities page is hidden and disabled, but its fields are parameters.
    EXPECT_TRUE(std::string(PageCaption(info)) != "Player Cities" || !(box.visible || box.enabled));

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

// The README's table of the fields, from its header row on, against what the command line prints.
TEST(FieldCatalogue, TheReadmesTableIsWhatTheCommandLineLists) {
  const lorvex::testing::CliFolder folder;
  const lorvex::testing::CliRun listed = folder.Run("settings --list");
  ASSERT_EQ(listed.status, 0) << listed.err;
  const std::string readme = lorvex::testing::ReadFile(LORVEX_README_PATH);
  std::vector<std::string> table;
  for (const std::string& line : lorvex::testing::Lines(readme.substr(readme.find("| Field | Page | Label |")))) {
    if (!line.starts_with("|")) break;
    table.push_back(line);
  }
  const std::vector<std::string> rows = lorvex::testing::Lines(listed.out);
  ASSERT_EQ(rows.size(), 2u + 103u);
  EXPECT_EQ(table, rows) << "README.md's table of the fields differs from `lorvex settings --list`";
}

// A box typed into and left: cut to its length, cleaned to the absolute value of its leading
// number, held to its range (the bounds: FieldCatalogue); a Lo above its Hi drags it along,
// a tied Hi follows its Lo both ways.
TEST(FieldValidation, BoxesAreCleanedHeldToTheirRangesAndPaired) {
  const struct { const char* name; int index; std::string typed; const char* tie; const char* left; const char* other; } rows[] = {
      {"txtAlgorithm", 0, "2.5", "", "2.5", ""},     {"txtBlobv2", 2, "-40", "", "40", ""},
      {"txtBlobv2", 0, "-40", "", "10", ""},         // two characters: "-4", 4, raised to 10
      {"txtBlobv2", 1, "12abc", "", "12", ""},       {"txtBlobv2", 3, "", "", "3", ""},
      {"txtLandMass", 18, "1e-9", "", "1E-09", "150"}, {"txtLandMass", 18, "1.255", "", "1.25", "150"},
      {"txtLandMass", 2, "9e99", "", "9E+99", "9E+99"}, {"txtLandMass", 3, std::string(1000, '7'), "", "7777", "400"},
      {"txtTerrain", 0, "12", "", "12", "12"},       {"txtTerrain", 0, "4", "", "4", "10"},
      {"txtTerrain", 0, "4", "chkTerrainEqual", "4", "4"}, {"txtCities", 6, "4", "chkCityEqual", "4", "4"},
      {"txtLandMass", 8, "90", "chkLandEqual", "90", "90"},
  };
  for (const auto& row : rows) {
    FormFixture f;
    if (*row.tie != '\0') f.At(row.tie, std::string(row.tie) == "chkLandEqual" ? 1 : 0).SetValue(1);
    f.Type(row.name, row.index, row.typed);
    const int pair = row.index % 2 == 0 ? row.index + 1 : row.index - 1;
    EXPECT_EQ(f.Text(row.name, row.index), row.left) << row.name << "(" << row.index << ") typed " << row.typed;
    EXPECT_TRUE(*row.other == '\0' || f.Text(row.name, pair) == row.other) << row.name << "(" << pair << ")";
  }
}

// The land figure: lo and hi land over the map's squares in percent, each rounded half to
// even; it follows a land box left and an "=" box of the land masses.
TEST(LandFigure, ShowsTheLandRangeInPercentOfTheMap) {
  const struct { int width, height; std::vector<const char*> tiny; const char* figure; } rows[] = {
      {100, 60, {}, "Land = 46 - 139 % "},  // the defaults: 2775 and 8350 squares
      {100, 60, {"30", "90"}, "Land = 0 - 2 % "},     // 0.5 -> 0, 1.5 -> 2
      {100, 60, {"150", "210"}, "Land = 2 - 4 % "},   // 2.5 -> 2, 3.5 -> 4
      {0, 0, {}, ""},                                  // no map, no share
  };
  for (const auto& row : rows) {
    FormFixture f(row.width, row.height);
    if (!row.tiny.empty()) {
      for (int i = 0; i < 18; ++i) f.At("txtLandMass", i).SetText("0");
      f.At("txtLandMass", 18).SetText(row.tiny[0]);
      f.Type("txtLandMass", 19, row.tiny[1]);
    }
    EXPECT_EQ(f.LandFigure(), row.figure) << row.figure;
    EXPECT_EQ(f.progress.left, f.statusBar.Panel(5).left);  // the progress bar moves with its panel
  }
  FormFixture f;
  f.At("txtLandMass", 19).SetText("1000");
  f.At("chkLandEqual", 1).SetValue(1);
  EXPECT_EQ(f.LandFigure(), "Land = 46 - 71 % ");  // each size Hi tied to its Lo
}

// The per-size boxes of "Evenly Place on Land Masses by Size" under each rule and size
// option: which are shown, the captions of the labels shown, and how many characters the
// boxes take. The box after the last size the option names is headed "Total Remaining".
TEST(CityPlacementFields, ThePerSizeBoxesFollowTheRuleAndTheSizeOption) {
  const struct {
    int rule, option;
    const char* shown;     // lblPlace1Param3(0..4), then txtPlace1(0..3): 1 shown
    const char* captions;  // of the labels shown
    int length;
  } rows[] = {
      {0, 0, "00000 0000", "", 0},  {0, 2, "00000 0000", "", 0},
      {1, 0, "11100 1100", "Percent per Size:/Large/Total Remaining/", 2},
      {1, 1, "11110 1110", "Percent per Size:/Large/Medium/Total Remaining/", 2},
      {1, 2, "11111 1111", "Percent per Size:/Large/Medium/Small/Tiny Islands/", 2},
      {2, 0, "11100 1100", "Num per Land Mass:/Large/Total Remaining/", 4},
      {2, 1, "11110 1110", "Num per Land Mass:/Large/Medium/Total Remaining/", 4},
      {2, 2, "11111 1111", "Num per Land Mass:/Large/Medium/Small/Tiny Islands/", 4},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("rule " + std::to_string(row.rule) + ", option " + std::to_string(row.option));
    FormFixture f;
    f.At("cboPlacement", 0).SetListIndex(1);
    f.At("cboPlace1Param2", 0).SetListIndex(2 - row.rule);  // a change from another rule
    f.At("cboPlace1Param1", 0).SetListIndex(row.option);
    f.At("cboPlace1Param2", 0).SetListIndex(row.rule);
    std::string shown, captions;
    for (int i = 0; i <= 4; ++i) {
      const platform::Control& label = f.At("lblPlace1Param3", i);
      shown += label.visible ? '1' : '0';
      if (label.visible) captions += label.caption + "/";
    }
    shown += ' ';
    for (int i = 0; i <= 3; ++i) shown += f.At("txtPlace1", i).visible ? '1' : '0';
    EXPECT_EQ(shown, row.shown);
    EXPECT_EQ(captions, row.captions);
    for (int i = 0; i <= 3 && row.rule != 0; ++i) EXPECT_EQ(f.At("txtPlace1", i).MaxLength(), row.length) << i;
    EXPECT_EQ(f.At("lblPlaceAlgoExplain", 0).caption.find("The same number of cities will be placed on each"), 0u);
    // Cities given per land mass replace the world count by the note, and only then.
    EXPECT_EQ(f.At("lblCityNumParams", 0).visible, row.rule == 2);
    EXPECT_EQ(f.At("txtCities", 0).visible, row.rule != 2);
    EXPECT_EQ(f.At("cboCityNumber", 0).visible, row.rule != 2);
  }
}

double Land(FormFixture& f, int index) { return ReadFieldNumber(f.Text("txtLandMass", index)); }

// On 30 000 squares Recommend keeps the land within 10 to 61 % and the tiny islands under
// 10 % of it, the sizes falling strictly from class to class and every Lo at most its Hi;
// it clears the "=" boxes and changes no field but the land grid's numbers and sizes.
TEST(Recommend, FitsTheMapAndChangesOnlyTheLandGrid) {
  const auto others = [](FormFixture& f) {
    checks::ParameterValues values = checks::ReadParameterValues(f.controls);
    std::erase_if(values, [](const auto& v) {
      return v.first.find("Equal") != std::string::npos ||
             (v.first.starts_with("txtLandMass(") && std::stoi(v.first.substr(12)) % 6 < 4);
    });
    return values;
  };
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    FormFixture f(200, 150, seed);
    f.At("cmdSetEqualAll", 0).Click();
    f.At("txtLandMass", 4).SetText("9");
    f.At("txtCities", 0).SetText("123");
    const checks::ParameterValues before = others(f);
    ASSERT_TRUE(f.form.cmdDefaults_Click()) << seed;
    const int falling[] = {3, 2, 9, 8, 15, 14};
    for (int k = 0; k < 5; ++k) EXPECT_GT(Land(f, falling[k]), Land(f, falling[k + 1])) << seed;
    for (int lo : {0, 6, 12, 18}) EXPECT_LE(Land(f, lo), Land(f, lo + 1)) << seed;
    const double lo = Land(f, 0) * Land(f, 2) + Land(f, 6) * Land(f, 8) + Land(f, 12) * Land(f, 14) + Land(f, 18);
    const double hi = Land(f, 1) * Land(f, 3) + Land(f, 7) * Land(f, 9) + Land(f, 13) * Land(f, 15) + Land(f, 19);
    EXPECT_GE(lo, 0.09 * 30000) << seed;
    EXPECT_LE(hi, 0.62 * 30000) << seed;
    EXPECT_LT(Land(f, 19), 0.1 * hi) << seed;
    EXPECT_EQ(checks::FirstDifference(others(f), before), "") << seed;
    for (const char* box : {"chkLandEqual", "chkTerrainEqual", "chkCityEqual"})
      for (platform::Control* c : f.controls.Array(box)) EXPECT_EQ(c->Value(), 0) << c->Key();
  }
}

// Large gets masses of its own only from 400 squares of Large land Lo up (below, its land
// goes to Medium and Small), Medium only from 200. Each class's land is worked out here from
// the window's first draws by the land and share rules alone; a folded class shows numbers
// 0 and the sizes 800 .. 1000 (Large) or 200 .. 500 (Medium).
TEST(Recommend, FoldsLargeAndMediumLandAwayJustBelowTheirThresholds) {
  int seen[2][2] = {{0, 0}, {0, 0}};  // [Large, Medium][kept, folded] near the threshold
  for (int side = 40; side <= 90; side += 5)
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
      Random r(seed);
      const double squares = side * side;
      const auto round = [](double v) { return std::nearbyint(v); };
      double landLo = 0, landHi = 0;
      do {
        landLo = round((31 * r.Next() + 10) / 100 * squares);
        landHi = round((36 * r.Next() + 25) / 100 * squares);
      } while (landHi - landLo <= 0.1 * squares);
      double pL = 0, pM = 0, pS = 0;
      do {
        pL = std::floor(21 * r.Next()) + 40;
        pM = std::floor(16 * r.Next()) + 25;
        const double pT = std::floor((0.1 * landHi > 400 ? round(40000 / landHi) : 11) * r.Next());
        pS = 100 - pL - pM - pT;
      } while (pS < 10 || pS > 30);
      const double largeLo = round(pL / 100 * landLo);
      double mediumLo = round(pM / 100 * landLo);
      if (largeLo < 400) mediumLo = round(pM / (pM + pS) * largeLo + mediumLo);
      FormFixture f(side, side, seed);
      if (!f.form.cmdDefaults_Click()) continue;
      const auto folded = [&](int first, const char* lo, const char* hi) {
        return f.Text("txtLandMass", first) == "0" && f.Text("txtLandMass", first + 1) == "0" &&
               f.Text("txtLandMass", first + 2) == lo && f.Text("txtLandMass", first + 3) == hi;
      };
      const std::string what = std::to_string(side) + " x " + std::to_string(side) + ", seed " + std::to_string(seed);
      EXPECT_EQ(folded(0, "800", "1000"), largeLo < 400) << what << ": Large land " << largeLo;
      EXPECT_EQ(folded(6, "200", "500"), mediumLo < 200) << what << ": Medium land " << mediumLo;
      if (std::abs(largeLo - 400) <= 10) ++seen[0][largeLo < 400];
      if (std::abs(mediumLo - 200) <= 10) ++seen[1][mediumLo < 200];
    }
  for (const auto& classSeen : seen) EXPECT_GE(std::min(classSeen[0], classSeen[1]), 3);
}

// Name before the first "(", index between it and the first ")" (rounded half to even),
// value from two characters after the first "="; lines without that shape are skipped. CR
// LF, CR alone and LF alone each end a line; the last line needs none; a line longer than
// the limit is cut and the next one still read; lines past the count limit are dropped.
TEST(SettingsLineParser, FindsNameIndexAndValueAndReadsEveryLineEnd) {
  const struct { const char* line; const char* name; int index; const char* value; } cases[] = {
      {"txtLandMass(2) = 400", "txtLandMass", 2, "400"},
      {"txtX(1) = a(b)=c", "txtX", 1, "a(b)=c"},
      {"txtX(1) =", "txtX", 1, ""},
      {"txtX(1) =7", "txtX", 1, ""},  // the value starts two after the "="
      {"txtX(1) =  7", "txtX", 1, " 7"},
      {"txtX(2.5) = 1", "txtX", 2, "1"},
      {"txtX(3.5) = 1", "txtX", 4, "1"},
      {"txtX( 3 ) = 1", "txtX", 3, "1"},
      {"txtX(99999999999) = 1", "txtX", 2147483647, "1"},
  };
  for (const auto& c : cases) {
    const std::optional<SettingsLine> parsed = ParseSettingsLine(c.line);
    ASSERT_TRUE(parsed.has_value()) << c.line;
    EXPECT_EQ(parsed->name, c.name) << c.line;
    EXPECT_EQ(parsed->index, c.index) << c.line;
    EXPECT_EQ(parsed->value, c.value) << c.line;
  }
  for (const char* line : {"", "txtX(1) 7", "txtX 1) = 7", "txtX(1 = 7", ")txtX( = 7", "txtX(abc) = 7", "txtX() = 7",
                           "txtX(3abc) = 7"})
    EXPECT_FALSE(ParseSettingsLine(line).has_value()) << line;
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

// Save Settings writes one CR LF line per parameter control in control order, hidden ones
// included; Load Settings in a fresh window runs the actions a person's changes run.
TEST(SettingsFile, SaveThenLoadGivesBackEveryParameterControl) {
  testing::InEmptyDirectory dir;
  FormFixture saved;
  saved.Type("txtLandMass", 0, "4");
  saved.At("chkLandEqual", 1).SetValue(1);
  saved.At("chkLandPlace", 2).SetValue(1);
  saved.At("chkAlgorithm", 0).SetValue(0);
  saved.At("cboPlacement", 0).SetListIndex(2);
  saved.platform.QueueFileAnswer("kessett/all.kst");
  ASSERT_TRUE(saved.form.SaveSettings());
  const platform::FileDialogRequest save = saved.platform.FileRequests().back();
  EXPECT_EQ(std::make_tuple(save.save, save.defaultExt, save.initDir, save.filter, save.filterIndex, save.flags),
            std::make_tuple(true, std::string("kst"), std::string("kessett"),
                            std::string("Kestrin's Settings (*.kst)|*.kst"), 1, 10));
  const std::string text = lorvex::testing::ReadFile("kessett/all.kst");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kParameterControlCount);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), kParameterControlCount);
  EXPECT_EQ(text.substr(0, 40), "txtLandMass(0) = 4\r\ntxtLandMass(1) = 5\r\n");

  FormFixture loaded;
  loaded.platform.QueueFileAnswer("kessett/all.kst");
  ASSERT_TRUE(loaded.form.LoadSettings());
  EXPECT_FALSE(loaded.platform.FileRequests().back().save);
  EXPECT_EQ(loaded.platform.FileRequests().back().flags, 8);
  EXPECT_TRUE(loaded.At("txtLandMass", 19).locked && !loaded.At("chkLandPlace", 1).enabled &&
              !loaded.At("txtBlobv2", 0).enabled && loaded.At("fraPlaceParams", 2).visible);
  // After a load through the dialog, a cancelled one (an empty name) changes nothing: no
  // field is loaded again or revalidated.
  loaded.At("chkShape", 5).SetValue(0);
  loaded.At("txtAlgorithm", 0).SetText("0");
  const checks::ParameterValues before = checks::ReadParameterValues(loaded.controls);
  loaded.platform.QueueFileAnswer("");
  loaded.At("cmdLoad", 0).Click();
  EXPECT_EQ(checks::FirstDifference(before, checks::ReadParameterValues(loaded.controls)), "");
}

// Lines for no parameter are rejected; broken lines, CR line ends and a megabyte line load
// what they can; huge numbers become the number's short text (txtPlace1 is not revalidated);
// an "=" box loaded before its Hi lines ties them again.
TEST(SettingsFile, OddFilesLoadWhatTheyCan) {
  FormFixture f;
  const struct { const char* line; bool taken; int placement; } lines[] = {  // the ranges: FieldCatalogue
      {"cboPlacement(0) = 2", true, 2}, {"cboPlacement(0) = 2.5", true, 2}, {"cboPlacement(0) = 0.5", true, 0},
      {"chkShape(24) = 1", false, 0},   {"cmdBuild(0) = 1", false, 0}};
  for (const auto& row : lines) {
    EXPECT_EQ(f.form.ApplySettingsLine(row.line), row.taken) << row.line;
    EXPECT_EQ(f.At("cboPlacement", 0).ListIndex(), row.placement) << row.line;
  }
  testing::InEmptyDirectory dir;
  const std::string digits(1000, '9');
  const std::string tail = "\ntxtLandMass(1) = 4\ntxtLandMass(2) = \n";
  const std::string files[] = {
      "nothing(0) = 5\r\n\r\ntxtLandMass 3\r\n(\r\n)(\r\n=\r\ntxtLandMass(x) = 9" + tail,
      "txtPlayerCity(0) = " + std::string(1 << 20, '8') + tail,
      "chkTerrainEqual(0) = 1\ntxtTerrain(0) = 7\ntxtTerrain(1) = 30\ntxtLandMass(3) = " + digits +
          "\ntxtCities(0) = 9e99\ntxtPlace1(0) = " + digits + tail};
  for (const std::string& file : files) {
    FormFixture g;
    lorvex::testing::WriteFile("odd.kst", file);
    ASSERT_TRUE(g.form.LoadSettingsFile("odd.kst")) << file.substr(0, 40);
    EXPECT_EQ(g.Text("txtLandMass", 0) + " " + g.Text("txtLandMass", 1) + " " + g.Text("txtLandMass", 2), "3 4 0");
    for (const platform::Control& box : g.controls.All())
      EXPECT_LE(box.Text().size(), std::max(platform::Control::kMostTextLength, kMaxSettingsLineLength));
  }
  FormFixture tied;
  ASSERT_TRUE(tied.form.LoadSettingsFile("odd.kst"));
  EXPECT_EQ(tied.Text("txtTerrain", 1), "7");
  EXPECT_EQ(tied.Text("txtLandMass", 3), "1.79769313486232E+308");
  EXPECT_EQ(tied.Text("txtCities", 0), "9E+99");
  EXPECT_EQ(tied.Text("txtPlace1", 0), digits);
  EXPECT_TRUE(std::isfinite(ParameterView(tied.controls).Number("txtPlace1", 0)));
}

}  // namespace
}  // namespace lorvex::params
