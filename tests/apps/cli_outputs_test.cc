// What a person asks of the command line shows in the world it writes: land-mass and city
// fields given by --set or by a settings file, counted in the JSON; the city boxes of each
// placement rule, counted city by city against the figures those rules give; the fields of
// index.json and of the world JSON by name, square by square against the text export; and a
// batch whose worlds the window refuses.
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

// Two Large masses of 300 squares, three Medium of 120, two Small of 60, no tiny islands on
// an 80 x 50 map; 60 % of the cities coastal. Seed 2 places every mass.
const std::vector<std::string> kLandFields = {
    "txtLandMass(0) = 2",   "txtLandMass(1) = 2",   "txtLandMass(2) = 300", "txtLandMass(3) = 300",
    "txtLandMass(6) = 3",   "txtLandMass(7) = 3",   "txtLandMass(8) = 120", "txtLandMass(9) = 120",
    "txtLandMass(12) = 2",  "txtLandMass(13) = 2",  "txtLandMass(14) = 60", "txtLandMass(15) = 60",
    "txtLandMass(18) = 0",  "txtLandMass(19) = 0",  "txtCities(6) = 60",    "txtCities(7) = 60"};
const std::string kMap = "build --width 80 --height 50 --seed 2 --yes --quiet ";

std::string SetOptions(const std::vector<std::string>& lines) {
  std::string options;
  for (const std::string& line : lines) options += "--set '" + line + "' ";
  return options;
}

json BuildJson(CliFolder& folder, const std::string& options) {
  const CliRun run = folder.Run(kMap + options + "--json -");
  EXPECT_EQ(run.status, 0) << options << "\n" << run.err;
  return run.status == 0 ? json::parse(run.out) : json::object();
}

// Masses per size class, and the least and most squares of a mass of each class.
struct ClassCount {
  int masses = 0;
  long long least = -1, most = -1;
};
std::map<int, ClassCount> CountMasses(const json& world) {
  std::map<int, ClassCount> classes;
  for (const json& mass : world["masses"]) {
    ClassCount& c = classes[mass["sizeClass"].get<int>()];
    const long long squares = mass["squares"];
    c.least = c.masses == 0 ? squares : std::min(c.least, squares);
    c.most = std::max(c.most, squares);
    ++c.masses;
  }
  return classes;
}

// The land fields reach the build by --set, by a settings file, and by a file whose Large
// numbers a --set then changes: two Large, three Medium and two Small masses of the sizes
// asked (a shaped mass may come out a few squares short, never over), nothing else.
TEST(CliOutputs, LandFieldsFromSetOrSettingsShowInTheWorld) {
  CliFolder folder("lorvex-outputs");
  std::string file;
  for (const std::string& line : kLandFields) file += line + "\r\n";
  WriteFile(folder / "all.kst", file);
  WriteFile(folder / "one-large.kst", file + "txtLandMass(0) = 1\r\ntxtLandMass(1) = 1\r\n");
  const struct { const char* how; std::string options; } rows[] = {
      {"--set", SetOptions(kLandFields)},
      {"--settings", "--settings all.kst "},
      {"--settings, then --set", "--settings one-large.kst " + SetOptions({"txtLandMass(1) = 2", "txtLandMass(0) = 2"})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.how);
    const json world = BuildJson(folder, row.options);
    const std::map<int, ClassCount> classes = CountMasses(world);
    ASSERT_EQ(classes.size(), 3u);
    const struct { int sizeClass, masses, squares; } expected[] = {{0, 2, 300}, {1, 3, 120}, {2, 2, 60}};
    for (const auto& e : expected) {
      const ClassCount& c = classes.at(e.sizeClass);
      EXPECT_EQ(c.masses, e.masses) << "class " << e.sizeClass;
      EXPECT_GE(c.least, e.squares * 9 / 10) << "class " << e.sizeClass;
      EXPECT_LE(c.most, e.squares) << "class " << e.sizeClass;
    }
  }
  // Without the fields the defaults build another world: at least three Large masses.
  EXPECT_GE(CountMasses(BuildJson(folder, "")).at(0).masses, 3);
  // The summary line of a build, its figures counted in the JSON it wrote (no tiny islands,
  // so none named).
  const CliRun shown = folder.Run("build --width 80 --height 50 --seed 2 --yes --json s.json " + SetOptions(kLandFields));
  ASSERT_EQ(shown.status, 0) << shown.err;
  const json world = json::parse(ReadFile(folder / "s.json"));
  long long land = 0;
  for (const json& row : world["terrain"])
    for (const char c : row.get<std::string>()) land += std::string("CMGFRY").find(c) != std::string::npos;
  EXPECT_EQ(shown.out, "seed 2, map 80 x 50, land " + std::to_string(land) + " squares, masses 2 large, 3 medium, 2 small, cities " +
                           std::to_string(world["cities"].size()) + "\n");
}

