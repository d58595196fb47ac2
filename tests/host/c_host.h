// What the tests of the C interface share: a fresh working folder for each test (so that
// no kessett/default.kst of another run is applied, and a test can plant one), and a world
// read through the bulk copies.
#pragma once

#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/c_api/lorvex.h"

namespace lorvex::testing {

class WorkingFolder {
 public:
  WorkingFolder() : before_(std::filesystem::current_path()) {
    char pattern[] = "/tmp/lorvex-c-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
    std::filesystem::current_path(path_);
  }
  ~WorkingFolder() {
    std::filesystem::current_path(before_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  // Writes a file under the folder (making its folders).
  std::string Write(const std::string& name, const std::string& text) const {
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << text;
    return (path_ / name).string();
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path before_;
  std::filesystem::path path_;
};

// A world as the bulk copies give it: its letters, and each city as (x, y, production,
// specialty, owner).
struct CopiedWorld {
  std::vector<char> terrain;
  std::vector<std::array<int, 5>> cities;
  bool operator==(const CopiedWorld&) const = default;
};

inline CopiedWorld CopyWorld(const LorvexBuilder* builder) {
  CopiedWorld world;
  world.terrain.resize(static_cast<std::size_t>(lorvex_copy_terrain(builder, nullptr, 0)));
  lorvex_copy_terrain(builder, world.terrain.data(), world.terrain.size());
  std::vector<LorvexCity> cities(static_cast<std::size_t>(lorvex_copy_cities(builder, nullptr, 0)));
  lorvex_copy_cities(builder, cities.data(), cities.size());
  for (const LorvexCity& c : cities) world.cities.push_back({c.x, c.y, c.production, c.specialty, c.owner});
  return world;
}

// A headless builder: Build is pressed at once and the land warning answered Yes.
inline LorvexBuilder* HeadlessBuilder() {
  LorvexBuilder* builder = lorvex_create();
  lorvex_set_headless_build(builder, 1);
  lorvex_set_question_answer(builder, 1);
  return builder;
}

}  // namespace lorvex::testing
