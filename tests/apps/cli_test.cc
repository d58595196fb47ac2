// The command-line tool, run as a person runs it: its exit statuses and messages, and what
// a person asks of it showing in the world it writes, counted again in the JSON, the index
// and the text export.
#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/apps/cli_run.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvex::testing;
using nlohmann::json;

std::string SetOptions(const std::vector<std::string>& lines) {
  std::string options;
  for (const std::string& line : lines) options += "--set '" + line + "' ";
  return options;
}

// Every land mass count 0: a world without land.
const std::string kNoLand = SetOptions({"txtLandMass(0) = 0", "txtLandMass(1) = 0", "txtLandMass(6) = 0", "txtLandMass(7) = 0",
                                        "txtLandMass(12) = 0", "txtLandMass(13) = 0", "txtLandMass(18) = 0", "txtLandMass(19) = 0"});

// Bad options, sizes outside 1 .. 4096 (or under Freeciv's 16 x 16 for its scenario), a
// world without land for a scenario and settings files that cannot be read exit with 2 and
// a message naming them; a question answered No refuses the build with the window's message
// and exits with 1. Either way nothing is written, a batch not even its folder.
TEST(Cli, ExitStatusesAndMessages) {
  const struct { std::string arguments; int status; const char* told; } rows[] = {
      {"build --width 0 --height 10", 2, "--width"},
      {"build --width 10 --height 4097", 2, "--height"},
      {"build --width 10 --height 10 --scale 0", 2, "--scale"},
      {"build --width 99999999999999999999 --height 10", 2, "--width"},
      {"build --width 10 --height 10 --seed -1", 2, "--seed"},
      {"recommend --width 10 --height 10 --seed 18446744073709551616 --save r.kst", 2, "--seed"},
      {"frobnicate", 2, "frobnicate"},
      {"build --width 10 --height 10 --seed 1", 1,
       "Warning: Average Land % is Greater than 50%.  This may take\nan unusually long time to complete.  Continue with Build?"},
      {"shapes --png g.png --squares 0", 2, "--squares"},
      {"shapes --png g.png --orient 8", 2, "--orient"},
      {"settings --settings none.kst --save out.kst", 2, "none.kst"},
      {"settings --set 'nothing(1) = 2' --save out.kst", 2, "nothing(1) = 2"},
      {"recommend --width 1 --height 1 --seed 1 --save r.kst", 1, "Failed to Recommend Good Parameters"},
      {"build --width 9 --height 9 --count 0 --out o", 2, "--count"},
      {"build --width 9 --height 9 --count 2", 2, "--out"},
      {"build --width 9 --height 9 --count 2 --out o --formats gif", 2, "gif"},
      {"build --width 9 --height 9 --count 2 --out o --png w.png", 2, "--png"},
      {"build --width 15 --height 40 --seed 1 --yes --freeciv w.sav --text w.txt", 2, "Freeciv takes maps of at least 16 x 16"},
      {"build --width 40 --height 12 --seed 1 --yes --count 2 --out o --formats text,freeciv", 2, "at least 16 x 16"},
      {"build --width 40 --height 30 --seed 1 --yes --freeciv w.sav --text w.txt " + kNoLand, 2, "Freeciv cannot play a world without land"},
  };
  for (const auto& row : rows) {
    CliFolder folder;
    const CliRun run = folder.Run(row.arguments);
    EXPECT_EQ(run.status, row.status) << row.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(row.told), std::string::npos) << row.arguments << "\n" << run.err;
    EXPECT_TRUE(fs::is_empty(folder.Path())) << row.arguments;
  }
  EXPECT_EQ(CliFolder().Run("build --width 10 --height 10 --seed 1 --yes --quiet").status, 0);
  const CliRun version = CliFolder().Run("--version");
  EXPECT_TRUE(version.status == 0 && version.out.find("1.1.3") != std::string::npos) << version.out;
}

// Two Large masses of 300 squares, three Medium of 120, two Small of 60, no tiny islands on
// an 80 x 50 map; 60 % of the cities coastal. Seed 2 places every mass.
const std::vector<std::string> kLandFields = {
    "txtLandMass(0) = 2",   "txtLandMass(1) = 2",   "txtLandMass(2) = 300", "txtLandMass(3) = 300",
    "txtLandMass(6) = 3",   "txtLandMass(7) = 3",   "txtLandMass(8) = 120", "txtLandMass(9) = 120",
    "txtLandMass(12) = 2",  "txtLandMass(13) = 2",  "txtLandMass(14) = 60", "txtLandMass(15) = 60",
    "txtLandMass(18) = 0",  "txtLandMass(19) = 0",  "txtCities(6) = 60",    "txtCities(7) = 60"};