// The number of cities each way of counting and placing them plans, as the Cities page
// describes it, on the world above (land 1076 squares: 300 + 298, 120 + 118 + 120, 60 + 60).
// 60 % of a count k is round(0.6 k) coastal and round(0.4 k) inland; every planned city
// finds room.
TEST(CliOutputs, EveryCityRuleGivesTheCitiesItsBoxesAskFor) {
  const std::vector<std::string> evenly = {"cboPlacement(0) = 1", "txtPlace1(0) = 5", "txtPlace1(1) = 3",
                                           "txtPlace1(2) = 2", "txtPlace1(3) = 4"};
  const auto with = [](std::vector<std::string> lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
  };
  const std::vector<std::string> byNumber = with(evenly, {"cboPlace1Param2(0) = 2"});
  const std::vector<std::string> forty = {"txtCities(0) = 40", "txtCities(1) = 40"};
  const struct { const char* what; std::vector<std::string> fields; std::size_t cities; } rows[] = {
      // Per land mass: each Large mass its 5, the box after the last size named takes all
      // the remaining land as one.
      {"by number, Large only: 2 x 5 + 3 for the rest", with(byNumber, {"cboPlace1Param1(0) = 0"}), 13},
      {"by number, Large and Medium: 2 x 5 + 3 x 3 + 2 for the rest", with(byNumber, {"cboPlace1Param1(0) = 1"}), 21},
      {"by number, all sizes: 2 x 5 + 3 x 3 + 2 x 2", with(byNumber, {"cboPlace1Param1(0) = 2"}), 23},
      // By percentage of 40: Large 40 % over 2 masses (5 + 3 each), Medium 30 % over 3
      // (2 + 2), Small 20 % over 2 (2 + 2).
      {"by percentage, all sizes", with(with(evenly, forty), {"cboPlace1Param2(0) = 1", "cboPlace1Param1(0) = 2",
        "txtPlace1(0) = 40", "txtPlace1(1) = 30", "txtPlace1(2) = 20", "txtPlace1(3) = 10"}), 36},
      // Large only, 50 % each: 2 x (6 + 4), and the rest 12 + 8.
      {"by percentage, Large only", with(with(evenly, forty), {"cboPlace1Param2(0) = 1", "cboPlace1Param1(0) = 0",
        "txtPlace1(0) = 50", "txtPlace1(1) = 50"}), 40},
      // By land: Large 598 / 1076 of 40 over 2 (7 + 4 each), Medium 358 (3 + 2 each), Small
      // 120 (1 + 1 each).
      {"proportional by land size, all sizes", with(with(evenly, forty), {"cboPlace1Param2(0) = 0", "cboPlace1Param1(0) = 2"}), 41},
      // In proportion to each mass's land: 7 + 4 on each Large, 3 + 2 on each Medium, 1 + 1
      // on each Small.
      {"in proportion, all sizes", with(forty, {"cboPlacement(0) = 2", "cboPlace2Param1(0) = 2"}), 41},
      // The world count: 4000 map squares or 1076 land squares per Lo .. Hi.
      {"randomly, specified", with(forty, {"cboPlacement(0) = 0"}), 40},
      {"randomly, 100 map squares a city", {"cboCityNumber(0) = 2", "txtCities(0) = 100", "txtCities(1) = 100"}, 40},
      {"randomly, 27 land squares a city", {"cboCityNumber(0) = 1", "txtCities(0) = 27", "txtCities(1) = 27"}, 40},
      {"randomly, 20 to 30 land squares a city", {"cboCityNumber(0) = 1", "txtCities(0) = 20", "txtCities(1) = 30"}, 0},
  };
  CliFolder folder("lorvex-outputs");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const json world = BuildJson(folder, SetOptions(with(kLandFields, row.fields)));
    const std::size_t cities = world["cities"].size();
    if (row.cities != 0) {
      EXPECT_EQ(cities, row.cities);
    } else {  // round(1076 / 30) = 36 to round(1076 / 20) = 54
      EXPECT_GE(cities, 36u);
      EXPECT_LE(cities, 54u);
    }
  }
}

