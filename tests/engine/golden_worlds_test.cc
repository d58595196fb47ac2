// Seed for seed, the worlds of fixed parameter sets stay what they were when recorded: a faster
// engine never adds, drops or reorders a draw. Each seed is built through the window and folds
// in the world, what the host received, the draws, the yields and, in watch mode, the previews.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/draw_count.h"
#include "engine/build_driver.h"
#include "engine/world_hash.h"
#include "platform/headless_platform.h"
#include "support/parameter_values.h"
#include "support/world_invariants.h"
#include "ui/frm_build.h"

namespace lorvex {
namespace {

struct GoldenCase {
  const char* name;
  std::uint64_t hash, draws;  // all seeds' builds folded together, their draws added up
  int width, height;
  bool wrap, watch;
  std::vector<const char*> settings;  // over the window's defaults
  long long stopAtYield = 0;  // a stop confirmed at this yield (0: none)
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

// Masses larger than a 20 x 12 map: 1-2 Large of 300-500 squares, one Medium of 40-60.
#define BIG_LAND \
  "txtLandMass(0) = 1", "txtLandMass(1) = 2", "txtLandMass(2) = 300", "txtLandMass(3) = 500", \
  "txtLandMass(6) = 1", "txtLandMass(7) = 1", "txtLandMass(8) = 40", "txtLandMass(9) = 60", \
  "txtLandMass(12) = 1", "txtLandMass(13) = 2", "txtLandMass(14) = 3", "txtLandMass(15) = 6", \
  "txtCities(0) = 3", "txtCities(1) = 5"

const std::vector<GoldenCase>& Cases() {
  static const std::vector<GoldenCase> cases = {
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
      {"weights 1, 2, 3, heavy terrain, extreme shaping figures", 0x542cf613936845a9ULL, 49405, 120, 80, true, false, {SMALL_LAND,
        "txtAlgorithm(0) = 1", "txtAlgorithm(1) = 2", "txtAlgorithm(2) = 3", "txtTerrain(0) = 30",
        "txtTerrain(1) = 30", "txtTerrain(2) = 25", "txtTerrain(3) = 30", "txtTerrain(4) = 20",
        "txtTerrain(5) = 30", "txtTerrain(6) = 30", "txtTerrain(7) = 30", "txtBlobv2(0) = 80", "txtBlobv2(1) = 3",
        "txtBlobv2(2) = 100", "txtBlobv2(3) = 3", "txtBlobv3(0) = 10", "txtBlobv3(1) = 35", "txtBlobv3(2) = 30",
        "txtBlobv3(3) = 50", "txtShape(0) = 60", "txtShape(1) = 10", "txtShape(2) = 50"}},
      {"watch mode, even spacing, Shapes", 0xcbb779f0979f1ce7ULL, 8520, 80, 50, true, true, {"txtLandMass(0) = 2", "txtLandMass(1) = 3",
        "txtLandMass(2) = 80", "txtLandMass(3) = 120", "txtLandMass(6) = 1", "txtLandMass(7) = 2",
        "txtLandMass(8) = 30", "txtLandMass(9) = 50", "txtLandMass(12) = 0", "txtLandMass(13) = 2",
        "txtLandMass(18) = 10", "txtLandMass(19) = 20", "chkLandPlace(0) = 1", "chkAlgorithm(0) = 0",
        "chkAlgorithm(1) = 0", "cboPlacement(0) = 1", "txtCities(0) = 5", "txtCities(1) = 10"}},
      {"a stop confirmed during a watch-mode build", 0x5b4e027897cf634dULL, 14159, 60, 40, false, true, {"txtLandMass(0) = 1",
        "txtLandMass(1) = 1", "txtLandMass(2) = 80", "txtLandMass(3) = 120", "txtLandMass(6) = 2",
        "txtLandMass(7) = 3"}, 2500},
      // The seam of a wrapping map, masses across it (the word routines are judged at every
      // width near a multiple of 64 by their own tests).
      {"wrapping 120 x 40, masses hang over the edge", 0x17eb00500fe725e4ULL, 30572, 120, 40, true, false, {SMALL_LAND, "chkLandPlace(2) = 1"}},
      {"wrapping 191 x 30, Wandering Blob, evenly by land, Large and Medium, per land", 0xf5d5174a52f8b596ULL, 35541, 191, 30, true, false, {SMALL_LAND,
        "chkAlgorithm(1) = 0", "chkAlgorithm(2) = 0", "cboPlacement(0) = 1", "cboPlace1Param1(0) = 1",
        "cboPlace1Param2(0) = 0", "cboCityNumber(0) = 1", "txtCities(0) = 20", "txtCities(1) = 30"}},
      // Land on the canvas edges under a sea border: masses hanging off a flat map's edges.
      {"flat 129 x 50, wide sea borders, masses hang off the edge", 0x92124b5dc561f576ULL, 32641, 129, 50, false, false, {SMALL_LAND,
        "chkLandPlace(2) = 1", "txtLandMass(4) = 6", "txtLandMass(5) = 9", "txtLandMass(10) = 4", "txtLandMass(11) = 6"}},
      // A frame closing in on a canvas two squares high (a span of 30 x 2, sea border 3).
      {"three Large of 23 spaced evenly on 60 x 5, Stick Blob", 0xd393ab688a54ce3dULL, 92681, 60, 5, false, false, {"txtLandMass(0) = 3",
        "txtLandMass(1) = 3", "txtLandMass(2) = 23", "txtLandMass(3) = 23", "txtLandMass(4) = 3", "txtLandMass(5) = 3",
        "txtLandMass(6) = 0", "txtLandMass(7) = 0", "txtLandMass(12) = 0", "txtLandMass(13) = 0", "txtLandMass(18) = 0",
        "txtLandMass(19) = 0", "chkLandPlace(0) = 1", "chkAlgorithm(0) = 0", "chkAlgorithm(2) = 0", "txtCities(0) = 2",
        "txtCities(1) = 3"}},
      // Masses larger than the map, each algorithm alone, on a wrapping 20 x 12.
      {"masses larger than the map, Stick Blob", 0x00d1422b119cca00ULL, 32375, 20, 12, true, false, {BIG_LAND, "chkAlgorithm(0) = 0", "chkAlgorithm(2) = 0"}},
      {"masses larger than the map, Wandering Blob", 0xea33e9970d931202ULL, 30846, 20, 12, true, false, {BIG_LAND, "chkAlgorithm(1) = 0", "chkAlgorithm(2) = 0"}},
      {"masses larger than the map, Shapes", 0x92d64b6e067a2263ULL, 11995, 20, 12, true, false, {BIG_LAND, "chkAlgorithm(0) = 0", "chkAlgorithm(1) = 0"}},
      // The city rules no case above takes.
      {"evenly by percentage, Large only, per land", 0x7705e4bbc71ef76bULL, 33753, 120, 80, false, false, {SMALL_LAND, "cboPlacement(0) = 1",
        "cboPlace1Param1(0) = 0", "cboPlace1Param2(0) = 1", "cboCityNumber(0) = 1", "txtCities(0) = 30", "txtCities(1) = 50"}},
      {"evenly by land, Large and Medium", 0x8a0494ed5b7c3079ULL, 32620, 120, 80, true, false, {SMALL_LAND, "cboPlacement(0) = 1",
        "cboPlace1Param1(0) = 1", "cboPlace1Param2(0) = 0"}},
  };
  return cases;
}

#undef SMALL_LAND
#undef BIG_LAND

struct CaseResult {
  std::uint64_t hash = 0xcbf29ce484222325ULL, draws = 0;

