// The page's way into the builder, compiled to WebAssembly with the engine: a thin C
// binding over the parameters window's fields (params/) and over clsBuild, the class a host
// game uses. The page holds no rule of its own: every field it shows, every correction of a
// field left, every derived figure, Recommend, settings files, the build and every download
// come from the calls below, which are the calls a host or the command line makes.
//
// Two kinds of callers share the module: the page's main thread keeps one parameters window
// (lw_window_*), and the build worker keeps one builder and its last world (lw_build,
// lw_world_*, lw_export). Texts are handed back as a pointer to a buffer that stays valid
// until the next call that answers a text.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/numbers.h"
#include "common/world_key.h"
#include "export/palette.h"
#include "export/tmx_export.h"
#include "export/world_export.h"
#include "export/world_formats.h"
#include "host/cls_build.h"
#include "params/parameter_window.h"
#include "params/settings_file.h"
#include "platform/headless_platform.h"
#include "ui/frm_build.h"
#include "ui/qt/shape_figures.h"
#include "ui/qt/window_layout.h"

using nlohmann::json;

namespace lorvex::web {

namespace {

const char* Answer(std::string text) {
  static std::string answer;
  answer = std::move(text);
  return answer.c_str();
}

// A document as text; bytes that are not UTF-8 (a settings file in another encoding) are
// replaced, not refused.
const char* AnswerJson(const json& document) {
  return Answer(document.dump(-1, ' ', false, json::error_handler_t::replace));
}

// --- The parameters window of the page ---

struct PageWindow {
  std::unique_ptr<params::ParameterWindow> window;
  std::unique_ptr<params::ParameterWindow> defaults;  // never touched: the values a link leaves out
};

PageWindow& Page() {
  static PageWindow page;
  return page;
}

params::ParameterWindow& Window() {
  PageWindow& page = Page();
  if (!page.window) page.window = std::make_unique<params::ParameterWindow>();
  return *page.window;
}

const char* KindName(platform::ControlKind kind) {
  using platform::ControlKind;
  switch (kind) {
    case ControlKind::kNumberBox: return "number";
    case ControlKind::kCheckBox: return "check";
    case ControlKind::kSelectionBox: return "select";
    case ControlKind::kLabel: return "label";
    case ControlKind::kFrame: return "frame";
    case ControlKind::kButton: return "button";
    case ControlKind::kPicture: return "picture";
    case ControlKind::kImage: return "image";
    case ControlKind::kLine: return "line";
    case ControlKind::kTimer: return "timer";
  }
  return "";
}

platform::Control* FindControl(const char* name, int index) {
  return name == nullptr ? nullptr : Window().controls.Find(name, index);
}

// The parameter fields whose value differs from a fresh window's, in the window's order.
json ChangedFields() {
  PageWindow& page = Page();
  if (!page.defaults) page.defaults = std::make_unique<params::ParameterWindow>();
  json changed = json::array();
  const auto& now = Window().controls.All();
  const auto& before = page.defaults->controls.All();
  for (std::size_t i = 0; i < now.size() && i < before.size(); ++i) {
    if (!platform::IsParameterKind(now[i].Kind())) continue;
    const std::string value = params::SettingsValue(now[i]);
    if (value != params::SettingsValue(before[i])) changed.push_back({now[i].Key(), value});
  }
  return changed;
}

// --- The builder of the worker ---

struct Worker {
  clsBuild builder;
  std::vector<std::string> messages;
  bool wrap = false;
};

Worker& TheWorker() {
  static Worker worker;
  return worker;
}

// Lines "Name(Index) = value", one a line, as the command line's --set options give them.
bool SetFields(clsBuild& builder, std::string_view lines, std::string& error) {
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find('\n', start);
    if (end == std::string_view::npos) end = lines.size();
    const std::string line(lines.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    const Outcome set = builder.SetParameterLine(line);
    if (!set.Ok()) {
      error = set.message;
      return false;
    }
  }
  return true;
}

}  // namespace

}  // namespace lorvex::web

