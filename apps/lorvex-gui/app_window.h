// lorvex-gui's main window, the desktop app a map maker keeps open. It hosts Lorvex as a
// game would: one builder (clsBuild) opens the parameters window for every build and keeps
// the parameters of the last one for the next; the world it hands back is shown large
// (zoom, pan, the square under the pointer read out), written in every export format, or
// compared with its neighbours in a gallery of seeds built on worker threads.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "apps/lorvex-gui/gallery.h"
#include "engine/host_world.h"
#include "export/world_formats.h"
#include "common/world_key.h"
#include "host/cls_build.h"

class QAction;
class QLabel;
class QTabWidget;

namespace lorvex::ui::qt {
class QtPlatform;
}

namespace lorvex::gui {

class WorldView;
class ParameterPanel;

struct AppOptions {
  // Each overrides what the app remembers from its last run (200 x 150, wrapping at first).
  std::optional<int> width, height;
  std::optional<bool> wrap;
  // The key of the first build (a plain seed: no draws); the clock's seed otherwise.
  std::optional<WorldKey> key;
  // Where the app remembers the last folder and map size between runs.
  QString preferencesFile;
  // The app's own folder for its settings: the last parameters, the presets, and the
  // parameters window's settings files (nothing is remembered when empty).
  QString settingsFolder{};
  // The folder the app was started from, where the export dialogs open at first (the
  // working folder when empty).
  QString startFolder{};
};

// A world's key as a person types it, "SEED" or "SEED-DRAWS" (world_key.h), blanks round
// it allowed.
std::optional<WorldKey> ParseKey(const QString& text);

// The world on show and how it came about.
struct ShownWorld {
  std::shared_ptr<const HostWorld> world;
  std::uint64_t seed = 0;
  MapSize map;
  std::uint64_t draws = 0;  // with the seed, the world's key
  WorldKey Key() const { return {seed, draws}; }
};

class AppWindow : public QMainWindow {
 public:
  AppWindow(ui::qt::QtPlatform& platform, const AppOptions& options, QWidget* parent = nullptr);
  ~AppWindow() override;

  // The menus' actions. The builds answer whether a new world is shown.
  // "Build Again...": the parameters window, holding the parameters of the last build.
  bool BuildAgain();
  // The parameters window builds `seed` with the current parameters at once, showing its
  // progress; its stop key works as ever, and a stopped build leaves it open.
  bool BuildWithSeed(std::uint64_t seed) { return BuildWithKey({seed, 0}); }
  bool BuildWithKey(const WorldKey& key);
  // "Build with Seed...": asks for the seed first.
  bool AskSeedAndBuild();
  // "Gallery": the gallery page, built anew when the parameters or map size changed.
  void ShowGallery();
  // "More Seeds": the gallery's next page.
  void MoreSeeds();
  // A gallery world shown large (built again in the window when it was too large to keep).
  void OpenGalleryWorld(const GalleryWorld& world);
  // "Export > ...": the shown world in one format; answers whether a file was written.
  bool Export(const exporting::FormatEntry& format);
  // "Load Settings..." and "Save Settings...": the parameters of the next build.
  bool LoadSettings();
  bool SaveSettings();
  // "Map Size...".
  bool ChangeMapSize();
  void SetMap(MapSize map);
  // "Copy Seed": the shown world's key on the clipboard.
  void CopySeed();
  // The panel changed the parameters: they are remembered, and the shown world is built
  // again with them (same seed, zoom and position kept) when its map builds quickly.
  void ParametersChanged();
  // Whether a change in the panel rebuilds the shown world at once.
  bool RebuildsAtOnce() const;

  const std::optional<ShownWorld>& Shown() const { return shown_; }
  MapSize Map() const { return map_; }
  clsBuild& Builder() { return host_; }
  WorldView* View() const { return view_; }
  ParameterPanel* Panel() const { return panel_; }
  GalleryPage* Gallery() const { return gallery_; }
  QTabWidget* Pages() const { return pages_; }
  QLabel* Readout() const { return readout_; }
  QLabel* SeedLabel() const { return seedLabel_; }
  QLabel* WorldLabel() const { return worldLabel_; }
  // The export action of each format, in the table's order.
  const std::vector<QAction*>& ExportActions() const { return exportActions_; }
  QString LastFolder() const { return lastFolder_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  bool BuildInWindow(std::optional<WorldKey> key, bool pressBuild);
  // Shows a world, fitted to the view, or in the place of the shown one (a rebuild).
  void Show(ShownWorld shown, bool keepView = false);
  // Builds the shown world's seed again headless with the current parameters.
  void Rebuild();
  void RememberParameters();
  // Where a file dialog opens when no folder was used yet.
  QString DefaultFolder(bool settings) const;
  void ShowSquare(std::optional<QPoint> square);
  void UpdateExportActions();
  // Load or Save Settings: asks for the file, then reads or writes it through the builder.
  bool SettingsFile(bool save);
  void PageChanged(int index);
  // A file dialog of the app's own (save or open), starting in the last folder; the chosen
  // path, or empty when cancelled.
  QString AskFile(bool save, const QString& title, const QString& filter, const QString& suggested,
                  bool settings = false);
  void RememberFolder(const QString& path);
  // Keeps a preference in the preferences file (nothing without one).
  void Remember(const QString& key, const QVariant& value);
  void Say(const QString& text);

  ui::qt::QtPlatform& platform_;
  clsBuild host_;
  QString preferencesFile_;
  QString settingsFolder_;
  QString startFolder_;
  // Seconds the last rebuild took, and the map it was of (the panel rebuilds at once while
  // a build of the map takes less than a quarter second).
  double rebuildSeconds_ = 0.0;
  MapSize rebuildMap_{0, 0, false};
  MapSize map_;
  QString lastFolder_;
  std::optional<ShownWorld> shown_;
  bool building_ = false;

  QTabWidget* pages_;
  WorldView* view_;
  ParameterPanel* panel_;
  QAction* showCities_ = nullptr;
  GalleryPage* gallery_;
  QLabel* readout_;
  QLabel* worldLabel_;
  QLabel* seedLabel_;
  QAction* buildAgain_ = nullptr;
  std::vector<QAction*> exportActions_;
  std::vector<QAction*> worldActions_;  // useful only while a world is shown
};

}  // namespace lorvex::gui