const std::string kMap = "build --width 80 --height 50 --seed 2 --yes ";

// The land fields reach the build by --set, by a settings file, by a file whose Large
// numbers a --set then changes, and by the file `lorvex settings` writes from those two: two
// Large, three Medium and two Small masses of the sizes asked (a shaped mass may come out a
// few squares short, never over), nothing else.
TEST(CliOutputs, LandFieldsFromSetOrSettingsShowInTheWorld) {
  CliFolder folder("lorvex-outputs");
  std::string file;
  for (const std::string& line : kLandFields) file += line + "\r\n";
  WriteFile(folder / "all.kst", file);
  WriteFile(folder / "one-large.kst", file + "txtLandMass(0) = 1\r\ntxtLandMass(1) = 1\r\n");
  const std::string twoLarge = SetOptions({"txtLandMass(1) = 2", "txtLandMass(0) = 2"});
  ASSERT_EQ(folder.Run("settings --settings one-large.kst " + twoLarge + "--save saved.kst").status, 0);
  const struct { const char* how; std::string options; } rows[] = {
      {"--set", SetOptions(kLandFields)},
      {"--settings", "--settings all.kst "},
      {"--settings, then --set", "--settings one-large.kst " + twoLarge},
      {"a file lorvex settings wrote", "--settings saved.kst "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.how);
    const CliRun run = folder.Run(kMap + "--json w.json " + row.options);
    ASSERT_EQ(run.status, 0) << run.err;
    const json world = json::parse(ReadFile(folder / "w.json"));
    std::map<int, std::vector<long long>> classes;  // the squares of each mass, by size class
    for (const json& mass : world["masses"]) classes[mass["sizeClass"]].push_back(mass["squares"]);
    ASSERT_EQ(classes.size(), 3u);
    const struct { int sizeClass; std::size_t masses; long long squares; } expected[] = {{0, 2, 300}, {1, 3, 120}, {2, 2, 60}};
    for (const auto& e : expected) {
      EXPECT_EQ(classes[e.sizeClass].size(), e.masses) << "class " << e.sizeClass;
      for (long long squares : classes[e.sizeClass])
        EXPECT_TRUE(squares >= e.squares * 9 / 10 && squares <= e.squares) << "class " << e.sizeClass << ": " << squares;
    }
    // The summary line, its figures counted in the JSON (no tiny islands, so none named).
    long long land = 0;
    for (const json& line : world["terrain"])
      for (const char c : line.get<std::string>()) land += std::string("CMGFRY").find(c) != std::string::npos;
    EXPECT_EQ(run.out, "seed 2, map 80 x 50, land " + std::to_string(land) + " squares, masses 2 large, 3 medium, 2 small, cities " +
                           std::to_string(world["cities"].size()) + "\n");
  }
}

// Each box of the Cities page reaches the build: the cities each rule plans on the world
// above (land 1076 squares: 300 + 298, 120 + 118 + 120, 60 + 60), 60 % of a count k
// round(0.6 k) coastal and round(0.4 k) inland. (The rules themselves the stage tests judge.)
TEST(CliOutputs, EveryCityRuleGivesTheCitiesItsBoxesAskFor) {
  const std::string evenly = SetOptions({"cboPlacement(0) = 1", "txtPlace1(0) = 5", "txtPlace1(1) = 3", "txtPlace1(2) = 2",
                                         "txtPlace1(3) = 4"});
  const std::string forty = SetOptions({"txtCities(0) = 40", "txtCities(1) = 40"});
  const struct { const char* what; std::string options; std::size_t cities; } rows[] = {
      // Each Large mass its 5; the box after the last size named takes the rest as one.
      {"by number, Large and Medium: 2 x 5 + 3 x 3 + 2 for the rest", evenly + SetOptions({"cboPlace1Param2(0) = 2", "cboPlace1Param1(0) = 1"}), 21},
      // By percentage of 40: Large 40 % over 2 masses (5 + 3 each), Medium 30 % over 3
      // (2 + 2), Small 20 % over 2 (2 + 2).
      {"by percentage, all sizes", evenly + forty + SetOptions({"cboPlace1Param2(0) = 1", "cboPlace1Param1(0) = 2",
        "txtPlace1(0) = 40", "txtPlace1(1) = 30", "txtPlace1(2) = 20", "txtPlace1(3) = 10"}), 36},
      // By land: Large 598 / 1076 of 40 over 2 (7 + 4 each), Medium 358 (3 + 2 each), Small
      // 120 (1 + 1 each).
      {"proportional by land size, all sizes", evenly + forty + SetOptions({"cboPlace1Param2(0) = 0", "cboPlace1Param1(0) = 2"}), 41},
      // In proportion to each mass's land: the shares just above.
      {"in proportion, all sizes", forty + SetOptions({"cboPlacement(0) = 2", "cboPlace2Param1(0) = 2"}), 41},
      // The world count: 4000 map squares or 1076 land squares per Lo .. Hi.
      {"randomly, specified", forty + SetOptions({"cboPlacement(0) = 0"}), 40},
      {"randomly, 100 map squares a city", SetOptions({"cboCityNumber(0) = 2", "txtCities(0) = 100", "txtCities(1) = 100"}), 40},
      {"randomly, 27 land squares a city", SetOptions({"cboCityNumber(0) = 1", "txtCities(0) = 27", "txtCities(1) = 27"}), 40},
  };
  CliFolder folder("lorvex-outputs");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CliRun run = folder.Run(kMap + "--quiet --json - " + SetOptions(kLandFields) + row.options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["cities"].size(), row.cities);
  }
}

