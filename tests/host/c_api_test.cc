// The C interface of liblorvex.so as a host links it. Each test works in a fresh folder,
// where no kessett/default.kst is unless it writes one.
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/apps/cli_run.h"
#include "host/c_api/lorvex.h"

namespace lorvex::testing {
namespace {

namespace fs = std::filesystem;

// A headless builder: Build is pressed at once and the land warning answered Yes.
LorvexBuilder* HeadlessBuilder() {
  LorvexBuilder* builder = lorvex_create();
  lorvex_set_headless_build(builder, 1);
  lorvex_set_question_answer(builder, 1);
  return builder;
}

std::string Get(const LorvexBuilder* builder, const char* name) {
  char value[2048];
  return lorvex_get_parameter(builder, name, value, sizeof value) > 0 ? value : "<unknown>";
}

// An environment variable set for a scope, then put back as it was (unset when it was unset).
struct ScopedVariable {
  ScopedVariable(const char* name, const char* value) : name(name), old(std::getenv(name) ? std::getenv(name) : "") {
    ::setenv(name, value, 1);
  }
  ~ScopedVariable() { old.empty() ? ::unsetenv(name) : ::setenv(name, old.c_str(), 1); }
  const char* name;
  std::string old;
};

// A world as the bulk copies give it: its letters, and each city as (x, y, production,
// specialty, owner).
struct CopiedWorld {
  std::vector<char> terrain;
  std::vector<std::array<int, 5>> cities;
  bool operator==(const CopiedWorld&) const = default;
};

CopiedWorld CopyWorld(const LorvexBuilder* builder) {
  CopiedWorld world;
  world.terrain.resize(static_cast<std::size_t>(lorvex_copy_terrain(builder, nullptr, 0)));
  lorvex_copy_terrain(builder, world.terrain.data(), world.terrain.size());
  std::vector<LorvexCity> cities(static_cast<std::size_t>(lorvex_copy_cities(builder, nullptr, 0)));
  lorvex_copy_cities(builder, cities.data(), cities.size());
  for (const LorvexCity& c : cities) world.cities.push_back({c.x, c.y, c.production, c.specialty, c.owner});
  return world;
}

struct ParameterRow {
  std::string what;
  std::function<int64_t(LorvexBuilder*)> call;
  int64_t answer;       // the call's answer
  const char* field;    // a field to read afterwards ...
  const char* value;    // ... and the text it must hold
  const char* message;  // a part of lorvex_last_error afterwards ("" = it is empty)
};

// A row that sets one field.
ParameterRow SetRow(const char* name, const char* value, int64_t answer, const char* field, const char* read,
                    const char* message) {
  return {std::string(name) + " = " + (value == nullptr ? "NULL" : value),
          [=](LorvexBuilder* b) { return lorvex_set_parameter(b, name, value); }, answer, field, read, message};
}

// lorvex_get_parameter into `size` bytes of '#': its answer when they then hold `holds` (the
// value, "" for a short buffer, untouched for a size question), -100 otherwise.
int64_t GetInto(LorvexBuilder* b, const char* name, size_t size, const std::string& holds) {
  std::string buffer(size + 1, '#');
  const int64_t answer = lorvex_get_parameter(b, name, size == 0 ? nullptr : buffer.data(), size);
  const std::string written = size == 0 ? buffer : std::string(buffer.c_str());
  return written == holds ? answer : -100;
}

TEST(CInterface, ParameterCallsAnswerAndChangeOnlyWhatTheyShould) {
  InEmptyDirectory folder;
  const ParameterRow rows[] = {
      SetRow("txtAlgorithm(1)", "250", LORVEX_ADJUSTED, "txtAlgorithm(1)", "100", "is held to \"100\""),
      // Failures change nothing.
      SetRow("cboPlacement(0)", "3", LORVEX_ERROR_BAD_VALUE, "cboPlacement(0)", "0", "takes an item from -1 (none) to 2"),
      // A number (every field's range: FieldCatalogue), not a word a settings file reads as 0.
      SetRow("chkShape(0)", "3", LORVEX_ERROR_BAD_VALUE, "chkShape(0)", "1", "takes 0, 1 or 2 (grey), not \"3\""),
      SetRow("chkShape(0)", "true", LORVEX_ERROR_BAD_VALUE, "chkShape(0)", "1", "not \"true\""),
      SetRow("txtLandMass(2)", "5\r\nchkShape(0) = 0", LORVEX_ERROR_BAD_VALUE, "chkShape(0)", "1", "line end"),
      SetRow("txtLandMass(20)", "1", LORVEX_ERROR_UNKNOWN_FIELD, "txtLandMass(19)", "150", "txtLandMass has the fields 0 to 19"),
      SetRow("txtLandMass(2)", nullptr, LORVEX_ERROR_NULL_ARGUMENT, "txtLandMass(2)", "400", "NULL"),
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

// kessett/default.kst decides only when the host asks, and only what the builder leaves
// alone: a loaded file wins over it, a field set after the file wins over both, and a reset
// lets go of them all. Counted in the built world through the mass and city calls.
TEST(CInterface, TheDefaultFileLoadedSettingsAndFieldsShowInTheWorldInThatOrder) {
  InEmptyDirectory folder;
  fs::create_directory("kessett");
  WriteFile("kessett/default.kst", "txtCities(0) = 7\r\ntxtCities(1) = 7\r\ntxtLandMass(0) = 1\r\ntxtLandMass(1) = 1\r\n");
  WriteFile("three.kst", "txtLandMass(0) = 3\r\ntxtLandMass(1) = 3\r\ntxtLandMass(2) = 100\r\ntxtLandMass(3) = 100\r\n"
                         "txtLandMass(6) = 0\r\ntxtLandMass(7) = 0\r\ntxtLandMass(12) = 0\r\ntxtLandMass(13) = 0\r\n"
                         "txtLandMass(18) = 0\r\ntxtLandMass(19) = 0\r\ntxtCities(0) = 5\r\ntxtCities(1) = 5\r\n");
  LorvexBuilder* builder = HeadlessBuilder();
  lorvex_set_default_settings_file(builder, 1);  // a host's builder leaves the file alone unless asked
  ASSERT_EQ(lorvex_load_settings(builder, "three.kst"), LORVEX_OK) << lorvex_last_error(builder);
  for (const char* name : {"txtLandMass(0)", "txtLandMass(1)"}) ASSERT_EQ(lorvex_set_parameter(builder, name, "2"), LORVEX_OK);
  lorvex_set_seed(builder, 3);
  // Two Large masses of the file's 100 squares, no other land, the file's 5 cities.
  ASSERT_EQ(lorvex_build(builder, 80, 50, 0), 1);
  EXPECT_EQ(MassKinds(builder), (std::array<int, 3>{2, 0, 0}));
  EXPECT_EQ(lorvex_city_count(builder), 5);
  // Reset: the default file's one Large mass of the default sizes, its 7 cities.
  ASSERT_EQ(lorvex_reset_parameters(builder), LORVEX_OK);
  ASSERT_EQ(lorvex_build(builder, 80, 50, 0), 1);
  const std::array<int, 3> kinds = MassKinds(builder);
  EXPECT_EQ(std::make_pair(kinds[0], kinds[1]), std::make_pair(0, 1));
  EXPECT_GT(kinds[2], 4);
  EXPECT_EQ(lorvex_city_count(builder), 7);
  // Unasked, the file decides nothing: the window's 3 to 5 Large masses.
  lorvex_set_default_settings_file(builder, 0);
  ASSERT_EQ(lorvex_build(builder, 300, 200, 1), LORVEX_BUILT);
  EXPECT_GE(MassKinds(builder)[1], 3);
  EXPECT_LE(MassKinds(builder)[1], 5);
  lorvex_destroy(builder);
}

// A crowded world (the default 100 to 150 cities on 12 x 10) read in bulk and square by
// square. The city count is the city squares; the planned cities that found no square
// follow them and answer 0; past those every query answers 10.
TEST(CInterface, BulkCopiesEqualTheSquareBySquareQueriesAndCountTheCitiesOnTheMap) {
  InEmptyDirectory folder;
  LorvexBuilder* builder = HeadlessBuilder();
  EXPECT_EQ(lorvex_copy_terrain(builder, nullptr, 0), 0);  // nothing built yet
  lorvex_set_seed(builder, 5);
  ASSERT_EQ(lorvex_build(builder, 12, 10, 0), LORVEX_BUILT);
  const int32_t width = lorvex_map_width(builder), height = lorvex_map_height(builder);
  const std::size_t squares = 12u * 10u;
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
  const auto onMap = static_cast<int32_t>(expected.size());
  ASSERT_GT(onMap, 0);
  EXPECT_EQ(CopyWorld(builder).cities, expected);
  EXPECT_EQ(lorvex_city_count(builder), onMap);
  EXPECT_GT(lorvex_get_production_c(builder, onMap - 1), 0);
  for (int32_t k = onMap; k < 100; ++k) {
    EXPECT_EQ(lorvex_get_production_c(builder, k), 0) << k;
    EXPECT_EQ(lorvex_get_specialty_c(builder, k), 0) << k;
  }
  EXPECT_EQ(lorvex_get_production_c(builder, 150), 10);
  EXPECT_EQ(lorvex_get_owner_c(builder, -1), 10);
  lorvex_destroy(builder);
}

// A builder of 40 to 60 cities placed evenly and Recommend's land saves and loads its
// settings `saves` times (to one file all builders share; the first failure goes to
// `failure`), then builds the 240 x 160 worlds of three seeds from `firstSeed`.
std::vector<CopiedWorld> WorldsOf(std::uint64_t firstSeed, int saves, std::string& failure) {
  LorvexBuilder* builder = HeadlessBuilder();
  lorvex_set_parameter(builder, "txtCities(0)", "40");
  lorvex_set_parameter(builder, "txtCities(1)", "60");
  lorvex_set_parameter(builder, "cboPlacement(0)", "2");
  lorvex_set_seed(builder, 7);
  lorvex_recommend(builder, 240, 160);
  for (int save = 0; save < saves && failure.empty(); ++save)
    if (lorvex_save_settings(builder, "shared.kst") != LORVEX_OK || lorvex_load_settings(builder, "shared.kst") != LORVEX_OK)
      failure = lorvex_last_error(builder);
  std::vector<CopiedWorld> worlds;
  for (std::uint64_t seed = firstSeed; seed < firstSeed + 3; ++seed) {
    lorvex_set_seed(builder, seed);
    worlds.push_back(lorvex_build(builder, 240, 160, 1) == LORVEX_BUILT ? CopyWorld(builder) : CopiedWorld{});
  }
  lorvex_destroy(builder);
  return worlds;
}

// Builders on four threads, saving and loading over each other's saves, build the worlds
// their seeds build alone, and no partial file is left. Run under ThreadSanitizer (tsan).
TEST(Threads, BuildersOnThreadsBuildTheWorldsOfTheirSeeds) {
  InEmptyDirectory folder;
  constexpr std::size_t kThreads = 4;
  std::vector<std::vector<CopiedWorld>> alone, together(kThreads);
  std::vector<std::string> failures(kThreads);
  for (std::size_t t = 0; t < kThreads; ++t) alone.push_back(WorldsOf(1000 + 3 * t, 0, failures[t]));
  {
    std::vector<std::jthread> threads;
    for (std::size_t t = 0; t < kThreads; ++t)
      threads.emplace_back([&, t] { together[t] = WorldsOf(1000 + 3 * t, 40, failures[t]); });
  }
  for (std::size_t t = 0; t < kThreads; ++t) {
    EXPECT_EQ(std::count(alone[t].begin(), alone[t].end(), CopiedWorld{}), 0) << "a world not built";
    EXPECT_EQ(failures[t], "") << "thread " << t;
    EXPECT_TRUE(together[t] == alone[t]) << "thread " << t;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator{}), 1);
}

constexpr const char* kLandWarning =
    "Warning: Average Land % is Greater than 50%.  This may take\r\n"
    "an unusually long time to complete.  Continue with Build?";
constexpr const char* kNoScreen =
    "nobody can press Build: there is no screen to show the parameters window on, and the build "
    "is not headless";
constexpr const char* kNotMainThread =
    "the parameters window can be shown only on the program's main thread: a build on another "
    "thread must be headless";

// The files mapped into this process whose names hold `part`.
std::vector<std::string> LoadedFiles(const std::string& part) {
  std::vector<std::string> found;
  std::istringstream maps(ReadFile("/proc/self/maps"));
  for (std::string line; std::getline(maps, line);)
    if (line.find(part) != std::string::npos) found.push_back(line.substr(line.rfind(' ') + 1));
  return found;
}

void Set(LorvexBuilder* builder, const std::string& name, const char* value) {
  ASSERT_GE(lorvex_set_parameter(builder, name.c_str(), value), 0) << lorvex_last_error(builder);
}

struct StatusRow {
  const char* what;
  std::function<void(LorvexBuilder*)> prepare;
  int32_t width, height;
  int status;
  const char* message;  // lorvex_last_error, word for word
  bool onAnotherThread = false;
};

// Every way a build can build nothing answers its status and its words, and leaves the
// world, the waiting seed and the last seed as they were: the build after them all is the
// waiting seed's world. No window was shown, so Qt never came into the process.
TEST(BuildAnswers, EachStatusSaysWhyAndKeepsTheWorldAndTheSeeds) {
  InEmptyDirectory folder;
  const StatusRow rows[] = {
      {"no algorithm checked", [](LorvexBuilder* b) {
         for (int i = 0; i < 3; ++i) Set(b, "chkAlgorithm(" + std::to_string(i) + ")", "0");
       }, 64, 48, LORVEX_ERROR_REFUSED, "Please Select at least One Building Algorithm"},
      {"Shapes without a shape", [](LorvexBuilder* b) {
         Set(b, "chkAlgorithm(2)", "1");
         for (int i = 0; i < 24; ++i) Set(b, "chkShape(" + std::to_string(i) + ")", "0");
       }, 64, 48, LORVEX_ERROR_REFUSED, "Shapes Algorithm is Selected, Please Select at least One Shape"},
      // The defaults ask for more land than 10 x 10 squares hold.
      {"the land warning answered No", [](LorvexBuilder* b) { lorvex_set_question_answer(b, 0); },
       10, 10, LORVEX_ERROR_REFUSED, kLandWarning},
      {"a side of 0", [](LorvexBuilder*) {}, 0, 10, LORVEX_ERROR_MAP_SIZE,
       "cannot build a map of 0 x 10: each side is 1 to 4096"},
      {"a side past the largest", [](LorvexBuilder*) {}, 4097, 5, LORVEX_ERROR_MAP_SIZE,
       "cannot build a map of 4097 x 5: each side is 1 to 4096"},
      {"a stop asked before the build", [](LorvexBuilder* b) { lorvex_request_stop(b); }, 64, 48,
       LORVEX_ERROR_STOPPED, "the build was stopped before it began"},
      // These tests run without a display.
      {"not headless, and no screen", [](LorvexBuilder* b) { lorvex_set_headless_build(b, 0); }, 64, 48,
       LORVEX_ERROR_NO_WINDOW, kNoScreen},
      // On a worker thread the window is refused before a screen is looked for.
      {"not headless, on another thread", [](LorvexBuilder* b) { lorvex_set_headless_build(b, 0); }, 64, 48,
       LORVEX_ERROR_NO_WINDOW, kNotMainThread, true},
  };
  LorvexBuilder* builder = HeadlessBuilder();
  lorvex_set_seed(builder, 5);
  ASSERT_EQ(lorvex_build(builder, 64, 48, 1), LORVEX_BUILT) << lorvex_last_error(builder);
  const std::vector<char> world = CopyWorld(builder).terrain;
  lorvex_set_seed(builder, 77);
  for (const StatusRow& row : rows) {
    SCOPED_TRACE(row.what);
    row.prepare(builder);
    int status = 1000;
    if (row.onAnotherThread)
      std::thread([&] { status = lorvex_build(builder, row.width, row.height, 0); }).join();
    else
      status = lorvex_build(builder, row.width, row.height, 0);
    EXPECT_EQ(status, row.status);
    EXPECT_STREQ(lorvex_last_error(builder), row.message);
    EXPECT_EQ(CopyWorld(builder).terrain, world);
    EXPECT_EQ(lorvex_map_width(builder), 64);
    EXPECT_EQ(lorvex_last_seed(builder), 5u);
    lorvex_reset_parameters(builder);
    lorvex_set_headless_build(builder, 1);
    lorvex_set_question_answer(builder, 1);
  }
  // A failure's text stays, at the same place, through the successes after it (a field set,
  // a size question and a built world among them).
  ASSERT_EQ(lorvex_set_parameter(builder, "txtNothing(0)", "1"), LORVEX_ERROR_UNKNOWN_FIELD);
  const char* text = lorvex_last_error(builder);
  const std::string kept = text;
  EXPECT_EQ(lorvex_set_parameter(builder, "txtCities(0)", "100"), LORVEX_OK);  // its default
  EXPECT_EQ(lorvex_get_parameter(builder, "txtCities(0)", nullptr, 0), 4);
  // The seed still waiting builds its world, the same as a fresh builder's; headless, it
  // shows nothing under a display either.
  const ScopedVariable display("DISPLAY", ":0");
  ASSERT_EQ(lorvex_build(builder, 64, 48, 1), LORVEX_BUILT);
  EXPECT_EQ(lorvex_last_error(builder), text);
  EXPECT_EQ(std::string(text), kept);
  EXPECT_EQ(lorvex_last_seed(builder), 77u);
  LorvexBuilder* fresh = HeadlessBuilder();
  lorvex_set_seed(fresh, 77);
  ASSERT_EQ(lorvex_build(fresh, 64, 48, 1), LORVEX_BUILT);
  EXPECT_EQ(CopyWorld(builder).terrain, CopyWorld(fresh).terrain);
  EXPECT_NE(CopyWorld(builder).terrain, world);
  lorvex_destroy(fresh);
  lorvex_destroy(builder);
  EXPECT_EQ(lorvex_build(nullptr, 10, 10, 0), LORVEX_ERROR_NULL_ARGUMENT);
  ASSERT_NE(lorvex_parameter_info(0, LORVEX_INFO_MEANING), nullptr);
  EXPECT_EQ(LoadedFiles("libQt"), std::vector<std::string>{});
  EXPECT_FALSE(LoadedFiles("liblorvex.so").empty());  // the map is read at all
}

// Builds the largest map with the address space held to a little more than is in use, and
// ends the process: the build's status is the exit code, its message on stderr.
[[noreturn]] void BuildTheLargestMapInLittleMemory() {
  LorvexBuilder* builder = HeadlessBuilder();
  long pages = 0;
  std::istringstream(ReadFile("/proc/self/statm")) >> pages;
  // A 4096 x 4096 world needs far more than 64 MB beyond what is mapped now.
  const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (64u << 20);
  const rlimit held{limit, limit};
  ::setrlimit(RLIMIT_AS, &held);
  const int status = lorvex_build(builder, 4096, 4096, 1);
  std::fprintf(stderr, "[%s]", lorvex_last_error(builder));
  std::_Exit(-status);
}

TEST(BuildAnswers, MemoryThatRunsOutIsAnswered) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit leaves";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit leaves";
#endif
#endif
  EXPECT_EXIT(BuildTheLargestMapInLittleMemory(), ::testing::ExitedWithCode(-LORVEX_ERROR_OUT_OF_MEMORY),
              "^\\[out of memory\\]$");
}

// A build that should show the window, by a liblorvex.so in a folder without the window's
// library, or beside one of another version, is refused with the reason; the working folder
// holds a library of the window's name that ends the process when loaded.
TEST(WindowLibrary, AWindowThatCannotBeLoadedRefusesTheBuildWithTheReason) {
  const struct {
    const char* beside;   // what lies beside the library as liblorvex-qt.so ("" nothing)
    const char* because;  // a part of the reason
  } rows[] = {{"", "cannot open shared object file"},
              {LORVEX_FOREIGN_WINDOW_LIBRARY, "is of version 0.9.0, not 1.1.3"}};
  int copy = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.because);
    InEmptyDirectory working;
    fs::copy_file(LORVEX_PLANTED_LIBRARY, working.Path() / "liblorvex-qt.so");
    CliFolder aside("lorvex-library");
    const fs::path library = aside / ("liblorvex.so.copy" + std::to_string(copy++));
    fs::copy_file(LORVEX_LIBRARY_FILE, library);
    if (*row.beside != '\0') fs::copy_file(row.beside, aside / "liblorvex-qt.so");
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    const auto create = reinterpret_cast<decltype(&lorvex_create)>(::dlsym(handle, "lorvex_create"));
    const auto build = reinterpret_cast<decltype(&lorvex_build)>(::dlsym(handle, "lorvex_build"));
    const auto lastError = reinterpret_cast<decltype(&lorvex_last_error)>(::dlsym(handle, "lorvex_last_error"));
    const auto destroy = reinterpret_cast<decltype(&lorvex_destroy)>(::dlsym(handle, "lorvex_destroy"));
    const ScopedVariable offscreen("QT_QPA_PLATFORM", "offscreen");
    LorvexBuilder* builder = create();
    EXPECT_EQ(build(builder, 40, 30, 0), LORVEX_ERROR_NO_WINDOW);
    const std::string reason = lastError(builder);
    EXPECT_NE(reason.find("the parameters window cannot be shown"), std::string::npos) << reason;
    EXPECT_NE(reason.find((aside / "liblorvex-qt.so").string()), std::string::npos) << reason;
    EXPECT_NE(reason.find(row.because), std::string::npos) << reason;
    destroy(builder);
    ::dlclose(handle);
    EXPECT_EQ(LoadedFiles("libQt"), std::vector<std::string>{});
  }
}

