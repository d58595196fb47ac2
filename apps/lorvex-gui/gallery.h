// The seed gallery: a page of worlds of consecutive seeds built with one set of parameters,
// side by side on every core by headless builders on worker threads, each shown as a
// thumbnail with its seed, land share and city count as soon as it is ready. The
// interface thread only starts builds and receives finished worlds by queued signals; the
// builders share nothing with it but a stop flag.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QObject>
#include <QThreadPool>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/host_world.h"
#include "host/host_parameters.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;

namespace lorvex::gui {

struct MapSize {
  int width = 200;
  int height = 150;
  bool wrap = true;
};

// One world of a gallery page, as its worker thread made it.
struct GalleryWorld {
  int page = 0;
  int slot = 0;  // 0 .. the page's count - 1
  std::uint64_t seed = 0;
  bool built = false;
  QImage thumbnail;       // with the cities marked
  QImage plainThumbnail;  // without them
  double landPercent = 0.0;  // land squares of all squares
  std::int32_t cities = 0;
  // The world itself while its page is small enough to keep (GalleryBuilds::kKeptPageSquares);
  // a larger one is built again from its seed and the page's parameters when opened.
  std::shared_ptr<const HostWorld> world;
};
using GalleryWorldPtr = std::shared_ptr<const GalleryWorld>;

// The worker threads of the gallery, one per core.
class GalleryBuilds : public QObject {
  Q_OBJECT

 public:
  // The squares of a page whose worlds are kept, some 60 MB (twelve worlds of 1024 x 1024);
  // the worlds of a larger page keep their picture only.
  static constexpr std::int64_t kKeptPageSquares = 12LL * 1024 * 1024;
  // Squares of the builds running at once: a build holds some 10 bytes a square, so a page
  // of 4096 x 4096 maps is built two at a time however many cores there are.
  static constexpr std::int64_t kSquaresBuiltAtOnce = 48LL * 1024 * 1024;

  explicit GalleryBuilds(QObject* parent = nullptr);
  ~GalleryBuilds() override;

  // Builds the worlds of seeds firstSeed, firstSeed + 1, ... (count of them) for `page`;
  // each is announced by Built on this object's thread as soon as it is ready. The builds
  // of an earlier page are stopped; their worlds are never announced.
  void Start(int page, const ParameterFields& parameters, MapSize map, std::uint64_t firstSeed,
             int count, QSize thumbnail);
  // Stops every build (each at its next checkpoint) and waits for the threads to be idle.
  void StopAll();
  // The threads of the page being built: one per core, fewer for large maps.
  int Threads() const { return pool_.maxThreadCount(); }

 signals:
  void Built(lorvex::gui::GalleryWorldPtr world);

 private:
  QThreadPool pool_;
  std::shared_ptr<std::atomic<bool>> stop_;  // of the page being built
};

// One thumbnail: the picture (a placeholder until the world is ready) over its seed, land
// share and city count, growing with the page. A click opens the world.
class GalleryTile : public QAbstractButton {
 public:
  explicit GalleryTile(QWidget* parent);
  // A world to come, of a map of `map` squares.
  void SetSeed(std::uint64_t seed, QSize map);
  void SetWorld(GalleryWorldPtr world);
  const GalleryWorldPtr& World() const { return world_; }
  // Whether the picture marks the cities.
  void SetCitiesShown(bool shown);
  // The picture as it is drawn now.
  const QImage& Picture() const;
  bool Ready() const { return world_ != nullptr; }
  QString Caption() const;  // the two lines under the picture
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize WithCaption(QSize picture) const;

  std::uint64_t seed_ = 0;
  QSize map_;
  bool citiesShown_ = true;
  GalleryWorldPtr world_;
};

class GalleryPage : public QWidget {
 public:
  // Worlds a page: as many by default, and at most (twenty pages of the default size).
  static constexpr int kWorldsPerPage = 12;
  static constexpr int kMostWorldsPerPage = 240;
  static constexpr int kColumns = 4;
  // Pixels of the pictures the worker threads make; a tile shows its picture scaled to its
  // size.
  static constexpr int kThumbnailWidth = 320, kThumbnailHeight = 240;

  explicit GalleryPage(QWidget* parent = nullptr);
  ~GalleryPage() override;

  // Builds a page from `firstSeed` with `parameters` on `map`.
  void Start(const ParameterFields& parameters, MapSize map, std::uint64_t firstSeed);
  // The next page: the seeds after the last of this one.
  void More();
  // Worlds a page (clamped to 1 .. kMostWorldsPerPage); a page being shown is built again
  // from its first seed with as many.
  void SetWorldsPerPage(int count);
  int WorldsPerPage() const { return static_cast<int>(tiles_.size()); }
  // Whether the thumbnails mark the cities.
  void SetCitiesShown(bool shown);
  // Stops the builds and waits for the worker threads (when the app closes).
  void Stop() { builds_.StopAll(); }
  // Called when a built world is clicked, with the parameters it was built with.
  void OnOpen(std::function<void(const GalleryWorld&)> hook) { onOpen_ = std::move(hook); }

  bool Started() const { return page_ > 0; }
  std::uint64_t FirstSeed() const { return firstSeed_; }
  const ParameterFields& Parameters() const { return parameters_; }
  MapSize Map() const { return map_; }
  int ReadyCount() const;
  GalleryTile* Tile(int slot) const { return tiles_.at(static_cast<std::size_t>(slot)); }
  QPushButton* MoreButton() const { return more_; }
  QSpinBox* CountBox() const { return count_; }
  QLabel* Heading() const { return heading_; }
  int Threads() const { return builds_.Threads(); }

 private:
  void Accept(const GalleryWorldPtr& world);
  void MakeTiles(int count);
  void ShowHeading();

  GalleryBuilds builds_;
  ParameterFields parameters_;
  MapSize map_;
  std::uint64_t firstSeed_ = 0;
  int page_ = 0;  // 0: nothing started
  std::vector<GalleryTile*> tiles_;
  bool citiesShown_ = true;
  QGridLayout* cells_;
  QLabel* heading_;
  QSpinBox* count_;
  QPushButton* more_;
  std::function<void(const GalleryWorld&)> onOpen_;
};

}  // namespace lorvex::gui
