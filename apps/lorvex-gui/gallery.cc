#include "apps/lorvex-gui/gallery.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>
#include <cmath>

#include "apps/lorvex-gui/world_view.h"
#include "export/world_export.h"
#include "host/cls_build.h"

namespace lorvex::gui {

namespace {

constexpr int kTilePadding = 6;  // pixels round the picture and between it and the caption
// The picture's box in a tile: as preferred (a page of twelve fills a window of some 1100 x
// 780 pixels), and at least (smaller windows scroll).
constexpr QSize kPreferredPicture(240, 180);
constexpr QSize kLeastPicture(160, 120);
const QColor kPlaceholder(72, 72, 72);

// Builds one world of the page on a worker thread. Everything it touches is its own but
// the stop flag and the object that announces the world, which outlives it (StopAll).
void BuildOne(GalleryBuilds* builds, std::shared_ptr<std::atomic<bool>> stop, int page, int slot,
              const ParameterFields& parameters, MapSize map, std::uint64_t seed, QSize box, bool keep) {
  auto made = std::make_shared<GalleryWorld>();
  made->page = page;
  made->slot = slot;
  made->seed = seed;
  clsBuild builder;
  builder.SetHeadlessBuild(true);
  // The parameters built a world in the window already; a land warning was answered then.
  builder.SetQuestionAnswer(true);
  builder.SetStopFlag(stop.get());
  builder.SetParameters(parameters);
  builder.SetNextSeed(seed);
  const bool built =
      builder.Build(static_cast<std::int16_t>(map.width), static_cast<std::int16_t>(map.height), map.wrap);
  // A page stopped after its world was built announces nothing: its picture is not drawn.
  if (stop->load()) return;
  if (built) {
    HostWorld world = builder.TakeWorld();
    const std::int64_t squares = static_cast<std::int64_t>(map.width) * map.height;
    made->built = true;
    made->landPercent = 100.0 * static_cast<double>(exporting::Summarize(world).land) / static_cast<double>(squares);
    made->cities = world.CityCount;
    made->thumbnail = Thumbnail(world, box);
    made->plainThumbnail = Thumbnail(world, box, false);
    if (keep) made->world = std::make_shared<const HostWorld>(std::move(world));
  }
  if (stop->load()) return;  // nor one stopped while its picture was drawn
  emit builds->Built(made);
}

}  // namespace

GalleryBuilds::GalleryBuilds(QObject* parent) : QObject(parent) {
  pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

namespace {

int ThreadsFor(MapSize map) {
  const std::int64_t squares = std::max<std::int64_t>(1, static_cast<std::int64_t>(map.width) * map.height);
  const std::int64_t fit = std::max<std::int64_t>(1, GalleryBuilds::kSquaresBuiltAtOnce / squares);
  return static_cast<int>(std::min<std::int64_t>(fit, std::max(1, QThread::idealThreadCount())));
}

}  // namespace

GalleryBuilds::~GalleryBuilds() { StopAll(); }

void GalleryBuilds::Start(int page, const ParameterFields& parameters, MapSize map, std::uint64_t firstSeed,
                          int count, QSize thumbnail) {
  if (stop_ != nullptr) *stop_ = true;
  pool_.clear();  // builds of the earlier page that have not begun
  stop_ = std::make_shared<std::atomic<bool>>(false);
  pool_.setMaxThreadCount(ThreadsFor(map));
  // The parameters are shared, read-only, by the builds of the page.
  auto shared = std::make_shared<const ParameterFields>(parameters);
  const bool keep = static_cast<std::int64_t>(map.width) * map.height * count <= kKeptPageSquares;
  for (int slot = 0; slot < count; ++slot) {
    const std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(slot);
    pool_.start([this, stop = stop_, page, slot, shared, map, seed, thumbnail, keep] {
      BuildOne(this, stop, page, slot, *shared, map, seed, thumbnail, keep);
    });
  }
}

void GalleryBuilds::StopAll() {
  if (stop_ != nullptr) *stop_ = true;
  pool_.clear();
  pool_.waitForDone();
}

GalleryTile::GalleryTile(QWidget* parent) : QAbstractButton(parent) {
  setEnabled(false);  // until its world is ready
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
}

void GalleryTile::SetSeed(std::uint64_t seed, QSize map) {
  seed_ = seed;
  map_ = map;
  world_.reset();
  setEnabled(false);
  setToolTip(QString());
  update();
}

void GalleryTile::SetWorld(GalleryWorldPtr world) {
  world_ = std::move(world);
  setEnabled(world_ != nullptr && world_->built);
  setToolTip(isEnabled() ? QStringLiteral("Open the world of seed %1").arg(seed_) : QString());
  update();
}

void GalleryTile::SetCitiesShown(bool shown) {
  citiesShown_ = shown;
  update();
}

const QImage& GalleryTile::Picture() const {
  static const QImage none;
  if (world_ == nullptr) return none;
  return citiesShown_ ? world_->thumbnail : world_->plainThumbnail;
}

QString GalleryTile::Caption() const {
  const QString seed = QStringLiteral("Seed %1").arg(seed_);
  if (world_ == nullptr) return seed + QStringLiteral("\nbuilding...");
  if (!world_->built) return seed + QStringLiteral("\nnot built");
  return seed + QStringLiteral("\n%1 % land, %2 cities").arg(std::lround(world_->landPercent)).arg(world_->cities);
}

QSize GalleryTile::WithCaption(QSize picture) const {
  return {picture.width() + 2 * kTilePadding, picture.height() + 3 * kTilePadding + 2 * fontMetrics().height()};
}

QSize GalleryTile::sizeHint() const { return WithCaption(kPreferredPicture); }

QSize GalleryTile::minimumSizeHint() const { return WithCaption(kLeastPicture); }

void GalleryTile::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int captionHeight = 2 * fontMetrics().height();
  // The picture in the map's shape, its caption right under it, the two centred in the tile.
  const QRect room = rect().adjusted(kTilePadding, kTilePadding, -kTilePadding, -2 * kTilePadding - captionHeight);
  const QSize shape = map_.isEmpty() ? room.size() : map_.scaled(room.size(), Qt::KeepAspectRatio);
  const int top = (height() - shape.height() - kTilePadding - captionHeight) / 2;
  const QRect picture(QPoint((width() - shape.width()) / 2, top), shape);
  if (underMouse() && isEnabled()) painter.fillRect(rect(), palette().color(QPalette::Midlight));
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
  }
  if (world_ != nullptr && !Picture().isNull()) {
    QRect at(QPoint(), Picture().size().scaled(picture.size(), Qt::KeepAspectRatio));
    at.moveCenter(picture.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(at, Picture());
  } else {
    painter.fillRect(picture, kPlaceholder);
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(picture, Qt::AlignCenter,
                     world_ == nullptr ? QStringLiteral("Building...") : QStringLiteral("Not built"));
  }
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect caption(kTilePadding, picture.bottom() + kTilePadding, width() - 2 * kTilePadding, captionHeight);
  painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, Caption());
}

