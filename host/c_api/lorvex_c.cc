// The C interface over clsBuild. Every entry point checks its pointers and catches
// everything; the calls that answer a status leave their message in the builder.
#include "lorvex.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "common/version.h"
#include "host/cls_build.h"
#include "host/c_api/window_loader.h"

struct LorvexBuilder {
  lorvex::clsBuild builder;
  // Why the last call that failed (or adjusted a value, or built nothing) did so; mutable,
  // as the queries that answer one are const. A plain success leaves it, so the text a
  // host holds stays valid until the next call that writes another.
  mutable std::string lastError;
  LorvexProgressCallback progress = nullptr;
  void* progressUser = nullptr;
};

namespace {

using lorvex::Outcome;
using lorvex::Status;

constexpr const char* kNullBuilderText = "the builder is NULL";

template <typename Result, typename Call>
Result Guard(Result fallback, Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    if constexpr (std::is_integral_v<Result>)
      if (fallback < 0) return static_cast<Result>(LORVEX_ERROR_OUT_OF_MEMORY);
    return fallback;
  } catch (...) {
    return fallback;
  }
}

// Keeps the outcome's message in the builder, unless it is a plain success, and answers its
// status.
int Answer(const LorvexBuilder* builder, Outcome outcome) {
  if (outcome.status != Status::kOk) builder->lastError = std::move(outcome.message);
  return static_cast<int>(outcome.status);
}

// A text answer (a value, a settings text) into the host's buffer of `size` bytes: the
// bytes it needs with its NUL; (NULL, 0) only asks; a shorter buffer gets "" and
// LORVEX_ERROR_BUFFER_TOO_SMALL.
int64_t TextAnswer(const LorvexBuilder* builder, const std::string& text, char* buffer,
                   size_t size, const std::string& what) {
  const std::size_t needed = text.size() + 1;
  if (size == 0) return static_cast<int64_t>(needed);
  if (needed > size) {
    buffer[0] = '\0';
    return Answer(builder, Outcome{Status::kBufferTooSmall, what + " needs " + std::to_string(needed) +
                                                             " bytes and the buffer holds " + std::to_string(size)});
  }
  std::memcpy(buffer, text.c_str(), needed);
  return static_cast<int64_t>(needed);
}

int Failure(const LorvexBuilder* builder, Status status, const char* message) {
  return Answer(builder, Outcome{status, message});
}

// Runs a call that answers an Outcome; a NULL builder or argument is answered first.
template <typename Call>
int StatusCall(const LorvexBuilder* builder, bool argumentsPresent, const char* missing,
               Call call) {
  if (builder == nullptr) return LORVEX_ERROR_NULL_ARGUMENT;
  return Guard(static_cast<int>(LORVEX_ERROR_INTERNAL), [&] {
    if (!argumentsPresent) return Failure(builder, Status::kNullArgument, missing);
    return Answer(builder, call());
  });
}

// One bulk copy: the count the world has, or a negative status.
template <typename Element, typename Copy>
int64_t CopyCall(const LorvexBuilder* builder, Element* out, size_t n, Copy copy) {
  if (builder == nullptr) return LORVEX_ERROR_NULL_ARGUMENT;
  return Guard(static_cast<int64_t>(LORVEX_ERROR_INTERNAL), [&]() -> int64_t {
    if (out == nullptr && n > 0)
      return Failure(builder, Status::kNullArgument, "the buffer is NULL but its size is not 0");
    const std::size_t needed = copy(std::span<Element>(out, out == nullptr ? 0 : n));
    if (n == 0 || n >= needed) return static_cast<int64_t>(needed);
    return Answer(builder, Outcome{Status::kBufferTooSmall, "the buffer holds " + std::to_string(n) +
                                                             " and the world needs " + std::to_string(needed)});
  });
}

}  // namespace

