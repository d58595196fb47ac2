#include "apps/lorvex/command_line.h"

#include <iostream>
#include <string>
#include <thread>

#include "common/numbers.h"
#include "common/world_key.h"
#include "common/version.h"
#include "export/freeciv_export.h"
#include "export/world_formats.h"
#include "host/cls_build.h"

namespace lorvex::cli {

namespace {

constexpr int kUsageError = 2;

const std::string kSideRange = "1 to " + std::to_string(kMaxMapSide);

// Where every command's parameters come from, in the order they are applied.
constexpr const char* kParameterOrder =
    "Parameters: the window's defaults, then kessett/default.kst of the current folder when\n"
    "it exists, then --settings FILE (held to their ranges as Load Settings holds them), then\n"
    "each --set line in its turn, held to its range at once as the window holds a field that\n"
    "loses the focus (so set a Lo before its Hi). A --set line that names no field is an error.";

const char* const kTopFooter = R"(Each command has its own help: lorvex COMMAND --help.

Every command drives the component as a host game does: it opens the parameters window
without a screen and presses its buttons. Messages the window shows are printed on
standard error.

Exit status:
  0  done
  1  the window refused to build (its message says why), or recommend found no figures
  2  a usage error, or a file or folder that could not be read or written

Examples:
  lorvex build --width 200 --height 150 --wrap --seed 42 --png world.png --json world.json
  lorvex build --width 200 --height 150 --count 4 --seed 100 --out worlds
  lorvex recommend --width 300 --height 200 --seed 5 --save big.kst
  lorvex shapes --png shapes.png)";

const char* const kBuildFooter = R"(One world: each of --text, --png, --json, --tmx and --freeciv names a file to write
("-" is standard output; a Tiled map needs a file). A summary line follows: seed, size,
land, masses and cities. A size a format cannot hold (Freeciv takes neither the smallest
maps nor the largest, nor maps 4095 squares wide or wider) is refused before anything is
built, a world it cannot hold (Freeciv's without land) before anything is written, and the
message says why.

A batch: --count N --out DIR builds the worlds of seeds S, S+1, ..., S+N-1 (S from --seed,
or from the clock; past 18446744073709551615 the seeds go on from 0) on --jobs threads, and
writes DIR/world-SEED.EXT in each of --formats: text .txt, png .png, json .json, tmx .tmx
(with world-SEED-terrain.png beside it), freeciv .sav. DIR/index.json lists every world
in seed order:
  {"generator", "count", "worlds": [{"seed", "width", "height", "wrap", "land",
   "masses": {"large", "medium", "small", "tinyIslandSquares"}, "cities", "files",
   "error" (only when the world failed)}]}
"land" counts land squares, "masses" the masses placed in each size class and the tiny
islands' squares, "cities" the cities on the map. One line is printed per finished world.
A world whose file cannot be written is reported and the others are finished.

)" "%PARAMETERS%" R"(

Exit status:
  0  built and written (in a batch: every world)
  1  the window refused to build, e.g. the land warning answered No; its message is printed
  2  a usage error, a settings file that cannot be read, a --set line that names no field,
     a map a format cannot hold, or a file, the index or the folder that cannot be written

Examples:
  lorvex build --width 200 --height 150 --wrap --seed 42 --png world.png --text world.txt
  lorvex build --width 80 --height 50 --yes --json - --quiet
  lorvex build --width 160 --height 120 --seed 7 --tmx world.tmx --set "txtCities(0) = 20"
  lorvex build --width 200 --height 150 --count 4 --seed 100 --out worlds --formats json,tmx
  lorvex build --width 80 --height 50 --wrap --seed 3 --yes --freeciv world.sav)";

const char* const kSettingsFooter = R"(Opens the window for a map of --width x --height (the size matters only to the derived
figures), applies the parameters and saves every field to FILE as Save Settings does: one
line per field, "Name(Index) = value". With --list it prints what each field means instead.

)" "%PARAMETERS%" R"(

Exit status:
  0  written (or listed)
  2  a usage error, a settings file that cannot be read or written, or a --set line that
     names no field

Examples:
  lorvex settings --set "txtLandMass(0) = 2" --set "txtCities(0) = 30" --save two-large.kst
  lorvex settings --list)";

