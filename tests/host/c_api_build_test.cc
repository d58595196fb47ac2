// lorvex_build through the C interface as a host meets it: every answer with its message,
// a stop asked from another thread, the progress of a build, saves over what is not a
// regular file, the error text's life, and the version. The
// expected messages are the window's own words, written out here.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/apps/cli_run.h"
#include "host/c_api/lorvex.h"
#include "tests/host/c_api_support.h"

namespace lorvex::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNoAlgorithm = "Please Select at least One Building Algorithm";
constexpr const char* kNoShape = "Shapes Algorithm is Selected, Please Select at least One Shape";
constexpr const char* kLandWarning =
    "Warning: Average Land % is Greater than 50%.  This may take\r\n"
    "an unusually long time to complete.  Continue with Build?";
constexpr const char* kNoScreen =
    "nobody can press Build: there is no screen to show the parameters window on, and the build "
    "is not headless";
constexpr const char* kNotMainThread =
    "the parameters window can be shown only on the program's main thread: a build on another "
    "thread must be headless";

void Set(LorvexBuilder* builder, const std::string& name, const char* value) {
  ASSERT_GE(lorvex_set_parameter(builder, name.c_str(), value), 0) << lorvex_last_error(builder);
}

struct StatusRow {
  const char* what;
  std::function<void(LorvexBuilder*)> prepare;
  int32_t width, height;
  int status;
  std::vector<std::string> messages;  // lorvex_last_error is one of these, word for word
  bool onAnotherThread = false;
};

// Every way a build can build nothing answers its status and its words, and leaves the
// world, the waiting seed and the last seed as they were: the build after them all is the
// waiting seed's world.
TEST(BuildAnswers, EachStatusSaysWhyAndKeepsTheWorldAndTheSeeds) {
  InEmptyDirectory folder;
  const StatusRow rows[] = {
      {"no algorithm checked", [](LorvexBuilder* b) {
         for (int i = 0; i < 3; ++i) Set(b, "chkAlgorithm(" + std::to_string(i) + ")", "0");
       }, 64, 48, LORVEX_ERROR_REFUSED, {kNoAlgorithm}},
      {"Shapes without a shape", [](LorvexBuilder* b) {
         Set(b, "chkAlgorithm(2)", "1");
         for (int i = 0; i < 24; ++i) Set(b, "chkShape(" + std::to_string(i) + ")", "0");
       }, 64, 48, LORVEX_ERROR_REFUSED, {kNoShape}},
      // The defaults ask for more land than 10 x 10 squares hold.
      {"the land warning answered No", [](LorvexBuilder* b) { lorvex_set_question_answer(b, 0); },
       10, 10, LORVEX_ERROR_REFUSED, {kLandWarning}},
      {"a side of 0", [](LorvexBuilder*) {}, 0, 10, LORVEX_ERROR_MAP_SIZE,
       {"cannot build a map of 0 x 10: each side is 1 to 4096"}},
      {"a side past the largest", [](LorvexBuilder*) {}, 4097, 5, LORVEX_ERROR_MAP_SIZE,
       {"cannot build a map of 4097 x 5: each side is 1 to 4096"}},
      {"a stop asked before the build", [](LorvexBuilder* b) { lorvex_request_stop(b); }, 64, 48,
       LORVEX_ERROR_STOPPED, {"the build was stopped before it began"}},
      // These tests run without a display.
      {"not headless, and no screen", [](LorvexBuilder* b) { lorvex_set_headless_build(b, 0); }, 64, 48,
       LORVEX_ERROR_NO_WINDOW, {kNoScreen}},
      // On a worker thread the window is refused before any screen is looked for (when the
      // library can show one at all).
      {"not headless, on another thread", [](LorvexBuilder* b) { lorvex_set_headless_build(b, 0); }, 64, 48,
       LORVEX_ERROR_NO_WINDOW, {kNotMainThread, kNoScreen}, true},
  };
  LorvexBuilder* builder = HeadlessBuilder();
  lorvex_set_seed(builder, 5);
  ASSERT_EQ(lorvex_build(builder, 64, 48, 1), LORVEX_BUILT) << lorvex_last_error(builder);
  const std::string world = Terrain(builder);
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
    const std::string message = lorvex_last_error(builder);
    EXPECT_NE(std::find(row.messages.begin(), row.messages.end(), message), row.messages.end()) << message;
    EXPECT_EQ(Terrain(builder), world);
    EXPECT_EQ(lorvex_map_width(builder), 64);
    EXPECT_EQ(lorvex_last_seed(builder), 5u);
    lorvex_reset_parameters(builder);
    lorvex_set_headless_build(builder, 1);
    lorvex_set_question_answer(builder, 1);
  }
  // The seed still waiting builds its world, the same as a fresh builder's.
  ASSERT_EQ(lorvex_build(builder, 64, 48, 1), LORVEX_BUILT);
  EXPECT_EQ(lorvex_last_seed(builder), 77u);
  LorvexBuilder* fresh = HeadlessBuilder();
  lorvex_set_seed(fresh, 77);
  ASSERT_EQ(lorvex_build(fresh, 64, 48, 1), LORVEX_BUILT);
  EXPECT_EQ(Terrain(builder), Terrain(fresh));
  EXPECT_NE(Terrain(builder), world);
  lorvex_destroy(fresh);
  lorvex_destroy(builder);
  EXPECT_EQ(lorvex_build(nullptr, 10, 10, 0), LORVEX_ERROR_NULL_ARGUMENT);
}