  void Fold(std::uint64_t value) {
    hash ^= value;
    hash *= 0x100000001b3ULL;
  }
};

std::uint64_t PictureHash(const platform::PictureSurface& picture) {
  CaseResult h;
  for (int y = 0; y < platform::PictureSurface::kHeight; ++y)
    for (int x = 0; x < platform::PictureSurface::kWidth; ++x) {
      const platform::Rgb p = picture.Pixel(x, y);
      h.Fold(static_cast<std::uint64_t>(p.r) << 16 | static_cast<std::uint64_t>(p.g) << 8 | p.b);
    }
  return h.hash ^ picture.Revision();
}

// A build as a person pressing Build makes it: the window's defaults, the settings lines, then
// watch mode if asked; `applied`: every line named a control.
struct WindowBuild {
  WindowBuild(std::uint64_t seed, int width, int height, bool wrap, const std::vector<std::string>& settings,
              bool watch = false, long long stopAtYield = 0, const std::function<void(WindowBuild&)>& onYield = {}) {
    platform.SetDefaultQuestionAnswer(platform::MessageAnswer::kYes);  // land above half the map
    if (onYield) platform.OnYield([this, onYield](platform::Window&) { onYield(*this); });
    if (stopAtYield > 0) platform.QueueKeyAtYield(stopAtYield, {27, 0, 27});
    window->SetSeed(seed);
    platform.AddModalAction([&](platform::Window&) {
      checks::ApplyWindowDefaults(window->Controls());
      for (const std::string& line : settings) applied = window->Form().ApplySettingsLine(line) && applied;
      if (watch) window->Form_KeyDown(platform::kKeyF5, platform::kShiftAlt);
      window->Controls().At("cmdBuild", 0).Click();
    });
    built = window->GetMap(width, height, wrap, host);
  }
  platform::HeadlessPlatform platform;
  std::unique_ptr<ui::frmBuild> window = std::make_unique<ui::frmBuild>(platform);
  HostWorld host;
  bool applied = true, built = false;
};

CaseResult BuildCase(const GoldenCase& c) {
  CaseResult result;
  for (const std::uint64_t seed : kSeeds) {
    WindowBuild b(seed, c.width, c.height, c.wrap, {c.settings.begin(), c.settings.end()}, c.watch, c.stopAtYield);
    EXPECT_TRUE(b.applied) << c.name << ": a settings line names no control";
    EXPECT_EQ(b.built, c.stopAtYield == 0) << c.name << ", seed " << seed;

    const std::optional<std::uint64_t> draws =
        DrawsBetween(Random(seed), b.window->Generator(), kMostDraws);
    EXPECT_TRUE(draws.has_value()) << c.name << ", seed " << seed;
    // Large masses spaced evenly may be written over earlier land.
    const bool evenly = b.window->Controls().At("chkLandPlace", 0).Value() == 1;
    EXPECT_EQ(checks::CheckWorld(b.window->World(), {.evenSpacing = evenly}), "") << c.name << ", seed " << seed;
    const std::uint64_t worldHash = WorldHash(b.window->World());
    const std::uint64_t hostHash = b.built ? HostWorldHash(b.host) : 0;
    const std::uint64_t yields = static_cast<std::uint64_t>(b.platform.YieldCount());
    const std::uint64_t pictures =
        c.watch ? PictureHash(b.window->PicWorld()) ^ (PictureHash(b.window->PicMass()) << 1) : 0;
    // Outside watch mode neither preview is drawn on.
    EXPECT_TRUE(c.watch || b.window->PicWorld().Revision() + b.window->PicMass().Revision() == 0) << c.name;
    for (std::uint64_t v : {worldHash, hostHash, draws.value_or(0), yields, pictures}) result.Fold(v);
    result.draws += draws.value_or(0);
  }
  return result;
}

TEST(GoldenWorlds, EverySeedBuildsTheWorldItAlwaysBuilt) {
  for (const GoldenCase& c : Cases()) {
    const CaseResult result = BuildCase(c);
    // The figures to record, once a change of the worlds is meant.
    EXPECT_TRUE(result.hash == c.hash && result.draws == c.draws)
        << c.name << ": 0x" << std::hex << result.hash << "ULL, " << std::dec << result.draws;
  }
}

// Figures that ask for hours of work: two progress steps a mass out of 2 N + 21 (N up to the
// bound of a size class), and the stop key ends the build within a few yields.
TEST(Edges, AbsurdWorkShowsItsProgressAndStopsOnTheStopKey) {
  const struct { const char* what; int width, height; bool watch; std::uint64_t seed; std::vector<std::string> lines; int progressMax; } rows[] = {
      // Found by the build fuzz target, as two builds that once ended at the map's squares.
      {"1e308 Large masses of 7003 squares", 64, 48, false, 768,
       {"txtLandMass(0) = ", "txtLandMass(1) = 1e308", "txtLandMass(2) = 7003", "txtLandMass(3) = ", "txtLandMass(6) = 0",
        "txtLandMass(7) = 0", "txtLandMass(12) = 0", "txtLandMass(13) = 0", "chkAlgorithm(1) = 0", "chkAlgorithm(2) = 0"},
       2 * kMostMassesPerClass + 21},
      {"1e83 Medium masses ringed by sea borders 67 wide, in watch mode", 64, 64, true, 5,
       {"txtLandMass(0) = 3", "txtLandMass(1) = 3", "txtLandMass(2) = 400", "txtLandMass(3) = 602", "txtLandMass(4) = 02",
        "txtLandMass(5) = 02", "txtLandMass(6) = 1e83", "txtLandMass(7) = 1e83", "txtLandMass(8) = ", "txtLandMass(9) = 0",
        "txtLandMass(10) = 67", "txtLandMass(11) = 67", "txtLandMass(12) = 11", "txtLandMass(13) = 11", "txtLandMass(14) = ",
        "txtLandMass(15) = ", "txtLandMass(18) = 10", "txtLandMass(19) = 0", "chkLandPlace(1) = 1", "chkAlgorithm(0) = 0",
        "chkAlgorithm(2) = 0"}, 2 * (3 + kMostMassesPerClass + 11) + 21},
  };
  for (const auto& row : rows) {
    int progressMax = 0;
    long long stopKeyAt = 0;
    WindowBuild b(row.seed, row.width, row.height, true, row.lines, row.watch, 0, [&](WindowBuild& build) {
      progressMax = build.window->Progress().max;
      if (stopKeyAt == 0 && build.window->Progress().value >= 7) {  // three masses made and placed
        stopKeyAt = build.platform.YieldCount() + 1;
        build.platform.QueueKeyAtYield(stopKeyAt, {0, 0, 27});
      }
    });
    EXPECT_FALSE(b.built) << row.what;
    EXPECT_EQ(progressMax, row.progressMax) << row.what;
    ASSERT_GT(stopKeyAt, 0) << row.what;
    EXPECT_LT(b.platform.YieldCount() - stopKeyAt, 100) << row.what;
    EXPECT_EQ(checks::CheckWorld(b.window->World()), "") << row.what;
  }
}

// A world whose whole answer follows from the rules by hand (no terrain, Wandering Blob
// alone). The mass counts Lo = Hi: 4 Large of one square and no sea border, nothing else,
// spaced evenly on 100 x 60: the centres (12, 15), (38, 45), (62, 15), (88, 45). Four
// cities, all coastal, on a list of four squares in scan order: the spacing is 4 / 4 = 1,
// city j tries index round(j + (r / 2 - 1 / 4)) = j, the fourth index 4 is lowered to 3,
// which holds a city, on every try: so (12, 15) stays clear land and the others get a city.
TEST(HandWorlds, FourLargeSpacedEvenlyWithACityEach) {
  std::vector<std::string> lines = {
      "txtLandMass(0) = 4", "txtLandMass(1) = 4", "txtLandMass(2) = 1", "txtLandMass(3) = 1", "txtLandMass(4) = 0",
      "txtLandMass(5) = 0", "txtLandMass(6) = 0", "txtLandMass(7) = 0", "txtLandMass(12) = 0", "txtLandMass(13) = 0",
      "txtLandMass(18) = 0", "txtLandMass(19) = 0", "chkLandPlace(0) = 1", "txtCities(0) = 4", "txtCities(1) = 4",
      "txtCities(6) = 100", "txtCities(7) = 100", "chkAlgorithm(1) = 0", "chkAlgorithm(2) = 0"};
  for (int k = 0; k < 8; ++k) lines.push_back("txtTerrain(" + std::to_string(k) + ") = 0");
  for (const std::uint64_t seed : {1, 7}) {
    const WindowBuild b(seed, 100, 60, false, lines);
    ASSERT_TRUE(b.applied && b.built);
    const WorldState& world = b.window->World();
    std::string want(100 * 60, 'A');
    for (int y = 1; y < 59; ++y) want.replace(y * 100 + 1, 98, 98, 'S');
    for (const int square : {45 * 100 + 38, 15 * 100 + 62, 45 * 100 + 88}) want[square] = 'Y';
    want[15 * 100 + 12] = 'C';
    EXPECT_EQ(std::string(world.WorldMap.Cells().begin(), world.WorldMap.Cells().end()), want) << "seed " << seed;
    ASSERT_EQ(world.MassTable.size(), 4u);
    for (const LandMass& mass : world.MassTable) EXPECT_TRUE(mass.sizeClass == kLarge && mass.squares == 1);
    EXPECT_EQ(world.CityProduction.size(), 4u);
  }
}

}  // namespace
}  // namespace lorvex