using namespace lorvex;
using namespace lorvex::web;

extern "C" {

// ---------------------------------------------------------------- the window

// A fresh parameters window for a map of width x height: every field at its default.
EMSCRIPTEN_KEEPALIVE void lw_window_open(int width, int height) {
  Page().window = std::make_unique<params::ParameterWindow>(width, height);
}

// The map the window's derived figures and Recommend are for.
EMSCRIPTEN_KEEPALIVE void lw_window_map(int width, int height) {
  params::ParameterWindow& w = Window();
  w.width = width;
  w.height = height;
  w.form.ShowLandFigure();
}

// Every control of the window as the page draws it, the land figure of the status bar, the
// tab captions and the fields that differ from the defaults.
EMSCRIPTEN_KEEPALIVE const char* lw_window_state() {
  params::ParameterWindow& w = Window();
  json controls = json::array();
  for (const platform::Control& c : w.controls.All()) {
    json item = {{"name", c.Name()},       {"index", c.Index()},     {"kind", KindName(c.Kind())},
                 {"caption", c.caption},   {"text", c.Text()},       {"value", c.Value()},
                 {"listIndex", c.ListIndex()}, {"enabled", c.enabled}, {"visible", c.visible},
                 {"locked", c.locked},     {"maxLength", c.MaxLength()}, {"page", c.page},
                 {"bold", c.bold},         {"tag", c.tag}};
    if (!c.items.empty()) item["items"] = c.items;
    if (platform::IsParameterKind(c.Kind())) item["key"] = c.Key();
    controls.push_back(std::move(item));
  }
  return AnswerJson(json{{"controls", std::move(controls)},
                     {"landFigure", w.statusBar.Panel(params::kLandFigurePanel).text},
                     {"tabs", w.tabs.captions},
                     {"changed", ChangedFields()}});
}

// A person types `text` into a number box and leaves it: the text is cut to the box's
// length, then the box's validator runs. Answers 0 when there is no such box.
EMSCRIPTEN_KEEPALIVE int lw_window_type(const char* name, int index, const char* text) {
  platform::Control* c = FindControl(name, index);
  if (c == nullptr || c->Kind() != platform::ControlKind::kNumberBox || text == nullptr) return 0;
  c->Type(text);
  c->LoseFocus();
  return 1;
}

// A check box's state or a selection box's item, changed by a person (its click runs).
EMSCRIPTEN_KEEPALIVE int lw_window_set(const char* name, int index, int value) {
  platform::Control* c = FindControl(name, index);
  if (c == nullptr) return 0;
  if (c->Kind() == platform::ControlKind::kCheckBox) c->SetValue(value);
  else if (c->Kind() == platform::ControlKind::kSelectionBox) c->SetListIndex(value);
  else return 0;
  return 1;
}

// A click on a button or a shape picture.
EMSCRIPTEN_KEEPALIVE int lw_window_click(const char* name, int index) {
  platform::Control* c = FindControl(name, index);
  if (c == nullptr) return 0;
  c->Click();
  return 1;
}

// A click on tab k (1 to 6) of the tab strip: its page is shown.
EMSCRIPTEN_KEEPALIVE void lw_window_tab(int k) {
  params::ParameterWindow& w = Window();
  if (k < 1 || k > params::kTabCount) return;
  w.tabs.selected = k;
  w.form.tabParams_Click();
}

// One field of a link, set as a host sets a field (the command line's --set): taken as the
// line "key = value" of a settings file, then a number box is checked as when it is left.
// Answers "" when taken, otherwise why not.
EMSCRIPTEN_KEEPALIVE const char* lw_window_apply(const char* key, const char* value) {
  if (key == nullptr || value == nullptr) return Answer("no field");
  const std::string keyText(key);
  const std::optional<params::SettingsLine> line = params::ParseSettingsLine(keyText + " = " + value);
  if (!line || keyText.find('=') != std::string::npos || keyText.empty() || keyText.back() != ')' ||
      line->name + "(" + std::to_string(line->index) + ")" != keyText)
    return Answer("\"" + keyText + "\" is not a field name");
  params::ParameterWindow& w = Window();
  platform::Control* c = w.controls.Find(line->name, line->index);
  if (c == nullptr || !platform::IsParameterKind(c->Kind())) return Answer("no field is named " + keyText);
  if (!w.form.ApplySetting(line->name, line->index, line->value))
    return Answer(keyText + " cannot hold \"" + line->value + "\"");
  if (c->Kind() == platform::ControlKind::kNumberBox) c->LoseFocus();
  return Answer("");
}

// The key of the window's generator: seeded with the key's seed, its draws skipped, as a
// window opened with that key stands. Answers 0, changing nothing, for a text that is no key.
EMSCRIPTEN_KEEPALIVE int lw_window_set_key(const char* keyText) {
  const std::optional<WorldKey> key = ParseWorldKey(keyText == nullptr ? "" : keyText);
  if (!key) return 0;
  params::ParameterWindow& w = Window();
  w.random.Seed(key->seed);
  w.random.Discard(key->draws);
  return 1;
}

// Where the window's generator stands: the key a Build pressed now would have.
EMSCRIPTEN_KEEPALIVE const char* lw_window_key() {
  const Random& random = Window().random;
  return Answer(FormatWorldKey({random.SeedValue(), random.DrawsMade()}));
}

// Recommend for the window's map, drawn from the window's generator as it stands (so the
// key moves on by the draws it made): "" when done, otherwise the message.
EMSCRIPTEN_KEEPALIVE const char* lw_window_recommend() {
  std::string failure;
  if (!Window().form.Recommend(failure)) return Answer(failure.empty() ? params::kRecommendFailedMessage : failure);
  return Answer("");
}

// Save Settings: the window's fields written to `path` as the window writes them. Answers
// "" when written, otherwise the window's message.
EMSCRIPTEN_KEEPALIVE const char* lw_window_save(const char* path) {
  std::string error;
  if (path != nullptr && Window().form.WriteSettingsFile(path, error)) return Answer("");
  return Answer(params::SaveFailedMessage(path == nullptr ? "" : path, error));
}

// Load Settings: the file at `path` applied as the window applies it. Answers 0 when it
// could not be read.
EMSCRIPTEN_KEEPALIVE int lw_window_load(const char* path) {
  return path != nullptr && Window().form.LoadSettingsFile(path) ? 1 : 0;
}

// The window's layout: every control's box and the page texts that are no controls, in
// twips (15 to the pixel).
EMSCRIPTEN_KEEPALIVE const char* lw_window_layout() {
  namespace layout = lorvex::ui::qt;
  json places = json::array();
  for (const layout::ControlPlace& p : layout::ControlPlaces())
    places.push_back({{"name", p.name}, {"index", p.index},
                      {"parent", p.parentName ? p.parentName : ""}, {"parentIndex", p.parentIndex},
                      {"left", p.left}, {"top", p.top}, {"width", p.width}, {"height", p.height},
                      {"align", static_cast<int>(p.align)}, {"wrap", p.wrap}});
  json texts = json::array();
  for (const layout::PageText& t : layout::PageTexts())
    texts.push_back({{"parent", t.parentName ? t.parentName : ""}, {"parentIndex", t.parentIndex},
                     {"text", t.text}, {"left", t.left}, {"top", t.top}, {"width", t.width},
                     {"height", t.height}, {"align", static_cast<int>(t.align)}, {"bold", t.bold},
                     {"wrap", t.wrap}});
  return AnswerJson(json{{"places", std::move(places)}, {"texts", std::move(texts)}});
}

// The figure a shape picture shows, the very figure the build makes for the shape code:
// {"width", "height", "rows": one string a row, 'C' inside the figure}.
EMSCRIPTEN_KEEPALIVE const char* lw_shape_figure(int shapeCode) {
  const Grid<char> figure = lorvex::ui::qt::ShapingFigures(shapeCode);
  json rows = json::array();
  for (int y = 0; y < figure.Height(); ++y)
    rows.push_back(std::string(figure.Cells().data() + static_cast<std::size_t>(y) * figure.Width(),
                               static_cast<std::size_t>(figure.Width())));
  return AnswerJson(json{{"width", figure.Width()}, {"height", figure.Height()}, {"rows", std::move(rows)}});
}

// The terrain colours and names of every picture of a world.
EMSCRIPTEN_KEEPALIVE const char* lw_palette() {
  json palette = json::array();
  for (const PaletteEntry& e : kPalette)
    palette.push_back({{"code", std::string(1, e.code)}, {"name", e.name},
                       {"colour", {e.colour.r, e.colour.g, e.colour.b}}});
  return AnswerJson(palette);
}

// The largest width and height a build takes.
EMSCRIPTEN_KEEPALIVE int lw_max_map_side() { return kMaxMapSide; }

// 1 when `text` is a world's key: "SEED" or "SEED-DRAWS".
EMSCRIPTEN_KEEPALIVE int lw_is_key(const char* text) { return text != nullptr && ParseWorldKey(text) ? 1 : 0; }

// ---------------------------------------------------------------- the build worker

// Builds one world as `lorvex build` does: a fresh builder given the fields (lines
// "Name(Index) = value", each set as --set sets it), the window opened headless and Build
// pressed, with the key ("SEED" or "SEED-DRAWS"); a question the window asks is answered Yes when `yes` is 1. With
// `progress`, Module.lwProgress(value, max, status) is called as the build yields, at most
// ten times a second. Answers 1 when a world was built; lw_build_messages says what the
// window said.
EMSCRIPTEN_KEEPALIVE int lw_build(int width, int height, int wrap, const char* keyText,
                                  const char* fieldLines, int yes, int progress) {
  Worker& worker = TheWorker();
  worker.messages.clear();
  worker.builder.ResetParameters();
  worker.builder.TakeWorld();
  std::string error;
  if (!SetFields(worker.builder, fieldLines == nullptr ? "" : fieldLines, error)) {
    worker.messages.push_back(error);
    return 0;
  }
  const std::optional<WorldKey> key = ParseWorldKey(keyText == nullptr ? "" : keyText);
  if (!key) {
    worker.messages.push_back("not a key");
    return 0;
  }
  platform::HeadlessPlatform platform;
  platform.SetDefaultQuestionAnswer(yes ? platform::MessageAnswer::kYes : platform::MessageAnswer::kNo);
  platform.OnMessage([&](const platform::ShownMessage& m) { worker.messages.push_back(m.text); });
  double last = 0;
  if (progress != 0)
    platform.OnYield([&](platform::Window& w) {
      const double now = emscripten_get_now();
      if (now - last < 100) return;
      last = now;
      auto& window = static_cast<ui::frmBuild&>(w);
      const std::string status = window.StatusBar().Panel(ui::kStatusPanelBuild).text;
      EM_ASM({ if (Module.lwProgress) Module.lwProgress($0, $1, UTF8ToString($2)); },
             window.Progress().value, window.Progress().max, status.c_str());
    });
  platform.AddModalAction([](platform::Window& w) {
    static_cast<ui::frmBuild&>(w).Controls().At("cmdBuild", 0).Click();
  });
  worker.builder.SetPlatform(&platform);
  worker.builder.SetNextKey(*key);
  const bool built = worker.builder.Build(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height),
                                          wrap != 0);
  worker.builder.SetPlatform(nullptr);
  worker.wrap = wrap != 0;
  return built ? 1 : 0;
}

