#include "shaping/wandering_blob.h"

#include <algorithm>

namespace lorvex::shaping {

Growth Wander(BuildContext& context, BlobCanvas& blob, std::int32_t squares,
              std::int16_t massPercent, std::int16_t wanderWindow) {
  // A share over 100 % would wander past the squares asked for; the window's 10 .. 80 %
  // never reaches them.
  while (blob.Count() < squares && massPercent / 100.0 * squares >= blob.Count()) {
    std::int32_t low = std::max(0, blob.Count() - wanderWindow);
    const Growth step = blob.AddGrowthSquare(context, low, wanderWindow);
    if (step != Growth::kGrown) return step;
  }
  return Growth::kGrown;
}

MassGrid MakeWanderingBlob(BuildContext& context, std::int32_t squares, std::int32_t pad,
                           std::int16_t spanX, std::int16_t spanY, std::int16_t v0,
                           std::int16_t v1, std::int16_t v2, std::int16_t v3) {
  const std::int16_t massPercent = v0, wanderWindow = v1, evenPad = v2, erratic = v3;
  squares = std::clamp(squares, 1, kMostMassSquares);
  BlobCanvas blob(squares, pad, spanX, spanY);
  context.hooks.StartMassPreview(blob.XMax(), blob.YMax());
  if (blob.InteriorSquares() < squares) {
    blob.FillRectangle(context, squares);
    return blob.Finish(context);
  }
  blob.SetPeriod(DrawFramePeriod(context.random));
  blob.AddLand(context, blob.XMax() / 2, blob.YMax() / 2);
  if (Wander(context, blob, squares, massPercent, wanderWindow) == Growth::kGrown)
    GrowMass(context, blob, squares, evenPad, erratic);
  return blob.Finish(context);
}

}  // namespace lorvex::shaping
