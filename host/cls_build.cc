#include "host/cls_build.h"

#include <exception>

#include "platform/window_platform.h"
#include "platform/headless_platform.h"

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

bool clsBuild::Build(std::int16_t MapWidth, std::int16_t MapHeight, bool MapWrap) {
  mapWidth_ = MapWidth;
  mapHeight_ = MapHeight;
  mapWrap_ = MapWrap;
  if (MapWidth < 1 || MapHeight < 1 || MapWidth > kMaxMapSide || MapHeight > kMaxMapSide)
    return false;
  try {
    // The real window when the host chose none and windows can be shown; it lives for this
    // one Build, as the window does.
    std::unique_ptr<platform::Platform> windowPlatform;
    platform::Platform* platform = platform_;
    if (platform == nullptr) {
      windowPlatform = MakeWindowPlatform();
      platform = windowPlatform != nullptr ? windowPlatform.get() : headless_.get();
    }
    auto window = std::make_unique<ui::frmBuild>(*platform);
    lastSeed_ = nextSeed_ ? *nextSeed_ : platform->ClockSeed();
    nextSeed_.reset();
    window->SetSeed(lastSeed_);
    HostWorld built;
    if (!window->GetMap(MapWidth, MapHeight, MapWrap, built)) return false;
    world_ = std::move(built);
    return true;
  } catch (const std::exception&) {
    return false;
  } catch (...) {
    return false;
  }
}

std::int16_t clsBuild::GetTerrainC(std::int32_t AryPos) const {
  const std::int32_t width = world_.MapArray.Width();
  if (width <= 0) return kOutsideSquare;
  const std::int32_t x = AryPos % width;  // both truncate toward zero
  const std::int32_t y = AryPos / width;
  if (!world_.MapArray.Contains(x, y)) return kOutsideSquare;
  return HostTerrainNumber(world_.MapArray(x, y));
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