// The texts of the message boxes of the last build, one JSON array.
EMSCRIPTEN_KEEPALIVE const char* lw_build_messages() { return AnswerJson(json(TheWorker().messages)); }

// The key of the last build.
EMSCRIPTEN_KEEPALIVE const char* lw_build_key() { return Answer(FormatWorldKey(TheWorker().builder.LastKey())); }

// The last world: its size, its terrain letters row-major from (0, 0) (a pointer into the
// module's memory, width * height bytes), the mass of every square (-1 none) and its cities.
EMSCRIPTEN_KEEPALIVE int lw_world_width() { return TheWorker().builder.World().MapArray.Width(); }
EMSCRIPTEN_KEEPALIVE int lw_world_height() { return TheWorker().builder.World().MapArray.Height(); }
EMSCRIPTEN_KEEPALIVE const char* lw_world_terrain() { return TheWorker().builder.World().MapArray.Cells().data(); }
EMSCRIPTEN_KEEPALIVE const std::int32_t* lw_world_masses() {
  return TheWorker().builder.World().MassOfSquare.Cells().data();
}
EMSCRIPTEN_KEEPALIVE int lw_world_has_masses() {
  const HostWorld& w = TheWorker().builder.World();
  return w.MassOfSquare.Cells().size() == w.MapArray.Cells().size() ? 1 : 0;
}

