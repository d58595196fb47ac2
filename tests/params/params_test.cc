#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "common/numbers.h"
#include "common/random.h"
#include "params/build_parameters.h"
#include "params/settings_file.h"
#include "platform/control.h"
#include "support/parameter_values.h"
#include "tests/params/form_fixture.h"
#include "ui/frm_build.h"

namespace lorvex::params {
namespace {

// The parameter catalogue: every parameter control in the window's order, with its default
// and the most characters a person may type into it.
std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

TEST(Catalogue, EveryParameterControlInOrderWithItsDefaultAndLength) {
  // One row per control array, in control order: defaults (text, check-box value or list
  // index; -1 is nothing selected) and maximum lengths of its elements from index 0.
  const struct { const char* name; const char* defaults; const char* lengths; } arrays[] = {
      {"txtLandMass", "3 5 400 600 5 8 8 12 150 300 3 5 15 20 20 80 2 3 75 150",
       "3 3 4 4 2 2 3 3 3 3 2 2 3 3 3 3 2 2 4 4"},
      {"chkLandEqual", "0 0 0", ""},
      {"chkLandPlace", "0 0 0", ""},
      {"txtTerrain", "5 10 5 10 5 10 5 10", "2 2 2 2 2 2 2 2"},
      {"chkTerrainEqual", "0", ""},
      {"cboCityNumber", "-1", ""},
      {"txtCities", "100 150 75 200 10 15 60 75", "4 4 3 3 2 2 2 2"},
      {"chkCityEqual", "0", ""},
      {"cboPlacement", "-1", ""},
      {"cboPlace1Param1", "-1", ""},
      {"cboPlace1Param2", "-1", ""},
      {"txtPlace1", "35 25 20 20", "2 2 2 2"},
      {"cboPlace2Param1", "-1", ""},
      {"txtPlayerCity", "1 1 1 1 1 1", "4 3 2 2 2 2"},
      {"chkPlayerCities", "0 0 0", ""},
      {"chkAlgorithm", "1 1 1", ""},
      {"txtAlgorithm", "1 1 1", "3 3 3"},
      {"txtBlobv2", "40 15 50 15", "2 2 3 2"},
      {"txtBlobv3", "6 25 50 15", "2 2 3 2"},
      {"txtShape", "80 30 15", "3 2 2"},
      {"chkShape", "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", ""},
  };
  const platform::ControlSet set = CreateWindowControls();
  std::vector<const platform::Control*> parameters;
  for (const platform::Control& c : set.All())
    if (platform::IsParameterKind(c.Kind())) parameters.push_back(&c);
  ASSERT_EQ(parameters.size(), static_cast<std::size_t>(kParameterControlCount));
  std::size_t k = 0;
  for (const auto& array : arrays) {
    const std::vector<std::string> defaults = Words(array.defaults), lengths = Words(array.lengths);
    for (std::size_t index = 0; index < defaults.size(); ++index, ++k) {
      ASSERT_LT(k, parameters.size());
      const platform::Control& c = *parameters[k];
      EXPECT_EQ(c.Key(), std::string(array.name) + "(" + std::to_string(index) + ")");
      const std::string value = c.Kind() == platform::ControlKind::kNumberBox ? c.Text()
                                : c.Kind() == platform::ControlKind::kCheckBox ? std::to_string(c.Value())
                                                                               : std::to_string(c.ListIndex());
      EXPECT_EQ(value, defaults[index]) << c.Key();
      if (!lengths.empty()) {
        EXPECT_EQ(std::to_string(c.MaxLength()), lengths[index]) << c.Key();
      }
      // The Player Cities page is hidden and disabled, but its controls are parameters.
      if (std::string(array.name).find("Player") != std::string::npos) {
        EXPECT_FALSE(c.visible || c.enabled) << c.Key();
      }
    }
  }
  EXPECT_EQ(k, parameters.size());
  EXPECT_EQ(set.At("cboPlacement", 0).items,
            (std::vector<std::string>{"Randomly Place Cities Throughout", "Evenly Place on Land Masses by Size",
                                      "Propotionately Place on Land Masses"}));
  EXPECT_EQ(set.At("cboCityNumber", 0).items,
            (std::vector<std::string>{"Specify", "Calculate (Land)", "Calculate (Map)"}));
}


using testing::FormFixture;

// A box typed into and left: cleaned to the absolute value of its leading number and held to
// its range (each field's bounds: catalogue_test.cc); a Lo above its Hi drags it along, a tied
// Hi follows its Lo both ways. A box holds what a person can type into it (a program's text
// is held whole: see the odd files).
TEST(FieldValidation, BoxesAreCleanedHeldToTheirRangesAndPaired) {
  const struct { const char* name; int index; std::string typed; const char* tie; const char* left; const char* other; } rows[] = {
      {"txtAlgorithm", 0, "2.5", "", "2.5", ""},     {"txtBlobv2", 2, "-40", "", "40", ""},
      {"txtBlobv2", 0, "-40", "", "10", ""},         // two characters: "-4", 4, raised to 10
      {"txtBlobv2", 1, "12abc", "", "12", ""},       {"txtBlobv2", 3, "", "", "3", ""},
      {"txtShape", 0, "9e9", "", "100", ""},
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
      {100, 60, {"90", "150"}, "Land = 2 - 2 % "},    // 1.5 -> 2, 2.5 -> 2
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
    EXPECT_EQ(f.progress.left, f.statusBar.Panel(5).left);
  }
  FormFixture f;
  f.At("txtLandMass", 19).SetText("1000");
  f.At("chkLandEqual", 1).SetValue(1);
  EXPECT_EQ(f.LandFigure(), "Land = 46 - 71 % ");  // each size Hi tied to its Lo
}



// The per-size boxes of "Evenly Place on Land Masses by Size" under each rule and size
// option: which are shown, their head and column labels, and how many characters they take.
// The box after the last size the option names is headed "Total Remaining".
TEST(CityPlacementFields, ThePerSizeBoxesFollowTheRuleAndTheSizeOption) {
  const struct {
    int rule, option;
    const char* shown;   // lblPlace1Param3(0..4), then txtPlace1(0..3): 1 shown
    const char* head;    // lblPlace1Param3(0)
    const char* second;  // lblPlace1Param3(2)
    const char* third;   // lblPlace1Param3(3), when shown
    int length;
  } rows[] = {
      {0, 0, "00000 0000", "", "", "", 0},  {0, 2, "00000 0000", "", "", "", 0},
      {1, 0, "11100 1100", "Percent per Size:", "Total Remaining", "", 2},
      {1, 1, "11110 1110", "Percent per Size:", "Medium", "Total Remaining", 2},
      {1, 2, "11111 1111", "Percent per Size:", "Medium", "Small", 2},
      {2, 0, "11100 1100", "Num per Land Mass:", "Total Remaining", "", 4},
      {2, 1, "11110 1110", "Num per Land Mass:", "Medium", "Total Remaining", 4},
      {2, 2, "11111 1111", "Num per Land Mass:", "Medium", "Small", 4},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("rule " + std::to_string(row.rule) + ", option " + std::to_string(row.option));
    FormFixture f;
    f.At("cboPlacement", 0).SetListIndex(1);
    f.At("cboPlace1Param2", 0).SetListIndex(2 - row.rule);  // a change from another rule
    f.At("cboPlace1Param1", 0).SetListIndex(row.option);
    f.At("cboPlace1Param2", 0).SetListIndex(row.rule);
    std::string shown;
    for (int i = 0; i <= 4; ++i) shown += f.At("lblPlace1Param3", i).visible ? '1' : '0';
    shown += ' ';
    for (int i = 0; i <= 3; ++i) shown += f.At("txtPlace1", i).visible ? '1' : '0';
    EXPECT_EQ(shown, row.shown);
    if (row.length == 0) continue;
    EXPECT_EQ(f.At("lblPlace1Param3", 0).caption, row.head);
    EXPECT_EQ(f.At("lblPlace1Param3", 1).caption, "Large");
    EXPECT_EQ(f.At("lblPlace1Param3", 2).caption, row.second);
    if (*row.third != '\0') { EXPECT_EQ(f.At("lblPlace1Param3", 3).caption, row.third); }
    if (row.option == 2) { EXPECT_EQ(f.At("lblPlace1Param3", 4).caption, "Tiny Islands"); }
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(f.At("txtPlace1", i).MaxLength(), row.length) << i;
    // Cities given per land mass replace the world count by the note, and only then.
    EXPECT_EQ(f.At("lblCityNumParams", 0).visible, row.rule == 2);
    EXPECT_EQ(f.At("txtCities", 0).visible, row.rule != 2);
    EXPECT_EQ(f.At("cboCityNumber", 0).visible, row.rule != 2);
  }
}

double Land(FormFixture& f, int index) { return ReadFieldNumber(f.Text("txtLandMass", index)); }

// Every parameter's state but those Recommend may change: the numbers and sizes of the
// land grid, and the "=" boxes (which it clears).
std::vector<std::string> Texts(FormFixture& f) {
  std::vector<std::string> texts;
  for (const platform::Control& c : f.controls.All()) {
    if (!platform::IsParameterKind(c.Kind())) continue;
    const bool landFigure = c.Name() == "txtLandMass" && c.Index() % 6 < 4;
    if (landFigure || c.Name().find("Equal") != std::string::npos) continue;
    texts.push_back(c.Key() + "=" + c.Text() + std::to_string(c.Value()) + std::to_string(c.ListIndex()));
  }
  return texts;
}

// The six sizes fall strictly from class to class, each class's numbers are ordered.
void ExpectConsistent(FormFixture& f, std::uint64_t seed) {
  const int falling[] = {3, 2, 9, 8, 15, 14};
  for (int k = 0; k < 5; ++k) EXPECT_GT(Land(f, falling[k]), Land(f, falling[k + 1])) << seed;
  for (int row = 0; row < 3; ++row) EXPECT_LE(Land(f, 6 * row), Land(f, 6 * row + 1)) << seed;
  EXPECT_LE(Land(f, 18), Land(f, 19)) << seed;
}

// On 100 squares there is no room for Large or Medium masses: numbers 0, sizes 800 .. 1000
// and 200 .. 500, all other land Small. On 30 000 squares the land stays within 10 to 61 %
// and the tiny islands under 10 % of it. Either way the equal boxes are cleared, the sea
// borders and every other field kept.
TEST(Recommend, FitsTheMapAndChangesOnlyTheLandGrid) {
  int tinyRecommended = 0;
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    FormFixture tiny(10, 10, seed);
    if (tiny.form.cmdDefaults_Click()) {
      ++tinyRecommended;
      ExpectConsistent(tiny, seed);
      for (const auto& [index, text] : std::vector<std::pair<int, const char*>>{
               {0, "0"}, {1, "0"}, {2, "800"}, {3, "1000"}, {6, "0"}, {7, "0"}, {8, "200"}, {9, "500"}})
        EXPECT_EQ(tiny.Text("txtLandMass", index), text) << seed;
    }
    FormFixture large(200, 150, seed);
    large.At("cmdSetEqualAll", 0).Click();
    large.At("txtLandMass", 4).SetText("9");
    large.At("txtCities", 0).SetText("123");
    const std::vector<std::string> others = Texts(large);
    ASSERT_TRUE(large.form.cmdDefaults_Click()) << seed;
    ExpectConsistent(large, seed);
    const double lo = Land(large, 0) * Land(large, 2) + Land(large, 6) * Land(large, 8) + Land(large, 12) * Land(large, 14) + Land(large, 18);
    const double hi = Land(large, 1) * Land(large, 3) + Land(large, 7) * Land(large, 9) + Land(large, 13) * Land(large, 15) + Land(large, 19);
    EXPECT_GE(lo, 0.09 * 30000) << seed;
    EXPECT_LE(hi, 0.62 * 30000) << seed;
    EXPECT_LT(Land(large, 19), 0.1 * hi) << seed;
    EXPECT_EQ(Texts(large), others) << seed;
    for (const char* box : {"chkLandEqual", "chkTerrainEqual", "chkCityEqual"})
      for (platform::Control* c : large.controls.Array(box)) EXPECT_EQ(c->Value(), 0) << c->Key();
  }
  EXPECT_GE(tinyRecommended, 190);  // the Small masses nearly always fit at once
}


// The thresholds of Recommend, at their edge: Large gets masses of its own only from 400
// squares of Large land Lo up (below, its land goes to Medium and Small), Medium only from
// 200. The land of each class is worked out here from the window's first draws by the
// land and share rules alone (the draws the masses' numbers take come after them); the
// fields show whether the class was folded: numbers 0 and the sizes 800 .. 1000 or
// 200 .. 500.
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
      {"txtX(1) = ", "txtX", 1, ""},
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


using lorvex::testing::ReadFile;
using lorvex::testing::WriteFile;
using testing::InEmptyDirectory;
namespace fs = std::filesystem;

// Save Settings writes one CR LF line per parameter control in control order, hidden ones
// included; Load Settings in a fresh window runs the actions a person's changes run. (The
// settings fuzz target saves and loads any values.)
TEST(SettingsFile, SaveThenLoadGivesBackEveryParameterControl) {
  InEmptyDirectory dir;
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
  const std::string text = ReadFile("kessett/all.kst");
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

// Lines a window cannot take are rejected whole; broken lines, CR line ends and a megabyte
// line load what they can (the settings fuzz target loads any bytes); huge numbers become the number's short
// text (txtPlace1 is not revalidated); an "=" box loaded before its Hi lines ties them again.
TEST(SettingsFile, OddFilesLoadWhatTheyCan) {
  FormFixture f;
  const struct { const char* line; bool taken; int placement; } lines[] = {
      {"cboPlacement(0) = 2", true, 2},  {"cboPlacement(0) = 3", false, 2}, {"cboPlacement(0) = -2", false, 2},
      {"cboPlacement(0) = 0.5", true, 0}, {"cboPlacement(0) = -1", true, -1}, {"chkShape(3) = 7", false, -1},
      {"chkShape(24) = 1", false, -1},    {"cmdBuild(0) = 1", false, -1}};
  for (const auto& row : lines) {
    EXPECT_EQ(f.form.ApplySettingsLine(row.line), row.taken) << row.line;
    EXPECT_EQ(f.At("cboPlacement", 0).ListIndex(), row.placement) << row.line;
  }
  EXPECT_EQ(f.At("chkShape", 3).Value(), 1);
  InEmptyDirectory dir;
  const std::string digits(1000, '9');
  const std::string tail = "\ntxtLandMass(1) = 4\ntxtLandMass(2) = \n";
  const std::string files[] = {
      "nothing(0) = 5\r\n\r\ntxtLandMass 3\r\n(\r\n)(\r\n=\r\ntxtLandMass(x) = 9" + tail,
      "txtPlayerCity(0) = " + std::string(1 << 20, '8') + tail,
      "chkTerrainEqual(0) = 1\ntxtTerrain(0) = 7\ntxtTerrain(1) = 30\ntxtLandMass(3) = " + digits +
          "\ntxtCities(0) = 9e99\ntxtPlace1(0) = " + digits + tail};
  for (const std::string& file : files) {
    FormFixture g;
    WriteFile("odd.kst", file);
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

// kessett/default.kst is applied each time the window opens; without it every selection
// box starts at its first item.
TEST(DefaultSettings, TheDefaultFileIsAppliedWhenTheWindowOpens) {
  InEmptyDirectory dir;
  for (const bool file : {false, true}) {
    if (file) {
      fs::create_directory("kessett");
      WriteFile("kessett/default.kst", "cboPlacement(0) = 2\r\ntxtAlgorithm(1) = 0\r\n");
    }
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    int placement = -2;
    std::string weight, explanation;
    platform.AddModalAction([&](platform::Window&) {
      placement = window.Controls().At("cboPlacement", 0).ListIndex();
      weight = window.Controls().At("txtAlgorithm", 1).Text();
      explanation = window.Controls().At("lblPlaceAlgoExplain", 0).caption;
    });
    HostWorld out;
    window.GetMap(100, 60, false, out);
    EXPECT_EQ(placement, file ? 2 : 0);
    EXPECT_EQ(weight, "1");  // revalidated after the load
    EXPECT_EQ(explanation, kPlacementExplanations[file ? 2 : 0]);
  }
}

}  // namespace
}  // namespace lorvex::params
