#include "host/cls_build.h"

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <new>

#include "platform/headless_platform.h"
#include "ui/frm_build.h"

namespace lorvex {

namespace {
constexpr std::int16_t kOutsideSquare = 4;
constexpr const char* kOutsideLetter = "C";
constexpr std::int16_t kOutsideCity = 10;
}  // namespace

std::int16_t HostTerrainNumber(char code) {
  switch (code) {
    case 'T': case 'B': case 'A': return 1;
    case 'Y': case 'Z': return 2;
    case 'F': return 3;
    case 'C': return 4;
    case 'S': return 5;
    case 'G': return 6;
    case 'M': return 7;
    case 'R': return 8;
    default: return 0;
  }
}

clsBuild::clsBuild() : headless_(std::make_unique<platform::HeadlessPlatform>()) {}

clsBuild::clsBuild(platform::Platform& platform)
    : headless_(std::make_unique<platform::HeadlessPlatform>()), platform_(&platform) {}

clsBuild::~clsBuild() = default;

void clsBuild::SetQuestionAnswer(bool yes) {
  headless_->SetDefaultQuestionAnswer(yes ? platform::MessageAnswer::kYes : platform::MessageAnswer::kNo);
}

namespace {

// The thread the process started on, where a program that has not made its own window
// toolkit's application runs its user interface.
bool OnMainThread() { return ::gettid() == ::getpid(); }

}  // namespace

std::string MapSizeMessage(std::int32_t width, std::int32_t height, const char* what) {
  return std::string("cannot ") + what + " a map of " + std::to_string(width) + " x " +
         std::to_string(height) + ": each side is 1 to " + std::to_string(kMaxMapSide);
}

bool clsBuild::Build(std::int16_t MapWidth, std::int16_t MapHeight, bool MapWrap) {
  mapWidth_ = MapWidth;
  mapHeight_ = MapHeight;
  mapWrap_ = MapWrap;
  try {
    lastOutcome_ = RunBuild(MapWidth, MapHeight, MapWrap);
  } catch (const std::bad_alloc&) {
    lastOutcome_ = {BuildStatus::kOutOfMemory, "out of memory"};
  } catch (const std::exception& error) {
    lastOutcome_ = {BuildStatus::kInternal, error.what()};
  } catch (...) {
    lastOutcome_ = {BuildStatus::kInternal, "an unknown fault"};
  }
  // The request is answered: by this build's stop, or too late for it.
  stopRequest_.store(false);
  return lastOutcome_.Built();
}

BuildOutcome clsBuild::RunBuild(std::int16_t MapWidth, std::int16_t MapHeight, bool MapWrap) {
  if (MapWidth < 1 || MapHeight < 1 || MapWidth > kMaxMapSide || MapHeight > kMaxMapSide)
    return {BuildStatus::kMapSize, MapSizeMessage(MapWidth, MapHeight, "build")};
  const auto stopRaised = [this] {
    return stopRequest_.load() || (stopFlag_ != nullptr && stopFlag_->load());
  };
  if (stopRaised()) return {BuildStatus::kStopped, "the build was stopped before it began"};
  // The real window when the host chose no platform and windows can be shown; it lives
  // for this one Build, as the window does.
  std::unique_ptr<platform::Platform> windowPlatform;
  platform::Platform* platform = platform_;
  if (platform == nullptr && headlessBuild_) {
    headless_->AddModalAction([](platform::Window& window) {
      static_cast<ui::frmBuild&>(window).cmdBuild_Click();
    });
    platform = headless_.get();
  }
  if (platform == nullptr) {
    // A window toolkit belongs to one thread; shown from a worker it would wait there for a
    // person who cannot reach it.
    if (windowFactory_ && !OnMainThread())
      return {BuildStatus::kNoWindow,
              "the parameters window can be shown only on the program's main thread: a build on "
              "another thread must be headless"};
    // A factory that cannot make the window (its library missing or of another build)
    // says why.
    try {
      if (windowFactory_) windowPlatform = windowFactory_();
    } catch (const std::exception& refusal) {
      return {BuildStatus::kNoWindow, refusal.what()};
    }
    if (windowPlatform == nullptr)
      return {BuildStatus::kNoWindow,
              "nobody can press Build: there is no screen to show the parameters window on, and "
              "the build is not headless"};
    platform = windowPlatform.get();
  }
  auto window = std::make_unique<ui::frmBuild>(*platform);
  window->SetKey(nextKey_ ? *nextKey_ : WorldKey{platform->ClockSeed(), 0});
  window->SetOpeningSettings(parameters_.HeldLines());
  window->Form().SetUseDefaultSettingsFile(useDefaultFile_);
  if (!settingsFolder_.empty()) window->Form().SetSettingsFolder(settingsFolder_);
  window->SetStopFlags(stopFlag_, &stopRequest_);
  if (progress_) window->OnProgress(progress_);
  // The window is released when Build returns: its world is taken, not copied.
  window->SetHandOver(true);
  HostWorld built;
  if (!window->GetMap(MapWidth, MapHeight, MapWrap, built)) {
    if (window->LastPress() == ui::frmBuild::PressOutcome::kStopped || stopRaised())
      return {BuildStatus::kStopped, "the build was stopped"};
    if (window->LastPress() == ui::frmBuild::PressOutcome::kRefused)
      return {BuildStatus::kRefused, window->RefusalMessage()};
    return {BuildStatus::kCancelled, "the parameters window was closed without a build"};
  }
  lastBuildParameters_ = FieldsOfWindow(window->Controls());
  world_ = std::move(built);
  lastKey_ = window->BuildKey();
  nextKey_.reset();
  if (progress_) progress_("Built", window->Progress().max, window->Progress().max);
  return {BuildStatus::kBuilt, ""};
}

namespace {

// Runs a call of the builder, answering an internal failure instead of anything thrown.
template <typename Call>
Outcome Guarded(Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return {Status::kOutOfMemory, "out of memory"};
  } catch (const std::exception& error) {
    return {Status::kInternal, error.what()};
  } catch (...) {
    return {Status::kInternal, "an unknown fault"};
  }
}

// Writes count elements made by make(i) when out holds them all; answers count.
template <typename T, typename Make>
std::size_t CopyOut(std::span<T> out, std::size_t count, Make make) {
  if (out.size() >= count)
    for (std::size_t i = 0; i < count; ++i) out[i] = make(i);
  return count;
}

}  // namespace

