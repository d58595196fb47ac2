#include <cmath>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "common/atomic_file.h"
#include "common/random.h"
#include "params/settings_file.h"
#include "tests/params/form_fixture.h"
#include "ui/frm_build.h"

namespace lorvex::params {
namespace {

using testing::FormFixture;
using testing::InEmptyDirectory;
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The state of every parameter control, keyed Name(Index).
std::map<std::string, std::string> Snapshot(const platform::ControlSet& controls) {
  std::map<std::string, std::string> out;
  for (const platform::Control& c : controls.All())
    if (platform::IsParameterKind(c.Kind())) out[c.Key()] = FormatSettingsLine(c);
  return out;
}

// Every parameter control away from its default, in a combination the validators keep.
void ChangeEveryParameter(FormFixture& f) {
  for (int i = 0; i < 3; ++i) f.At("chkLandEqual", i).SetValue(1);
  f.At("chkLandPlace", 0).SetValue(1);
  f.At("chkLandPlace", 2).SetValue(1);  // (1) stays unchecked: the two exclude each other
  f.At("chkTerrainEqual", 0).SetValue(1);
  f.At("chkCityEqual", 0).SetValue(1);
  for (int i = 0; i < 3; ++i) f.At("chkPlayerCities", i).SetValue(1);
  for (int i = 0; i < 3; ++i) f.At("chkAlgorithm", i).SetValue(0);
  for (int i = 0; i < kShapeCount; ++i) f.At("chkShape", i).SetValue(i == 5 ? 2 : 0);
  f.At("cboCityNumber", 0).SetListIndex(2);
  f.At("cboPlacement", 0).SetListIndex(2);
  f.At("cboPlace1Param1", 0).SetListIndex(1);
  f.At("cboPlace1Param2", 0).SetListIndex(2);
  f.At("cboPlace2Param1", 0).SetListIndex(1);
  for (int k = 0; k < 10; ++k) {
    const std::string text = k == 0 ? "4" : std::to_string(21 + k);
    f.At("txtLandMass", 2 * k).SetText(text);
    f.At("txtLandMass", 2 * k + 1).SetText(text);
  }
  for (int k = 0; k < 4; ++k) {
    for (int h = 0; h < 2; ++h) {
      f.At("txtTerrain", 2 * k + h).SetText(std::to_string(31 + k));
      f.At("txtCities", 2 * k + h).SetText(std::to_string(41 + k));
    }
    f.At("txtPlace1", k).SetText(std::to_string(11 + k));
  }
  for (int i = 0; i < 6; ++i) f.At("txtPlayerCity", i).SetText(std::to_string(2 + i));
  const char* algorithm[] = {"50", "60", "70"};
  const char* blobv2[] = {"20", "4", "31", "5"};
  const char* blobv3[] = {"4", "16", "31", "4"};
  const char* shape[] = {"61", "11", "4"};
  for (int i = 0; i < 3; ++i) f.At("txtAlgorithm", i).SetText(algorithm[i]);
  for (int i = 0; i < 4; ++i) f.At("txtBlobv2", i).SetText(blobv2[i]);
  for (int i = 0; i < 4; ++i) f.At("txtBlobv3", i).SetText(blobv3[i]);
  for (int i = 0; i < 3; ++i) f.At("txtShape", i).SetText(shape[i]);
  f.form.RevalidateAll();
}

TEST(SettingsFile, SaveThenLoadGivesBackEveryParameterControl) {
  InEmptyDirectory dir;
  FormFixture saved;
  ChangeEveryParameter(saved);
  const auto expected = Snapshot(saved.controls);
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(kParameterControlCount));
  // The test means something only if the saved state differs from a fresh window's.
  const auto fresh = Snapshot(FormFixture().controls);
  int same = 0;
  for (const auto& [key, line] : expected) same += fresh.at(key) == line ? 1 : 0;
  EXPECT_EQ(same, 1);  // chkLandPlace(1)

  saved.platform.QueueFileAnswer("kessett/all.kst");
  ASSERT_TRUE(saved.form.SaveSettings());
  const platform::FileDialogRequest& request = saved.platform.FileRequests().back();
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.defaultExt, "kst");
  EXPECT_EQ(request.initDir, "kessett");
  EXPECT_EQ(request.filter, "Kestrin's Settings (*.kst)|*.kst");
  EXPECT_EQ(request.filterIndex, 1);
  EXPECT_EQ(request.flags, 10);

