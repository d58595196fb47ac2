// Fuzz target: the bytes are a host's session with one builder through the C interface,
// with names and values of any text, buffers of any size (NULL included) and files that may
// be missing or folders. Every call must answer one of its statuses, write nothing past a
// buffer's end, and change nothing when it fails; a build that builds nothing keeps the world
// and the last seed and says why; every world built, read back in bulk, keeps the invariants.
#include <cstring>
#include <string>
#include <vector>

#include "support/fuzz_input.h"
#include "host/c_api/lorvex.h"
#include "support/parameter_values.h"
#include "support/world_invariants.h"

namespace {

using lorvex::fuzzing::Fail;
using lorvex::fuzzing::FuzzInput;

// More calls than any session needs to reach every path; it bounds an input's time.
constexpr int kMostCalls = 64;
constexpr char kGuard = '\x5a';

// A file, a folder ("folder.kst"), a file in a missing folder, no name, or any name.
std::string Path(FuzzInput& in) {
  static const char* const kNames[] = {"a.kst", "b.kst", "folder.kst", "missing/c.kst"};
  const int pick = in.Byte() % 6;
  if (pick == 4) return "";
  return (lorvex::fuzzing::WorkFolder("host") / (pick < 4 ? std::string(kNames[pick]) : "x" + in.Text(8))).string();
}

// A field name: most often a real one, else one with an odd index or any text.
std::string Name(const LorvexBuilder* builder, FuzzInput& in) {
  const std::string real = lorvex_parameter_name(builder, in.Range(0, 102));
  switch (in.Byte() % 6) {
    case 0: return real.substr(0, real.find('(')) + "(" + in.FieldText(4, 40) + ")";
    case 1: return real + in.Text(3);
    case 2: {
      std::string text(static_cast<std::size_t>(in.Range(0, 24)), '1');
      for (char& c : text) c = static_cast<char>(in.Byte() | 1);  // no NUL
      return text;
    }
    default: return real;
  }
}

bool IsStatus(int64_t answer) {
  return (answer >= LORVEX_ERROR_INTERNAL && answer <= LORVEX_ADJUSTED) ||
         (answer >= LORVEX_ERROR_NO_WINDOW && answer <= LORVEX_ERROR_OUT_OF_MEMORY);
}

// What a progress callback is told during one build: steps that never fall and never pass
// the whole; it may ask a stop at a given call.
struct ProgressLog {
  LorvexBuilder* builder = nullptr;
  int calls = 0, stopAtCall = -1;
  int32_t lastStep = 0;
  bool broken = false;
};

void OnProgress(void* user, const char* stage, int32_t step, int32_t whole) {
  auto* log = static_cast<ProgressLog*>(user);
  if (stage == nullptr || step < log->lastStep || step > whole || step < 0) log->broken = true;
  log->lastStep = step;
  if (log->calls++ == log->stopAtCall) lorvex_request_stop(log->builder);
}

std::string Field(const LorvexBuilder* builder, const std::string& name) {
  char buffer[2048];
  if (lorvex_get_parameter(builder, name.c_str(), buffer, sizeof buffer) <= 0) Fail(name + " cannot be read");
  return buffer;
}

// Every field, or the fields name(0) .. name(count - 1).
std::vector<std::string> Fields(const LorvexBuilder* builder, const std::string& name = "", int count = 0) {
  std::vector<std::string> values;
  for (int32_t i = 0; i < (name.empty() ? lorvex_parameter_count(builder) : count); ++i)
    values.push_back(Field(builder, name.empty() ? lorvex_parameter_name(builder, i) : name + "(" + std::to_string(i) + ")"));
  return values;
}

// A call that failed must leave every field as it was.
void CheckUnchanged(int64_t answer, const std::vector<std::string>& before, const LorvexBuilder* builder,
                    const char* call) {
  if (!IsStatus(answer) && answer < 0) Fail(std::string(call) + " answered " + std::to_string(answer));
  if (answer < 0 && Fields(builder) != before)
    Fail(std::string(call) + " failed (" + lorvex_last_error(builder) + ") but changed a field");
}

// Copies one kind of value into a buffer of n elements behind a guard; answers the count.
// A copy writes its elements only when they all fit; a text too long for its buffer leaves
// an empty text (one byte) there.
template <typename T, typename Copy>
int64_t GuardedCopy(const LorvexBuilder* builder, Copy copy, std::size_t n, bool nullBuffer, std::vector<T>& out,
                    bool text = false) {
  std::vector<char> bytes((n + 1) * sizeof(T), kGuard);
  const int64_t answer = copy(builder, nullBuffer ? nullptr : reinterpret_cast<T*>(bytes.data()), n);
  const bool fits = answer >= 0 && static_cast<std::size_t>(answer) <= n;
  if (!nullBuffer && n > 0 && answer >= 0 && !fits) Fail("a short buffer was not answered as too small");
  const std::size_t written =
      fits ? static_cast<std::size_t>(answer) * sizeof(T) : (text && answer == LORVEX_ERROR_BUFFER_TOO_SMALL ? 1 : 0);
  for (std::size_t i = written; i < bytes.size(); ++i)
    if (bytes[i] != kGuard) Fail("a copy wrote past what it answered or past the buffer");
  if (fits) {
    out.resize(static_cast<std::size_t>(answer));
    if (answer > 0) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(T));
  }
  return answer;
}

