// The watch display's two previews: picWorld shows the map as masses are placed and tiny
// islands grow, picMass shows one mass being shaped on its canvas. Both draw only while the
// world state's WatchMode is on; they never read or change the world or a canvas.
//
// Squares are map (or canvas) squares (x, y); a square of cell size c at offset (ox, oy)
// pixels is the box from ((c*x + ox)*15, (c*y + oy)*15) twips, (c - 1)*15 twips wide and high.
#pragma once

#include "world/build_context.h"
#include "world/world_state.h"
#include "platform/control.h"
#include "platform/picture_surface.h"

namespace lorvex::ui {

// Colours of a trail, newest first, then the colour a square keeps once it has left.
struct TrailColours {
  platform::Rgb age[4];
  platform::Rgb settled;
};

inline constexpr platform::Rgb kPreviewBackground{153, 153, 153};
inline constexpr platform::Rgb kPreviewSea{0, 0, 255};
inline constexpr platform::Rgb kPreviewBorder{0, 0, 0};
inline constexpr platform::Rgb kMassCanvasBackground{0, 0, 0};
//                                              newest          1              2             3             settled
inline constexpr TrailColours kLandTrail{{{204, 255, 0}, {153, 229, 0}, {102, 204, 0}, {51, 178, 0}}, {0, 153, 0}};
inline constexpr TrailColours kPadTrail{{{0, 204, 255}, {0, 153, 255}, {0, 102, 255}, {0, 51, 255}}, {0, 0, 255}};

class Previews {
 public:
  Previews(WorldState& world, platform::PictureSurface& picWorld,
           platform::PictureSurface& picMass, platform::Control& fraWatchIt, BuildHooks& hooks)
      : world_(world), picWorld_(picWorld), picMass_(picMass), frame_(fraWatchIt), hooks_(hooks) {}

  // The world preview.
  void PreviewInit(int width, int height);
  void PreviewMarkSquare(int x, int y);
  void PreviewLandSquare(int x, int y);
  void PreviewTrail(int x, int y);
  // Ages the world trail to plain land green after the tiny islands (one pause a step).
  void FadeTrail(int step);

  // The mass preview.
  void StartMassPreview(int width, int height);
  void ShowLandSquare(int x, int y);
  void FadeLandTrail(int step);
  void ShowPadSquare(int x, int y);
  void FadePadTrail(int step);

 private:
  struct Geometry {
    platform::PictureSurface& surface;
    int cell, offsetX, offsetY;
  };
  Geometry WorldGeometry() const;
  Geometry MassGeometry() const;
  static void FillSquare(const Geometry& g, int x, int y, platform::Rgb colour);
  static void PushTrail(const Geometry& g, Trail& trail, int x, int y, const TrailColours& colours);
  // One step of a trail's fade; answers whether the caller should go on with step + 1.
  static bool FadeStep(const Geometry& g, Trail& trail, int step, const TrailColours& colours);
  void Pause() { PauseOneTick(world_, hooks_); }

  WorldState& world_;
  platform::PictureSurface& picWorld_;
  platform::PictureSurface& picMass_;
  platform::Control& frame_;
  BuildHooks& hooks_;
};

}  // namespace lorvex::ui