// Memory that runs out during a build is answered, in a child process whose address space is
// held to a little more than it already uses.
TEST(BuildAnswers, MemoryThatRunsOutIsAnswered) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit leaves";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  GTEST_SKIP() << "a sanitizer's runtime needs more address space than the limit leaves";
#endif
#endif
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeEnds[0]);
    LorvexBuilder* builder = HeadlessBuilder();
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
      std::fclose(statm);
    }
    // A 4096 x 4096 world needs far more than 64 MB beyond what is mapped now.
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (64u << 20);
    const rlimit held{limit, limit};
    ::setrlimit(RLIMIT_AS, &held);
    const int status = lorvex_build(builder, 4096, 4096, 1);
    const std::string report = std::to_string(status) + " " + lorvex_last_error(builder);
    if (::write(pipeEnds[1], report.data(), report.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string report;
  char chunk[256];
  for (ssize_t got; (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;) report.append(chunk, static_cast<std::size_t>(got));
  ::close(pipeEnds[0]);
  int exit = -1;
  ::waitpid(child, &exit, 0);
  EXPECT_EQ(report, std::to_string(LORVEX_ERROR_OUT_OF_MEMORY) + " out of memory");
}

// What a host's progress callback is told, and a stop it may ask from another thread.
struct Watch {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> stages;  // each call's stage
  std::vector<std::pair<int32_t, int32_t>> steps;  // each call's step and whole
  std::string holdAt;  // the callback waits at this stage until `released`
  bool released = false;
};

void OnProgress(void* user, const char* stage, int32_t step, int32_t whole) {
  auto* watch = static_cast<Watch*>(user);
  {
    const std::lock_guard<std::mutex> lock(watch->mutex);
    watch->stages.emplace_back(stage);
    watch->steps.emplace_back(step, whole);
  }
  watch->changed.notify_all();
  if (watch->holdAt == stage) {
    std::unique_lock<std::mutex> lock(watch->mutex);
    watch->changed.wait(lock, [watch] { return watch->released; });
  }
}

// A build that would run for minutes or hours is stopped from another thread once it has
// reached a given stage: it ends (the join returns), answers STOPPED, and keeps no world.
// The city stage never yields to the window, and is stopped all the same (the build waits
// there for the stop to be asked, so that it cannot end first).
TEST(Stop, AStopFromAnotherThreadEndsALongBuild) {
  InEmptyDirectory folder;
  const struct {
    const char* what;
    int32_t width, height;
    std::vector<std::pair<const char*, const char*>> fields;
    const char* stage;  // the stop is asked once this stage has begun
    bool hold;          // the build waits at that stage until the stop was asked
  } rows[] = {
      // A thousand masses of a million squares each: about half an hour.
      {"large masses", 100, 100,
       {{"txtLandMass(0)", "1000"}, {"txtLandMass(1)", "1000"}, {"txtLandMass(2)", "1000000"}, {"txtLandMass(3)", "1000000"}},
       "Large", false},
      // A city planned for every square: a million tries that find no room, without a yield.
      {"a city a square", 1024, 1024,
       {{"cboCityNumber(0)", "2"}, {"txtCities(0)", "1"}, {"txtCities(1)", "1"}}, "Cities", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    LorvexBuilder* builder = HeadlessBuilder();
    for (const auto& [name, value] : row.fields) Set(builder, name, value);
    Watch watch;
    if (row.hold) watch.holdAt = row.stage;
    lorvex_set_progress_callback(builder, OnProgress, &watch);
    lorvex_set_seed(builder, 1);
    int status = 1000;
    std::thread build([&] {
      status = lorvex_build(builder, row.width, row.height, 1);
      { const std::lock_guard<std::mutex> lock(watch.mutex); watch.stages.emplace_back("returned"); }
      watch.changed.notify_all();
    });
    {
      std::unique_lock<std::mutex> lock(watch.mutex);
      watch.changed.wait(lock, [&] {
        return std::find(watch.stages.begin(), watch.stages.end(), row.stage) != watch.stages.end() ||
               (!watch.stages.empty() && watch.stages.back() == "returned");
      });
    }
    lorvex_request_stop(builder);
    {
      const std::lock_guard<std::mutex> lock(watch.mutex);
      watch.released = true;
    }
    watch.changed.notify_all();
    build.join();
    EXPECT_EQ(status, LORVEX_ERROR_STOPPED) << lorvex_last_error(builder);
    EXPECT_STREQ(lorvex_last_error(builder), "the build was stopped");
    EXPECT_EQ(lorvex_map_width(builder), 0);
    // Stopped inside the stage: its last word before the return is that stage, and a stage
    // held at its first word says no more.
    EXPECT_EQ(watch.stages.at(watch.stages.size() - 2), row.stage);
    if (row.hold) EXPECT_EQ(std::count(watch.stages.begin(), watch.stages.end(), row.stage), 1);
    lorvex_destroy(builder);
  }
}

// The progress of a built world: from ("Initializing Environment", 1) the step never falls,
// rises by two for each mass before the tiny islands, the whole is twice the masses plus 21,
// the stages come in their order, and the last call is the whole.
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
  EXPECT_EQ(watch.stages.front(), "Initializing Environment");
  EXPECT_EQ(watch.steps.front(), std::make_pair(1, whole));
  EXPECT_EQ(watch.stages.back(), "Built");
  EXPECT_EQ(watch.steps.back(), std::make_pair(whole, whole));
  const std::vector<std::string> order = {"Initializing Environment", "Large", "Medium", "Small",
                                          "Tiny Islands", "Terrain", "Cities", "Built"};
  std::size_t at = 0;
  for (std::size_t k = 0; k < watch.stages.size(); ++k) {
    EXPECT_EQ(watch.steps[k].second, whole) << k;
    if (k > 0) {
      EXPECT_GE(watch.steps[k].first, watch.steps[k - 1].first) << k;
    }
    while (at < order.size() && order[at] != watch.stages[k]) ++at;
    ASSERT_LT(at, order.size()) << watch.stages[k] << " out of order";
    if (watch.stages[k] == "Tiny Islands" && (k == 0 || watch.stages[k - 1] != "Tiny Islands")) {
      EXPECT_EQ(watch.steps[k].first, 1 + 2 * masses);
    }
  }
  for (const char* stage : {"Large", "Tiny Islands", "Terrain", "Cities"})
    EXPECT_NE(std::find(watch.stages.begin(), watch.stages.end(), stage), watch.stages.end()) << stage;
  lorvex_destroy(builder);
}

int LineEnds(const std::string& text) {
  int count = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++count;
  return count;
}

// A save writes a regular file, or a file a link leads to (the links stay links); it refuses
// a FIFO, a device and a folder and leaves them as they were, and leaves no partial file.
TEST(Saves, OnlyRegularFilesAreWrittenAndLinksStayLinks) {
  InEmptyDirectory folder;
  fs::create_directory("real");
  WriteFile("real/target.kst", "old");
  WriteFile("plain.kst", "old");
  ASSERT_EQ(::mkfifo("pipe.kst", 0644), 0);
  fs::create_directory("folder.kst");
  fs::create_symlink("real/target.kst", "link.kst");
  fs::create_symlink("new.kst", "dangling.kst");
  fs::create_symlink("link.kst", "chain.kst");
  fs::create_symlink("pipe.kst", "to-pipe.kst");
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
      {"missing.kst", LORVEX_OK, "", "missing.kst"},
      {"link.kst", LORVEX_OK, "", "real/target.kst"},
      {"dangling.kst", LORVEX_OK, "", "new.kst"},
      {"chain.kst", LORVEX_OK, "", "real/target.kst"},
      {"pipe.kst", LORVEX_ERROR_FILE, "it is a FIFO, not a regular file", nullptr},
      {"to-pipe.kst", LORVEX_ERROR_FILE, "it is a FIFO, not a regular file", nullptr},
      {"folder.kst", LORVEX_ERROR_FILE, "it is a folder, not a regular file", nullptr},
      {"null.dev", LORVEX_ERROR_FILE, "it is a device, not a regular file", nullptr},
  };
  LorvexBuilder* builder = lorvex_create();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    if (!device && std::string(row.path) == "null.dev") continue;
    if (row.written != nullptr && fs::exists(row.written)) WriteFile(row.written, "old");
    EXPECT_EQ(lorvex_save_settings(builder, row.path), row.status) << lorvex_last_error(builder);
    if (row.written != nullptr) {
      const std::string saved = ReadFile(row.written);
      EXPECT_EQ(saved.rfind("txtLandMass(0) = 3\r\n", 0), 0u) << saved.substr(0, 40);
      EXPECT_EQ(LineEnds(saved), 103);
    } else {
      EXPECT_NE(std::string(lorvex_last_error(builder)).find(row.message), std::string::npos) << lorvex_last_error(builder);
    }
  }
  lorvex_destroy(builder);
  // What was there is there still.
  for (const char* link : {"link.kst", "dangling.kst", "chain.kst", "to-pipe.kst"})
    EXPECT_TRUE(fs::is_symlink(link)) << link;
  EXPECT_EQ(fs::read_symlink("link.kst"), "real/target.kst");
  EXPECT_TRUE(fs::is_fifo("pipe.kst"));
  EXPECT_TRUE(fs::is_directory("folder.kst"));
  EXPECT_TRUE(fs::is_empty("folder.kst"));
  if (device) {
    struct stat node {};
    ASSERT_EQ(::lstat("null.dev", &node), 0);
    EXPECT_TRUE(S_ISCHR(node.st_mode));
    EXPECT_EQ(node.st_rdev, ::makedev(1, 3));
  }
  for (const fs::path& at : {fs::path("."), fs::path("real")})
    for (const auto& entry : fs::directory_iterator(at))
      EXPECT_EQ(entry.path().string().find(".part-"), std::string::npos) << entry.path();
}