// What a host's progress callback is told; it asks a stop when the build enters `stopAt`.
struct Watch {
  LorvexBuilder* builder = nullptr;
  std::string stopAt;
  std::vector<std::string> stages;  // each call's stage
  std::vector<std::pair<int32_t, int32_t>> steps;  // each call's step and whole
};

void OnProgress(void* user, const char* stage, int32_t step, int32_t whole) {
  auto* watch = static_cast<Watch*>(user);
  watch->stages.emplace_back(stage);
  watch->steps.emplace_back(step, whole);
  if (watch->stopAt == stage) lorvex_request_stop(watch->builder);
}

// A stop asked as the city stage begins ends it, though it never yields (a city planned for
// every square: a million tries that find no room). The build answers STOPPED, keeps no
// world and says no more. (A stop from another thread: the Python test; at yields: clsBuild.)
TEST(Stop, AStopEndsTheCityStageThatNeverYields) {
  InEmptyDirectory folder;
  LorvexBuilder* builder = HeadlessBuilder();
  Set(builder, "cboCityNumber(0)", "2");
  for (const char* name : {"txtCities(0)", "txtCities(1)"}) Set(builder, name, "1");
  Watch watch{builder, "Cities", {}, {}};
  lorvex_set_progress_callback(builder, OnProgress, &watch);
  lorvex_set_seed(builder, 1);
  EXPECT_EQ(lorvex_build(builder, 1024, 1024, 1), LORVEX_ERROR_STOPPED) << lorvex_last_error(builder);
  EXPECT_STREQ(lorvex_last_error(builder), "the build was stopped");
  EXPECT_EQ(lorvex_map_width(builder), 0);
  EXPECT_EQ(watch.stages.back(), "Cities");
  EXPECT_EQ(std::count(watch.stages.begin(), watch.stages.end(), "Cities"), 1);
  lorvex_destroy(builder);
}