// Cities and masses as JSON: {"cities": [[x, y, production, specialty, owner]...],
// "masses": [[sizeClass, squares]...]}.
EMSCRIPTEN_KEEPALIVE const char* lw_world_tables() {
  const clsBuild& builder = TheWorker().builder;
  const HostWorld& w = builder.World();
  json cities = json::array();
  for (std::int32_t i = 0; i < w.CityCount && static_cast<std::size_t>(i) < w.CitySquares.size(); ++i)
    cities.push_back({w.CitySquares[i].first, w.CitySquares[i].second, builder.GetProductionC(i),
                      builder.GetSpecialtyC(i), builder.GetOwnerC(i)});
  json masses = json::array();
  for (const LandMass& m : w.Masses) masses.push_back({static_cast<int>(m.sizeClass), m.squares});
  return AnswerJson(json{{"cities", std::move(cities)}, {"masses", std::move(masses)}});
}

// Writes the last world in one format (its name as a batch's --formats takes it: text, png,
// json, tmx, freeciv) to `path`, through the writers the command line uses, scale pixels a
// square for a picture. Answers "" when written, otherwise the reason; the Tiled map's
// tileset picture is lw_companion(path).
EMSCRIPTEN_KEEPALIVE const char* lw_export(const char* format, const char* path, int scale) {
  if (format == nullptr || path == nullptr) return Answer("no format");
  const exporting::FormatEntry* entry = exporting::FindFormat(format);
  if (entry == nullptr) return Answer(std::string("no format is named ") + format);
  const Worker& worker = TheWorker();
  const HostWorld& world = worker.builder.World();
  if (world.MapArray.Cells().empty()) return Answer("no world has been built");
  std::string error;
  if (!exporting::FormatFits(entry->format, world.MapArray.Width(), world.MapArray.Height(), error))
    return Answer(error);
  const WorldKey key = worker.builder.LastKey();
  exporting::WorldInfo info;
  info.wrap = worker.wrap;
  info.seed = key.seed;
  info.draws = key.draws;
  const exporting::WorldToWrite out{world, info, scale};
  if (!exporting::WriteWorldFile(out, entry->format, path, error)) return Answer(error);
  return Answer("");
}

EMSCRIPTEN_KEEPALIVE const char* lw_companion(const char* format, const char* path) {
  const exporting::FormatEntry* entry = format == nullptr ? nullptr : exporting::FindFormat(format);
  if (entry == nullptr || entry->companion == nullptr || path == nullptr) return Answer("");
  return Answer(entry->companion(path));
}

// The formats: [[name, extension, title], ...] in the order the command line lists them.
EMSCRIPTEN_KEEPALIVE const char* lw_formats() {
  json formats = json::array();
  for (const exporting::FormatEntry& e : exporting::Formats())
    formats.push_back({e.name, e.extension, e.title});
  return AnswerJson(formats);
}

}  // extern "C"