  // One CRLF line per parameter control, in control order.
  const std::string text = ReadFile("kessett/all.kst");
  std::string lines;
  for (const platform::Control& c : saved.controls.All())
    if (platform::IsParameterKind(c.Kind())) lines += FormatSettingsLine(c) + "\r\n";
  EXPECT_EQ(text, lines);
  EXPECT_EQ(text.substr(0, 40), "txtLandMass(0) = 4\r\ntxtLandMass(1) = 4\r\n");
  EXPECT_NE(text.find("\r\nchkShape(5) = 2\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\ncboPlacement(0) = 2\r\n"), std::string::npos);

  FormFixture loaded;
  loaded.platform.QueueFileAnswer("kessett/all.kst");
  ASSERT_TRUE(loaded.form.LoadSettings());
  EXPECT_FALSE(loaded.platform.FileRequests().back().save);
  EXPECT_EQ(loaded.platform.FileRequests().back().flags, 8);
  EXPECT_EQ(Snapshot(loaded.controls), expected);
  // Loading ran the actions a person's changes run.
  EXPECT_TRUE(loaded.At("txtLandMass", 19).locked);
  EXPECT_TRUE(loaded.At("txtCities", 7).locked);
  EXPECT_FALSE(loaded.At("chkLandPlace", 1).enabled);
  EXPECT_FALSE(loaded.At("txtBlobv2", 0).enabled);
  EXPECT_TRUE(loaded.At("fraPlaceParams", 2).visible);
}

TEST(SettingsFile, ButtonsMakeTheSettingsFolderAndCancelChangesNothing) {
  InEmptyDirectory dir;
  FormFixture f;
  f.At("cmdSave", 0).Click();  // no answer queued: cancelled
  EXPECT_TRUE(fs::is_directory("kessett"));
  EXPECT_TRUE(fs::is_empty("kessett"));
  fs::remove_all("kessett");
  f.platform.QueueFileAnswer("");  // an empty name counts as cancelled
  f.At("cmdLoad", 0).Click();
  EXPECT_TRUE(fs::is_directory("kessett"));

  f.platform.QueueFileAnswer("kessett/a.kst");
  f.At("cmdSave", 0).Click();
  const std::string saved = ReadFile("kessett/a.kst");
  f.At("txtLandMass", 0).SetText("2");
  f.platform.QueueFileAnswer("kessett/a.kst");
  f.At("cmdLoad", 0).Click();
  EXPECT_EQ(f.Text("txtLandMass", 0), "3");

  // Cancelled after an earlier save and load through the same dialog.
  f.At("txtLandMass", 0).SetText("2");
  const auto before = Snapshot(f.controls);
  f.At("cmdLoad", 0).Click();
  f.At("cmdSave", 0).Click();
  EXPECT_EQ(Snapshot(f.controls), before);
  EXPECT_EQ(ReadFile("kessett/a.kst"), saved);
  EXPECT_EQ(std::distance(fs::directory_iterator("kessett"), fs::directory_iterator()), 1);
  EXPECT_EQ(f.platform.FileRequests().size(), 6u);
  EXPECT_TRUE(f.platform.Messages().empty());
}

TEST(SettingsFile, ATiedBoxLoadedBeforeItsHiLinesEndsWithHiEqualToLo) {
  InEmptyDirectory dir;
  FormFixture f;
  WriteFile("tied.kst",
            "chkTerrainEqual(0) = 1\r\ntxtTerrain(0) = 7\r\ntxtTerrain(1) = 30\r\n"
            "chkLandEqual(1) = 1\r\ntxtLandMass(2) = 300\r\ntxtLandMass(3) = 900\r\n"
            "txtLandMass(18) = 40\r\ntxtLandMass(19) = 10\r\n");
  ASSERT_TRUE(f.form.LoadSettingsFile("tied.kst"));
  EXPECT_EQ(f.Text("txtTerrain", 1), "7");
  EXPECT_TRUE(f.At("txtTerrain", 1).locked);
  EXPECT_EQ(f.Text("txtLandMass", 3), "300");
  EXPECT_EQ(f.Text("txtLandMass", 19), "40");  // the file's 10, tied again by the revalidation
}

TEST(SettingsFile, TextsWithParenthesesAndEqualSignsReadBack) {
  InEmptyDirectory dir;
  FormFixture f;
  f.At("txtPlayerCity", 0).SetText("a(=)");
  f.At("txtPlayerCity", 1).SetText("=)(");
  f.At("txtPlayerCity", 2).SetText("");
  std::string error;
  ASSERT_TRUE(f.form.WriteSettingsFile("odd.kst", error)) << error;
  FormFixture g;
  ASSERT_TRUE(g.form.LoadSettingsFile("odd.kst"));
  EXPECT_EQ(g.Text("txtPlayerCity", 0), "a(=)");
  EXPECT_EQ(g.Text("txtPlayerCity", 1), "=)(");
  EXPECT_EQ(g.Text("txtPlayerCity", 2), "");
}