// A batch on three threads (the queue hands worlds out of order), its settings from a file
// and --set lines: each world equals the single build of its seed; the index lists the
// worlds in seed order, each figure counted again in the world's JSON; the JSON's rows are
// the text export's lines, its cities the map's city squares in column-major order, with
// values in the ranges the file and the lines give.
TEST(CliOutputs, TheIndexAndTheWorldJsonHoldWhatTheWorldHas) {
  CliFolder folder("lorvex-outputs");
  WriteFile(folder / "mine.kst", "txtCities(2) = 150\ntxtCities(3) = 160\n");
  const std::string asked = "build --width 70 --height 45 --wrap --yes --settings mine.kst --set 'txtCities(4) = 50' "
                            "--set 'txtCities(5) = 50' ";
  const CliRun batch = folder.Run(asked + "--seed 90 --count 5 --jobs 3 --out w --formats text,json,tmx");
  ASSERT_EQ(batch.status, 0) << batch.err;
  EXPECT_NE(batch.out.find("5 of 5 worlds built"), std::string::npos) << batch.out;
  const json index = json::parse(ReadFile(folder / "w" / "index.json"));
  EXPECT_EQ(index["generator"], "Lorvex 1.1.3");
  EXPECT_EQ(index["count"], 5);
  ASSERT_EQ(index["worlds"].size(), 5u);
  int specialties = 0;
  for (int k = 0; k < 5; ++k) {
    const json& entry = index["worlds"][static_cast<std::size_t>(k)];
    const std::string stem = "world-" + std::to_string(90 + k);
    SCOPED_TRACE(stem);
    EXPECT_EQ(entry["files"], json({stem + ".txt", stem + ".json", stem + ".tmx", stem + "-terrain.png"}));
    EXPECT_FALSE(entry.contains("error"));
    const std::string written = ReadFile(folder / "w" / (stem + ".json"));
    EXPECT_TRUE(written == folder.Run(asked + "--quiet --json - --seed " + std::to_string(90 + k)).out);
    const json world = json::parse(written);
    EXPECT_EQ(world.size(), 8u) << world.dump();  // each of its fields read by name below
    // The key is the seed alone: no draws given away before Build.
    for (const auto& [field, value] : std::map<std::string, json>{
             {"seed", 90 + k}, {"key", std::to_string(90 + k)}, {"width", 70}, {"height", 45}, {"wrap", true}}) {
      EXPECT_EQ(entry[field], value) << field;
      EXPECT_EQ(world[field], value) << field;
    }
    const std::vector<std::string> rows = world["terrain"];
    ASSERT_EQ(rows, lorvex::testing::Lines(ReadFile(folder / "w" / (stem + ".txt"))));
    ASSERT_EQ(rows.size(), 45u);
    long long land = 0;
    std::vector<std::pair<int, int>> citySquares;  // column-major
    for (int y = 0; y < 45; ++y) {
      const std::string& row = rows[static_cast<std::size_t>(y)];
      ASSERT_EQ(row.size(), 70u);
      for (int x = 0; x < 70; ++x) {
        land += std::string("CMGFRY").find(row[static_cast<std::size_t>(x)]) != std::string::npos;
        if (row[static_cast<std::size_t>(x)] == 'Y') citySquares.emplace_back(x, y);
      }
    }
    std::sort(citySquares.begin(), citySquares.end());
    long long perClass[4] = {0, 0, 0, 0}, counted = 0;
    for (const json& mass : world["masses"]) {
      const int sizeClass = mass["sizeClass"];
      const long long squares = mass["squares"];
      counted += squares;
      if (sizeClass == 3) perClass[3] += squares;
      else if (squares > 0) ++perClass[sizeClass];  // masses placed
    }
    EXPECT_EQ(counted, land);
    EXPECT_EQ(entry["land"], land);
    EXPECT_EQ(entry["masses"], json({{"large", perClass[0]}, {"medium", perClass[1]}, {"small", perClass[2]},
                                     {"tinyIslandSquares", perClass[3]}}));
    EXPECT_EQ(entry["cities"], citySquares.size());
    ASSERT_EQ(world["cities"].size(), citySquares.size());
    for (std::size_t c = 0; c < citySquares.size(); ++c) {
      const json& city = world["cities"][c];
      EXPECT_EQ(std::make_pair(city["x"].get<int>(), city["y"].get<int>()), citySquares[c]) << "city " << c;
      EXPECT_GE(city["production"].get<int>(), 150);
      EXPECT_LE(city["production"].get<int>(), 160);
      EXPECT_EQ(city["owner"], 0);
      // Specialty 9 for none, else 10 .. 19 (the coastal and inland ranges the engine's own
      // checks judge).
      const int specialty = city["specialty"];
      specialties += specialty != 9;
      EXPECT_TRUE(specialty == 9 || (specialty >= 10 && specialty <= 19)) << "city " << c << ": " << specialty;
    }
  }
  EXPECT_GT(specialties, 0);
}

