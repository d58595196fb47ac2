#include "apps/lorvex-gui/app_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QScrollArea>
#include <QStandardPaths>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "apps/lorvex-gui/parameter_panel.h"
#include "apps/lorvex-gui/settings_report.h"
#include "apps/lorvex-gui/square_readout.h"
#include "apps/lorvex-gui/world_view.h"
#include "common/numbers.h"
#include "export/freeciv_export.h"
#include "export/world_export.h"
#include "params/parameter_form.h"
#include "ui/qt/build_dialog.h"
#include "ui/qt/qt_platform.h"

namespace lorvex::gui {

namespace {

constexpr int kWorldPage = 0, kGalleryPage = 1;
constexpr int kSavedScale = 4;           // pixels a square of an exported picture, as the command line's
constexpr int kLargestSavedSide = 4096;  // pixels: larger maps are exported at fewer pixels a square
constexpr int kWindowWidth = 1100, kWindowHeight = 780;
constexpr double kMostScreenShare = 0.92;  // of the screen's free area the first window takes
constexpr int kMessageMs = 10000;          // how long a message stays on the status line
constexpr const char* kSettingsFilter = "Kestrin's Settings (*.kst);;All files (*)";
constexpr double kQuickBuildSeconds = 0.25;  // a build the panel repeats at once, at most
constexpr const char* kLastParametersFile = "last-parameters.kst";
constexpr const char* kPresetsFolder = "presets";

const char* const kEmptyText =
    "No world yet.\n\nBuild... (Ctrl+B) opens the parameters window; Gallery (Ctrl+G) builds "
    "a page of worlds of consecutive seeds side by side.";

// Pixels a square of an exported picture: 4, fewer for large maps so that no side exceeds
// 4096 pixels, and at least 1.
int ExportScale(const HostWorld& world) {
  const int side = std::max({world.MapArray.Width(), world.MapArray.Height(), 1});
  return std::clamp(kLargestSavedSide / side, 1, kSavedScale);
}

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

std::uint64_t ClockSeed() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

// A text quoted back to the person: at most 40 characters, "..." marking a cut.
QString Shortened(const QString& text) {
  constexpr int kMostQuoted = 40;
  return text.size() <= kMostQuoted ? text : text.left(kMostQuoted) + QStringLiteral("...");
}

}  // namespace

std::optional<WorldKey> ParseKey(const QString& text) { return ParseWorldKey(text.trimmed().toStdString()); }

AppWindow::AppWindow(ui::qt::QtPlatform& platform, const AppOptions& options, QWidget* parent)
    : QMainWindow(parent),
      platform_(platform),
      host_(platform),
      preferencesFile_(options.preferencesFile),
      settingsFolder_(options.settingsFolder),
      startFolder_(options.startFolder) {
  int galleryWorlds = GalleryPage::kWorldsPerPage;
  if (!preferencesFile_.isEmpty()) {
    const QSettings preferences(preferencesFile_, QSettings::IniFormat);
    lastFolder_ = preferences.value(QStringLiteral("lastFolder")).toString();
    map_.width = preferences.value(QStringLiteral("mapWidth"), map_.width).toInt();
    map_.height = preferences.value(QStringLiteral("mapHeight"), map_.height).toInt();
    map_.wrap = preferences.value(QStringLiteral("mapWrap"), map_.wrap).toBool();
    galleryWorlds = preferences.value(QStringLiteral("galleryWorlds"), galleryWorlds).toInt();
  }
  map_.width = std::clamp(options.width.value_or(map_.width), 1, kMaxMapSide);
  map_.height = std::clamp(options.height.value_or(map_.height), 1, kMaxMapSide);
  map_.wrap = options.wrap.value_or(map_.wrap);
  if (options.key) host_.SetNextKey(*options.key);
  // The parameters of the last run, as they were left.
  if (!settingsFolder_.isEmpty()) {
    const QString last = QDir(settingsFolder_).filePath(QString::fromLatin1(kLastParametersFile));
    if (QFile::exists(last)) host_.LoadSettings(QFile::encodeName(last).toStdString());
  }

  view_ = new WorldView;
  view_->SetEmptyText(QString::fromLatin1(kEmptyText));
  view_->OnHover([this](std::optional<QPoint> square) { ShowSquare(square); });
  gallery_ = new GalleryPage;
  gallery_->OnOpen([this](const GalleryWorld& world) { OpenGalleryWorld(world); });
  gallery_->SetWorldsPerPage(galleryWorlds);
  connect(gallery_->CountBox(), &QSpinBox::valueChanged, this,
          [this](int count) { Remember(QStringLiteral("galleryWorlds"), count); });
  readout_ = new QLabel;
  readout_->setObjectName(QStringLiteral("readout"));
  readout_->setTextFormat(Qt::PlainText);
  // A long readout runs onto a second line rather than being cut.
  readout_->setWordWrap(true);
  readout_->setMargin(3);
  readout_->setMinimumHeight(2 * readout_->fontMetrics().lineSpacing() + 6);
  readout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* worldPage = new QWidget;
  auto* worldColumn = new QVBoxLayout(worldPage);
  worldColumn->setContentsMargins(0, 0, 0, 0);
  worldColumn->setSpacing(0);
  worldColumn->addWidget(view_, 1);
  worldColumn->addWidget(readout_);
  pages_ = new QTabWidget;
  pages_->addTab(worldPage, QStringLiteral("World"));
  pages_->addTab(gallery_, QStringLiteral("Gallery"));
  pages_->setDocumentMode(true);
  // The arrow keys pan the map; they never switch pages.
  pages_->tabBar()->setFocusPolicy(Qt::NoFocus);
  setCentralWidget(pages_);

  worldLabel_ = new QLabel;
  worldLabel_->setTextFormat(Qt::PlainText);
  seedLabel_ = new QLabel;
  seedLabel_->setObjectName(QStringLiteral("seed"));
  seedLabel_->setTextFormat(Qt::PlainText);
  seedLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  seedLabel_->setToolTip(QStringLiteral("Copy Seed (Ctrl+Shift+C) puts it on the clipboard"));
  statusBar()->addPermanentWidget(worldLabel_);
  statusBar()->addPermanentWidget(seedLabel_);

  panel_ = new ParameterPanel(
      host_, settingsFolder_.isEmpty() ? QString() : QDir(settingsFolder_).filePath(QString::fromLatin1(kPresetsFolder)));
  panel_->setObjectName(QStringLiteral("parameterPanel"));
  panel_->OnChanged([this] { ParametersChanged(); });
  auto* panelScroll = new QScrollArea;
  panelScroll->setWidget(panel_);
  panelScroll->setWidgetResizable(true);
  panelScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  panelScroll->setMinimumWidth(panel_->sizeHint().width() + 20);
  auto* dock = new QDockWidget(QStringLiteral("Parameters"), this);
  dock->setObjectName(QStringLiteral("parameterDock"));
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
  dock->setWidget(panelScroll);
  addDockWidget(Qt::RightDockWidgetArea, dock);

  CreateActions();
  const bool citiesShown =
      preferencesFile_.isEmpty() || QSettings(preferencesFile_, QSettings::IniFormat).value(QStringLiteral("showCities"), true).toBool();
  panel_->OnCitiesShown([this](bool shown) {
    view_->SetCitiesShown(shown);
    gallery_->SetCitiesShown(shown);
    showCities_->setChecked(shown);
    Remember(QStringLiteral("showCities"), shown);
  });
  panel_->CitiesBox()->setChecked(citiesShown);
  view_->SetCitiesShown(citiesShown);
  gallery_->SetCitiesShown(citiesShown);
  showCities_->setChecked(citiesShown);
  QMenu* viewMenu = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
  if (viewMenu != nullptr) viewMenu->addAction(dock->toggleViewAction());
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) { PageChanged(index); });
  setWindowTitle(QStringLiteral("lorvex-gui"));
  // The first window fits the screen it opens on, status line included.
  QSize size(kWindowWidth, kWindowHeight);
  if (const QScreen* screen = this->screen()) {
    const QRect free = screen->availableGeometry();
    size = size.boundedTo(QSize(static_cast<int>(free.width() * kMostScreenShare),
                                static_cast<int>(free.height() * kMostScreenShare)));
  }
  resize(size);
  UpdateExportActions();
}