TEST(SettingsFile, ValuesAControlCannotHoldAreRejected) {
  FormFixture f;
  struct Case {
    const char* line;
    bool taken;
    const char* name;  // the control to look at afterwards, if any
    int index;
    int expected;
  };
  const Case cases[] = {
      {"cboPlacement(0) = 2", true, "cboPlacement", 0, 2},
      {"cboPlacement(0) = 3", false, "cboPlacement", 0, 2},
      {"cboPlacement(0) = -2", false, "cboPlacement", 0, 2},
      {"cboPlacement(0) = 0.5", true, "cboPlacement", 0, 0},  // half to even
      {"cboPlacement(0) = -1", true, "cboPlacement", 0, -1},
      {"cboPlacement(0) = 1.5", true, "cboPlacement", 0, 2},
      {"chkShape(3) = 7", false, "chkShape", 3, 1},
      {"chkShape(3) = 2", true, "chkShape", 3, 2},
      {"chkShape(3) = ", true, "chkShape", 3, 0},  // an empty value reads 0
      {"chkShape(24) = 1", false, nullptr, 0, 0},
      {"cmdBuild(0) = 1", false, nullptr, 0, 0},  // not a parameter
      {"txtNothing(0) = 1", false, nullptr, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(f.form.ApplySettingsLine(c.line), c.taken) << c.line;
    if (c.name == nullptr) continue;
    const platform::Control& control = f.At(c.name, c.index);
    const int state = control.Kind() == platform::ControlKind::kCheckBox ? control.Value()
                                                                           : control.ListIndex();
    EXPECT_EQ(state, c.expected) << c.line;
  }
}

TEST(SettingsFile, BrokenFilesLoadWhatTheyCan) {
  InEmptyDirectory dir;
  std::string garbage;
  Random bytes(99);
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>(bytes.Item(256));
  const std::string longLine = "txtPlayerCity(0) = " + std::string(1 << 20, '8');
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"unknown names and broken lines",
       "nothing(0) = 5\r\n\r\ntxtLandMass 3\r\n(\r\n)(\r\n=\r\ntxtLandMass(0)\r\n"
       "txtLandMass(x) = 9\r\ntxtLandMass(1) = 4\r\ntxtLandMass(2) = \r\n"},
      {"CR only", "txtLandMass(1) = 4\rtxtLandMass(2) = \r"},
      {"LF only", "txtLandMass(1) = 4\ntxtLandMass(2) = \n"},
      {"a 1 MB line", longLine + "\r\ntxtLandMass(1) = 4\r\ntxtLandMass(2) = \r\n"},
      {"binary garbage", garbage + "\ntxtLandMass(1) = 4\ntxtLandMass(2) = \n"},
      {"zero bytes", std::string(100000, '\0') + "\ntxtLandMass(1) = 4\ntxtLandMass(2) = \n"},
  };
  for (const Case& c : cases) {
    FormFixture f;
    WriteFile("broken.kst", c.text);
    ASSERT_TRUE(f.form.LoadSettingsFile("broken.kst")) << c.what;
    EXPECT_EQ(f.Text("txtLandMass", 1), "4") << c.what;
    EXPECT_EQ(f.Text("txtLandMass", 2), "0") << c.what;  // empty, then cleaned
    EXPECT_EQ(f.Text("txtLandMass", 0), "3") << c.what;
    for (const platform::Control& box : f.controls.All())
      if (box.Kind() == platform::ControlKind::kNumberBox) {
        EXPECT_LE(box.Text().size(), platform::Control::kMostTextLength) << c.what;
      }
  }
  // The line is cut where the reader stops reading it; the box holds the rest as it came.
  FormFixture f;
  WriteFile("long.kst", longLine);
  ASSERT_TRUE(f.form.LoadSettingsFile("long.kst"));
  const std::string& held = f.Text("txtPlayerCity", 0);
  EXPECT_GT(held.size(), 4u);
  EXPECT_LE(held.size(), kMaxSettingsLineLength);
  EXPECT_EQ(held.find_first_not_of('8'), std::string::npos);
}