extern "C" {

LorvexBuilder* lorvex_create(void) {
  return Guard<LorvexBuilder*>(nullptr, [] {
    auto* handle = new (std::nothrow) LorvexBuilder;
    // A host decides every input: the working folder's default file only when asked.
    if (handle != nullptr) handle->builder.SetUseDefaultSettingsFile(false);
    // The window on the screen comes from its own library, opened on the first Build that
    // shows it. When it cannot be opened the Build is refused with the reason, which is
    // also told on standard error as for a display that does not answer.
    if (handle != nullptr)
      handle->builder.SetWindowPlatformFactory([]() -> std::unique_ptr<lorvex::platform::Platform> {
        try {
          return lorvex::capi::OpenQtWindow();
        } catch (const lorvex::capi::WindowUnavailable& refusal) {
          std::fprintf(stderr, "lorvex: %s\n", refusal.what());
          throw;
        }
      });
    return handle;
  });
}

void lorvex_destroy(LorvexBuilder* builder) { delete builder; }

const char* lorvex_last_error(const LorvexBuilder* builder) {
  return builder == nullptr ? kNullBuilderText : builder->lastError.c_str();
}

int lorvex_set_parameter(LorvexBuilder* builder, const char* name, const char* value) {
  return StatusCall(builder, name != nullptr && value != nullptr, "the name or the value is NULL",
                    [&] { return builder->builder.SetParameter(name, value); });
}

int64_t lorvex_get_parameter(const LorvexBuilder* builder, const char* name, char* buffer,
                             size_t size) {
  if (builder == nullptr) return LORVEX_ERROR_NULL_ARGUMENT;
  return Guard(static_cast<int64_t>(LORVEX_ERROR_INTERNAL), [&]() -> int64_t {
    if (name == nullptr || (buffer == nullptr && size > 0))
      return Failure(builder, Status::kNullArgument,
                     "the name is NULL, or the buffer is NULL but its size is not 0");
    std::string value;
    const Outcome outcome = builder->builder.GetParameter(name, value);
    if (!outcome.Ok()) return Answer(builder, outcome);
    return TextAnswer(builder, value, buffer, size, "the value of " + std::string(name));
  });
}

int lorvex_reset_parameters(LorvexBuilder* builder) {
  return StatusCall(builder, true, "", [&] { return builder->builder.ResetParameters(); });
}

int32_t lorvex_parameter_count(const LorvexBuilder* builder) {
  return builder == nullptr ? LORVEX_ERROR_NULL_ARGUMENT
                            : static_cast<int32_t>(builder->builder.ParameterKeys().size());
}

const char* lorvex_parameter_name(const LorvexBuilder* builder, int32_t i) {
  if (builder == nullptr || i < 0) return nullptr;
  const std::vector<std::string>& keys = builder->builder.ParameterKeys();
  return static_cast<std::size_t>(i) < keys.size() ? keys[static_cast<std::size_t>(i)].c_str() : nullptr;
}

int lorvex_load_settings(LorvexBuilder* builder, const char* path) {
  return StatusCall(builder, path != nullptr, "the path is NULL",
                    [&] { return builder->builder.LoadSettings(path); });
}

int lorvex_save_settings(const LorvexBuilder* builder, const char* path) {
  return StatusCall(builder, path != nullptr, "the path is NULL",
                    [&] { return builder->builder.SaveSettings(path); });
}

int lorvex_recommend(LorvexBuilder* builder, int32_t width, int32_t height) {
  return StatusCall(builder, true, "", [&] { return builder->builder.Recommend(width, height); });
}

int lorvex_build(LorvexBuilder* builder, int32_t width, int32_t height, int wrap) {
  if (builder == nullptr) return LORVEX_ERROR_NULL_ARGUMENT;
  return Guard(static_cast<int>(LORVEX_ERROR_INTERNAL), [&] {
    if (width < 1 || height < 1 || width > LORVEX_MAX_MAP_SIDE || height > LORVEX_MAX_MAP_SIDE) {
      // Not even stored as the size of a Build: it does not fit the 16 bits Build takes.
      builder->lastError = lorvex::MapSizeMessage(width, height, "build");
      return static_cast<int>(LORVEX_ERROR_MAP_SIZE);
    }
    if (builder->progress != nullptr)
      builder->builder.SetProgressCallback(
          [callback = builder->progress, user = builder->progressUser](std::string_view stage, int step, int whole) {
            const std::string text(stage);
            callback(user, text.c_str(), step, whole);
          });
    else
      builder->builder.SetProgressCallback(nullptr);
    builder->builder.Build(static_cast<int16_t>(width), static_cast<int16_t>(height), wrap != 0);
    const lorvex::BuildOutcome& outcome = builder->builder.LastBuildOutcome();
    if (!outcome.Built()) builder->lastError = outcome.message;
    return static_cast<int>(outcome.status);
  });
}

void lorvex_set_seed(LorvexBuilder* builder, uint64_t seed) {
  if (builder != nullptr) builder->builder.SetNextSeed(seed);
}

int lorvex_set_key(LorvexBuilder* builder, const char* key) {
  return StatusCall(builder, key != nullptr, "the key is NULL", [&]() -> Outcome {
    const std::optional<lorvex::WorldKey> parsed = lorvex::ParseWorldKey(key);
    if (!parsed)
      return {Status::kBadValue, "\"" + std::string(key) +
                                     "\" is not a key: SEED or SEED-DRAWS, whole numbers (SEED below "
                                     "2^64, DRAWS at most 2^40)"};
    builder->builder.SetNextKey(*parsed);
    return {};
  });
}

void lorvex_set_headless_build(LorvexBuilder* builder, int enabled) {
  if (builder != nullptr) builder->builder.SetHeadlessBuild(enabled != 0);
}

void lorvex_set_question_answer(LorvexBuilder* builder, int yes) {
  if (builder != nullptr) builder->builder.SetQuestionAnswer(yes != 0);
}

int16_t lorvex_get_terrain_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 4 : builder->builder.GetTerrainC(pos);
}

