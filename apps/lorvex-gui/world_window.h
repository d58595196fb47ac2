// The desktop host's window: the finished world drawn in the terrain colours of every
// picture of a world (export/palette.h), cities marked, scaled to fit; a button that saves
// it as a PNG picture and one that builds again through the parameters window.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "engine/host_world.h"

class QLabel;
class QPushButton;

namespace lorvex::gui {

// The world at `scale` pixels a square, in the palette's colours; city squares are
// outlined when a square is at least 3 pixels wide, as in the PNG export.
QImage RenderWorld(const HostWorld& world, int scale);

// Pixels a square of the saved picture: 4, less for large maps so that no side exceeds
// 4096 pixels, and at least 1.
int SavedPictureScale(const HostWorld& world);

// Writes the world as a PNG picture (the old file stays unless the new one is complete).
bool SaveWorldPng(const HostWorld& world, const std::string& fileName, std::string& error);

// The map scaled to the widget, keeping squares square; every city gets a marker that
// stays visible however small the squares are.
class WorldView : public QWidget {
 public:
  explicit WorldView(QWidget* parent = nullptr);
  void SetWorld(const HostWorld& world);
  // Where the map lies within the widget.
  QRectF MapArea() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const HostWorld* world_ = nullptr;
  QImage image_;  // one pixel a square
};

class WorldWindow : public QWidget {
 public:
  // buildAgain runs the host's Build again and answers whether a new world came back.
  // chooseFile asks for the PNG file's name (empty = cancelled).
  WorldWindow(std::function<bool()> buildAgain, std::function<std::string()> chooseFile,
              QWidget* parent = nullptr);
  // Shows a world; the host keeps it alive until the next call.
  void ShowWorld(const HostWorld& world, bool wrap, std::uint64_t seed);
  // The "Save as PNG..." button; answers whether a picture was written.
  bool SaveAsPng();
  // The "Build Again" button: a cancelled build ends the program.
  void BuildAgain();

  QLabel* Summary() const { return summary_; }

 private:
  std::function<bool()> buildAgain_;
  std::function<std::string()> chooseFile_;
  const HostWorld* world_ = nullptr;
  WorldView* view_;
  QLabel* summary_;
  QPushButton* save_;
  QPushButton* again_;
};

}  // namespace lorvex::gui
