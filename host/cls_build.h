// clsBuild, the class a host game creates: Build opens the parameters window for a map of
// the given size, and after a completed build the queries answer the world square by
// square (row-major positions) and city by city (ordinals of a column-major scan).
//
// Beyond the seven operations a host programs the builder: it sets the parameters by
// Name(Index), loads and saves settings files, presses Recommend, fixes the seed, and copies
// the finished world in bulk. The builder holds every field it is given for all its later
// builds (host/host_parameters.h says how they meet the default settings file). Builders
// share nothing, so each thread may build with its own. Nothing is thrown out of any method.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/world_key.h"
#include "engine/host_world.h"
#include "host/host_parameters.h"
#include "params/parameter_catalogue.h"
#include "platform/platform.h"

namespace lorvex {

namespace platform {
class HeadlessPlatform;
}

// The largest width and height Build accepts, in squares.
inline constexpr int kMaxMapSide = LORVEX_MAX_MAP_SIDE;
// Why a map of width x height is refused: "cannot <what> a map of W x H: each side is 1 to
// kMaxMapSide".
std::string MapSizeMessage(std::int32_t width, std::int32_t height, const char* what);

// How a Build ended (the numbers are lorvex_build's answers): built; cancelled (the
// window closed without a world); stopped (the stop question answered Yes, a stop flag or
// RequestStop); refused by one of the window's messages (the message holds its text); a
// size outside 1 .. kMaxMapSide; no window that anybody could press Build in (no screen,
// or a thread other than the program's main one, and the build is not headless); out of
// memory; another fault.
enum class BuildStatus : int {
  kBuilt = LORVEX_BUILT,
  kCancelled = LORVEX_CANCELLED,
  kMapSize = LORVEX_ERROR_MAP_SIZE,
  kInternal = LORVEX_ERROR_INTERNAL,
  kOutOfMemory = LORVEX_ERROR_OUT_OF_MEMORY,
  kStopped = LORVEX_ERROR_STOPPED,
  kRefused = LORVEX_ERROR_REFUSED,
  kNoWindow = LORVEX_ERROR_NO_WINDOW,
};

struct BuildOutcome {
  BuildStatus status = BuildStatus::kCancelled;
  std::string message;  // "" when built
  bool Built() const { return status == BuildStatus::kBuilt; }
};

// One city of the finished world: its square and its three values (the C interface's
// LorvexCity).
using HostCity = LorvexCity;

class clsBuild {
 public:
  // The platform of a window on the screen, or nothing when this process cannot show one.
  using WindowPlatformFactory = std::function<std::unique_ptr<platform::Platform>()>;

  // Without a platform, every Build asks the builder's window factory for the real window
  // and runs the window headless when there is none: it opens, nobody presses a button,
  // and it is cancelled (unless the build is headless, below).
  clsBuild();
  explicit clsBuild(platform::Platform& platform);
  ~clsBuild();
  clsBuild(const clsBuild&) = delete;
  clsBuild& operator=(const clsBuild&) = delete;

  // The platform of the following Builds; nullptr chooses at every Build as above.
  void SetPlatform(platform::Platform* platform) { platform_ = platform; }
  // This builder's way to the real window (none by default).
  void SetWindowPlatformFactory(WindowPlatformFactory factory) { windowFactory_ = std::move(factory); }
  // When true, a Build without a platform presses the window's Build button at once,
  // without a screen; a question the window asks is answered Yes or No as set (No unless
  // set otherwise, as a person who does not confirm).
  void SetHeadlessBuild(bool enabled) { headlessBuild_ = enabled; }
  void SetQuestionAnswer(bool yes);
  // A flag any thread may raise to stop this builder's builds (a host that builds on worker
  // threads and closes): a Build running when it rises stops at its next checkpoint, as
  // after a Yes to the stop question, and answers False; a Build called while it is up
  // answers False at once. The flag must outlive every Build; nullptr (the default): none.
  void SetStopFlag(const std::atomic<bool>* flag) { stopFlag_ = flag; }
  // Asks the running Build to stop at its next checkpoint (any thread, at any time): it
  // then answers False, BuildStatus::kStopped. Asked while no Build runs, it stops the
  // next Build at once; a Build that returns has answered it.
  void RequestStop() { stopRequest_.store(true); }
  // Called on the building thread whenever the build enters another stage or its step on
  // the progress bar changes: the stage's name as the status bar shows it ("Initializing
  // Environment", "Large", "Medium", "Small", "Tiny Islands", "Terrain", "Cities"), the
  // step and the whole of the progress bar. A built world ends with ("Built", whole,
  // whole). The call may RequestStop, and must not call the builder otherwise.
  using ProgressCallback = std::function<void(std::string_view stage, int step, int whole)>;
  void SetProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }
  // Whether a Build applies kessett/default.kst of the working folder (true by default, as
  // the window always has); false leaves every field the builder does not hold at the
  // window's default, wherever the program runs.
  void SetUseDefaultSettingsFile(bool use) { useDefaultFile_ = use; }
  // The folder the window's Load Settings and Save Settings buttons open (and make when it
  // is missing); "" is kessett of the working folder, as always.
  void SetSettingsFolder(std::string folder) { settingsFolder_ = std::move(folder); }

  // Answers True when a world was built, False otherwise; LastBuildOutcome says why.
  bool Build(std::int16_t MapWidth, std::int16_t MapHeight, bool MapWrap);
  // x = AryPos mod the width given to the last Build (completed or not), y = AryPos div it.
  std::int16_t GetTerrainC(std::int32_t AryPos) const;
  std::int16_t TestC(std::int16_t AryPos) const;
  std::string GetTerrainVB(std::int32_t XPos, std::int32_t YPos) const;
  std::int16_t GetProductionC(std::int32_t AryPos) const;
  std::int16_t GetSpecialtyC(std::int32_t AryPos) const;
  std::int16_t GetOwnerC(std::int32_t AryPos) const;

