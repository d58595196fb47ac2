// Seed for seed, the worlds of a fixed set of parameter sets must stay what they were when
// these fingerprints were recorded: a faster engine may make a step cheaper, never add,
// drop or reorder a draw. Each case builds several seeds through the window, as a person
// pressing Build would, and folds together the fingerprint of the world state and of what
// the host received, the number of draws, the number of yields (the stop key acts only at
// yields) and, in watch mode, what the previews drew.
//
// A fingerprint that changes is a changed world. Run with LORVEX_RECORD_GOLDEN=1 to print
// each case's fingerprint and draws as the code now builds them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/draw_count.h"
#include "engine/world_hash.h"
#include "platform/headless_platform.h"
#include "support/parameter_values.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

struct GoldenCase {
  const char* name;
  // The fingerprint of all seeds' builds and their draws added up, recorded from the engine
  // before any of its speed work (see the file comment).
  std::uint64_t hash;
  std::uint64_t draws;
  int width, height;
  bool wrap;
  bool watch;
  // Settings-file lines applied over the window's defaults before Build is pressed.
  std::vector<const char*> settings;
  // A stop confirmed at this yield (0: none).
  long long stopAtYield = 0;
  // Recommend pressed (after the settings lines) before Build.
  bool recommend = false;
};

constexpr std::uint64_t kSeeds[] = {1, 2, 3, 5, 8, 13, 21, 34};
// No case comes near this many draws; the count is replayed, so it is bounded.
constexpr std::uint64_t kMostDraws = 200'000'000;

// Land for a map of about 10 000 squares: 1-2 Large, 3-5 Medium, 5-8 Small, some tiny.
#define SMALL_LAND \
  "txtLandMass(0) = 1", "txtLandMass(1) = 2", "txtLandMass(2) = 150", "txtLandMass(3) = 250", \
  "txtLandMass(4) = 2", "txtLandMass(5) = 4", "txtLandMass(6) = 3", "txtLandMass(7) = 5", \
  "txtLandMass(8) = 60", "txtLandMass(9) = 120", "txtLandMass(10) = 1", "txtLandMass(11) = 3", \
  "txtLandMass(12) = 5", "txtLandMass(13) = 8", "txtLandMass(14) = 10", "txtLandMass(15) = 40", \
  "txtLandMass(16) = 1", "txtLandMass(17) = 2", "txtLandMass(18) = 20", "txtLandMass(19) = 40", \
  "txtCities(0) = 10", "txtCities(1) = 20"

