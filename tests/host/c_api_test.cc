// The C interface of liblorvex.so, linked as a host links it: the parameter calls with
// their failures, the bulk copies against the square-by-square queries, and builders on
// threads. Each test works in a fresh folder, so that no kessett/default.kst of another
// run is applied.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/apps/cli_run.h"
#include "host/c_api/lorvex.h"
#include "tests/host/c_api_support.h"

namespace lorvex::testing {
namespace {

// A world as the bulk copies give it: its letters, and each city as (x, y, production,
// specialty, owner).
struct CopiedWorld {
  std::vector<char> terrain;
  std::vector<std::array<int, 5>> cities;
  bool operator==(const CopiedWorld&) const = default;
};

inline CopiedWorld CopyWorld(const LorvexBuilder* builder) {
  CopiedWorld world;
  world.terrain.resize(static_cast<std::size_t>(lorvex_copy_terrain(builder, nullptr, 0)));
  lorvex_copy_terrain(builder, world.terrain.data(), world.terrain.size());
  std::vector<LorvexCity> cities(static_cast<std::size_t>(lorvex_copy_cities(builder, nullptr, 0)));
  lorvex_copy_cities(builder, cities.data(), cities.size());
  for (const LorvexCity& c : cities) world.cities.push_back({c.x, c.y, c.production, c.specialty, c.owner});
  return world;
}

struct ParameterRow {
  const char* what;
  std::function<int64_t(LorvexBuilder*)> call;
  int64_t answer;       // the call's answer
  const char* field;    // a field to read afterwards ...
  const char* value;    // ... and the text it must hold
  const char* message;  // a part of lorvex_last_error afterwards ("" = it is empty)
};

// A buffer of `size` bytes filled with '#', handed to lorvex_get_parameter: the answer when
// the buffer afterwards holds what it must (the value, "" for a short one, untouched for a
// size question), -100 otherwise.
int64_t GetInto(LorvexBuilder* b, const char* name, size_t size, const std::string& holds) {
  std::string buffer(size + 1, '#');
  const int64_t answer = lorvex_get_parameter(b, name, size == 0 ? nullptr : buffer.data(), size);
  const std::string written = size == 0 ? buffer : std::string(buffer.c_str());
  return written == holds ? answer : -100;
}

TEST(CInterface, ParameterCallsAnswerAndChangeOnlyWhatTheyShould) {
  InEmptyDirectory folder;
  const std::string loadable = (folder.Path() / "mine.kst").string();  // a file, not a folder
  WriteFile(loadable, "txtCities(0) = 30\r\ntxtCities(1) = 20\r\n");
  const ParameterRow rows[] = {
      {"a number box", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "txtLandMass(2)", "450"); },
       LORVEX_OK, "txtLandMass(2)", "450", ""},
      {"held to its range", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "txtAlgorithm(1)", "250"); },
       LORVEX_ADJUSTED, "txtAlgorithm(1)", "100", "is held to \"100\""},
      // Failures change nothing.
      {"a selection box beyond its items", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "cboPlacement(0)", "3"); },
       LORVEX_ERROR_BAD_VALUE, "cboPlacement(0)", "0", "takes an item from -1 (none) to 2"},
      {"a selection box below its items", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "cboPlacement(0)", "-2"); },
       LORVEX_ERROR_BAD_VALUE, "cboPlacement(0)", "0", "takes an item from -1 (none) to 2"},
      {"a selection box set to none", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "cboPlacement(0)", "-1"); },
       LORVEX_OK, "cboPlacement(0)", "-1", ""},
      // A check box holds 0, 1 or 2 (grey) and takes nothing else, not even the words a
      // settings file would read as 0.
      {"a check box set to grey", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "chkShape(0)", "2"); },
       LORVEX_OK, "chkShape(0)", "2", ""},
            {"a check box set to 3", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "chkShape(0)", "3"); },
       LORVEX_ERROR_BAD_VALUE, "chkShape(0)", "1", "takes 0, 1 or 2 (grey), not \"3\""},
      {"a check box set to true", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "chkShape(0)", "true"); },
       LORVEX_ERROR_BAD_VALUE, "chkShape(0)", "1", "not \"true\""},
            {"a check box set to 0.4", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "chkShape(0)", "0.4"); },
       LORVEX_ERROR_BAD_VALUE, "chkShape(0)", "1", "not \"0.4\""},
      {"a line end in the value", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "txtLandMass(2)", "5\r\nchkShape(0) = 0"); },
       LORVEX_ERROR_BAD_VALUE, "chkShape(0)", "1", "line end"},
      {"an index past the array", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "txtLandMass(20)", "1"); },
       LORVEX_ERROR_UNKNOWN_FIELD, "txtLandMass(19)", "150", "\"txtLandMass(20)\": txtLandMass has the fields 0 to 19"},
      {"a NULL value", [](LorvexBuilder* b) { return lorvex_set_parameter(b, "txtLandMass(2)", nullptr); },
       LORVEX_ERROR_NULL_ARGUMENT, "txtLandMass(2)", "400", "NULL"},
      // Reading: the answer is the bytes the value needs ("400" and its NUL); a size
      // question writes nothing and leaves no error text; a buffer too small gets "".
      {"a size question", [](LorvexBuilder* b) { return GetInto(b, "txtLandMass(2)", 0, "#"); },
       4, "txtLandMass(2)", "400", ""},
      {"a buffer that fits", [](LorvexBuilder* b) { return GetInto(b, "txtLandMass(2)", 4, "400"); },
       4, "txtLandMass(2)", "400", ""},
      {"a buffer one byte short", [](LorvexBuilder* b) { return GetInto(b, "txtLandMass(2)", 3, ""); },
       LORVEX_ERROR_BUFFER_TOO_SMALL, "txtLandMass(2)", "400", "needs 4 bytes and the buffer holds 3"},
      {"a settings text one byte short", [](LorvexBuilder* b) {
         const int64_t needed = lorvex_save_settings_text(b, nullptr, 0);
         std::string text(static_cast<std::size_t>(needed), '#');
         return lorvex_save_settings_text(b, text.data(), text.size() - 1) == LORVEX_ERROR_BUFFER_TOO_SMALL &&
                        text[0] == '\0'
                    ? lorvex_save_settings_text(b, text.data(), text.size()) - needed
                    : -100;
       }, 0, "txtLandMass(2)", "400", "the settings text needs"},
      // Files and Recommend.
      {"a save beneath a file", [&](LorvexBuilder* b) { return lorvex_save_settings(b, (loadable + "/x.kst").c_str()); },
       LORVEX_ERROR_FILE, "txtCities(0)", "100", "Not a directory"},
      {"Recommend", [](LorvexBuilder* b) { lorvex_set_seed(b, 4); return lorvex_recommend(b, 200, 150); },
       LORVEX_OK, "txtLandMass(4)", "5", ""},
      {"Recommend past the largest map", [](LorvexBuilder* b) { return lorvex_recommend(b, 10, LORVEX_MAX_MAP_SIDE + 1); },
       LORVEX_ERROR_MAP_SIZE, "txtLandMass(2)", "400", "each side is 1 to 4096"},
      // Settings in memory, read as a file's lines are read.
      {"a settings text", [](LorvexBuilder* b) {
         const std::string text = "txtCities(0) = 30\r\nnot a line\nchkShape(3) = 0";
         return lorvex_load_settings_text(b, text.data(), text.size()) + 10 * (Get(b, "chkShape(3)") == "0" ? 0 : 1);
       }, LORVEX_OK, "txtCities(0)", "30", ""},
      {"the field names", [](LorvexBuilder* b) {
         const bool named = std::string(lorvex_parameter_name(b, 0)) == "txtLandMass(0)" &&
                            lorvex_parameter_name(b, 103) == nullptr && lorvex_parameter_name(b, -1) == nullptr;
         return named ? lorvex_parameter_count(b) : -100;
       }, 103, "txtLandMass(0)", "3", ""},
      // A NULL builder is answered, and the builder at hand is left alone.
      {"NULL builders", [](LorvexBuilder*) {
         return lorvex_set_parameter(nullptr, "txtLandMass(2)", "1") + lorvex_get_parameter(nullptr, "x", nullptr, 0) +
                lorvex_load_settings(nullptr, "x") + lorvex_save_settings(nullptr, "x") + lorvex_recommend(nullptr, 10, 10) +
                lorvex_reset_parameters(nullptr) + lorvex_get_mass(nullptr, 0, nullptr, nullptr) + lorvex_mass_count(nullptr);
       }, 8 * LORVEX_ERROR_NULL_ARGUMENT, "txtLandMass(2)", "400", ""},
  };
  for (const ParameterRow& row : rows) {
    LorvexBuilder* builder = lorvex_create();
    ASSERT_NE(builder, nullptr);
    EXPECT_EQ(row.call(builder), row.answer) << row.what << ": " << lorvex_last_error(builder);
    const std::string message = lorvex_last_error(builder);
    EXPECT_EQ(Get(builder, row.field), row.value) << row.what;
    if (*row.message == '\0')
      EXPECT_EQ(message, "") << row.what;
    else
      EXPECT_NE(message.find(row.message), std::string::npos) << row.what << ": " << message;
    lorvex_destroy(builder);
  }
}