AppWindow::~AppWindow() { gallery_->Stop(); }

void AppWindow::CreateActions() {
  const auto add = [this](QMenu* menu, const QString& text, const QString& name, QList<QKeySequence> keys,
                          auto slot) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, slot);
    menu->addAction(action);
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  add(file, QStringLiteral("&Load Settings..."), QStringLiteral("loadSettings"), {QKeySequence::Open},
      [this] { LoadSettings(); });
  add(file, QStringLiteral("&Save Settings..."), QStringLiteral("saveSettings"), {QKeySequence::Save},
      [this] { SaveSettings(); });
  QMenu* exports = file->addMenu(QStringLiteral("&Export"));
  // Every format the command line writes, from the one table of them.
  for (const exporting::FormatEntry& format : exporting::Formats()) {
    const exporting::FormatEntry* entry = &format;
    QAction* action = add(exports, QStringLiteral("%1 (*%2)...").arg(FromUtf8(std::string(format.title)),
                                                                      FromUtf8(std::string(format.extension))),
                          QStringLiteral("export-") + FromUtf8(std::string(format.name)), {},
                          [this, entry] { Export(*entry); });
    exportActions_.push_back(action);
  }
  file->addSeparator();
  add(file, QStringLiteral("&Quit"), QStringLiteral("quit"), {QKeySequence::Quit}, [this] { close(); });

  QMenu* build = menuBar()->addMenu(QStringLiteral("&Build"));
  buildAgain_ = add(build, QStringLiteral("&Build..."), QStringLiteral("buildAgain"),
                    {QKeySequence(Qt::CTRL | Qt::Key_B)}, [this] { BuildAgain(); });
  add(build, QStringLiteral("Build with &Seed..."), QStringLiteral("buildWithSeed"),
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B)}, [this] { AskSeedAndBuild(); });
  add(build, QStringLiteral("&Map Size..."), QStringLiteral("mapSize"), {}, [this] { ChangeMapSize(); });
  build->addSeparator();
  add(build, QStringLiteral("&Gallery"), QStringLiteral("gallery"), {QKeySequence(Qt::CTRL | Qt::Key_G)},
      [this] { ShowGallery(); });
  add(build, QStringLiteral("Mo&re Seeds"), QStringLiteral("moreSeeds"), {QKeySequence(Qt::CTRL | Qt::Key_M)},
      [this] { MoreSeeds(); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("viewMenu"));
  worldActions_.push_back(add(view, QStringLiteral("Zoom &In"), QStringLiteral("zoomIn"),
                              {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::Key_Plus)},
                              [this] { view_->ZoomIn(); }));
  worldActions_.push_back(add(view, QStringLiteral("Zoom &Out"), QStringLiteral("zoomOut"),
                              {QKeySequence::ZoomOut, QKeySequence(Qt::Key_Minus)}, [this] { view_->ZoomOut(); }));
  worldActions_.push_back(add(view, QStringLiteral("&Fit to Window"), QStringLiteral("fit"),
                              {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { view_->FitToWindow(); }));
  worldActions_.push_back(add(view, QStringLiteral("&Actual Size (1:1)"), QStringLiteral("actualSize"),
                              {QKeySequence(Qt::CTRL | Qt::Key_1)}, [this] { view_->ActualSize(); }));
  showCities_ = add(view, QStringLiteral("Show &Cities"), QStringLiteral("showCities"),
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T)}, [this](bool on) { panel_->CitiesBox()->setChecked(on); });
  showCities_->setCheckable(true);
  view->addSeparator();
  add(view, QStringLiteral("&World"), QStringLiteral("showWorld"), {QKeySequence(Qt::ALT | Qt::Key_1)},
      [this] { pages_->setCurrentIndex(kWorldPage); });
  add(view, QStringLiteral("Ga&llery"), QStringLiteral("showGallery"), {QKeySequence(Qt::ALT | Qt::Key_2)},
      [this] { ShowGallery(); });

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  worldActions_.push_back(add(edit, QStringLiteral("&Copy Seed"), QStringLiteral("copySeed"),
                              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, [this] { CopySeed(); }));

  QToolBar* tools = addToolBar(QStringLiteral("Tools"));
  tools->setObjectName(QStringLiteral("tools"));
  tools->setMovable(false);
  for (const char* name : {"buildAgain", "buildWithSeed", "gallery", "moreSeeds", "", "zoomIn", "zoomOut", "fit",
                           "actualSize"}) {
    if (*name == '\0')
      tools->addSeparator();
    else
      tools->addAction(findChild<QAction*>(QString::fromLatin1(name)));
  }
}

