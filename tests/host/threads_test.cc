// Builders on several threads at once: each thread sets its parameters, recommends, saves
// and loads settings (all to one file) and builds worlds, and every world equals the build
// of its seed made alone. Run under ThreadSanitizer by the tsan preset.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tests/host/c_host.h"

namespace lorvex::testing {
namespace {

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
  return lorvex_build(builder, 240, 160, 1) == 1 ? CopyWorld(builder) : CopiedWorld{};
}

std::uint64_t SeedOf(int thread, int world) { return 1000 + static_cast<std::uint64_t>(thread * kWorldsPerThread + world); }

TEST(Threads, BuildersOnThreadsBuildTheWorldsOfTheirSeeds) {
  WorkingFolder folder;
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