// The masses of the last world: Large ones of 90 to 100 squares (a shaped mass of 100 may
// come out a few short), other Large ones, and the rest.
std::array<int, 3> MassKinds(const LorvexBuilder* builder) {
  std::array<int, 3> kinds{};
  for (int32_t m = 0; m < lorvex_mass_count(builder); ++m) {
    int32_t sizeClass = -1, squares = -1;
    EXPECT_EQ(lorvex_get_mass(builder, m, &sizeClass, &squares), LORVEX_OK);
    ++kinds[sizeClass != 0 ? 2 : squares >= 90 && squares <= 100 ? 0 : 1];
  }
  return kinds;
}

// What a builder is given shows in the world it builds: kessett/default.kst of the current
// folder decides only when the host asks for it, and then only what the builder leaves
// alone; a loaded file and each field set after it win over it, and resetting lets go of
// them all. Counted through the mass and city calls.
TEST(CInterface, TheDefaultFileLoadedSettingsAndFieldsShowInTheWorldInThatOrder) {
  InEmptyDirectory folder;
  std::filesystem::create_directory("kessett");
  WriteFile("kessett/default.kst", "txtCities(0) = 7\r\ntxtCities(1) = 7\r\ntxtLandMass(0) = 1\r\ntxtLandMass(1) = 1\r\n");
  WriteFile("three.kst", "txtLandMass(0) = 3\r\ntxtLandMass(1) = 3\r\ntxtLandMass(2) = 100\r\ntxtLandMass(3) = 100\r\n"
                         "txtLandMass(6) = 0\r\ntxtLandMass(7) = 0\r\ntxtLandMass(12) = 0\r\ntxtLandMass(13) = 0\r\n"
                         "txtLandMass(18) = 0\r\ntxtLandMass(19) = 0\r\n");
  const struct { const char* what; std::vector<std::pair<const char*, const char*>> fields; int large, cities; } rows[] = {
      {"the file alone", {}, 3, 7},
      {"the file, then fields", {{"txtLandMass(0)", "2"}, {"txtLandMass(1)", "2"}, {"txtCities(0)", "4"}, {"txtCities(1)", "4"}}, 2, 4},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    LorvexBuilder* builder = HeadlessBuilder();
    lorvex_set_default_settings_file(builder, 1);  // a host's builder leaves the file alone unless asked
    ASSERT_EQ(lorvex_load_settings(builder, "three.kst"), LORVEX_OK) << lorvex_last_error(builder);
    for (const auto& [name, value] : row.fields) ASSERT_EQ(lorvex_set_parameter(builder, name, value), LORVEX_OK) << name;
    lorvex_set_seed(builder, 3);
    ASSERT_EQ(lorvex_build(builder, 80, 50, 0), 1);
    EXPECT_EQ(MassKinds(builder), (std::array<int, 3>{row.large, 0, 0}));
    EXPECT_EQ(lorvex_city_count(builder), row.cities);
    // Reset: the default file's one Large mass of the default sizes, its 7 cities.
    ASSERT_EQ(lorvex_reset_parameters(builder), LORVEX_OK);
    ASSERT_EQ(lorvex_build(builder, 80, 50, 0), 1);
    const std::array<int, 3> kinds = MassKinds(builder);
    EXPECT_EQ(kinds[0] + kinds[1], 1);
    EXPECT_EQ(kinds[1], 1);
    EXPECT_GT(kinds[2], 4);
    EXPECT_EQ(lorvex_city_count(builder), 7);
    // Unasked, the file decides nothing: the window's 3 to 5 Large masses.
    lorvex_set_default_settings_file(builder, 0);
    ASSERT_EQ(lorvex_build(builder, 300, 200, 1), LORVEX_BUILT);
    EXPECT_GE(MassKinds(builder)[1], 3);
    EXPECT_LE(MassKinds(builder)[1], 5);
    lorvex_destroy(builder);
  }
}

