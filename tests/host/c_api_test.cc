// The C interface, loaded the way a host in another language loads it.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include "host/c_api/lorvex.h"

namespace {

class CInterface : public ::testing::Test {
 protected:
  void SetUp() override {
    // Kept loaded once opened, as a host keeps it: unloading would also unload the window
    // toolkit it pulls in, whose startup allocations the leak checker would then report.
    library_ = dlopen(LORVEX_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr) dlclose(library_);
  }
  template <typename F>
  F* Symbol(const char* name) {
    void* symbol = dlsym(library_, name);
    EXPECT_NE(symbol, nullptr) << name;
    return reinterpret_cast<F*>(symbol);
  }
  void* library_ = nullptr;
};

TEST_F(CInterface, AnswersAsTheClassDoesBeforeAnyBuild) {
  auto* create = Symbol<decltype(lorvex_create)>("lorvex_create");
  auto* destroy = Symbol<decltype(lorvex_destroy)>("lorvex_destroy");
  auto* build = Symbol<decltype(lorvex_build)>("lorvex_build");
  auto* terrain = Symbol<decltype(lorvex_get_terrain_c)>("lorvex_get_terrain_c");
  auto* letter = Symbol<decltype(lorvex_get_terrain_vb)>("lorvex_get_terrain_vb");
  auto* production = Symbol<decltype(lorvex_get_production_c)>("lorvex_get_production_c");
  auto* owner = Symbol<decltype(lorvex_get_owner_c)>("lorvex_get_owner_c");
  auto* testc = Symbol<decltype(lorvex_test_c)>("lorvex_test_c");
  auto* version = Symbol<decltype(lorvex_version)>("lorvex_version");
  ASSERT_TRUE(create && destroy && build && terrain && letter && production && owner && testc);

  LorvexBuilder* builder = create();
  ASSERT_NE(builder, nullptr);
  EXPECT_EQ(terrain(builder, 0), 4);
  EXPECT_EQ(letter(builder, 0, 0), 'C');
  EXPECT_EQ(production(builder, 0), 10);
  EXPECT_EQ(owner(builder, -1), 10);
  EXPECT_EQ(testc(builder, 7), 4);
  EXPECT_EQ(build(builder, 0, 0, 0), 0);
  EXPECT_EQ(build(builder, 5000, 10, 0), 0);
  EXPECT_EQ(build(builder, 20, 20, 1), 0);  // no screen, nobody presses Build: cancelled
  EXPECT_STREQ(version(), "1.1.3");
  destroy(builder);
  // A null handle answers as a builder that has built nothing.
  EXPECT_EQ(terrain(nullptr, 0), 4);
  EXPECT_EQ(build(nullptr, 10, 10, 0), 0);
  destroy(nullptr);
}

TEST_F(CInterface, ExportsOnlyTheCInterface) {
  EXPECT_EQ(dlsym(library_, "_ZN6lorvex8clsBuild5BuildEssb"), nullptr);
}

}  // namespace