int16_t lorvex_test_c(const LorvexBuilder*, int16_t) { return 4; }

char lorvex_get_terrain_vb(const LorvexBuilder* builder, int32_t x, int32_t y) {
  if (builder == nullptr) return 'C';
  return Guard('C', [&] { return builder->builder.GetTerrainVB(x, y).front(); });
}

int16_t lorvex_get_production_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 10 : builder->builder.GetProductionC(pos);
}

int16_t lorvex_get_specialty_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 10 : builder->builder.GetSpecialtyC(pos);
}

int16_t lorvex_get_owner_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 10 : builder->builder.GetOwnerC(pos);
}

uint64_t lorvex_last_seed(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : builder->builder.LastSeed();
}

int64_t lorvex_last_key(const LorvexBuilder* builder, char* buffer, size_t size) {
  if (builder == nullptr) return LORVEX_ERROR_NULL_ARGUMENT;
  return Guard(static_cast<int64_t>(LORVEX_ERROR_INTERNAL), [&]() -> int64_t {
    if (buffer == nullptr && size > 0)
      return Failure(builder, Status::kNullArgument, "the buffer is NULL but its size is not 0");
    return TextAnswer(builder, lorvex::FormatWorldKey(builder->builder.LastKey()), buffer, size,
                      "the key");
  });
}

int32_t lorvex_map_width(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : builder->builder.World().MapArray.Width();
}

int32_t lorvex_map_height(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : builder->builder.World().MapArray.Height();
}

int32_t lorvex_city_count(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : static_cast<int32_t>(builder->builder.World().CityCount);
}

int64_t lorvex_copy_terrain(const LorvexBuilder* builder, char* out, size_t n) {
  return CopyCall(builder, out, n, [&](std::span<char> to) { return builder->builder.CopyTerrain(to); });
}

int64_t lorvex_copy_terrain_numbers(const LorvexBuilder* builder, int16_t* out, size_t n) {
  return CopyCall(builder, out, n,
                  [&](std::span<int16_t> to) { return builder->builder.CopyTerrainNumbers(to); });
}

int64_t lorvex_copy_mass_of_square(const LorvexBuilder* builder, int32_t* out, size_t n) {
  return CopyCall(builder, out, n,
                  [&](std::span<int32_t> to) { return builder->builder.CopyMassOfSquare(to); });
}

int64_t lorvex_copy_cities(const LorvexBuilder* builder, LorvexCity* out, size_t n) {
  return CopyCall(builder, out, n, [&](std::span<LorvexCity> to) { return builder->builder.CopyCities(to); });
}