// One world read in bulk and square by square: the same letters, numbers and cities; a
// buffer one element short is refused with the size it needs.
TEST(CInterface, BulkCopiesEqualTheSquareBySquareQueries) {
  InEmptyDirectory folder;
  LorvexBuilder* builder = HeadlessBuilder();
  EXPECT_EQ(lorvex_copy_terrain(builder, nullptr, 0), 0);  // nothing built yet
  lorvex_set_seed(builder, 11);
  ASSERT_EQ(lorvex_build(builder, 90, 70, 1), LORVEX_BUILT);
  const int32_t width = lorvex_map_width(builder), height = lorvex_map_height(builder);
  const std::size_t squares = 90u * 70u;
  ASSERT_EQ(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), squares);
  // Every buffer size, NULL included, against the guard bytes: fuzz/host_fuzz.cc.
  std::vector<char> letters(squares + 1, '#');
  std::vector<int16_t> numbers(squares);
  ASSERT_EQ(lorvex_copy_terrain(builder, letters.data(), squares - 1), LORVEX_ERROR_BUFFER_TOO_SMALL);
  EXPECT_NE(std::string(lorvex_last_error(builder)).find("needs " + std::to_string(squares)), std::string::npos);
  EXPECT_EQ(letters, std::vector<char>(squares + 1, '#'));
  ASSERT_EQ(lorvex_copy_terrain(builder, letters.data(), squares + 1), static_cast<int64_t>(squares));
  ASSERT_EQ(lorvex_copy_terrain_numbers(builder, numbers.data(), squares), static_cast<int64_t>(squares));
  std::vector<std::array<int, 5>> expected;  // the cities the queries answer, column by column
  for (int32_t x = 0; x < width; ++x)
    for (int32_t y = 0; y < height; ++y) {
      const std::size_t at = static_cast<std::size_t>(y * width + x);
      ASSERT_EQ(letters[at], lorvex_get_terrain_vb(builder, x, y)) << x << ", " << y;
      ASSERT_EQ(numbers[at], lorvex_get_terrain_c(builder, static_cast<int32_t>(at))) << x << ", " << y;
      const auto k = static_cast<int32_t>(expected.size());
      if (letters[at] == 'Y')
        expected.push_back({x, y, lorvex_get_production_c(builder, k), lorvex_get_specialty_c(builder, k), lorvex_get_owner_c(builder, k)});
    }
  EXPECT_EQ(lorvex_get_mass(builder, -1, nullptr, nullptr), LORVEX_ERROR_NO_SUCH_MASS);
  ASSERT_GT(expected.size(), 0u);
  EXPECT_EQ(CopyWorld(builder).cities, expected);
  lorvex_destroy(builder);
}

