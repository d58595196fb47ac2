// clsBuild, the class a host game creates: Build opens the parameters window for a map of
// the given size, and after a completed build the queries answer the world square by
// square (row-major positions) and city by city (ordinals of a column-major scan).
// Nothing is thrown out of any method.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "ui/frm_build.h"

namespace lorvex {

// The largest width and height Build accepts, in squares.
inline constexpr int kMaxMapSide = 4096;

class clsBuild {
 public:
  // Without a platform, every Build shows the real window when the process can show
  // windows (a window toolkit binding has registered itself, platform/window_platform.h) and
  // runs it headless otherwise: it opens, nobody presses a button, and it is cancelled.
  clsBuild();
  explicit clsBuild(platform::Platform& platform);

  // The platform of the following Builds; nullptr chooses at every Build as above.
  void SetPlatform(platform::Platform* platform) { platform_ = platform; }

  bool Build(std::int16_t MapWidth, std::int16_t MapHeight, bool MapWrap);
  std::int16_t GetTerrainC(std::int32_t AryPos) const;
  std::int16_t TestC(std::int16_t AryPos) const;
  std::string GetTerrainVB(std::int32_t XPos, std::int32_t YPos) const;
  std::int16_t GetProductionC(std::int32_t AryPos) const;
  std::int16_t GetSpecialtyC(std::int32_t AryPos) const;
  std::int16_t GetOwnerC(std::int32_t AryPos) const;

  // Our extension: the seed of the next Build (the clock seeds it otherwise).
  void SetNextSeed(std::uint64_t seed) { nextSeed_ = seed; }
  // The seed the last Build used.
  std::uint64_t LastSeed() const { return lastSeed_; }

  // Stored by the last Build call, even a cancelled one.
  std::int16_t MapWidth() const { return mapWidth_; }
  std::int16_t MapHeight() const { return mapHeight_; }
  bool MapWrap() const { return mapWrap_; }
  // The last completed world as the host holds it.
  const HostWorld& World() const { return world_; }
  // Replaces the held world (a host that restores a saved world; tests).
  void SetWorld(HostWorld world) { world_ = std::move(world); }

 private:
  std::int16_t CityValue(const std::vector<std::int16_t>& values, std::int32_t AryPos) const;

  std::unique_ptr<platform::Platform> headless_;  // when no window can be shown
  platform::Platform* platform_ = nullptr;       // the host's choice, if it made one
  std::int16_t mapWidth_ = 0;
  std::int16_t mapHeight_ = 0;
  bool mapWrap_ = false;
  HostWorld world_;
  std::optional<std::uint64_t> nextSeed_;
  std::uint64_t lastSeed_ = 0;
};

// The host's number for a terrain letter: T, B, A = 1; Y, Z = 2; F = 3; C = 4; S = 5;
// G = 6; M = 7; R = 8; anything else 0.
std::int16_t HostTerrainNumber(char code);

}  // namespace lorvex