int32_t lorvex_mass_count(const LorvexBuilder* builder) {
  return builder == nullptr ? LORVEX_ERROR_NULL_ARGUMENT : builder->builder.MassCount();
}

int lorvex_get_mass(const LorvexBuilder* builder, int32_t i, int* size_class, int32_t* squares) {
  return StatusCall(builder, true, "", [&]() -> Outcome {
    const std::optional<lorvex::LandMass> mass = builder->builder.Mass(i);
    if (!mass)
      return {Status::kNoSuchMass, "no land mass " + std::to_string(i) + ": the world has " +
                                       std::to_string(builder->builder.MassCount())};
    if (size_class != nullptr) *size_class = mass->sizeClass;
    if (squares != nullptr) *squares = mass->squares;
    return {};
  });
}

const char* lorvex_version(void) { return lorvex::kVersionText; }

const char* lorvex_parameter_info(int32_t i, int item) {
  return Guard<const char*>(nullptr, [&]() -> const char* {
    const std::span<const lorvex::params::ParameterInfo> catalogue = lorvex::params::ParameterCatalogue();
    if (i < 0 || static_cast<std::size_t>(i) >= catalogue.size()) return nullptr;
    const lorvex::params::ParameterInfo& info = catalogue[static_cast<std::size_t>(i)];
    switch (item) {
      case LORVEX_INFO_NAME: return lorvex::params::ParameterKey(info).c_str();
      case LORVEX_INFO_PAGE: return lorvex::params::PageCaption(info);
      case LORVEX_INFO_LABEL: return info.label;
      case LORVEX_INFO_MEANING: return info.meaning;
      case LORVEX_INFO_RANGE: return lorvex::params::RangeText(info).c_str();
      case LORVEX_INFO_DEFAULT: return info.defaultValue;
      case LORVEX_INFO_MINIMUM: return lorvex::params::BoundText(info, false).c_str();
      case LORVEX_INFO_MAXIMUM: return lorvex::params::BoundText(info, true).c_str();
      default: return nullptr;
    }
  });
}

// The header's numbers are the component's.
static_assert(LORVEX_VERSION_MAJOR == lorvex::kVersionMajor && LORVEX_VERSION_MINOR == lorvex::kVersionMinor &&
              LORVEX_VERSION_PATCH == lorvex::kVersionRevision);

uint32_t lorvex_version_number(void) { return LORVEX_VERSION; }

void lorvex_request_stop(LorvexBuilder* builder) {
  if (builder != nullptr) builder->builder.RequestStop();
}

void lorvex_set_progress_callback(LorvexBuilder* builder, LorvexProgressCallback callback, void* user) {
  if (builder == nullptr) return;
  builder->progress = callback;
  builder->progressUser = user;
}

void lorvex_set_default_settings_file(LorvexBuilder* builder, int use) {
  if (builder != nullptr) builder->builder.SetUseDefaultSettingsFile(use != 0);
}

int lorvex_set_settings_folder(LorvexBuilder* builder, const char* folder) {
  return StatusCall(builder, true, "", [&] {
    builder->builder.SetSettingsFolder(folder == nullptr ? "" : folder);
    return Outcome{};
  });
}

int lorvex_load_settings_text(LorvexBuilder* builder, const char* text, size_t length) {
  return StatusCall(builder, text != nullptr || length == 0, "the text is NULL but its length is not 0",
                    [&] { return builder->builder.LoadSettingsText(std::string_view(text == nullptr ? "" : text, length)); });
}

int64_t lorvex_save_settings_text(const LorvexBuilder* builder, char* buffer, size_t size) {
  if (builder == nullptr) return LORVEX_ERROR_NULL_ARGUMENT;
  return Guard(static_cast<int64_t>(LORVEX_ERROR_INTERNAL), [&]() -> int64_t {
    if (buffer == nullptr && size > 0)
      return Failure(builder, Status::kNullArgument, "the buffer is NULL but its size is not 0");
    std::string text;
    const Outcome outcome = builder->builder.SaveSettingsText(text);
    if (!outcome.Ok()) return Answer(builder, outcome);
    return TextAnswer(builder, text, buffer, size, "the settings text");
  });
}

}  // extern "C"
