// Every format a finished world is written in, in one table: its name, the extension of
// its files, its writer and the map sizes it can hold. The command line, its batches and
// the desktop app write through WriteWorldFile, so a format added here is offered by all.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "engine/host_world.h"
#include "export/world_export.h"

namespace lorvex::exporting {

enum class Format { kText, kPng, kJson, kTmx, kFreeciv };

// A world on its way out, with what the formats say beyond its squares and cities.
struct WorldToWrite {
  const HostWorld& world;
  WorldInfo info;  // wrap and seed
  int scale = 4;   // pixels a square of a PNG picture
};

// A writer to one stream (a file opened for it, or standard output).
using StreamWriter = bool (*)(const WorldToWrite& out, std::FILE* stream, std::string& error);
// A writer of its own files beside `path` (a Tiled map and its tileset picture).
using FilesWriter = bool (*)(const WorldToWrite& out, const std::string& path, std::string& error);
// Answers false with the reason when a format cannot hold a map of this size.
using SizeCheck = bool (*)(int width, int height, std::string& error);
// Answers false with the reason when a format cannot hold this world (a game that cannot
// play it), known only once it is built.
using WorldCheck = bool (*)(const HostWorld& world, std::string& error);

struct FormatEntry {
  Format format;
  std::string_view name;       // as a batch's --formats takes it
  std::string_view extension;  // of a batch's files
  std::string_view title;      // what a person picks it by in a menu ("PNG picture")
  StreamWriter stream;         // exactly one of the two writers is set
  FilesWriter files;
  SizeCheck fits;                                 // nullptr: any map the build makes
  WorldCheck holds;                               // nullptr: any world the build makes
  std::string (*companion)(const std::string&);  // the second file beside `path`, if any
};

// Every format, in the order a batch writes them and its index lists their files.
std::span<const FormatEntry> Formats();
const FormatEntry& FormatOf(Format format);
// The entry of a name as --formats takes it, or nullptr.
const FormatEntry* FindFormat(std::string_view name);

// Whether the format can hold a map of width x height; the reason when not.
bool FormatFits(Format format, int width, int height, std::string& error);
// Whether the format can hold this world (its size and what it holds); the reason when not.
bool FormatHolds(Format format, const HostWorld& world, std::string& error);

// Writes the world to `path` in one format. A file appears complete or not at all: it is
// written beside its destination and renamed into place, so a failed write leaves the old
// file as it was. "-" is standard output, for the formats that write one stream. Answers
// false with a message naming the file and the reason.
bool WriteWorldFile(const WorldToWrite& out, Format format, const std::string& path,
                    std::string& error);

}  // namespace lorvex::exporting