const std::vector<GoldenCase>& Cases() {
  static const std::vector<GoldenCase> cases = {
      {"mixed, wrapping, cities at random", 0x0882007263cc513bULL, 32539, 120, 80, true, false, {SMALL_LAND}},
      {"default parameters on 200 x 150", 0xa8080812d25818c0ULL, 169062, 200, 150, true, false, {}},
      {"Wandering Blob, flat, evenly by land, Large only", 0xbf25e6f3bfdbe26cULL, 36765, 120, 80, false, false, {SMALL_LAND,
        "chkAlgorithm(1) = 0", "chkAlgorithm(2) = 0", "cboPlacement(0) = 1", "cboPlace1Param1(0) = 0",
        "cboPlace1Param2(0) = 0", "cboCityNumber(0) = 1", "txtCities(0) = 40", "txtCities(1) = 60"}},
      {"Stick Blob, wrapping, evenly by percentage, Large and Medium, per map", 0xd8a90d35b183c214ULL, 43654, 100, 70, true, false,
        {SMALL_LAND, "chkAlgorithm(0) = 0", "chkAlgorithm(2) = 0", "cboPlacement(0) = 1",
        "cboPlace1Param1(0) = 1", "cboPlace1Param2(0) = 1", "cboCityNumber(0) = 2", "txtCities(0) = 80",
        "txtCities(1) = 120"}},
      {"Shapes, flat, evenly by number, all sizes", 0x8e0dfaf3e0b4f69cULL, 17589, 120, 80, false, false, {SMALL_LAND, "chkAlgorithm(0) = 0",
        "chkAlgorithm(1) = 0", "cboPlacement(0) = 1", "cboPlace1Param1(0) = 2", "cboPlace1Param2(0) = 2",
        "txtPlace1(0) = 3", "txtPlace1(1) = 2", "txtPlace1(2) = 1", "txtPlace1(3) = 1"}},
      {"whole figures of a few shapes, proportionately, Large only", 0x1711a407cf39fd8aULL, 10745, 120, 80, true, false, {SMALL_LAND,
        "chkAlgorithm(0) = 0", "chkAlgorithm(1) = 0", "txtShape(0) = 100", "chkShape(0) = 0", "chkShape(2) = 0",
        "chkShape(7) = 0", "chkShape(11) = 0", "chkShape(16) = 0", "chkShape(23) = 0", "cboPlacement(0) = 2",
        "cboPlace2Param1(0) = 0"}},
      {"four Large spaced evenly, proportionately, all sizes", 0xdf6df614a4aa7503ULL, 48682, 140, 90, false, false, {SMALL_LAND,
        "txtLandMass(0) = 4", "txtLandMass(1) = 4", "chkLandPlace(0) = 1", "cboPlacement(0) = 2",
        "cboPlace2Param1(0) = 2"}},
      {"sea borders keep masses off the edge, proportionately, Large and Medium", 0x088fa79daf121268ULL, 29944, 120, 80, false, false,
        {SMALL_LAND, "chkLandPlace(1) = 1", "cboPlacement(0) = 2", "cboPlace2Param1(0) = 1"}},
      {"masses may hang off the edge, cities per map", 0x70efeeafcf80fd84ULL, 38122, 120, 80, false, false, {SMALL_LAND,
        "chkLandPlace(2) = 1", "cboCityNumber(0) = 2", "txtCities(0) = 100", "txtCities(1) = 150"}},
      {"tiny islands only", 0xeed32c4c800cb8f6ULL, 13935, 80, 60, false, false, {"txtLandMass(0) = 0", "txtLandMass(1) = 0",
        "txtLandMass(6) = 0", "txtLandMass(7) = 0", "txtLandMass(12) = 0", "txtLandMass(13) = 0",
        "txtLandMass(18) = 200", "txtLandMass(19) = 400", "txtCities(0) = 10", "txtCities(1) = 20"}},
      {"more land than the map holds", 0xc72129158e110d31ULL, 339247, 60, 40, false, false, {}},
      {"weights 1, 2, 3, heavy terrain, extreme shaping figures", 0x542cf613936845a9ULL, 49405, 120, 80, true, false, {SMALL_LAND,
        "txtAlgorithm(0) = 1", "txtAlgorithm(1) = 2", "txtAlgorithm(2) = 3", "txtTerrain(0) = 30",
        "txtTerrain(1) = 30", "txtTerrain(2) = 25", "txtTerrain(3) = 30", "txtTerrain(4) = 20",
        "txtTerrain(5) = 30", "txtTerrain(6) = 30", "txtTerrain(7) = 30", "txtBlobv2(0) = 80", "txtBlobv2(1) = 3",
        "txtBlobv2(2) = 100", "txtBlobv2(3) = 3", "txtBlobv3(0) = 10", "txtBlobv3(1) = 35", "txtBlobv3(2) = 30",
        "txtBlobv3(3) = 50", "txtShape(0) = 60", "txtShape(1) = 10", "txtShape(2) = 50"}},
      {"one large Shapes mass grown from a small figure", 0xac1f966fba2d7716ULL, 165162, 160, 120, true, false, {"txtLandMass(0) = 1",
        "txtLandMass(1) = 1", "txtLandMass(2) = 4000", "txtLandMass(3) = 5000", "txtLandMass(6) = 0",
        "txtLandMass(7) = 0", "txtLandMass(12) = 0", "txtLandMass(13) = 2", "txtLandMass(18) = 0",
        "txtLandMass(19) = 30", "chkAlgorithm(0) = 0", "chkAlgorithm(1) = 0", "txtShape(0) = 60",
        "txtShape(2) = 5"}},
      {"large blobs pushing on their frames", 0x48cf09e91c8b3b67ULL, 297895, 160, 120, false, false, {"txtLandMass(0) = 2",
        "txtLandMass(1) = 2", "txtLandMass(2) = 2500", "txtLandMass(3) = 3500", "txtLandMass(4) = 0",
        "txtLandMass(5) = 3", "txtLandMass(6) = 0", "txtLandMass(7) = 2", "txtLandMass(12) = 0",
        "txtLandMass(13) = 0", "chkAlgorithm(2) = 0", "txtBlobv2(0) = 80", "txtBlobv2(1) = 3",
        "txtBlobv3(2) = 100"}},
      {"watch mode, mixed", 0xea2cb9f6779afed6ULL, 23151, 60, 40, false, true, {"txtLandMass(0) = 1", "txtLandMass(1) = 1",
        "txtLandMass(2) = 80", "txtLandMass(3) = 120", "txtLandMass(6) = 2", "txtLandMass(7) = 3",
        "txtLandMass(8) = 30", "txtLandMass(9) = 50", "txtLandMass(12) = 2", "txtLandMass(13) = 4",
        "txtLandMass(18) = 10", "txtLandMass(19) = 20", "txtCities(0) = 5", "txtCities(1) = 10"}},
      {"watch mode, even spacing, Shapes", 0xcbb779f0979f1ce7ULL, 8520, 80, 50, true, true, {"txtLandMass(0) = 2", "txtLandMass(1) = 3",
        "txtLandMass(2) = 80", "txtLandMass(3) = 120", "txtLandMass(6) = 1", "txtLandMass(7) = 2",
        "txtLandMass(8) = 30", "txtLandMass(9) = 50", "txtLandMass(12) = 0", "txtLandMass(13) = 2",
        "txtLandMass(18) = 10", "txtLandMass(19) = 20", "chkLandPlace(0) = 1", "chkAlgorithm(0) = 0",
        "chkAlgorithm(1) = 0", "cboPlacement(0) = 1", "txtCities(0) = 5", "txtCities(1) = 10"}},
      {"a stop confirmed during the masses", 0x2b400943cb095b41ULL, 6182, 120, 80, true, false, {SMALL_LAND}, 400},
      {"a stop confirmed during a watch-mode build", 0x5b4e027897cf634dULL, 14159, 60, 40, false, true, {"txtLandMass(0) = 1",
        "txtLandMass(1) = 1", "txtLandMass(2) = 80", "txtLandMass(3) = 120", "txtLandMass(6) = 2",
        "txtLandMass(7) = 3"}, 2500},
      {"Recommend's land on 300 x 200", 0x1ac6a3aef44c178eULL, 748489, 300, 200, true, false, {}, 0, true},
      {"Recommend's land on 250 x 250, flat, evenly by land", 0x26707c1f1c24ab8bULL, 736581, 250, 250, false, false, {"cboPlacement(0) = 1",
        "cboPlace1Param1(0) = 2", "cboCityNumber(0) = 1"}, 0, true},
  };
  return cases;
}

