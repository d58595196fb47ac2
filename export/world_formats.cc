#include "export/world_formats.h"

#include <cerrno>

#include "common/atomic_file.h"
#include "common/error_text.h"
#include "export/freeciv_export.h"
#include "export/tmx_export.h"

namespace lorvex::exporting {

namespace {

bool PutText(std::FILE* stream, const std::string& text, std::string& error) {
  if (std::fwrite(text.data(), 1, text.size(), stream) == text.size()) return true;
  error = ErrorText(errno);
  return false;
}

bool WriteText(const WorldToWrite& out, std::FILE* stream, std::string& error) {
  return PutText(stream, WorldText(out.world), error);
}
bool WritePicture(const WorldToWrite& out, std::FILE* stream, std::string& error) {
  return WriteWorldPng(out.world, out.scale, stream, error);
}
bool WriteJson(const WorldToWrite& out, std::FILE* stream, std::string& error) {
  return PutText(stream, WorldJson(out.world, out.info), error);
}
bool WriteTiled(const WorldToWrite& out, const std::string& path, std::string& error) {
  return WriteTmx(out.world, out.info.wrap, {out.info.seed, out.info.draws}, path, error);
}
bool WriteFreeciv(const WorldToWrite& out, std::FILE* stream, std::string& error) {
  return WriteFreecivScenario(out.world, out.info, stream, error);
}

constexpr FormatEntry kFormats[] = {
    // format          name       extension  title                     stream        files       fits         holds            companion
    {Format::kText,    "text",    ".txt",    "Text map",               WriteText,    nullptr,    nullptr,     nullptr,         nullptr},
    {Format::kPng,     "png",     ".png",    "PNG picture",            WritePicture, nullptr,    nullptr,     nullptr,         nullptr},
    {Format::kJson,    "json",    ".json",   "JSON document",          WriteJson,    nullptr,    nullptr,     nullptr,         nullptr},
    {Format::kTmx,     "tmx",     ".tmx",    "Tiled map",              nullptr,      WriteTiled, nullptr,     nullptr,         TmxTilesetPath},
    {Format::kFreeciv, "freeciv", ".sav",    "Freeciv 3.0 scenario",   WriteFreeciv, nullptr,    FreecivFits, FreecivPlayable, nullptr},
};

}  // namespace

std::span<const FormatEntry> Formats() { return kFormats; }

const FormatEntry& FormatOf(Format format) {
  for (const FormatEntry& entry : kFormats)
    if (entry.format == format) return entry;
  return kFormats[0];  // every Format has its row above
}

const FormatEntry* FindFormat(std::string_view name) {
  for (const FormatEntry& entry : kFormats)
    if (entry.name == name) return &entry;
  return nullptr;
}

bool FormatFits(Format format, int width, int height, std::string& error) {
  const FormatEntry& entry = FormatOf(format);
  return entry.fits == nullptr || entry.fits(width, height, error);
}

bool FormatHolds(Format format, const HostWorld& world, std::string& error) {
  const FormatEntry& entry = FormatOf(format);
  return FormatFits(format, world.MapArray.Width(), world.MapArray.Height(), error) &&
         (entry.holds == nullptr || entry.holds(world, error));
}

bool WriteWorldFile(const WorldToWrite& out, Format format, const std::string& path,
                    std::string& error) {
  const FormatEntry& entry = FormatOf(format);
  const std::string shownPath = path == "-" ? "standard output" : path;
  if (!FormatHolds(format, out.world, error)) {
    error = "cannot write " + shownPath + ": " + error;
    return false;
  }
  if (entry.files != nullptr) {
    if (path != "-") return entry.files(out, path, error);
    error = "the " + std::string(entry.name) + " format writes files, not standard output";
    return false;
  }
  if (path == "-") {
    if (!entry.stream(out, stdout, error)) {
      error = "cannot write to standard output: " + error;
      return false;
    }
    if (std::fflush(stdout) == 0) return true;
    error = "cannot write to standard output: " + ErrorText(errno);
    return false;
  }
  AtomicFile file(path);
  if (!file.Open(error)) return false;
  if (!entry.stream(out, file.Stream(), error)) {
    error = "cannot write " + path + ": " + error;
    return false;
  }
  return file.Finish(error) && file.Publish(error);
}

}  // namespace lorvex::exporting