GalleryPage::GalleryPage(QWidget* parent) : QWidget(parent) {
  heading_ = new QLabel(QStringLiteral("No gallery yet."), this);
  heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  more_ = new QPushButton(QStringLiteral("More"), this);
  more_->setToolTip(QStringLiteral("Build the next page of seeds"));
  more_->setEnabled(false);
  count_ = new QSpinBox(this);
  count_->setRange(1, kMostWorldsPerPage);
  count_->setValue(kWorldsPerPage);
  count_->setKeyboardTracking(false);  // a page is built once the count is entered
  count_->setToolTip(QStringLiteral("Worlds a page"));
  auto* countLabel = new QLabel(QStringLiteral("Worlds a page:"), this);
  countLabel->setBuddy(count_);
  auto* top = new QHBoxLayout;
  top->addWidget(heading_, 1);
  top->addWidget(countLabel);
  top->addWidget(count_);
  top->addWidget(more_);

  auto* grid = new QWidget;
  cells_ = new QGridLayout(grid);
  cells_->setSpacing(8);
  for (int column = 0; column < kColumns; ++column) cells_->setColumnStretch(column, 1);
  MakeTiles(kWorldsPerPage);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(grid);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(scroll, 1);
  connect(more_, &QPushButton::clicked, this, [this] { More(); });
  connect(count_, &QSpinBox::valueChanged, this, [this](int count) { SetWorldsPerPage(count); });
  connect(&builds_, &GalleryBuilds::Built, this, [this](const GalleryWorldPtr& world) { Accept(world); },
          Qt::QueuedConnection);
}