  // --- Our extensions ---

  // The seed of the next Build (the clock seeds it otherwise); it also seeds Recommend
  // while it waits.
  // A Build that builds no world leaves it waiting.
  void SetNextSeed(std::uint64_t seed) { nextKey_ = WorldKey{seed, 0}; }
  // The key of the next Build: its seed, and the draws the window's generator skips before
  // the window opens (world_key.h). Recommend draws from the same place while it waits.
  void SetNextKey(const WorldKey& key) { nextKey_ = key; }
  // How the last Build ended, with its message.
  const BuildOutcome& LastBuildOutcome() const { return lastOutcome_; }
  // The seed the last Build that built a world used.
  std::uint64_t LastSeed() const { return lastKey_.seed; }
  // The key of the world the last Build made: its seed and the draws the window gave away
  // before Build was pressed (a person may press Recommend in the window first). Another
  // builder given this key and the same parameters builds the same world.
  WorldKey LastKey() const { return lastKey_; }

  // Parameters, as the C interface's lorvex_set_parameter and its neighbours describe them.
  Outcome SetParameter(std::string_view key, std::string_view value);
  // One line of a settings file, "Name(Index) = value": the key is what stands before the
  // "=", the value what a settings file reads after it; then as SetParameter.
  Outcome SetParameterLine(std::string_view line);
  Outcome GetParameter(std::string_view key, std::string& value) const;
  Outcome ResetParameters();
  Outcome LoadSettings(const std::string& path);
  Outcome SaveSettings(const std::string& path) const;
  // The same with the text of a settings file in memory: loaded as the file would be, and
  // all 103 fields as Save Settings writes them.
  Outcome LoadSettingsText(std::string_view text);
  Outcome SaveSettingsText(std::string& text) const;
  // Recommend for a map of width x height (1 .. kMaxMapSide each way).
  Outcome Recommend(std::int32_t width, std::int32_t height);
  // The land percentage the held land-mass figures give on a map of width x height
  // ("Land = 46 - 139 % ", as the window's status bar shows it).
  std::string LandFigure(std::int32_t width, std::int32_t height);
  // All 103 fields in the window's order, with the ones the builder holds marked; another
  // builder given them by SetParameters builds the same worlds. (Empty only when memory ran
  // out.)
  ParameterFields Parameters() const;
  Outcome SetParameters(const ParameterFields& fields);
  // The parameters the last completed build used, every field marked held (empty before any).
  const ParameterFields& LastBuildParameters() const { return lastBuildParameters_; }
  // The keys of the 103 fields, in the window's order.
  const std::vector<std::string>& ParameterKeys() const { return parameters_.Keys(); }
  // What each of the 103 fields means (page, label, meaning, range, default), in the
  // window's order; and one field's by its key (nullptr for no field).
  static std::span<const params::ParameterInfo> ParameterCatalogue() { return params::ParameterCatalogue(); }
  static const params::ParameterInfo* ParameterInfo(std::string_view key) { return params::FindParameterInfo(key); }

  // Bulk reads of the last world. Each answers the number of elements the world has and
  // writes them only when `out` holds that many (nothing at all otherwise).
  std::size_t CopyTerrain(std::span<char> out) const;               // row-major letters
  std::size_t CopyTerrainNumbers(std::span<std::int16_t> out) const; // row-major host numbers
  std::size_t CopyMassOfSquare(std::span<std::int32_t> out) const;   // row-major, -1 none
  std::size_t CopyCities(std::span<HostCity> out) const;             // column-major ordinals
  std::int32_t MassCount() const { return static_cast<std::int32_t>(world_.Masses.size()); }
  std::optional<LandMass> Mass(std::int32_t i) const;

  // Stored by the last Build call, even a cancelled one.
  std::int16_t MapWidth() const { return mapWidth_; }
  std::int16_t MapHeight() const { return mapHeight_; }
  bool MapWrap() const { return mapWrap_; }
  // The last completed world as the host holds it.
  const HostWorld& World() const { return world_; }
  // Replaces the held world (a host that restores a saved world; tests), and stores its
  // size as a Build of it would.
  void SetWorld(HostWorld world);
  // Hands the last world over, leaving the builder as before its first build.
  HostWorld TakeWorld() { return std::exchange(world_, HostWorld{}); }

 private:
  std::int16_t CityValue(const std::vector<std::int16_t>& values, std::int32_t AryPos) const;
  BuildOutcome RunBuild(std::int16_t MapWidth, std::int16_t MapHeight, bool MapWrap);

  std::unique_ptr<platform::HeadlessPlatform> headless_;  // when no window is shown
  bool headlessBuild_ = false;
  platform::Platform* platform_ = nullptr;       // the host's choice, if it made one
  WindowPlatformFactory windowFactory_;
  const std::atomic<bool>* stopFlag_ = nullptr;
  std::atomic<bool> stopRequest_{false};
  ProgressCallback progress_;
  bool useDefaultFile_ = true;
  std::string settingsFolder_;
  BuildOutcome lastOutcome_;
  std::int16_t mapWidth_ = 0;
  std::int16_t mapHeight_ = 0;
  bool mapWrap_ = false;
  HostWorld world_;
  std::optional<WorldKey> nextKey_;
  WorldKey lastKey_;
  HostParameters parameters_;
  ParameterFields lastBuildParameters_;
};

// The host's number for a terrain letter: T, B, A = 1; Y, Z = 2; F = 3; C = 4; S = 5;
// G = 6; M = 7; R = 8; anything else 0.
std::int16_t HostTerrainNumber(char code);

}  // namespace lorvex
