#include "ui/previews.h"

#include <cmath>

namespace lorvex::ui {

using platform::kTwipsPerPixel;
using platform::PictureSurface;

namespace {
constexpr int kMassFadePauses = 16;

// The margin that centres `used` pixels of `size`: Int((size - used) / 2), the floor, so a
// canvas wider than the picture starts left of it by the larger half.
int CentreMargin(int size, int used) { return static_cast<int>(std::floor((size - used) / 2.0)); }

void FillWhole(PictureSurface& surface, platform::Rgb colour) {
  surface.FillBox(0, 0, PictureSurface::kWidth * kTwipsPerPixel,
                  PictureSurface::kHeight * kTwipsPerPixel, colour);
}
}  // namespace

Previews::Geometry Previews::WorldGeometry() const {
  return {picWorld_, world_.PreviewScale, world_.PreviewOffsetX, world_.PreviewOffsetY};
}

Previews::Geometry Previews::MassGeometry() const {
  return {picMass_, world_.MassPreviewCell, world_.MassPreviewOffsetX, world_.MassPreviewOffsetY};
}

void Previews::FillSquare(const Geometry& g, int x, int y, platform::Rgb colour) {
  // A map larger than the surface has a cell of 0 pixels: such squares are not drawn.
  if (g.cell < 1) return;
  g.surface.FillBox(kTwipsPerPixel * (g.cell * x + g.offsetX),
                    kTwipsPerPixel * (g.cell * y + g.offsetY), kTwipsPerPixel * (g.cell - 1),
                    kTwipsPerPixel * (g.cell - 1), colour);
}

void Previews::PushTrail(const Geometry& g, Trail& trail, int x, int y,
                         const TrailColours& colours) {
  if (!trail[3].Empty()) FillSquare(g, trail[3].x, trail[3].y, colours.settled);
  for (int slot = 3; slot >= 1; --slot) {
    trail[slot] = trail[slot - 1];
    if (!trail[slot].Empty()) FillSquare(g, trail[slot].x, trail[slot].y, colours.age[slot]);
  }
  trail[0] = {x, y};
  FillSquare(g, x, y, colours.age[0]);
}

bool Previews::FadeStep(const Geometry& g, Trail& trail, int step, const TrailColours& colours) {
  if (!trail[3].Empty()) FillSquare(g, trail[3].x, trail[3].y, colours.settled);
  trail[3] = trail[2];
  if (step < 3) {
    if (!trail[3].Empty()) FillSquare(g, trail[3].x, trail[3].y, colours.age[3]);
    trail[2] = trail[1];
  }
  if (step < 2) {
    if (!trail[1].Empty()) FillSquare(g, trail[1].x, trail[1].y, colours.age[2]);
    trail[1] = trail[0];
  }
  if (step < 1 && !trail[0].Empty()) FillSquare(g, trail[0].x, trail[0].y, colours.age[1]);
  return step < 3;
}

void Previews::PreviewInit(int width, int height) {
  if (!world_.WatchMode) return;
  frame_.visible = true;
  FillWhole(picWorld_, kPreviewBackground);
  hooks_.Yield();
  int scale = height > 0 ? PictureSurface::kHeight / height : 0;
  if (width > 0 && PictureSurface::kWidth / width < scale) scale = PictureSurface::kWidth / width;
  if (width <= 0) scale = 0;
  world_.PreviewScale = scale;
  world_.PreviewOffsetX = CentreMargin(PictureSurface::kWidth, scale * width);
  world_.PreviewOffsetY = CentreMargin(PictureSurface::kHeight, scale * height);
  if (scale > 0)
    picWorld_.FillBox(kTwipsPerPixel * world_.PreviewOffsetX,
                      kTwipsPerPixel * world_.PreviewOffsetY,
                      kTwipsPerPixel * (scale * width - 1), kTwipsPerPixel * (scale * height - 1),
                      kPreviewSea);
  hooks_.Yield();
  world_.PauseActive = false;
}

void Previews::PreviewMarkSquare(int x, int y) {
  if (!world_.WatchMode) return;
  FillSquare(WorldGeometry(), x, y, kPreviewBorder);
}

void Previews::PreviewLandSquare(int x, int y) {
  if (!world_.WatchMode) return;
  FillSquare(WorldGeometry(), x, y, kLandTrail.settled);
}

void Previews::PreviewTrail(int x, int y) {
  if (!world_.WatchMode) return;
  PushTrail(WorldGeometry(), world_.WatchTrail, x, y, kLandTrail);
  Pause();
}

void Previews::FadeTrail(int step) {
  for (; world_.WatchMode; ++step) {
    const bool more = FadeStep(WorldGeometry(), world_.WatchTrail, step, kLandTrail);
    Pause();
    if (!more) break;
  }
}

void Previews::StartMassPreview(int width, int height) {
  if (!world_.WatchMode) return;
  frame_.visible = true;
  FillWhole(picMass_, kPreviewBackground);
  hooks_.Yield();
  int cell = height > 0 ? PictureSurface::kHeight / height : 1;
  if (width > 0 && PictureSurface::kWidth / width < cell) cell = PictureSurface::kWidth / width;
  if (cell < 1) cell = 1;
  world_.MassPreviewCell = cell;
  world_.MassPreviewOffsetX = CentreMargin(PictureSurface::kWidth, cell * width);
  world_.MassPreviewOffsetY = CentreMargin(PictureSurface::kHeight, cell * height);
  picMass_.FillBox(kTwipsPerPixel * world_.MassPreviewOffsetX,
                   kTwipsPerPixel * world_.MassPreviewOffsetY, kTwipsPerPixel * (cell * width - 1),
                   kTwipsPerPixel * (cell * height - 1), kMassCanvasBackground);
  hooks_.Yield();
  world_.PauseActive = false;
  world_.WatchTrail.fill(TrailSlot{});
  world_.PadTrail.fill(TrailSlot{});
}

void Previews::ShowLandSquare(int x, int y) {
  if (!world_.WatchMode) return;
  PushTrail(MassGeometry(), world_.WatchTrail, x, y, kLandTrail);
  Pause();
}

void Previews::FadeLandTrail(int step) {
  for (; world_.WatchMode; ++step) {
    const bool more = FadeStep(MassGeometry(), world_.WatchTrail, step, kLandTrail);
    Pause();
    if (!more) break;
  }
}

void Previews::ShowPadSquare(int x, int y) {
  if (!world_.WatchMode) return;
  PushTrail(MassGeometry(), world_.PadTrail, x, y, kPadTrail);
  hooks_.Yield();
}

void Previews::FadePadTrail(int step) {
  for (; world_.WatchMode; ++step) {
    const bool more = FadeStep(MassGeometry(), world_.PadTrail, step, kPadTrail);
    hooks_.Yield();
    if (!more) {
      for (int pause = 0; pause < kMassFadePauses; ++pause) Pause();
      break;
    }
  }
}

}  // namespace lorvex::ui