// A batch whose worlds are refused, by the window (the land warning on a small map,
// answered No: the warning shown once, no figures) or by a format (Freeciv's scenario of a
// world without land), exits with their status and lists every world with its error and no
// files.
TEST(CliOutputs, ABatchWhoseWorldsAreRefusedNamesTheErrorOfEachWorld) {
  const struct { std::string arguments; int status; const char* error; int land; } rows[] = {
      {"build --width 10 --height 10 --seed 7 --count 3 --out w", 1, "the window did not build a world", -1},
      {"build --width 40 --height 30 --seed 7 --yes --count 3 --out w --formats text,freeciv " + kNoLand, 2,
       "Freeciv cannot play a world without land", 0},
  };
  for (const auto& row : rows) {
    CliFolder folder("lorvex-outputs");
    const CliRun batch = folder.Run(row.arguments);
    EXPECT_EQ(batch.status, row.status);
    const std::string warning = "Warning: Average Land % is Greater than 50%.";
    const std::size_t shown = batch.err.find(warning);
    EXPECT_EQ(shown != std::string::npos, row.status == 1) << batch.err;
    EXPECT_EQ(batch.err.find(warning, shown + 1), std::string::npos) << batch.err;
    const json index = json::parse(ReadFile(folder / "w" / "index.json"));
    ASSERT_EQ(index["worlds"].size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
      const json& entry = index["worlds"][k];
      EXPECT_EQ(entry["seed"], 7 + k);
      EXPECT_NE(entry["error"].get<std::string>().find(row.error), std::string::npos) << entry.dump();
      EXPECT_EQ(entry["files"], json::array());
      EXPECT_EQ(entry.value("land", -1), row.land);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "w"), fs::directory_iterator()), 1);
  }
}

// A file of a batch that cannot be written (a folder stands in its place) fails only its
// world: the index names the file and the reason, lists the files that were written, the
// other worlds are whole, and the batch exits with 2.
TEST(CliOutputs, AFileABatchCannotWriteFailsOnlyItsWorld) {
  CliFolder folder("lorvex-outputs");
  fs::create_directories(folder / "w" / "world-91.json");
  const CliRun batch = folder.Run("build --width 30 --height 20 --yes --seed 90 --count 3 --out w --formats text,json --quiet");
  EXPECT_EQ(batch.status, 2);
  EXPECT_NE(batch.err.find("seed 91: cannot write w/world-91.json: it is a folder, not a regular file"), std::string::npos) << batch.err;
  const json index = json::parse(ReadFile(folder / "w" / "index.json"));
  ASSERT_EQ(index["worlds"].size(), 3u);
  for (int k = 0; k < 3; ++k) {
    const json& entry = index["worlds"][static_cast<std::size_t>(k)];
    const std::string stem = "world-" + std::to_string(90 + k);
    EXPECT_GT(entry["land"].get<int>(), 0) << stem;  // every world was built
    if (k == 1) {
      EXPECT_EQ(entry["files"], json({stem + ".txt"}));
      EXPECT_EQ(entry["error"], "cannot write w/world-91.json: it is a folder, not a regular file");
    } else {
      EXPECT_EQ(entry["files"], json({stem + ".txt", stem + ".json"})) << stem;
      EXPECT_FALSE(entry.contains("error")) << stem;
      EXPECT_EQ(json::parse(ReadFile(folder / "w" / (stem + ".json")))["seed"], 90 + k);
    }
  }
}

}  // namespace
