#include "engine/driver_stages.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "export/png_file.h"
#include "export/world_export.h"
#include "host/cls_build.h"
#include "platform/headless_platform.h"
#include "stage_fixture.h"
#include "stages/cities.h"
#include "stages/terrain.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

using stagetest::ScatterIslands;
using stagetest::StageFixture;

void SetTexts(platform::ControlSet& c, const char* name, const std::vector<const char*>& texts) {
  for (std::size_t i = 0; i < texts.size(); ++i) c.At(name, static_cast<int>(i)).SetText(texts[i]);
}

TEST(RunTerrainStage, DrawsFourNumbersFirstThenFormsTheFractionsByKind) {
  // Distinct ranges per kind, so a kind read from the wrong fields lays a different world.
  const std::vector<const char*> figures = {"2", "4", "10", "20", "30", "30", "5", "9"};
  for (std::uint64_t seed : {3u, 4u}) {
    StageFixture driven(seed), direct(seed);
    for (StageFixture* f : {&driven, &direct}) ScatterIslands(f->world, 120, 90, false, 40, 2);
    SetTexts(driven.controls, "txtTerrain", figures);
    BuildContext context = driven.Context();
    RunTerrainStage(context);

    float fraction[4];
    double rho[4];
    for (double& r : rho) r = direct.random.Next();
    const int lo[4] = {2, 10, 30, 5}, hi[4] = {4, 20, 30, 9};
    for (int k = 0; k < 4; ++k)
      fraction[k] = static_cast<float>(std::floor(rho[k] * (hi[k] - lo[k] + 1) + lo[k])) / 100.0f;
    BuildContext directContext = direct.Context();
    stages::PlaceTerrain(directContext, fraction[0], fraction[1], fraction[2], fraction[3]);
    EXPECT_EQ(driven.world.WorldMap.Cells(), direct.world.WorldMap.Cells());
    EXPECT_EQ(driven.hooks.statuses, direct.hooks.statuses);
    EXPECT_EQ(driven.hooks.progressValue, 8);
    EXPECT_GT(stagetest::CountCode(driven.world, 'G'), stagetest::CountCode(driven.world, 'M'));
  }
}

// The letters the city stage should receive for the list indexes of the selection boxes.
struct CityBoxes {
  int placement, cityNumber, place1Param1, place1Param2, place2Param1;
};

char Letter(int index, const char* letters, char other) {
  return index >= 0 && index < 3 ? letters[index] : other;
}

TEST(RunCityStage, PassesEveryArgumentInItsOrderForEverySelection) {
  const std::vector<const char*> cities = {"20", "30", "75", "200", "10", "40", "40", "80"};
  const std::vector<const char*> place1 = {"4", "3", "2", "1"};
  std::vector<CityBoxes> selections;
  for (int placement = -1; placement <= 3; ++placement)
    for (int number = 0; number <= 3; ++number)
      for (int option = -1; option <= 3; ++option)
        for (int rule = -1; rule <= 3; ++rule)
          selections.push_back({placement, number, option, rule, 2 - option});
  WorldState world;
  ScatterIslands(world, 90, 60, true, 30, 12);
  for (const CityBoxes& box : selections) {
    const std::uint64_t seed =
        100 + static_cast<std::uint64_t>(box.placement * 7 + box.place1Param1);
    StageFixture driven(seed), direct(seed);
    driven.world = direct.world = world;
    platform::ControlSet& c = driven.controls;
    SetTexts(c, "txtCities", cities);
    SetTexts(c, "txtPlace1", place1);
    c.At("cboPlacement", 0).SetListIndex(box.placement);
    c.At("cboCityNumber", 0).SetListIndex(box.cityNumber);
    c.At("cboPlace1Param1", 0).SetListIndex(box.place1Param1);
    c.At("cboPlace1Param2", 0).SetListIndex(box.place1Param2);
    c.At("cboPlace2Param1", 0).SetListIndex(box.place2Param1);
    BuildContext context = driven.Context();
    RunCityStage(context);
    const std::string what = std::to_string(box.placement) + "/" + std::to_string(box.cityNumber) +
                             "/" + std::to_string(box.place1Param1) + "/" +
                             std::to_string(box.place1Param2);
    EXPECT_EQ(checks::CheckWorld(driven.world), "") << what;

    const char mode = Letter(box.placement, "REP", 0);
    if (mode == 0) {
      // No cities, no status, no draw.
      EXPECT_TRUE(driven.world.CityProduction.empty()) << what;
      EXPECT_TRUE(driven.hooks.statuses.empty()) << what;
      EXPECT_EQ(driven.random.Next(), direct.random.Next()) << what;
      continue;
    }
    const auto coastal = static_cast<std::int16_t>(std::floor(direct.random.Next() * 41 + 40));
    const auto specialty = static_cast<std::int16_t>(std::floor(direct.random.Next() * 31 + 10));
    const std::int16_t option = mode == 'E'   ? static_cast<std::int16_t>(box.place1Param1)
                                : mode == 'P' ? static_cast<std::int16_t>(box.place2Param1)
                                              : std::int16_t{-1};
    const char rule = mode == 'E' ? Letter(box.place1Param2, "P%N", 'P') : 'P';
    const bool evenly = mode == 'E';
    BuildContext directContext = direct.Context();
    stages::PlaceCities(directContext, 30, 20, Letter(box.cityNumber, "NLM", 'N'), coastal, 75, 200,
                        specialty, mode, option, rule, evenly ? 4 : 0, evenly ? 3 : 0,
                        evenly ? 2 : 0, evenly ? 1 : 0);
    EXPECT_EQ(driven.world.WorldMap.Cells(), direct.world.WorldMap.Cells()) << what;
    EXPECT_EQ(driven.world.CityProduction, direct.world.CityProduction) << what;
    EXPECT_EQ(driven.world.CitySpecialty, direct.world.CitySpecialty) << what;
    EXPECT_EQ(driven.hooks.progressValue, 2) << what;
  }
}