Outcome clsBuild::SetParameter(std::string_view key, std::string_view value) {
  return Guarded([&] { return parameters_.Set(key, value); });
}

Outcome clsBuild::SetParameterLine(std::string_view line) {
  return Guarded([&] {
    const std::optional<params::SettingsLine> parsed = params::ParseSettingsLine(line);
    if (!parsed) return Outcome{Status::kUnknownField, "not a line Name(Index) = value"};
    std::string_view key = line.substr(0, line.find('='));
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
    return parameters_.Set(key, parsed->value);
  });
}

Outcome clsBuild::GetParameter(std::string_view key, std::string& value) const {
  return Guarded([&] { return parameters_.Get(key, value); });
}

Outcome clsBuild::ResetParameters() {
  return Guarded([&] {
    parameters_.Reset();
    return Outcome{};
  });
}

Outcome clsBuild::LoadSettings(const std::string& path) {
  return Guarded([&] { return parameters_.Load(path); });
}

Outcome clsBuild::SaveSettings(const std::string& path) const {
  return Guarded([&] { return parameters_.Save(path); });
}

Outcome clsBuild::LoadSettingsText(std::string_view text) {
  return Guarded([&] { return parameters_.LoadText(text); });
}

Outcome clsBuild::SaveSettingsText(std::string& text) const {
  return Guarded([&] {
    text = parameters_.Text();
    return Outcome{};
  });
}

Outcome clsBuild::Recommend(std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1 || width > kMaxMapSide || height > kMaxMapSide)
    return {Status::kMapSize, MapSizeMessage(width, height, "recommend for")};
  return Guarded([&] {
    return parameters_.Recommend(width, height, nextKey_ ? *nextKey_ : WorldKey{headless_->ClockSeed(), 0});
  });
}