bool AppWindow::BuildAgain() { return BuildInWindow(std::nullopt, false); }

bool AppWindow::BuildWithKey(const WorldKey& key) { return BuildInWindow(key, true); }

bool AppWindow::AskSeedAndBuild() {
  QInputDialog ask(this);
  ask.setObjectName(QStringLiteral("seedDialog"));
  ask.setWindowTitle(QStringLiteral("Build with Seed"));
  ask.setLabelText(QStringLiteral("Seed, or a world's key SEED-DRAWS as Copy Seed gives it:"));
  ask.setTextValue(shown_ ? FromUtf8(FormatWorldKey(shown_->Key())) : QString());
  while (ask.exec() == QDialog::Accepted) {
    if (const std::optional<WorldKey> key = ParseKey(ask.textValue())) return BuildWithKey(*key);
    QMessageBox::warning(this, QStringLiteral("Build with Seed"),
                         QStringLiteral("\"%1\" is not a seed: give a whole number from 0 to 18446744073709551615, "
                                        "or a key such as 42-1873 (at most %2 draws).")
                             .arg(Shortened(ask.textValue().trimmed()))
                             .arg(kMostKeyDraws));
  }
  return false;
}

bool AppWindow::BuildInWindow(std::optional<WorldKey> key, bool pressBuild) {
  if (building_) return false;
  building_ = true;
  if (key) host_.SetNextKey(*key);
  // Build is pressed in the window once its modal show runs; never after this Build.
  auto press = std::make_shared<bool>(pressBuild);
  if (pressBuild)
    QTimer::singleShot(0, this, [this, press] {
      if (!*press) return;
      *press = false;
      if (ui::qt::BuildDialog* dialog = platform_.ShownWindow())
        if (auto* button = qobject_cast<QPushButton*>(dialog->WidgetOf("cmdBuild", 0))) button->click();
    });
  const bool built = host_.Build(static_cast<std::int16_t>(map_.width), static_cast<std::int16_t>(map_.height),
                                 map_.wrap);
  *press = false;
  building_ = false;
  // The keys go to this window again once the parameters window is gone.
  QTimer::singleShot(0, this, [this] { activateWindow(); });
  if (!built) return false;
  // The next window opens with what this build used, the person's edits included.
  host_.SetParameters(host_.LastBuildParameters());
  panel_->Refresh();
  RememberParameters();
  // The key, not just the seed: Recommend or a stopped build in the window drew first.
  const WorldKey builtKey = host_.LastKey();
  Show(ShownWorld{std::make_shared<const HostWorld>(host_.TakeWorld()), builtKey.seed, map_, builtKey.draws});
  return true;
}

