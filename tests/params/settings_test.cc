#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "apps/cli_run.h"
#include "common/random.h"
#include "params/settings_file.h"
#include "support/parameter_values.h"
#include "tests/params/form_fixture.h"
#include "ui/frm_build.h"

namespace lorvex::params {
namespace {

using lorvex::testing::ReadFile;
using lorvex::testing::WriteFile;
using testing::FormFixture;
using testing::InEmptyDirectory;
namespace fs = std::filesystem;

// Save Settings writes one CR LF line per parameter control in control order, hidden ones
// included; Load Settings in a fresh window gives every value back and runs the actions a
// person's changes run.
TEST(SettingsFile, SaveThenLoadGivesBackEveryParameterControl) {
  InEmptyDirectory dir;
  FormFixture saved;
  saved.Type("txtLandMass", 0, "4");
  saved.At("chkLandEqual", 1).SetValue(1);
  saved.At("chkLandPlace", 2).SetValue(1);
  saved.At("chkShape", 5).SetValue(2);
  saved.At("chkAlgorithm", 0).SetValue(0);
  saved.At("cboPlacement", 0).SetListIndex(2);
  saved.At("txtPlace1", 3).SetText("17");
  saved.At("txtPlayerCity", 0).SetText("a(=)");  // a text with the key's own characters
  saved.At("txtPlayerCity", 1).SetText("");
  saved.At("chkPlayerCities", 2).SetValue(1);
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
  for (const char* line : {"\r\nchkShape(5) = 2\r\n", "\r\ncboPlacement(0) = 2\r\n", "\r\ntxtPlayerCity(0) = a(=)\r\n",
                           "\r\ntxtPlayerCity(1) = \r\n", "\r\nchkLandPlace(1) = 0\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;

  FormFixture loaded;
  loaded.platform.QueueFileAnswer("kessett/all.kst");
  ASSERT_TRUE(loaded.form.LoadSettings());
  EXPECT_FALSE(loaded.platform.FileRequests().back().save);
  EXPECT_EQ(loaded.platform.FileRequests().back().flags, 8);
  EXPECT_EQ(checks::FirstDifference(checks::ReadParameterValues(saved.controls),
                                    checks::ReadParameterValues(loaded.controls)), "");
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

// Lines a window cannot take are rejected whole; broken lines, CR line ends, a megabyte line,
// binary garbage and zero bytes load what they can; huge numbers become the number's short
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
  std::string garbage;
  Random bytes(99);
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>(bytes.Item(256));
  const std::string digits(1000, '9');
  const std::string tail = "\ntxtLandMass(1) = 4\ntxtLandMass(2) = \n";
  const std::string files[] = {
      "nothing(0) = 5\r\n\r\ntxtLandMass 3\r\n(\r\n)(\r\n=\r\ntxtLandMass(x) = 9" + tail,
      "txtLandMass(1) = 4\rtxtLandMass(2) = \r",
      "txtPlayerCity(0) = " + std::string(1 << 20, '8') + tail, garbage + tail, std::string(100000, '\0') + tail,
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
    int placement = -2, cityNumber = -2;
    std::string weight, explanation;
    platform.AddModalAction([&](platform::Window&) {
      placement = window.Controls().At("cboPlacement", 0).ListIndex();
      cityNumber = window.Controls().At("cboCityNumber", 0).ListIndex();
      weight = window.Controls().At("txtAlgorithm", 1).Text();
      explanation = window.Controls().At("lblPlaceAlgoExplain", 0).caption;
    });
    HostWorld out;
    window.GetMap(100, 60, false, out);
    EXPECT_EQ(placement, file ? 2 : 0);
    EXPECT_EQ(cityNumber, 0);
    EXPECT_EQ(weight, "1");  // revalidated after the load
    EXPECT_EQ(explanation, kPlacementExplanations[file ? 2 : 0]);
  }
}

}  // namespace
}  // namespace lorvex::params