const char* const kRecommendFooter = R"(Opens the window for a map of --width x --height, applies the parameters, presses
Recommend (which draws land-mass figures that suit the map's size from the window's
generator), saves every field to FILE and prints the expected land figure.

)" "%PARAMETERS%" R"(

Exit status:
  0  written
  1  no recommendation for this size; the window's message is printed
  2  a usage error, a settings file that cannot be read or written, or a --set line that
     names no field

Example:
  lorvex recommend --width 300 --height 200 --seed 5 --save big.kst)";

const char* const kShapesFooter = R"(Draws the 24 figures of the Shapes algorithm in the order of their shape codes, each
labelled with the caption of its check box on the Shapes page.

Exit status:
  0  written
  2  a usage error, or the picture cannot be written

Example:
  lorvex shapes --png shapes.png --squares 600 --orient 3)";

std::string WithParameters(std::string footer) {
  const std::string mark = "%PARAMETERS%";
  if (const std::size_t at = footer.find(mark); at != std::string::npos)
    footer.replace(at, mark.size(), kParameterOrder);
  return footer;
}

void AddSettingsOptions(CLI::App& command, SettingsOptions& options) {
  command.add_option("--settings", options.settingsFile,
                     "load this settings file (.kst) as Load Settings does, after "
                     "kessett/default.kst (default: none)")
      ->type_name("FILE");
  command.add_option("--set", options.lines,
                     "set one field as a settings line sets it, e.g. \"txtLandMass(0) = 2\", after "
                     "--settings; repeatable; a line that names no field is an error (default: none)")
      ->type_name("LINE");
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
  return joined;
}

// The names --formats takes, in the order of the format table.
std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const exporting::FormatEntry& entry : exporting::Formats()) names.emplace_back(entry.name);
  return names;
}

// --width and --height; when not required, the values they are bound to are the defaults.
void AddSizeOptions(CLI::App& command, int& width, int& height, bool required,
                    const std::string& purpose = "") {
  const auto told = [&](int value) {
    return ", " + kSideRange + purpose +
           (required ? " (required)" : " (default " + std::to_string(value) + ")");
  };
  auto* w = command.add_option("--width", width, "map width in squares" + told(width));
  auto* h = command.add_option("--height", height, "map height in squares" + told(height));
  for (CLI::Option* option : {w, h}) {
    option->type_name("N")->check(CLI::Range(1, kMaxMapSide));
    if (required) option->required();
  }
}

// A Tiled map names its tileset picture beside it: it cannot go to standard output.
const CLI::Validator kNotStandardOutput(
    [](std::string& value) {
      return value == "-" ? std::string("a Tiled map needs a file name, not -") : std::string();
    },
    "", "not standard output");

// A seed is written in digits and fits 64 bits: CLI11 alone would take "-1", and numbers
// past the top, as the largest seed.
const CLI::Validator kSeedDigits(
    [](std::string& value) {
      return ReadSeed(value) ? std::string() : std::string("not a whole number from 0 to 18446744073709551615");
    },
    "", "seed");

// A world's key: a seed, or a seed and the draws given away before the build ("42-1873").
const CLI::Validator kKeyText(
    [](std::string& value) {
      return ParseWorldKey(value)
                 ? std::string()
                 : std::string("not a seed (0 to 18446744073709551615) or a key SEED-DRAWS (DRAWS "
                               "at most 1099511627776)");
    },
    "", "key");

}  // namespace