// A number box loaded with a huge number holds it; the revalidation turns it into the
// number's short text, and the build reads a finite number from it.
TEST(SettingsFile, HugeNumbersBecomeShortFiniteTexts) {
  InEmptyDirectory dir;
  FormFixture f;
  const std::string digits(1000, '9');
  std::string text;
  for (int i = 0; i < 20; ++i) text += "txtLandMass(" + std::to_string(i) + ") = " + digits + "\r\n";
  for (int i = 0; i < 8; ++i) text += "txtCities(" + std::to_string(i) + ") = 9e99\r\n";
  text += "txtPlace1(0) = " + digits + "\r\n";
  WriteFile("huge.kst", text);
  ASSERT_TRUE(f.form.LoadSettingsFile("huge.kst"));
  const ParameterView view(f.controls);
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(std::isfinite(view.Number("txtLandMass", i))) << i;
    EXPECT_EQ(f.Text("txtLandMass", i), "1.79769313486232E+308") << i;
  }
  for (int i = 0; i < 8; ++i) EXPECT_EQ(f.Text("txtCities", i), "9E+99") << i;
  EXPECT_EQ(f.Text("txtPlace1", 0), digits);  // not validated: held as it came
  EXPECT_TRUE(std::isfinite(view.Number("txtPlace1", 0)));
}

TEST(SettingsFile, AMissingFileOnlyRevalidatesAnUnreadableOneAppliesNoLine) {
  InEmptyDirectory dir;
  FormFixture f;
  fs::create_directory("folder.kst");
  EXPECT_FALSE(f.form.LoadSettingsFile("folder.kst"));
  f.platform.QueueFileAnswer("folder.kst");
  EXPECT_FALSE(f.form.LoadSettings());

  if (::geteuid() != 0) {
    WriteFile("locked.kst", "txtLandMass(0) = 1\r\n");
    fs::permissions("locked.kst", fs::perms::none);
    EXPECT_FALSE(f.form.LoadSettingsFile("locked.kst"));
    EXPECT_EQ(f.Text("txtLandMass", 0), "3");
  }

  EXPECT_TRUE(f.form.LoadSettingsFile("gone.kst"));
}

TEST(SettingsFile, AFailedSaveToAReadOnlyFolderKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "running as root: a read-only folder does not stop writes";
  InEmptyDirectory dir;
  FormFixture f;
  fs::create_directory("ro");
  WriteFile("ro/x.kst", "old contents\r\n");
  fs::permissions("ro", fs::perms::owner_read | fs::perms::owner_exec);
  f.platform.QueueFileAnswer("ro/x.kst");
  EXPECT_FALSE(f.form.SaveSettings());
  fs::permissions("ro", fs::perms::owner_all);
  EXPECT_EQ(ReadFile("ro/x.kst"), "old contents\r\n");
  ASSERT_EQ(f.platform.Messages().size(), 1u);
  EXPECT_EQ(f.platform.Messages()[0].text, "Could not save settings to ro/x.kst: Permission denied");
}

TEST(DefaultSettings, TheDefaultFileIsAppliedWhenTheWindowOpens) {
  InEmptyDirectory dir;
  const auto open = [](const std::function<void(ui::frmBuild&)>& check) {
    platform::HeadlessPlatform platform;
    ui::frmBuild window(platform);
    platform.AddModalAction([&](platform::Window& w) { check(static_cast<ui::frmBuild&>(w)); });
    HostWorld out;
    window.GetMap(100, 60, false, out);
  };
  bool checked = false;
  open([&](ui::frmBuild& w) {
    EXPECT_EQ(w.Controls().At("cboPlacement", 0).ListIndex(), 0);
    EXPECT_EQ(w.Controls().At("lblPlaceAlgoExplain", 0).caption, kPlacementExplanations[0]);
    EXPECT_TRUE(w.Controls().At("fraPlaceParams", 0).visible);
    EXPECT_EQ(w.StatusBar().Panel(3).text, "Land = 46 - 139 % ");
    checked = true;
  });
  EXPECT_TRUE(checked);

  fs::create_directory("kessett");
  WriteFile("kessett/default.kst", "cboPlacement(0) = 2\r\ntxtAlgorithm(1) = 0\r\n");
  checked = false;
  open([&](ui::frmBuild& w) {
    const platform::ControlSet& c = w.Controls();
    EXPECT_EQ(c.At("cboPlacement", 0).ListIndex(), 2);
    EXPECT_EQ(c.At("lblPlaceAlgoExplain", 0).caption, kPlacementExplanations[2]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c.At("fraPlaceParams", i).visible, i == 2) << i;
    EXPECT_EQ(c.At("cboCityNumber", 0).ListIndex(), 0);  // not in the file: item 0
    EXPECT_EQ(c.At("txtAlgorithm", 1).Text(), "1");     // revalidated
    checked = true;
  });
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace lorvex::params