void AppWindow::ShowGallery() {
  pages_->setCurrentIndex(kGalleryPage);
  PageChanged(kGalleryPage);
}

void AppWindow::PageChanged(int index) {
  if (index != kGalleryPage) return;
  const MapSize map = gallery_->Map();
  const bool sameMap = map.width == map_.width && map.height == map_.height && map.wrap == map_.wrap;
  if (gallery_->Started() && sameMap && gallery_->Parameters() == host_.Parameters()) return;
  gallery_->Start(host_.Parameters(), map_, shown_ ? shown_->seed + 1 : ClockSeed());
}

void AppWindow::MoreSeeds() {
  if (!gallery_->Started()) {
    ShowGallery();
    return;
  }
  pages_->setCurrentIndex(kGalleryPage);
  gallery_->More();
}

void AppWindow::OpenGalleryWorld(const GalleryWorld& world) {
  // The world's parameters are those of the next build, as after any build.
  host_.SetParameters(gallery_->Parameters());
  panel_->Refresh();
  if (world.world == nullptr) {
    // Too large to keep: the window builds it again from its seed, showing its progress.
    // (The page is of the current map size: a new size starts a new page.)
    BuildWithSeed(world.seed);
    return;
  }
  Show(ShownWorld{world.world, world.seed, gallery_->Map()});
}