// One batch on more threads than worlds a thread (the queue hands worlds out of order), its
// settings from a file and --set lines: each world equals the single build of its seed; the
// index read by name lists the worlds in seed order with their size, wrap, land, masses per
// class, tiny-island squares, cities and files, each figure counted again in the world's own
// JSON; the JSON's rows equal the text export's lines, and its cities are the map's city
// squares in column-major order, with values in the ranges the file and the lines give.
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
    std::vector<std::string> keys;
    for (const auto& [key, value] : world.items()) keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"cities", "height", "key", "masses", "seed", "terrain", "width", "wrap"}));
    // The key is the seed alone: no draws given away before Build.
    for (const auto& [field, value] : std::map<std::string, json>{
             {"seed", 90 + k}, {"key", std::to_string(90 + k)}, {"width", 70}, {"height", 45}, {"wrap", true}}) {
      EXPECT_EQ(entry[field], value) << field;
      EXPECT_EQ(world[field], value) << field;
    }
    // The JSON's rows and the text export's lines, letter by letter.
    const std::vector<std::string> lines = lorvex::testing::Lines(ReadFile(folder / "w" / (stem + ".txt")));
    ASSERT_EQ(lines.size(), 45u);
    ASSERT_EQ(world["terrain"].size(), 45u);
    long long land = 0;
    std::vector<std::pair<int, int>> citySquares;  // column-major
    for (int y = 0; y < 45; ++y) {
      const std::string row = world["terrain"][static_cast<std::size_t>(y)];
      ASSERT_EQ(row, lines[static_cast<std::size_t>(y)]) << "row " << y;
      ASSERT_EQ(row.size(), 70u);
      for (int x = 0; x < 70; ++x) {
        const char c = row[static_cast<std::size_t>(x)];
        const bool border = y == 0 || y == 44;
        EXPECT_TRUE(border ? c == (y == 0 ? 'T' : 'B') : std::string("SCMGFRY").find(c) != std::string::npos)
            << c << " at " << x << ", " << y;
        land += std::string("CMGFRY").find(c) != std::string::npos;
        if (c == 'Y') citySquares.emplace_back(x, y);
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
      const int x = citySquares[c].first, y = citySquares[c].second;
      EXPECT_EQ(city["x"], x);
      EXPECT_EQ(city["y"], y);
      EXPECT_GE(city["production"].get<int>(), 150);
      EXPECT_LE(city["production"].get<int>(), 160);
      EXPECT_EQ(city["owner"], 0);
      // Specialty 9 for none, 10 .. 19 on the coast (sea on a side), 10 .. 13 inland.
      const auto sea = [&](int dx, int dy) {
        return std::string(world["terrain"][static_cast<std::size_t>(y + dy)])[static_cast<std::size_t>((x + dx + 70) % 70)] == 'S';
      };
      const bool coastal = sea(-1, 0) || sea(1, 0) || sea(0, -1) || sea(0, 1);
      const int specialty = city["specialty"];
      specialties += specialty != 9;
      EXPECT_TRUE(specialty == 9 || (specialty >= 10 && specialty <= (coastal ? 19 : 13)))
          << "city " << c << " at " << x << ", " << y << (coastal ? " coastal" : " inland") << ": " << specialty;
    }
  }
  EXPECT_GT(specialties, 0);
}

// A batch whose worlds the window refuses (the land warning on a small map, answered No)
// exits with 1, shows the warning once, and lists every world with its error, no figures
// and no files.
TEST(CliOutputs, ABatchTheWindowRefusesExitsWith1AndNamesTheErrorOfEachWorld) {
  CliFolder folder("lorvex-outputs");
  const CliRun batch = folder.Run("build --width 10 --height 10 --seed 7 --count 3 --out w");
  EXPECT_EQ(batch.status, 1);
  const std::string warning = "Warning: Average Land % is Greater than 50%.";
  ASSERT_NE(batch.err.find(warning), std::string::npos) << batch.err;
  EXPECT_EQ(batch.err.find(warning, batch.err.find(warning) + 1), std::string::npos) << batch.err;
  const json index = json::parse(ReadFile(folder / "w" / "index.json"));
  ASSERT_EQ(index["worlds"].size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    const json& entry = index["worlds"][k];
    EXPECT_EQ(entry["seed"], 7 + k);
    EXPECT_EQ(entry["error"], "the window did not build a world");
    EXPECT_EQ(entry["files"], json::array());
    for (const char* figure : {"land", "masses", "cities"}) EXPECT_FALSE(entry.contains(figure)) << figure;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "w"), fs::directory_iterator()), 1);
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