// A crowded map (the default 100 to 150 cities on 10 x 10): the city count is the cities on
// the map, one for each city square; the planned cities that found no square follow them
// and answer 0; past those every query answers 10.
TEST(CInterface, TheCityCountIsTheCitiesOnTheMapAndTheUnplacedAnswer0) {
  InEmptyDirectory folder;
  LorvexBuilder* builder = HeadlessBuilder();
  lorvex_set_seed(builder, 5);
  ASSERT_EQ(lorvex_build(builder, 10, 10, 0), 1);
  std::vector<char> letters(100);
  ASSERT_EQ(lorvex_copy_terrain(builder, letters.data(), letters.size()), 100);
  const auto onMap = static_cast<int32_t>(std::count(letters.begin(), letters.end(), 'Y'));
  ASSERT_GT(onMap, 0);
  EXPECT_EQ(lorvex_city_count(builder), onMap);
  EXPECT_EQ(lorvex_copy_cities(builder, nullptr, 0), onMap);
  EXPECT_GT(lorvex_get_production_c(builder, onMap - 1), 0);
  for (int32_t k = onMap; k < 100; ++k) {
    EXPECT_EQ(lorvex_get_production_c(builder, k), 0) << k;
    EXPECT_EQ(lorvex_get_specialty_c(builder, k), 0) << k;
  }
  EXPECT_EQ(lorvex_get_production_c(builder, 150), 10);
  EXPECT_EQ(lorvex_get_owner_c(builder, -1), 10);
  lorvex_destroy(builder);
}