GalleryPage::~GalleryPage() { builds_.StopAll(); }

void GalleryPage::MakeTiles(int count) {
  for (GalleryTile* tile : tiles_) delete tile;
  tiles_.clear();
  QWidget* grid = cells_->parentWidget();
  for (int slot = 0; slot < count; ++slot) {
    auto* tile = new GalleryTile(grid);
    tile->setObjectName(QStringLiteral("galleryTile%1").arg(slot));
    tile->SetCitiesShown(citiesShown_);
    cells_->addWidget(tile, slot / kColumns, slot % kColumns);
    cells_->setRowStretch(slot / kColumns, 1);
    connect(tile, &QAbstractButton::clicked, this, [this, tile] {
      if (tile->Ready() && tile->World()->built && onOpen_) onOpen_(*tile->World());
    });
    tiles_.push_back(tile);
  }
  // Rows a longer page had keep no room.
  for (int row = (count + kColumns - 1) / kColumns; row < cells_->rowCount(); ++row) cells_->setRowStretch(row, 0);
}

void GalleryPage::SetCitiesShown(bool shown) {
  citiesShown_ = shown;
  for (GalleryTile* tile : tiles_) tile->SetCitiesShown(shown);
}

void GalleryPage::SetWorldsPerPage(int count) {
  count = std::clamp(count, 1, kMostWorldsPerPage);
  if (count_->value() != count) count_->setValue(count);  // comes back here
  if (count == WorldsPerPage()) return;
  MakeTiles(count);
  // A new page: the worlds of the old one, still building, reach none of these tiles.
  if (Started()) Start(parameters_, map_, firstSeed_);
}

void GalleryPage::Start(const ParameterFields& parameters, MapSize map, std::uint64_t firstSeed) {
  parameters_ = parameters;
  map_ = map;
  firstSeed_ = firstSeed;
  ++page_;
  for (int slot = 0; slot < WorldsPerPage(); ++slot)
    Tile(slot)->SetSeed(firstSeed + static_cast<std::uint64_t>(slot), QSize(map.width, map.height));
  more_->setEnabled(true);
  builds_.Start(page_, parameters_, map_, firstSeed_, WorldsPerPage(), QSize(kThumbnailWidth, kThumbnailHeight));
  ShowHeading();
}

void GalleryPage::More() {
  if (!Started()) return;
  Start(parameters_, map_, firstSeed_ + static_cast<std::uint64_t>(WorldsPerPage()));
}

int GalleryPage::ReadyCount() const {
  int ready = 0;
  for (const GalleryTile* tile : tiles_) ready += tile->Ready() ? 1 : 0;
  return ready;
}

void GalleryPage::Accept(const GalleryWorldPtr& world) {
  // A world of an earlier page that was announced before its page was stopped.
  if (world == nullptr || world->page != page_ || world->slot < 0 || world->slot >= WorldsPerPage()) return;
  Tile(world->slot)->SetWorld(world);
  ShowHeading();
}

void GalleryPage::ShowHeading() {
  const std::uint64_t last = firstSeed_ + static_cast<std::uint64_t>(WorldsPerPage()) - 1;
  heading_->setText(QStringLiteral("Seeds %1 to %2 on %3 x %4%5: %6 of %7 built with %8 threads")
                        .arg(firstSeed_)
                        .arg(last)
                        .arg(map_.width)
                        .arg(map_.height)
                        .arg(map_.wrap ? QStringLiteral(", wrapping") : QString())
                        .arg(ReadyCount())
                        .arg(WorldsPerPage())
                        .arg(builds_.Threads()));
}

}  // namespace lorvex::gui