// The text of a failure stays, at the same place, through the successes after it, a size
// question and a built world included, until the next failure writes another.
TEST(ErrorText, StaysValidUntilTheNextFailure) {
  InEmptyDirectory folder;
  LorvexBuilder* builder = HeadlessBuilder();
  ASSERT_EQ(lorvex_set_parameter(builder, "txtNothing(0)", "1"), LORVEX_ERROR_UNKNOWN_FIELD);
  const char* text = lorvex_last_error(builder);
  const std::string kept = text;
  ASSERT_NE(kept, "");
  EXPECT_EQ(lorvex_set_parameter(builder, "txtCities(0)", "20"), LORVEX_OK);
  EXPECT_EQ(lorvex_get_parameter(builder, "txtCities(0)", nullptr, 0), 3);
  lorvex_set_seed(builder, 2);
  EXPECT_EQ(lorvex_build(builder, 80, 60, 1), LORVEX_BUILT);
  EXPECT_EQ(lorvex_last_error(builder), text);
  EXPECT_EQ(std::string(text), kept);
  EXPECT_EQ(lorvex_build(builder, 80, 0, 1), LORVEX_ERROR_MAP_SIZE);
  EXPECT_STREQ(lorvex_last_error(builder), "cannot build a map of 80 x 0: each side is 1 to 4096");
  lorvex_destroy(builder);
}