// Builders on several threads at once: each thread sets its parameters, recommends, saves
// and loads settings (all to one file) and builds worlds, and every world equals the build
// of its seed made alone. Run under ThreadSanitizer by the tsan preset.
constexpr int kThreads = 4;
constexpr int kWorldsPerThread = 3;
constexpr int kSaves = 40;

// The parameters of every builder: set one by one, then Recommend for the map.
LorvexBuilder* PreparedBuilder(std::uint64_t recommendSeed) {
  LorvexBuilder* builder = HeadlessBuilder();
  lorvex_set_parameter(builder, "txtCities(0)", "40");
  lorvex_set_parameter(builder, "txtCities(1)", "60");
  lorvex_set_parameter(builder, "cboPlacement(0)", "2");
  lorvex_set_seed(builder, recommendSeed);
  lorvex_recommend(builder, 240, 160);
  return builder;
}

CopiedWorld Build(LorvexBuilder* builder, std::uint64_t seed) {
  lorvex_set_seed(builder, seed);
  return lorvex_build(builder, 240, 160, 1) == LORVEX_BUILT ? CopyWorld(builder) : CopiedWorld{};
}

std::uint64_t SeedOf(int thread, int world) { return 1000 + static_cast<std::uint64_t>(thread * kWorldsPerThread + world); }

TEST(Threads, BuildersOnThreadsBuildTheWorldsOfTheirSeeds) {
  InEmptyDirectory folder;
  // Each world built alone first.
  std::vector<CopiedWorld> alone;
  for (int t = 0; t < kThreads; ++t)
    for (int w = 0; w < kWorldsPerThread; ++w) {
      LorvexBuilder* builder = PreparedBuilder(7);
      alone.push_back(Build(builder, SeedOf(t, w)));
      ASSERT_FALSE(alone.back().terrain.empty()) << "seed " << SeedOf(t, w);
      lorvex_destroy(builder);
    }

  std::vector<CopiedWorld> together(alone.size());
  std::vector<std::string> failures(kThreads);
  {
    std::vector<std::jthread> threads;
    for (int t = 0; t < kThreads; ++t)
      threads.emplace_back([&, t] {
        LorvexBuilder* builder = PreparedBuilder(7);
        // Every thread saves to the same file again and again and loads it back: each save
        // is whole, and none fails for another's.
        for (int save = 0; save < kSaves && failures[static_cast<std::size_t>(t)].empty(); ++save)
          if (lorvex_save_settings(builder, "shared.kst") != LORVEX_OK ||
              lorvex_load_settings(builder, "shared.kst") != LORVEX_OK)
            failures[static_cast<std::size_t>(t)] = lorvex_last_error(builder);
        for (int w = 0; w < kWorldsPerThread; ++w)
          together[static_cast<std::size_t>(t * kWorldsPerThread + w)] = Build(builder, SeedOf(t, w));
        lorvex_destroy(builder);
      });
  }
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[static_cast<std::size_t>(t)], "") << "thread " << t;
  for (std::size_t i = 0; i < alone.size(); ++i)
    EXPECT_TRUE(together[i] == alone[i]) << "world " << i;
  // Nothing but the shared file was left in the folder: no partial file of a save.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++files;
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace lorvex::testing