void AppWindow::Show(ShownWorld shown, bool keepView) {
  shown_ = std::move(shown);
  const HostWorld& world = *shown_->world;
  if (keepView)
    view_->ReplaceWorld(&world, shown_->map.wrap);
  else
    view_->SetWorld(&world, shown_->map.wrap);
  const exporting::WorldSummary summary = exporting::Summarize(world);
  const double squares = std::max(1.0, static_cast<double>(world.MapArray.Width()) * world.MapArray.Height());
  worldLabel_->setText(QStringLiteral("%1 x %2%3: %4 % land, %5 cities")
                           .arg(world.MapArray.Width())
                           .arg(world.MapArray.Height())
                           .arg(shown_->map.wrap ? QStringLiteral(", wrapping") : QString())
                           .arg(std::lround(100.0 * static_cast<double>(summary.land) / squares))
                           .arg(world.CityCount));
  const QString key = FromUtf8(FormatWorldKey(shown_->Key()));
  seedLabel_->setText(QStringLiteral("Seed %1").arg(key));
  setWindowTitle(QStringLiteral("lorvex-gui - seed %1").arg(key));
  buildAgain_->setText(QStringLiteral("&Build Again..."));
  if (!keepView) {
    readout_->clear();
    pages_->setCurrentIndex(kWorldPage);
    view_->setFocus();
  }
  UpdateExportActions();
}

bool AppWindow::RebuildsAtOnce() const {
  if (!shown_) return false;
  const MapSize& map = shown_->map;
  const bool sameMap = map.width == rebuildMap_.width && map.height == rebuildMap_.height && map.wrap == rebuildMap_.wrap;
  return !sameMap || rebuildSeconds_ < kQuickBuildSeconds;
}

void AppWindow::ParametersChanged() {
  RememberParameters();
  if (!shown_ || building_) return;
  if (!RebuildsAtOnce()) {
    panel_->Note()->setText(QStringLiteral("A build of this map takes %1 s: Build... (Ctrl+B) shows the change.")
                                .arg(rebuildSeconds_, 0, 'f', 1));
    return;
  }
  Rebuild();
}

void AppWindow::Rebuild() {
  clsBuild builder;
  builder.SetHeadlessBuild(true);
  // The window asked its questions (the land warning) when this world was first built.
  builder.SetQuestionAnswer(true);
  builder.SetParameters(host_.Parameters());
  builder.SetNextKey(shown_->Key());
  const MapSize map = shown_->map;
  QElapsedTimer clock;
  clock.start();
  const bool built = builder.Build(static_cast<std::int16_t>(map.width), static_cast<std::int16_t>(map.height), map.wrap);
  rebuildSeconds_ = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
  rebuildMap_ = map;
  if (!built) {
    panel_->Note()->setText(QStringLiteral("These parameters build no world: the world shown is of the ones before."));
    return;
  }
  const WorldKey key = shown_->Key();
  Show(ShownWorld{std::make_shared<const HostWorld>(builder.TakeWorld()), key.seed, map, key.draws}, true);
}

void AppWindow::RememberParameters() {
  if (settingsFolder_.isEmpty()) return;
  QDir().mkpath(settingsFolder_);
  host_.SaveSettings(QFile::encodeName(QDir(settingsFolder_).filePath(QString::fromLatin1(kLastParametersFile))).toStdString());
}