// The progress of a built world: from 1 the step never falls, rises by two for each mass
// before the tiny islands, and ends at the whole, twice the masses plus 21.
TEST(Progress, RisesThroughTheStagesToTheWhole) {
  InEmptyDirectory folder;
  LorvexBuilder* builder = HeadlessBuilder();
  Watch watch;
  lorvex_set_progress_callback(builder, OnProgress, &watch);
  lorvex_set_seed(builder, 3);
  ASSERT_EQ(lorvex_build(builder, 200, 150, 1), LORVEX_BUILT);
  int32_t masses = 0;  // made and placed one by one: Large, Medium, Small
  for (int32_t i = 0; i < lorvex_mass_count(builder); ++i) {
    int sizeClass = -1;
    lorvex_get_mass(builder, i, &sizeClass, nullptr);
    masses += sizeClass < 3 ? 1 : 0;
  }
  ASSERT_GT(masses, 0);
  const int32_t whole = 2 * masses + 21;
  ASSERT_FALSE(watch.steps.empty());
  EXPECT_EQ(watch.steps.front(), std::make_pair(1, whole));
  EXPECT_EQ(watch.steps.back(), std::make_pair(whole, whole));
  std::vector<std::string> stages;  // each stage once, as they came
  for (std::size_t k = 0; k < watch.stages.size(); ++k) {
    EXPECT_EQ(watch.steps[k].second, whole) << k;
    EXPECT_GE(watch.steps[k].first, k > 0 ? watch.steps[k - 1].first : 1) << k;
    if (!stages.empty() && stages.back() == watch.stages[k]) continue;
    stages.push_back(watch.stages[k]);
    if (stages.back() == "Tiny Islands") { EXPECT_EQ(watch.steps[k].first, 1 + 2 * masses); }
  }
  EXPECT_EQ(stages, (std::vector<std::string>{"Initializing Environment", "Large", "Medium", "Small", "Tiny Islands",
                                              "Terrain", "Cities", "Built"}));
  lorvex_destroy(builder);
}