std::size_t Squares(const LorvexBuilder* builder) {
  return static_cast<std::size_t>(lorvex_map_width(builder)) * static_cast<std::size_t>(lorvex_map_height(builder));
}

std::vector<char> Terrain(const LorvexBuilder* builder) {
  std::vector<char> letters;
  GuardedCopy(builder, lorvex_copy_terrain, Squares(builder), false, letters);
  return letters;
}

// The world of the last build, read back in bulk and checked as every world is. `evenly`:
// it was built with its Large masses spaced evenly (which may lay land over land).
void CheckWorld(const LorvexBuilder* builder, bool wrap, bool evenly) {
  const std::size_t squares = Squares(builder), cityCount = static_cast<std::size_t>(lorvex_city_count(builder));
  lorvex::WorldState world;
  world.SetMapSize(lorvex_map_width(builder), lorvex_map_height(builder), wrap);
  world.CreateInitialMap();
  std::vector<LorvexCity> cities;
  world.WorldMap.Cells() = Terrain(builder);
  if (world.WorldMap.Cells().size() != squares ||
      GuardedCopy(builder, lorvex_copy_mass_of_square, squares, false, world.MassOfSquare.Cells()) !=
          static_cast<int64_t>(squares) ||
      GuardedCopy(builder, lorvex_copy_cities, cityCount, false, cities) != static_cast<int64_t>(cityCount))
    Fail("a copy does not answer the world's count");
  for (int32_t i = 0; i < lorvex_mass_count(builder); ++i) {
    int sizeClass = -1;
    int32_t land = -1;
    if (lorvex_get_mass(builder, i, &sizeClass, &land) != LORVEX_OK) Fail("a mass cannot be read");
    world.MassTable.push_back({static_cast<int16_t>(sizeClass), land});
  }
  for (std::size_t k = 0; k < cities.size(); ++k) {
    if (!world.WorldMap.Contains(cities[k].x, cities[k].y)) Fail("a city off the map");
    world.CityOfSquare(cities[k].x, cities[k].y) = static_cast<int32_t>(k);
    world.CityProduction.push_back(cities[k].production);
    world.CitySpecialty.push_back(cities[k].specialty);
    world.CityOwner.push_back(cities[k].owner);
  }
  const std::string broken = lorvex::checks::CheckWorld(world, {.evenSpacing = evenly});
  if (!broken.empty()) Fail("broken world: " + broken);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  LorvexBuilder* builder = lorvex_create();
  if (builder == nullptr) Fail("lorvex_create answered NULL");
  lorvex_set_question_answer(builder, 1);
  ProgressLog progress{builder};
  struct { bool wrap = false, evenly = false; } built;  // how the world the builder holds was built
  for (int call = 0; call < kMostCalls && in.Remaining() > 0; ++call) {
    const std::vector<std::string> before = Fields(builder);
    const std::string errorBefore = lorvex_last_error(builder);
    switch (in.Byte() % 13) {
      case 0: {
        // Any value a C string can hold (it ends at a NUL).
        const std::string name = Name(builder, in), value = in.FieldText(4, 1100).c_str();
        const int answer = lorvex_set_parameter(builder, in.Byte() == 0 ? nullptr : name.c_str(), value.c_str());
        CheckUnchanged(answer, before, builder, "lorvex_set_parameter");
        break;
      }
      case 1: {
        const std::string name = Name(builder, in);
        const std::size_t n = static_cast<std::size_t>(in.Range(0, 40));
        std::vector<char> ignored;
        const auto get = [&name](const LorvexBuilder* b, char* o, size_t s) { return lorvex_get_parameter(b, name.c_str(), o, s); };
        const int64_t answer = GuardedCopy(builder, get, n, in.Byte() % 8 == 0, ignored, true);
        if (answer == 0 || !(answer > 0 || IsStatus(answer)))
          Fail("lorvex_get_parameter answered " + std::to_string(answer));
        if (n == 0 && answer > 0 && errorBefore != lorvex_last_error(builder)) Fail("a size question wrote an error text");
        break;
      }
      case 2:
        CheckUnchanged(lorvex_load_settings(builder, Path(in).c_str()), before, builder, "lorvex_load_settings");
        break;
      case 3:
        CheckUnchanged(lorvex_save_settings(builder, Path(in).c_str()), before, builder, "lorvex_save_settings");
        if (Fields(builder) != before) Fail("a save changed a field");
        break;
      case 4: {
        const int32_t width = in.Range(-1, 80), height = in.Range(-1, 80);
        lorvex_set_seed(builder, in.Word());
        CheckUnchanged(lorvex_recommend(builder, width, height), before, builder, "lorvex_recommend");
        break;
      }
      case 5: {
        if (lorvex_reset_parameters(builder) != LORVEX_OK) Fail("lorvex_reset_parameters failed");
        // What a field means, for any field number and item: a text for the 103 fields and
        // the items of lorvex.h, NULL for anything else; the field now holds its default.
        const int32_t i = in.Range(-2, 105);
        const int item = in.Range(-2, LORVEX_INFO_MAXIMUM + 2);
        const char* info = lorvex_parameter_info(i, item);
        const bool known = i >= 0 && i < lorvex_parameter_count(builder) && item >= 0 && item <= LORVEX_INFO_MAXIMUM;
        if ((info != nullptr) != known) Fail("lorvex_parameter_info answered for no field, or not for a field");
        if (known && (std::strlen(info) > 4096 ||
                      Field(builder, lorvex_parameter_info(i, LORVEX_INFO_NAME)) != lorvex_parameter_info(i, LORVEX_INFO_DEFAULT)))
          Fail("a field after a reset does not hold the default its catalogue entry gives");
        break;
      }
      case 6: {
        const int32_t width = in.Range(-1, 64), height = in.Range(-1, 64);
        const bool wrap = (in.Byte() & 1) != 0;
        lorvex_set_headless_build(builder, in.Byte() % 8 != 0);
        lorvex_set_seed(builder, in.Word());
        // Land figures asking for too much shaping, and city figures for too many cities, are
        // not built (the build fuzz target and the extremes tests build large figures).
        if (width > 0 && height > 0 &&
            (lorvex::checks::AsksTooMuchShaping(Fields(builder, "txtLandMass", 20), static_cast<double>(width) * height) ||
             lorvex::checks::AsksTooManyCities(Fields(builder, "txtCities", 2), Fields(builder, "txtPlace1", 4))))
          break;
        const bool watched = in.Byte() % 2 == 0;
        progress = {builder, 0, in.Byte() % 4 == 0 ? in.Range(0, 80) : -1};  // no calls yet
        lorvex_set_progress_callback(builder, watched ? OnProgress : nullptr, &progress);
        const std::vector<char> worldBefore = Terrain(builder);
        const uint64_t seedBefore = lorvex_last_seed(builder);
        const int answer = lorvex_build(builder, width, height, wrap);
        if (answer == LORVEX_BUILT) {
          built = {wrap, Field(builder, "chkLandPlace(0)") == "1"};
        } else {
          if (!IsStatus(answer) || answer == LORVEX_ADJUSTED) Fail("lorvex_build answered " + std::to_string(answer));
          if (std::string(lorvex_last_error(builder)).empty()) Fail("a build that built nothing did not say why");
          if (Terrain(builder) != worldBefore || lorvex_last_seed(builder) != seedBefore)
            Fail("a build that built nothing changed the world or the last seed");
        }
        if (watched && progress.broken) Fail("the progress went back or past the whole");
        if (Fields(builder) != before) Fail("a build changed a field");
        // The last world built, whether or not this build replaced it.
        if (lorvex_map_width(builder) > 0) CheckWorld(builder, built.wrap, built.evenly);
        break;
      }
      case 7: {  // settings as text, in and out
        const std::string text = in.FieldText(4, 3000);
        const int answer = lorvex_load_settings_text(builder, in.Byte() == 0 ? nullptr : text.data(), text.size());
        CheckUnchanged(answer, before, builder, "lorvex_load_settings_text");
        std::vector<char> saved;
        const std::size_t n = static_cast<std::size_t>(in.Range(0, 4000));
        const int64_t size = GuardedCopy(builder, lorvex_save_settings_text, n, in.Byte() % 8 == 0, saved, true);
        if (size == 0 || !(size > 0 || IsStatus(size))) Fail("lorvex_save_settings_text answered " + std::to_string(size));
        break;
      }
      case 8:
        lorvex_request_stop(builder);  // the next build stops at once
        break;
      case 9:
        lorvex_set_default_settings_file(builder, in.Byte() % 2);
        break;
      case 10: {
        const std::string folder = in.Byte() % 2 == 0 ? Path(in) : in.Text(12);
        if (lorvex_set_settings_folder(builder, in.Byte() == 0 ? nullptr : folder.c_str()) != LORVEX_OK)
          Fail("lorvex_set_settings_folder failed");
        break;
      }
      default: {  // a copy into a buffer of any size
        const std::size_t n = static_cast<std::size_t>(in.Range(0, 5000));
        const bool nullBuffer = in.Byte() % 8 == 0;
        const int kind = in.Byte() % 3;
        const int64_t count = kind == 2 ? lorvex_city_count(builder) : static_cast<int64_t>(Squares(builder));
        std::vector<char> letters;
        std::vector<int16_t> numbers;
        std::vector<LorvexCity> cities;
        const int64_t answer = kind == 0   ? GuardedCopy(builder, lorvex_copy_terrain, n, nullBuffer, letters)
                               : kind == 1 ? GuardedCopy(builder, lorvex_copy_terrain_numbers, n, nullBuffer, numbers)
                                           : GuardedCopy(builder, lorvex_copy_cities, n, nullBuffer, cities);
        const int64_t expected = nullBuffer && n > 0                    ? LORVEX_ERROR_NULL_ARGUMENT
                                 : n == 0 || static_cast<int64_t>(n) >= count ? count
                                                                             : LORVEX_ERROR_BUFFER_TOO_SMALL;
        if (answer != expected)
          Fail("a copy answered " + std::to_string(answer) + " for " + std::to_string(count));
        break;
      }
    }
  }
  lorvex_destroy(builder);
  return 0;
}