CommandLine::CommandLine()
    : app_("Lorvex " + std::string(kVersionText) +
           " - a random world builder for turn-based strategy games") {
  app_.set_version_flag("--version", std::string("lorvex ") + kVersionText,
                        "print the version and exit");
  app_.require_subcommand(0, 1);
  app_.footer(kTopFooter);

  // build
  buildCommand_ = app_.add_subcommand(
      "build", "build one world, or a batch of worlds of consecutive seeds, and write them out");
  buildCommand_->footer(WithParameters(kBuildFooter));
  AddSizeOptions(*buildCommand_, build_.width, build_.height, true);
  buildCommand_->add_flag("--wrap", build_.wrap,
                          "the map wraps east-west: border water on the top and bottom rows only "
                          "(default: no wrap, border water on all four edges)");
  buildCommand_
      ->add_option_function<std::string>(
          "--seed",
          [this](const std::string& text) {
            const std::optional<WorldKey> key = ParseWorldKey(text);
            if (!key) return;
            build_.seed = key->seed;
            build_.draws = key->draws;
          },
          "seed or key of the build: N (0 to 18446744073709551615), or N-D, the key a window "
          "shows for a world built after D draws went to Recommend or a stopped build; one key "
          "and one parameter set give one world; a batch's first seed (default: from the clock)")
      ->type_name("KEY")
      ->check(kKeyText);
  buildCommand_->add_flag("--yes", build_.yes,
                          "answer Yes to the window's questions, such as the land warning "
                          "(default: No, which refuses the build)");
  auto* text = buildCommand_->add_option(
      "--text", build_.textFile,
      "write the map as text to FILE: one line per row from the top, one letter per square "
      "(- = standard output; default: not written)")->type_name("FILE");
  auto* png = buildCommand_->add_option(
      "--png", build_.pngFile,
      "write the map as a PNG picture, --scale pixels per square "
      "(- = standard output; default: not written)")->type_name("FILE");
  auto* json = buildCommand_->add_option(
      "--json", build_.jsonFile,
      "write the world as JSON: width, height, wrap, seed, terrain rows, masses and cities "
      "(- = standard output; default: not written)")->type_name("FILE");
  auto* tmx = buildCommand_->add_option(
      "--tmx", build_.tmxFile,
      "write the world as a Tiled map, its tileset picture NAME-terrain.png beside it "
      "(default: not written)")->type_name("FILE")->check(kNotStandardOutput);
  auto* freeciv = buildCommand_->add_option(
      "--freeciv", build_.freecivFile,
      "write the world as a Freeciv 3.0 scenario (classic rules) that freeciv-server -f FILE "
      "loads: the map, its rivers and start positions for --freeciv-players players "
      "(- = standard output; default: not written)")->type_name("FILE");
  buildCommand_->add_option("--freeciv-players", build_.freecivPlayers,
                            "players a Freeciv scenario seats, 1 to " + std::to_string(exporting::kFreecivMaxPlayers) +
                                ": start positions on the largest masses, spread apart, or none where "
                                "the land cannot seat them (default " +
                                std::to_string(build_.freecivPlayers) + ", the server's own aifill)")
      ->type_name("N")
      ->check(CLI::Range(1, exporting::kFreecivMaxPlayers));
  buildCommand_->add_option("--scale", build_.scale,
                            "pixels per square in PNG pictures, 1 to 64 (default " +
                                std::to_string(build_.scale) + ")")
      ->type_name("N")
      ->check(CLI::Range(1, 64));
  buildCommand_->add_flag("--quiet", build_.quiet,
                          "print no summary, progress bar or per-world lines (default: print "
                          "them; the progress bar only on a terminal)");
  AddSettingsOptions(*buildCommand_, build_.settings);
  auto* count = buildCommand_->add_option(
      "--count", build_.count,
      "build a batch of N worlds into --out, 1 to " + std::to_string(kMaxBatchCount) +
      " (default: one world, written to the files named)")
      ->type_name("N")
      ->check(CLI::Range(1, kMaxBatchCount));
  auto* out = buildCommand_->add_option(
      "--out", build_.outDir,
      "the batch's folder, created when missing (required with --count, and only with it)")
      ->type_name("DIR");
  auto* formats = buildCommand_->add_option(
      "--formats", build_.formats,
      "the batch's formats, comma-separated, from " + Joined(FormatNames()) + " (default: " +
          Joined(build_.formats) + ")")
      ->type_name("LIST")
      ->delimiter(',')
      ->check(CLI::IsMember(FormatNames()));
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  auto* jobs = buildCommand_->add_option(
      "--jobs", build_.jobs,
      "build threads of a batch, 1 to " + std::to_string(kMaxBatchJobs) +
      " (default: one per core, here " + std::to_string(cores) + ")")
      ->type_name("N")
      ->check(CLI::Range(1, kMaxBatchJobs));
  count->needs(out);
  out->needs(count);
  formats->needs(count);
  jobs->needs(count);
  for (CLI::Option* single : {text, png, json, tmx, freeciv}) count->excludes(single);

  // settings
  settingsCommand_ = app_.add_subcommand(
      "settings", "write a settings file: the defaults, changed by --settings and --set");
  settingsCommand_->footer(WithParameters(kSettingsFooter));
  AddSizeOptions(*settingsCommand_, settings_.width, settings_.height, false,
                 ", for the derived figures");
  AddSettingsOptions(*settingsCommand_, settings_.settings);
  // Either a file is written or the fields are listed.
  CLI::Option_group* settingsOutput = settingsCommand_->add_option_group("output", "one of");
  settingsOutput->add_option("--save", settings_.saveFile, "the settings file to write")->type_name("FILE");
  settingsOutput->add_flag("--list", settings_.list,
                           "print what each of the 103 fields means, as a Markdown table (field, page, "
                           "label as the window shows it, range, default, meaning), and write nothing");
  settingsOutput->require_option(1);

  // recommend
  recommendCommand_ = app_.add_subcommand(
      "recommend", "press Recommend for a map size and write the resulting settings file");
  recommendCommand_->footer(WithParameters(kRecommendFooter));
  AddSizeOptions(*recommendCommand_, recommend_.width, recommend_.height, true);
  recommendCommand_->add_option("--seed", recommend_.seed,
                                "seed of the window's generator that Recommend draws from, 0 to "
                                "18446744073709551615 (default: from the clock)")
      ->type_name("N")
      ->check(kSeedDigits);
  AddSettingsOptions(*recommendCommand_, recommend_.settings);
  recommendCommand_->add_option("--save", recommend_.saveFile, "the settings file to write (required)")
      ->type_name("FILE")
      ->required();

  // shapes
  shapesCommand_ = app_.add_subcommand("shapes", "draw the 24 figures of the Shapes algorithm");
  shapesCommand_->footer(kShapesFooter);
  shapesCommand_->add_option("--png", shapes_.pngFile,
                             "write the figures as a PNG picture (- = standard output; required)")
      ->type_name("FILE")
      ->required();
  shapesCommand_->add_option("--squares", shapes_.squares,
                             "squares of each figure, 1 to 9999 (default " +
                                 std::to_string(shapes_.squares) + ")")
      ->type_name("N")
      ->check(CLI::Range(1, 9999));
  shapesCommand_->add_option("--orient", shapes_.orientation,
                             "orientation of the figures, 0 to 7: 0 as given, 1 mirrored left to "
                             "right, 2 mirrored top to bottom, 3 a half turn, 4 to 7 the same "
                             "with the axes swapped (default " +
                                 std::to_string(shapes_.orientation) + ")")
      ->type_name("N")
      ->check(CLI::Range(0, 7));
}

std::optional<int> CommandLine::Parse(int argc, const char* const* argv) {
  try {
    app_.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app_.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app_.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app_.exit(e);
  } catch (const CLI::ParseError& e) {
    app_.exit(e);
    return kUsageError;
  }
  return std::nullopt;
}

Command CommandLine::Chosen() const {
  if (buildCommand_->parsed()) return build_.count > 0 ? Command::kBatch : Command::kBuild;
  if (settingsCommand_->parsed()) return Command::kSettings;
  if (recommendCommand_->parsed()) return Command::kRecommend;
  if (shapesCommand_->parsed()) return Command::kShapes;
  return Command::kNone;
}

}  // namespace lorvex::cli