std::string clsBuild::LandFigure(std::int32_t width, std::int32_t height) {
  try {
    return parameters_.LandFigure(width, height);
  } catch (...) {
    return "";
  }
}

ParameterFields clsBuild::Parameters() const {
  try {
    return parameters_.Fields();
  } catch (...) {
    return {};
  }
}

Outcome clsBuild::SetParameters(const ParameterFields& fields) {
  return Guarded([&] {
    parameters_.SetFields(fields);
    return Outcome{};
  });
}

std::size_t clsBuild::CopyTerrain(std::span<char> out) const {
  const std::vector<char>& cells = world_.MapArray.Cells();
  if (out.size() >= cells.size()) std::copy(cells.begin(), cells.end(), out.begin());
  return cells.size();
}

std::size_t clsBuild::CopyTerrainNumbers(std::span<std::int16_t> out) const {
  const std::vector<char>& cells = world_.MapArray.Cells();
  return CopyOut(out, cells.size(), [&](std::size_t i) { return HostTerrainNumber(cells[i]); });
}

std::size_t clsBuild::CopyMassOfSquare(std::span<std::int32_t> out) const {
  // A world given by SetWorld may come without its masses: every square then answers none.
  const std::vector<std::int32_t>& masses = world_.MassOfSquare.Cells();
  return CopyOut(out, world_.MapArray.Cells().size(),
                 [&](std::size_t i) { return i < masses.size() ? masses[i] : -1; });
}

std::size_t clsBuild::CopyCities(std::span<HostCity> out) const {
  const std::size_t count = std::min(world_.CitySquares.size(), world_.ProdArray.size());
  return CopyOut(out, count, [&](std::size_t k) {
    const auto [x, y] = world_.CitySquares[k];
    return HostCity{x, y, world_.ProdArray[k], world_.SpecArray[k], world_.OwnerArray[k]};
  });
}

std::optional<LandMass> clsBuild::Mass(std::int32_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= world_.Masses.size()) return std::nullopt;
  return world_.Masses[static_cast<std::size_t>(i)];
}

std::int16_t clsBuild::GetTerrainC(std::int32_t AryPos) const {
  // The width stored by the last Build, completed or not: after a cancelled Build of
  // another size the positions no longer match the world held.
  const std::int64_t width = mapWidth_;
  if (width == 0) return kOutsideSquare;
  // Both truncate toward zero; in 64 bits, as a negative width may have been stored.
  const std::int64_t x = AryPos % width;
  const std::int64_t y = AryPos / width;
  if (x < 0 || y < 0 || x >= world_.MapArray.Width() || y >= world_.MapArray.Height())
    return kOutsideSquare;
  return HostTerrainNumber(world_.MapArray(static_cast<int>(x), static_cast<int>(y)));
}

void clsBuild::SetWorld(HostWorld world) {
  world_ = std::move(world);
  mapWidth_ = static_cast<std::int16_t>(world_.MapArray.Width());
  mapHeight_ = static_cast<std::int16_t>(world_.MapArray.Height());
}

std::int16_t clsBuild::TestC(std::int16_t) const { return 4; }

std::string clsBuild::GetTerrainVB(std::int32_t XPos, std::int32_t YPos) const {
  if (!world_.MapArray.Contains(XPos, YPos)) return kOutsideLetter;
  return std::string(1, world_.MapArray(XPos, YPos));
}

std::int16_t clsBuild::CityValue(const std::vector<std::int16_t>& values,
                                 std::int32_t AryPos) const {
  if (AryPos < 0 || static_cast<std::size_t>(AryPos) >= values.size()) return kOutsideCity;
  return values[static_cast<std::size_t>(AryPos)];
}

std::int16_t clsBuild::GetProductionC(std::int32_t AryPos) const {
  return CityValue(world_.ProdArray, AryPos);
}
std::int16_t clsBuild::GetSpecialtyC(std::int32_t AryPos) const {
  return CityValue(world_.SpecArray, AryPos);
}
std::int16_t clsBuild::GetOwnerC(std::int32_t AryPos) const {
  return CityValue(world_.OwnerArray, AryPos);
}

}  // namespace lorvex