// A save writes a regular file or one a link leads to (the link stays); it refuses a FIFO, a
// device, a folder and a path beneath a file, leaves them alone and no partial file behind.
TEST(Saves, OnlyRegularFilesAreWrittenAndLinksStayLinks) {
  InEmptyDirectory folder;
  fs::create_directory("real");
  WriteFile("real/target.kst", "old");
  WriteFile("plain.kst", "old");
  ASSERT_EQ(::mkfifo("pipe.kst", 0644), 0);
  fs::create_directory("folder.kst");
  fs::create_symlink("real/target.kst", "link.kst");
  fs::create_symlink("new.kst", "dangling.kst");
  // A copy of /dev/null's node, where this user may make one (root may).
  const bool device = ::mknod("null.dev", S_IFCHR | 0666, ::makedev(1, 3)) == 0;
  if (!device) std::printf("[ NOTE     ] mknod refused (%s): the device row is left out\n", std::strerror(errno));

  const struct {
    const char* path;
    int status;
    const char* message;  // a part of lorvex_last_error for a refusal
    const char* written;  // the file that must now hold the settings
  } rows[] = {
      {"plain.kst", LORVEX_OK, "", "plain.kst"},
      {"link.kst", LORVEX_OK, "", "real/target.kst"},
      {"dangling.kst", LORVEX_OK, "", "new.kst"},
      {"pipe.kst", LORVEX_ERROR_FILE, "it is a FIFO, not a regular file", nullptr},
      {"folder.kst", LORVEX_ERROR_FILE, "it is a folder, not a regular file", nullptr},
      {"plain.kst/x.kst", LORVEX_ERROR_FILE, "Not a directory", nullptr},
      {"null.dev", LORVEX_ERROR_FILE, "it is a device, not a regular file", nullptr},
  };
  LorvexBuilder* builder = lorvex_create();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    if (!device && std::string(row.path) == "null.dev") continue;
    EXPECT_EQ(lorvex_save_settings(builder, row.path), row.status) << lorvex_last_error(builder);
    if (row.written != nullptr) {
      EXPECT_EQ(ReadFile(row.written).substr(0, 20), "txtLandMass(0) = 3\r\n");  // the whole text: SettingsFile
    } else {
      EXPECT_NE(std::string(lorvex_last_error(builder)).find(row.message), std::string::npos) << lorvex_last_error(builder);
    }
  }
  lorvex_destroy(builder);
  // What was there is there still.
  EXPECT_EQ(fs::read_symlink("link.kst"), "real/target.kst");
  EXPECT_TRUE(fs::is_symlink("dangling.kst"));
  EXPECT_TRUE(fs::is_fifo("pipe.kst"));
  EXPECT_TRUE(fs::is_directory("folder.kst"));
  EXPECT_TRUE(fs::is_empty("folder.kst"));
  for (const fs::path& at : {fs::path("."), fs::path("real")})
    for (const auto& entry : fs::directory_iterator(at))
      EXPECT_EQ(entry.path().string().find(".part-"), std::string::npos) << entry.path();
}

// The header's version, the library's number and its text agree; the library exports the C
// interface and nothing else.
TEST(Version, TheNumbersAgreeAndOnlyTheCInterfaceIsExported) {
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(lorvex_version(), "%u.%u.%u", &major, &minor, &patch), 3);
  EXPECT_EQ(lorvex_version_number(), major * 1000000u + minor * 1000u + patch);

  Dl_info info{};
  ASSERT_NE(::dladdr(reinterpret_cast<void*>(&lorvex_create), &info), 0);
  const fs::path library = fs::absolute(info.dli_fname);
  InEmptyDirectory folder;
  if (std::system(("nm -D --defined-only '" + library.string() + "' >symbols 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "nm (binutils) is not installed";
  std::vector<std::string> names, others;
  std::istringstream symbols(ReadFile("symbols"));
  for (std::string address, type, name; symbols >> address >> type >> name;)
    if (type != "A") (name.rfind("lorvex_", 0) == 0 ? names : others).push_back(name);
  EXPECT_EQ(others, std::vector<std::string>{});
  EXPECT_NE(std::find(names.begin(), names.end(), "lorvex_build"), names.end());
}

}  // namespace
}  // namespace lorvex::testing
