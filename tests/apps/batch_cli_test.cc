// Batches of seeded worlds, run as a person runs them: every world equals the single build
// of its seed, the index lists them all, and a bad request or an unwritable file fails
// cleanly.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "apps/cli_run.h"

namespace {

namespace fs = std::filesystem;
using lorvex::testing::CliFolder;
using lorvex::testing::CliRun;
using lorvex::testing::ReadFile;
using nlohmann::json;

const std::string kWorld = "build --width 90 --height 60 --wrap --yes ";

// More threads than worlds a thread, so the queue hands worlds out of order; the settings
// file and a --set line reach every world of the batch.
TEST(BatchCli, EveryWorldEqualsTheSingleBuildOfItsSeedAndTheIndexListsThemAll) {
  CliFolder folder("lorvex-batch");
  lorvex::testing::WriteFile(folder / "mine.kst", "txtCities(0) = 20\ntxtCities(1) = 30\n");
  const std::string settings = "--settings mine.kst --set \"txtLandMass(12) = 0\" --set \"txtLandMass(13) = 0\" ";
  const CliRun batch = folder.Run(kWorld + settings + "--count 5 --seed 40 --jobs 3 --out worlds --formats json,tmx");
  ASSERT_EQ(batch.status, 0) << batch.err;
  EXPECT_NE(batch.out.find("5 of 5 worlds built"), std::string::npos) << batch.out;
  const json index = json::parse(ReadFile(folder / "worlds" / "index.json"));
  EXPECT_EQ(index["generator"], "Lorvex 1.1.3");
  ASSERT_EQ(index["worlds"].size(), 5u);
  for (std::uint64_t k = 0; k < 5; ++k) {
    const std::string stem = "world-" + std::to_string(40 + k);
    const json& entry = index["worlds"][k];
    EXPECT_EQ(entry["seed"], 40 + k);
    EXPECT_EQ(entry["files"], json({stem + ".json", stem + ".tmx", stem + "-terrain.png"}));
    const std::string fromBatch = ReadFile(folder / "worlds" / (stem + ".json"));
    const CliRun single = folder.Run(kWorld + settings + "--seed " + std::to_string(40 + k) + " --json - --quiet");
    EXPECT_TRUE(fromBatch == single.out) << stem;
    // The JSON and the index describe the world: its border rows, masses that count its land,
    // cities in the host's column-major order.
    const json world = json::parse(fromBatch);
    EXPECT_EQ(world["terrain"][0].get<std::string>(), std::string(90, 'T'));
    EXPECT_EQ(world["terrain"][59].get<std::string>(), std::string(90, 'B'));
    long long land = 0, counted = 0;
    for (const auto& row : world["terrain"])
      for (char c : row.get<std::string>()) land += std::string("TBAS").find(c) == std::string::npos;
    for (const auto& mass : world["masses"]) counted += mass["squares"].get<long long>();
    EXPECT_EQ(counted, land);
    EXPECT_EQ(entry["land"], land);
    EXPECT_EQ(entry["masses"]["small"], 0);
    const auto& cities = world["cities"];
    EXPECT_EQ(entry["cities"], cities.size());
    for (std::size_t c = 1; c < cities.size(); ++c)
      EXPECT_LT(std::make_pair(cities[c - 1]["x"].get<int>(), cities[c - 1]["y"].get<int>()),
                std::make_pair(cities[c]["x"].get<int>(), cities[c]["y"].get<int>()));
  }
  EXPECT_TRUE(folder.Run(kWorld + "--seed 40 --json - --quiet").out != ReadFile(folder / "worlds" / "world-40.json"));
}

// Seeds run on past the last one; a world whose file cannot be written fails alone and the
// batch exits with 2; a refused batch tells the question once and exits with 1.
TEST(BatchCli, FailuresStayWithTheirWorld) {
  CliFolder folder("lorvex-batch");
  const CliRun wrapped = folder.Run(kWorld + "--count 2 --seed 18446744073709551615 --out a --formats text --quiet");
  ASSERT_EQ(wrapped.status, 0) << wrapped.err;
  EXPECT_TRUE(fs::is_regular_file(folder / "a" / "world-0.txt"));

  fs::create_directories(folder / "b" / "world-11.json");  // world 11's JSON cannot be put in place
  const CliRun partial = folder.Run(kWorld + "--count 3 --seed 10 --out b --formats text,json");
  EXPECT_EQ(partial.status, 2);
  EXPECT_NE(partial.err.find("world-11.json"), std::string::npos) << partial.err;
  const json index = json::parse(ReadFile(folder / "b" / "index.json"));
  EXPECT_EQ(index["worlds"][1]["files"], json({"world-11.txt"}));
  EXPECT_TRUE(index["worlds"][1].contains("error"));
  EXPECT_FALSE(index["worlds"][2].contains("error"));
  EXPECT_TRUE(fs::is_regular_file(folder / "b" / "world-12.json"));

  const CliRun refused = folder.Run("build --width 20 --height 20 --count 3 --seed 5 --out c");
  EXPECT_EQ(refused.status, 1) << refused.err;
  EXPECT_EQ(refused.err.find("Continue with Build?"), refused.err.rfind("Continue with Build?"));
  EXPECT_NE(refused.out.find("0 of 3 worlds built"), std::string::npos) << refused.out;
}

}  // namespace
