// The window on the screen as a host meets it through liblorvex.so: a host that never shows
// it never has Qt in the process (read from the process's own map of loaded files), one that
// should show it and cannot load the window's library is refused with the reason, never by
// a library of the working folder; and what each field means, as lorvex_parameter_info
// answers it for the fields lorvex_parameter_name lists.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/apps/cli_run.h"
#include "host/c_api/lorvex.h"

namespace lorvex::testing {
namespace {

// The files mapped into this process whose names hold `part`.
std::vector<std::string> LoadedFiles(const std::string& part) {
  std::vector<std::string> found;
  std::istringstream maps(ReadFile("/proc/self/maps"));
  for (std::string line; std::getline(maps, line);)
    if (line.find(part) != std::string::npos) found.push_back(line.substr(line.rfind(' ') + 1));
  return found;
}

// Sets an environment variable for one scope.
class Environment {
 public:
  Environment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value != nullptr ? setenv(name, value, 1) : unsetenv(name);
  }
  ~Environment() { old_.empty() ? unsetenv(name_) : setenv(name_, old_.c_str(), 1); }
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

 private:
  const char* name_;
  std::string old_;
};

TEST(WindowLibrary, AHostThatNeverShowsTheWindowNeverLoadsQt) {
  InEmptyDirectory folder;
  LorvexBuilder* builder = lorvex_create();
  ASSERT_EQ(lorvex_set_parameter(builder, "txtLandMass(0)", "2"), LORVEX_OK);
  ASSERT_NE(lorvex_parameter_info(0, LORVEX_INFO_MEANING), nullptr);
  // Nobody at a window without a screen: the build is refused, no window is opened.
  EXPECT_EQ(lorvex_build(builder, 40, 30, 0), LORVEX_ERROR_NO_WINDOW);
  // A headless build under a display shows nothing.
  {
    const Environment display("DISPLAY", ":0");
    lorvex_set_headless_build(builder, 1);
    lorvex_set_question_answer(builder, 1);
    EXPECT_EQ(lorvex_build(builder, 40, 30, 0), 1);
  }
  lorvex_destroy(builder);
  EXPECT_EQ(LoadedFiles("libQt"), std::vector<std::string>{});
  EXPECT_EQ(LoadedFiles("liblorvex-qt"), std::vector<std::string>{});
  EXPECT_FALSE(LoadedFiles("liblorvex.so").empty());  // the map is read at all
}

// A build that should show the window, by a liblorvex.so in a folder without the window's
// library, or beside one of another version; the working folder holds a library of the
// window's name that ends the process when loaded.
TEST(WindowLibrary, AWindowThatCannotBeLoadedRefusesTheBuildWithTheReason) {
  struct Row {
    const char* beside;    // what lies beside the library as liblorvex-qt.so ("" nothing)
    const char* because;   // a part of the reason
  };
  const Row rows[] = {{"", "cannot open shared object file"},
                      {LORVEX_FOREIGN_WINDOW_LIBRARY, "is of version 0.9.0, not 1.1.3"}};
  int copy = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.because);
    InEmptyDirectory working;
    std::filesystem::copy_file(LORVEX_PLANTED_LIBRARY, working.Path() / "liblorvex-qt.so");
    CliFolder aside("lorvex-library");
    const std::filesystem::path library = aside / ("liblorvex.so.copy" + std::to_string(copy++));
    std::filesystem::copy_file(LORVEX_LIBRARY_FILE, library);
    if (*row.beside != '\0') std::filesystem::copy_file(row.beside, aside / "liblorvex-qt.so");
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    const auto create = reinterpret_cast<decltype(&lorvex_create)>(dlsym(handle, "lorvex_create"));
    const auto build = reinterpret_cast<decltype(&lorvex_build)>(dlsym(handle, "lorvex_build"));
    const auto lastError = reinterpret_cast<decltype(&lorvex_last_error)>(dlsym(handle, "lorvex_last_error"));
    const auto destroy = reinterpret_cast<decltype(&lorvex_destroy)>(dlsym(handle, "lorvex_destroy"));
    {
      const Environment screen("QT_QPA_PLATFORM", "offscreen");
      LorvexBuilder* builder = create();
      EXPECT_EQ(build(builder, 40, 30, 0), LORVEX_ERROR_NO_WINDOW);
      const std::string reason = lastError(builder);
      EXPECT_NE(reason.find("the parameters window cannot be shown"), std::string::npos) << reason;
      EXPECT_NE(reason.find((aside / "liblorvex-qt.so").string()), std::string::npos) << reason;
      EXPECT_NE(reason.find(row.because), std::string::npos) << reason;
      destroy(builder);
    }
    dlclose(handle);
    EXPECT_EQ(LoadedFiles("libQt"), std::vector<std::string>{});
  }
}

TEST(WindowLibrary, TheCatalogueNamesTheFieldsInTheWindowsOrderWithBoundsAsNumbers) {
  LorvexBuilder* builder = lorvex_create();
  const int32_t count = lorvex_parameter_count(builder);
  ASSERT_EQ(count, 103);
  // Each name and default against the fields a fresh builder holds: tests/python.
  for (int32_t i = 0; i < count; ++i) {
    for (const int item : {LORVEX_INFO_PAGE, LORVEX_INFO_LABEL, LORVEX_INFO_MEANING, LORVEX_INFO_RANGE})
      EXPECT_GT(std::string(lorvex_parameter_info(i, item)).size(), 0u) << i << " item " << item;
    // A bound is a whole decimal number or nothing.
    for (const int item : {LORVEX_INFO_MINIMUM, LORVEX_INFO_MAXIMUM}) {
      const std::string bound = lorvex_parameter_info(i, item);
      EXPECT_EQ(bound.find_first_not_of("-0123456789"), std::string::npos) << i << ": " << bound;
    }
  }
  EXPECT_EQ(lorvex_parameter_info(count, LORVEX_INFO_NAME), nullptr);  // the rest of the edges: fuzz/host_fuzz.cc
  lorvex_destroy(builder);
}

}  // namespace
}  // namespace lorvex::testing
