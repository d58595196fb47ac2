// Batches of seeded worlds, run as a person runs them: every world equals the single build
// of its seed, the index lists them all, and a bad request or an unwritable file fails
// cleanly.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "apps/cli_run.h"

namespace {

namespace fs = std::filesystem;
using lorvex::testing::CliFolder;
using lorvex::testing::CliRun;
using lorvex::testing::ReadFile;
using nlohmann::json;

const std::string kWorld = "--width 90 --height 60 --wrap --yes";
// Fewer cities and no small masses, so that a world built without them differs.
const std::string kSettingsFile = "txtCities(0) = 20\ntxtCities(1) = 30\n";
const std::string kSetLine = "--set \"txtLandMass(4) = 0\" --set \"txtLandMass(5) = 0\"";

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The index's figures, worked out again from a world's JSON.
void ExpectFiguresOf(const json& entry, const json& world) {
  long long land = 0;
  for (const auto& row : world["terrain"])
    for (char c : row.get<std::string>()) land += std::string("TBAS").find(c) == std::string::npos;
  int placed[3] = {0, 0, 0};
  long long tiny = 0;
  for (const auto& mass : world["masses"]) {
    const int sizeClass = mass["sizeClass"];
    if (mass["squares"].get<long long>() <= 0) continue;
    if (sizeClass == 3) tiny += mass["squares"].get<long long>();
    else ++placed[sizeClass];
  }
  EXPECT_EQ(entry["width"], world["width"]);
  EXPECT_EQ(entry["height"], world["height"]);
  EXPECT_EQ(entry["wrap"], world["wrap"]);
  EXPECT_EQ(entry["land"], land);
  EXPECT_EQ(entry["masses"]["large"], placed[0]);
  EXPECT_EQ(entry["masses"]["medium"], placed[1]);
  EXPECT_EQ(entry["masses"]["small"], placed[2]);
  EXPECT_EQ(entry["masses"]["tinyIslandSquares"], tiny);
  EXPECT_EQ(entry["cities"], world["cities"].size());
}

TEST(BatchCli, EveryWorldEqualsTheSingleBuildOfItsSeedAndTheIndexListsThemAll) {
  CliFolder folder("lorvex-batch");
  std::ofstream(folder / "mine.kst") << kSettingsFile;
  const std::string settings = "--settings mine.kst " + kSetLine;
  // More threads than worlds per thread, so that the queue hands out worlds out of order.
  const CliRun batch = folder.Run("build " + kWorld + " " + settings +
                                  " --count 5 --seed 40 --jobs 3 --out worlds --formats json,tmx");
  ASSERT_EQ(batch.status, 0) << batch.err;
  EXPECT_EQ(CountOf(batch.out, "\n["), 4u) << batch.out;  // one line per world
  EXPECT_EQ(batch.out.rfind("[", 0), 0u) << batch.out;
  EXPECT_NE(batch.out.find("5 of 5 worlds built"), std::string::npos) << batch.out;

  const json index = json::parse(ReadFile(folder / "worlds" / "index.json"));
  EXPECT_EQ(index["generator"], "Lorvex 1.1.3");
  EXPECT_EQ(index["count"], 5);
  ASSERT_EQ(index["worlds"].size(), 5u);
  for (std::uint64_t k = 0; k < 5; ++k) {
    const std::uint64_t seed = 40 + k;
    const std::string stem = "world-" + std::to_string(seed);
    const json& entry = index["worlds"][k];
    EXPECT_EQ(entry["seed"], seed);
    EXPECT_FALSE(entry.contains("error")) << entry.dump();
    EXPECT_EQ(entry["files"], json({stem + ".json", stem + ".tmx", stem + "-terrain.png"}));
    for (const auto& file : entry["files"])
      EXPECT_TRUE(fs::is_regular_file(folder / "worlds" / file.get<std::string>())) << file;

    const std::string fromBatch = ReadFile(folder / "worlds" / (stem + ".json"));
    const CliRun single = folder.Run("build " + kWorld + " " + settings + " --seed " +
                                     std::to_string(seed) + " --json - --quiet");
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(fromBatch, single.out) << "seed " << seed;
    ExpectFiguresOf(entry, json::parse(fromBatch));
    EXPECT_NE(ReadFile(folder / "worlds" / (stem + ".tmx")).find("value=\"" + std::to_string(seed) + "\""),
              std::string::npos);
  }
  // The settings reached the batch: without them the first seed builds another world.
  const CliRun plain = folder.Run("build " + kWorld + " --seed 40 --json - --quiet");
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_NE(plain.out, ReadFile(folder / "worlds" / "world-40.json"));
}

TEST(BatchCli, SeedsFollowTheClocksFirstSeedAndRunOnPastTheLast) {
  CliFolder folder("lorvex-batch");
  const CliRun clock = folder.Run("build " + kWorld + " --count 3 --out a --formats json --quiet");
  ASSERT_EQ(clock.status, 0) << clock.err;
  EXPECT_EQ(clock.out, "");
  const json index = json::parse(ReadFile(folder / "a" / "index.json"));
  ASSERT_EQ(index["worlds"].size(), 3u);
  const std::uint64_t first = index["worlds"][0]["seed"];
  for (std::uint64_t k = 0; k < 3; ++k) {
    EXPECT_EQ(index["worlds"][k]["seed"], first + k);
    const json world = json::parse(ReadFile(folder / "a" / ("world-" + std::to_string(first + k) + ".json")));
    EXPECT_EQ(world["seed"], first + k);
  }

  const CliRun wrapped = folder.Run("build " + kWorld +
                                    " --count 2 --seed 18446744073709551615 --out b --formats text --quiet");
  ASSERT_EQ(wrapped.status, 0) << wrapped.err;
  EXPECT_TRUE(fs::is_regular_file(folder / "b" / "world-18446744073709551615.txt"));
  EXPECT_TRUE(fs::is_regular_file(folder / "b" / "world-0.txt"));
}

TEST(BatchCli, AWorldWhoseFileCannotBeWrittenFailsAloneAndTheBatchExitsWith2) {
  CliFolder folder("lorvex-batch");
  // A folder where world 11's JSON belongs: that one file cannot be put in place.
  fs::create_directories(folder / "out" / "world-11.json");
  const CliRun run = folder.Run("build " + kWorld + " --count 3 --seed 10 --out out --formats text,json");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("seed 11"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("world-11.json"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("3 of 3 worlds built"), std::string::npos) << run.out;
  for (const char* file : {"world-10.json", "world-10.txt", "world-11.txt", "world-12.json", "world-12.txt"})
    EXPECT_TRUE(fs::is_regular_file(folder / "out" / file)) << file;

  const json index = json::parse(ReadFile(folder / "out" / "index.json"));
  ASSERT_EQ(index["worlds"].size(), 3u);
  const json& failed = index["worlds"][1];
  EXPECT_EQ(failed["seed"], 11);
  EXPECT_EQ(failed["files"], json({"world-11.txt"}));
  EXPECT_NE(failed["error"].get<std::string>().find("world-11.json"), std::string::npos);
  EXPECT_FALSE(index["worlds"][0].contains("error"));
  EXPECT_FALSE(index["worlds"][2].contains("error"));
}

TEST(BatchCli, BadRequestsExitWith2AndBuildNothing) {
  CliFolder folder("lorvex-batch");
  std::ofstream(folder / "plain-file") << "not a folder";
  const struct {
    const char* arguments;
    const char* told;
  } rows[] = {
      {"--count 0 --out out", "--count"},
      {"--count -3 --out out", "--count"},
      {"--count 100001 --out out", "--count"},
      {"--count 3", "--out"},
      {"--out out", "--count"},
      {"--count 2 --out out --png w.png", "--png"},
      {"--count 2 --out out --tmx w.tmx", "--tmx"},
      {"--count 2 --out out --formats gif", "gif"},
      {"--count 2 --out out --formats", "--formats"},
      {"--formats png", "--count"},
      {"--count 2 --out out --jobs 0", "--jobs"},
      {"--count 2 --out plain-file", "plain-file"},
      {"--count 2 --out plain-file/sub", "plain-file/sub"},
      {"--count 2 --out out --settings none.kst", "none.kst"},
  };
  for (const auto& row : rows) {
    const CliRun run = folder.Run("build " + kWorld + " " + row.arguments);
    EXPECT_EQ(run.status, 2) << row.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(row.told), std::string::npos) << row.arguments << "\n" << run.err;
    EXPECT_EQ(run.out, "") << row.arguments;
    EXPECT_FALSE(fs::exists(folder / "out")) << row.arguments;
  }
  // A missing folder is made, however deep.
  const CliRun deep = folder.Run("build " + kWorld + " --count 1 --seed 3 --out a/b/c --formats json --quiet");
  EXPECT_EQ(deep.status, 0) << deep.err;
  EXPECT_TRUE(fs::is_regular_file(folder / "a" / "b" / "c" / "world-3.json"));
  EXPECT_TRUE(fs::is_regular_file(folder / "a" / "b" / "c" / "index.json"));
}

TEST(BatchCli, ARefusedBatchTellsTheQuestionOnceAndExitsWith1) {
  CliFolder folder("lorvex-batch");
  // The default land asks far more than half of a 20 x 20 map: every world is refused.
  const CliRun run = folder.Run("build --width 20 --height 20 --count 3 --seed 5 --out out");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(CountOf(run.err, "Continue with Build?"), 1u) << run.err;
  EXPECT_NE(run.out.find("0 of 3 worlds built"), std::string::npos) << run.out;
  const json index = json::parse(ReadFile(folder / "out" / "index.json"));
  ASSERT_EQ(index["worlds"].size(), 3u);
  for (const auto& entry : index["worlds"]) {
    EXPECT_FALSE(entry.contains("land")) << entry.dump();
    EXPECT_EQ(entry["files"], json::array());
    EXPECT_TRUE(entry.contains("error"));
  }
  std::vector<std::string> written;
  for (const auto& file : fs::directory_iterator(folder / "out")) written.push_back(file.path().filename());
  EXPECT_EQ(written, std::vector<std::string>{"index.json"});
}

}  // namespace