// A build through the parameters window with plenty of tiny-island land for the cities.
struct WindowBuild {
  bool Run(std::uint64_t seed, int width, int height) {
    platform.AddModalAction([](platform::Window& w) {
      auto& form = static_cast<ui::frmBuild&>(w);
      form.Controls().At("txtLandMass", 18).SetText("2500");
      form.Controls().At("txtLandMass", 19).SetText("2500");
      form.Controls().At("cmdBuild", 0).Click();
    });
    platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
    window->SetSeed(seed);
    return window->GetMap(width, height, false, out);
  }
  platform::HeadlessPlatform platform;
  std::unique_ptr<ui::frmBuild> window = std::make_unique<ui::frmBuild>(platform);
  HostWorld out;
};

TEST(HostCities, AreHandedOverInColumnMajorOrder) {
  WindowBuild build;
  ASSERT_TRUE(build.Run(31, 160, 100));
  const WorldState& world = build.window->World();
  EXPECT_EQ(checks::CheckWorld(world), "");
  std::size_t k = 0;
  bool reordered = false;
  for (int x = 0; x < world.MapWidth; ++x)
    for (int y = 0; y < world.MapHeight; ++y) {
      EXPECT_EQ(build.out.MapArray(x, y), world.WorldMap(x, y));
      if (world.WorldMap(x, y) != 'Y') continue;
      const auto city = static_cast<std::size_t>(world.CityOfSquare(x, y));
      ASSERT_LT(k, build.out.ProdArray.size());
      EXPECT_EQ(build.out.ProdArray[k], world.CityProduction[city]);
      EXPECT_EQ(build.out.SpecArray[k], world.CitySpecialty[city]);
      EXPECT_EQ(build.out.OwnerArray[k], 0);
      reordered = reordered || city != k;  // cities are numbered in scan order, row by row
      ++k;
    }
  EXPECT_GT(k, 20u);
  // One entry per city the build planned: those that found no square keep 0.
  EXPECT_EQ(build.out.CityCount, static_cast<std::int32_t>(k));
  EXPECT_EQ(build.out.ProdArray.size(), world.CityProduction.size());
  for (std::size_t i = k; i < build.out.ProdArray.size(); ++i) EXPECT_EQ(build.out.ProdArray[i], 0);
  EXPECT_TRUE(reordered);

  // clsBuild with the same seed answers the same cities, and 10 past the last one.
  platform::HeadlessPlatform platform;
  platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
  platform.AddModalAction([](platform::Window& w) {
    auto& form = static_cast<ui::frmBuild&>(w);
    form.Controls().At("txtLandMass", 18).SetText("2500");
    form.Controls().At("txtLandMass", 19).SetText("2500");
    form.Controls().At("cmdBuild", 0).Click();
  });
  clsBuild host(platform);
  host.SetNextSeed(31);
  ASSERT_TRUE(host.Build(160, 100, false));
  for (std::size_t i = 0; i < k; ++i) {
    const auto pos = static_cast<std::int32_t>(i);
    EXPECT_EQ(host.GetProductionC(pos), build.out.ProdArray[i]);
    EXPECT_EQ(host.GetSpecialtyC(pos), build.out.SpecArray[i]);
    EXPECT_EQ(host.GetOwnerC(pos), 0);
  }
  const auto planned = static_cast<std::int32_t>(build.out.ProdArray.size());
  EXPECT_EQ(host.GetProductionC(planned - 1), k < build.out.ProdArray.size() ? 0 : build.out.ProdArray[k - 1]);
  EXPECT_EQ(host.GetProductionC(planned), 10);

  // The JSON lists them in the same order, with their squares; the PNG outlines them.
  const nlohmann::json doc = nlohmann::json::parse(exporting::WorldJson(host.World(), {false, 31}));
  ASSERT_EQ(doc["cities"].size(), k);
  std::size_t i = 0;
  for (int x = 0; x < world.MapWidth; ++x)
    for (int y = 0; y < world.MapHeight; ++y) {
      if (world.WorldMap(x, y) != 'Y') continue;
      EXPECT_EQ(doc["cities"][i]["x"], x);
      EXPECT_EQ(doc["cities"][i]["y"], y);
      EXPECT_EQ(doc["cities"][i]["production"], build.out.ProdArray[i]);
      EXPECT_EQ(doc["cities"][i]["specialty"], build.out.SpecArray[i]);
      ++i;
    }

  const std::string path = ::testing::TempDir() + "lorvex_cities.png";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::string error;
  ASSERT_TRUE(exporting::WriteWorldPng(host.World(), 3, file, error)) << error;
  std::fclose(file);
  PngImage image;
  ASSERT_TRUE(ReadPng(path, image, error)) << error;
  std::remove(path.c_str());
  for (const auto& city : exporting::CitySquares(host.World())) {
    EXPECT_EQ(image.ColourAt(3 * city.x, 3 * city.y), exporting::kCityOutline);
    EXPECT_EQ(image.ColourAt(3 * city.x + 1, 3 * city.y + 1), exporting::ColourOf('Y'));
  }
}

}  // namespace
}  // namespace lorvex