// The header's version, the library's number and its text agree; the library exports the C
// interface and nothing else.
TEST(Version, TheNumbersAgreeAndOnlyTheCInterfaceIsExported) {
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(lorvex_version(), "%u.%u.%u", &major, &minor, &patch), 3);
  EXPECT_EQ(lorvex_version_number(), major * 1000000u + minor * 1000u + patch);
  EXPECT_EQ(lorvex_version_number(), LORVEX_VERSION);  // made of the header's three numbers

  Dl_info info{};
  ASSERT_NE(::dladdr(reinterpret_cast<void*>(&lorvex_create), &info), 0);
  std::FILE* nm = ::popen(("nm -D --defined-only '" + std::string(info.dli_fname) + "' 2>/dev/null").c_str(), "r");
  ASSERT_NE(nm, nullptr);
  std::vector<std::string> names, others;
  char line[1024];
  while (std::fgets(line, sizeof line, nm) != nullptr) {
    char type = 0;
    char name[1000];
    if (std::sscanf(line, "%*s %c %999s", &type, name) != 2 || type == 'A') continue;
    (std::string(name).rfind("lorvex_", 0) == 0 ? names : others).push_back(name);
  }
  if (::pclose(nm) != 0 && names.empty()) GTEST_SKIP() << "nm (binutils) is not installed";
  EXPECT_EQ(others, std::vector<std::string>{});
  EXPECT_NE(std::find(names.begin(), names.end(), "lorvex_build"), names.end());
}

}  // namespace
}  // namespace lorvex::testing
