// The parameters a builder holds for its builds: a copy of the window's 103 parameter fields
// with their behaviour, and which of them the host has given (set, loaded or recommended).
// A build opens a fresh window, which applies the default settings file, and then applies
// the held fields as a settings file of just those fields would be applied; the fields the
// host left alone stay as the default file (or the window's defaults) have them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/world_key.h"
#include "host/c_api/lorvex.h"
#include "params/settings_file.h"
#include "platform/control.h"

namespace lorvex {

namespace params {
struct ParameterWindow;
}

// How a call of the builder ended; the numbers are those of the C interface.
enum class Status : int {
  kOk = LORVEX_OK,
  kAdjusted = LORVEX_ADJUSTED,
  kNullArgument = LORVEX_ERROR_NULL_ARGUMENT,
  kUnknownField = LORVEX_ERROR_UNKNOWN_FIELD,
  kBadValue = LORVEX_ERROR_BAD_VALUE,
  kFileError = LORVEX_ERROR_FILE,
  kNoRecommendation = LORVEX_ERROR_NO_RECOMMENDATION,
  kMapSize = LORVEX_ERROR_MAP_SIZE,
  kBufferTooSmall = LORVEX_ERROR_BUFFER_TOO_SMALL,
  kNoSuchMass = LORVEX_ERROR_NO_SUCH_MASS,
  kInternal = LORVEX_ERROR_INTERNAL,
  kOutOfMemory = LORVEX_ERROR_OUT_OF_MEMORY,
};

struct Outcome {
  Status status = Status::kOk;
  std::string message;  // why, for a failure or an adjustment; "" for kOk
  bool Ok() const { return static_cast<int>(status) >= 0; }
};

// One parameter field: its key Name(Index), its value as a settings file writes it, and
// whether the builder holds it.
struct ParameterField {
  std::string key;
  std::string value;
  bool held = false;
  bool operator==(const ParameterField&) const = default;
};
using ParameterFields = std::vector<ParameterField>;

// The values of the parameter fields of a window's controls, all marked held (the
// parameters a build used, to be given to a builder whole).
ParameterFields FieldsOfWindow(const platform::ControlSet& controls);

class HostParameters {
 public:
  HostParameters();
  ~HostParameters();
  HostParameters(const HostParameters&) = delete;
  HostParameters& operator=(const HostParameters&) = delete;

  // One field by its key, its value taken as the line "key = value" of a settings file,
  // then held to its range as the window does when the field loses the focus.
  Outcome Set(std::string_view key, std::string_view value);
  // The value of one field, as a settings file writes it.
  Outcome Get(std::string_view key, std::string& value) const;
  // Back to the window's defaults, holding nothing.
  void Reset();
  // A settings file as Load Settings applies it; the fields it names become held. A file
  // that cannot be read changes nothing.
  Outcome Load(const std::string& path);
  // Every field, as Save Settings writes them; a failed save leaves the old file as it was.
  Outcome Save(const std::string& path) const;
  // The same two with the file's text in memory.
  Outcome LoadText(std::string_view text);
  std::string Text() const;
  // Recommend for a map of width x height, drawn from `seed`; the fields it writes become
  // held.
  Outcome Recommend(std::int32_t width, std::int32_t height, const WorldKey& key);
  // The land percentage the land-mass fields give on a map of width x height, as the
  // window's status bar shows it ("Land = 46 - 139 % ").
  std::string LandFigure(std::int32_t width, std::int32_t height);

  // All 103 fields in the window's order.
  ParameterFields Fields() const;
  // Holds exactly the held fields of `fields` (applied as a settings file), nothing else;
  // a field whose key names no parameter field is skipped.
  void SetFields(const ParameterFields& fields);
  // The held fields as lines of a settings file, in the window's order.
  std::vector<params::SettingsLine> HeldLines() const;

  // The keys of the 103 fields in the window's order.
  const std::vector<std::string>& Keys() const { return keys_; }

 private:
  // The field a key names, or nothing (with the reason in `outcome`).
  std::optional<std::size_t> Find(std::string_view key, Outcome& outcome) const;
  void Apply(const std::vector<params::SettingsLine>& lines);
  void Open();

  std::unique_ptr<params::ParameterWindow> window_;
  std::vector<platform::Control*> fields_;  // the parameter controls of window_, in order
  std::vector<std::string> keys_;
  std::vector<bool> held_;
};

}  // namespace lorvex
