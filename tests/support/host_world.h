// A host's world of the given rows of letters (row y is rows[y]), its cities with distinct
// values in the host's column-major order (production 100 + k, specialty -1 - k, owner 7 k),
// so that a swapped city shows.
#pragma once

#include <string>
#include <vector>

#include "engine/host_world.h"

namespace lorvex::testing {

inline HostWorld HostWorldOfRows(const std::vector<std::string>& rows) {
  HostWorld world;
  world.MapArray.Reset(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'S');
  for (int x = 0; x < world.MapArray.Width(); ++x)
    for (int y = 0; y < world.MapArray.Height(); ++y) {
      world.MapArray(x, y) = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      if (world.MapArray(x, y) != 'Y') continue;
      const auto k = static_cast<std::int16_t>(world.ProdArray.size());
      world.ProdArray.push_back(static_cast<std::int16_t>(100 + k));
      world.SpecArray.push_back(static_cast<std::int16_t>(-1 - k));
      world.OwnerArray.push_back(static_cast<std::int16_t>(7 * k));
    }
  world.CityCount = static_cast<std::int32_t>(world.ProdArray.size());
  return world;
}

}  // namespace lorvex::testing