#undef SMALL_LAND



struct CaseResult {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  std::uint64_t draws = 0;
  std::vector<std::string> perSeed;

  void Fold(std::uint64_t value) {
    hash ^= value;
    hash *= 0x100000001b3ULL;
  }
};

std::uint64_t PictureHash(const platform::PictureSurface& picture) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (int y = 0; y < platform::PictureSurface::kHeight; ++y)
    for (int x = 0; x < platform::PictureSurface::kWidth; ++x) {
      const platform::Rgb p = picture.Pixel(x, y);
      h ^= static_cast<std::uint64_t>(p.r) << 16 | static_cast<std::uint64_t>(p.g) << 8 | p.b;
      h *= 0x100000001b3ULL;
    }
  return h ^ picture.Revision();
}

CaseResult BuildCase(const GoldenCase& c) {
  CaseResult result;
  for (const std::uint64_t seed : kSeeds) {
    platform::HeadlessPlatform platform;
    platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);
    if (c.stopAtYield > 0) platform.QueueKeyAtYield(c.stopAtYield, {27, 0, 27});
    auto window = std::make_unique<ui::frmBuild>(platform);
    window->SetSeed(seed);
    bool applied = true;
    platform.AddModalAction([&](platform::Window& w) {
      auto& form = static_cast<ui::frmBuild&>(w);
      checks::ApplyWindowDefaults(form.Controls());
      for (const char* line : c.settings) applied = form.Form().ApplySettingsLine(line) && applied;
      std::string failure;
      if (c.recommend) applied = form.Form().Recommend(failure) && applied;
      if (c.watch) form.Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
      form.Controls().At("cmdBuild", 0).Click();
    });
    HostWorld host;
    const bool built = window->GetMap(c.width, c.height, c.wrap, host);
    EXPECT_TRUE(applied) << c.name << ": a settings line names no control, or Recommend failed";
    EXPECT_EQ(built, c.stopAtYield == 0) << c.name << ", seed " << seed;

    const std::optional<std::uint64_t> draws =
        DrawsBetween(Random(seed), window->Generator(), kMostDraws);
    EXPECT_TRUE(draws.has_value()) << c.name << ", seed " << seed;
    checks::InvariantOptions options;
    // Large masses spaced evenly may be written over earlier land.
    for (const char* line : c.settings)
      options.evenSpacing = options.evenSpacing || std::string(line) == "chkLandPlace(0) = 1";
    EXPECT_EQ(checks::CheckWorld(window->World(), options), "") << c.name << ", seed " << seed;
    const std::uint64_t worldHash = WorldHash(window->World());
    const std::uint64_t hostHash = built ? HostWorldHash(host) : 0;
    const std::uint64_t yields = static_cast<std::uint64_t>(platform.YieldCount());
    const std::uint64_t pictures =
        c.watch ? PictureHash(window->PicWorld()) ^ (PictureHash(window->PicMass()) << 1) : 0;
    // Nobody watches a build outside watch mode: neither preview is drawn on.
    if (!c.watch) {
      EXPECT_EQ(window->PicWorld().Revision() + window->PicMass().Revision(), 0u) << c.name;
    }
    for (std::uint64_t v : {worldHash, hostHash, draws.value_or(0), yields, pictures}) result.Fold(v);
    result.draws += draws.value_or(0);
    result.perSeed.push_back("seed " + std::to_string(seed) + ": world " + std::to_string(worldHash) + " host " +
                             std::to_string(hostHash) + " draws " + std::to_string(draws.value_or(0)) + " yields " +
                             std::to_string(yields) + " pictures " + std::to_string(pictures));
  }
  return result;
}

TEST(GoldenWorlds, EverySeedBuildsTheWorldItAlwaysBuilt) {
  const bool record = std::getenv("LORVEX_RECORD_GOLDEN") != nullptr;
  for (const GoldenCase& c : Cases()) {
    const CaseResult result = BuildCase(c);
    if (record) {
      std::printf("%s: 0x%016llxULL, %llu\n", c.name, static_cast<unsigned long long>(result.hash),
                  static_cast<unsigned long long>(result.draws));
      continue;
    }
    EXPECT_EQ(result.draws, c.draws) << c.name;
    EXPECT_EQ(result.hash, c.hash) << c.name;
    if (result.hash != c.hash)
      for (const std::string& line : result.perSeed) ADD_FAILURE() << c.name << ": " << line;
  }
}

}  // namespace
}  // namespace lorvex