void AppWindow::ShowSquare(std::optional<QPoint> square) {
  if (!shown_ || !square) {
    readout_->clear();
    return;
  }
  readout_->setText(FromUtf8(SquareReadout(*shown_->world, square->x(), square->y())));
}

void AppWindow::UpdateExportActions() {
  for (std::size_t i = 0; i < exportActions_.size(); ++i) {
    const exporting::FormatEntry& format = exporting::Formats()[i];
    std::string why;
    const bool fits = shown_ && exporting::FormatFits(format.format, shown_->world->MapArray.Width(),
                                                      shown_->world->MapArray.Height(), why);
    exportActions_[i]->setEnabled(fits);
    exportActions_[i]->setStatusTip(shown_ && !fits ? FromUtf8(why) : QString());
  }
  for (QAction* action : worldActions_) action->setEnabled(shown_.has_value());
}

bool AppWindow::Export(const exporting::FormatEntry& format) {
  if (!shown_) return false;
  const QString extension = FromUtf8(std::string(format.extension));
  const QString path = AskFile(true, QStringLiteral("Export as %1").arg(FromUtf8(std::string(format.title))),
                               QStringLiteral("%1 (*%2)").arg(FromUtf8(std::string(format.title)), extension),
                               QStringLiteral("world-%1%2").arg(FromUtf8(FormatWorldKey(shown_->Key())), extension));
  if (path.isEmpty()) return false;
  const HostWorld& world = *shown_->world;
  exporting::WorldToWrite out{world, {}, ExportScale(world)};
  out.info.wrap = shown_->map.wrap;
  out.info.seed = shown_->seed;
  out.info.draws = shown_->draws;
  if (format.format == exporting::Format::kFreeciv) {
    bool chosen = false;
    out.info.freecivPlayers = QInputDialog::getInt(
        this, QStringLiteral("Export"), QStringLiteral("Players of the Freeciv game (start positions):"),
        exporting::kFreecivDefaultPlayers, 1, exporting::kFreecivMaxPlayers, 1, &chosen);
    if (!chosen) return false;
  }
  std::string error;
  if (!exporting::WriteWorldFile(out, format.format, QFile::encodeName(path).toStdString(), error)) {
    QMessageBox::warning(this, QStringLiteral("Export"), QStringLiteral("Nothing was written: %1").arg(FromUtf8(error)));
    return false;
  }
  RememberFolder(path);
  QString written = path;
  if (format.companion != nullptr)
    written += QStringLiteral(" and ") + QFile::decodeName(format.companion(QFile::encodeName(path).toStdString()).c_str());
  Say(QStringLiteral("Wrote %1").arg(written));
  return true;
}

bool AppWindow::LoadSettings() { return SettingsFile(false); }

bool AppWindow::SaveSettings() { return SettingsFile(true); }

bool AppWindow::SettingsFile(bool save) {
  const QString title = save ? QStringLiteral("Save Settings") : QStringLiteral("Load Settings");
  const QString path = AskFile(save, title, QString::fromLatin1(kSettingsFilter),
                               save ? QStringLiteral("settings.kst") : QString(), true);
  if (path.isEmpty()) return false;
  const std::string file = QFile::encodeName(path).toStdString();
  if (save) {
    const Outcome outcome = host_.SaveSettings(file);
    if (!outcome.Ok()) {
      QMessageBox::warning(this, title, FromUtf8(outcome.message));
      return false;
    }
    Say(QStringLiteral("Saved %1").arg(path));
    return true;
  }
  SettingsReport report;
  std::string error;
  if (!LoadSettingsReported(host_, file, report, error)) {
    QMessageBox::warning(this, title, FromUtf8(error));
    return false;
  }
  const QString details = FromUtf8(DescribeReport(report));
  if (report.applied == 0 && report.corrected.empty()) {
    QMessageBox::warning(this, title, QStringLiteral("%1 holds no settings: nothing was loaded.\n\n%2").arg(path, details));
    return false;
  }
  if (!report.ignored.empty() || !report.corrected.empty())
    QMessageBox::information(this, title, QStringLiteral("Loaded %1.\n\n%2").arg(path, details));
  Say(QStringLiteral("Loaded %1 (%2): the next build opens with these parameters")
          .arg(path, details.section(QLatin1Char('\n'), 0, 0)));
  // The next build opens with them; the world on show stays as it was built.
  panel_->Refresh();
  RememberParameters();
  return true;
}

bool AppWindow::ChangeMapSize() {
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("mapSizeDialog"));
  dialog.setWindowTitle(QStringLiteral("Map Size"));
  auto* width = new QSpinBox(&dialog);
  auto* height = new QSpinBox(&dialog);
  for (QSpinBox* side : {width, height}) {
    side->setRange(1, kMaxMapSide);
    side->setSuffix(QStringLiteral(" squares"));
  }
  width->setValue(map_.width);
  height->setValue(map_.height);
  auto* wrap = new QCheckBox(QStringLiteral("The map wraps east-west"), &dialog);
  wrap->setChecked(map_.wrap);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("Width:"), width);
  form->addRow(QStringLiteral("Height:"), height);
  form->addRow(wrap);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return false;
  SetMap({width->value(), height->value(), wrap->isChecked()});
  return true;
}

void AppWindow::SetMap(MapSize map) {
  map_ = map;
  Remember(QStringLiteral("mapWidth"), map_.width);
  Remember(QStringLiteral("mapHeight"), map_.height);
  Remember(QStringLiteral("mapWrap"), map_.wrap);
  Say(QStringLiteral("The next builds make maps of %1 x %2%3")
          .arg(map_.width)
          .arg(map_.height)
          .arg(map_.wrap ? QStringLiteral(", wrapping") : QString()));
  if (pages_->currentIndex() == kGalleryPage) PageChanged(kGalleryPage);
}

void AppWindow::CopySeed() {
  if (!shown_) return;
  const QString key = FromUtf8(FormatWorldKey(shown_->Key()));
  QApplication::clipboard()->setText(key);
  Say(QStringLiteral("Seed %1 copied: Build with Seed, lorvex build --seed and Python's seed= build this world from it")
          .arg(key));
}

QString AppWindow::DefaultFolder(bool settings) const {
  // The settings files live in the app's own folder, where the parameters window keeps them
  // too; nothing is ever made in the folder the app was started from.
  if (settings && !settingsFolder_.isEmpty()) {
    const QString folder = QDir(settingsFolder_).filePath(QString::fromLatin1(params::kSettingsFolder));
    if (QDir().mkpath(folder)) return folder;
  }
  return startFolder_.isEmpty() ? QDir::currentPath() : startFolder_;
}

QString AppWindow::AskFile(bool save, const QString& title, const QString& filter, const QString& suggested,
                           bool settings) {
  QString folder = settings ? QString() : lastFolder_;
  if (folder.isEmpty() || !QDir(folder).exists()) folder = DefaultFolder(settings);
  QFileDialog dialog(this, title, folder, filter);
  dialog.setObjectName(QStringLiteral("fileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QString suffix = filter.section(QStringLiteral("(*."), 1).section(QLatin1Char(')'), 0, 0);
  if (save && !suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
  if (!suggested.isEmpty()) dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void AppWindow::RememberFolder(const QString& path) {
  lastFolder_ = QFileInfo(path).absolutePath();
  Remember(QStringLiteral("lastFolder"), lastFolder_);
}

void AppWindow::Remember(const QString& key, const QVariant& value) {
  if (preferencesFile_.isEmpty()) return;
  QSettings preferences(preferencesFile_, QSettings::IniFormat);
  preferences.setValue(key, value);
}

void AppWindow::Say(const QString& text) { statusBar()->showMessage(text, kMessageMs); }

void AppWindow::closeEvent(QCloseEvent* event) {
  RememberParameters();
  // The gallery's builders stop at their next checkpoint; the window goes when they have.
  gallery_->Stop();
  event->accept();
}

}  // namespace lorvex::gui
