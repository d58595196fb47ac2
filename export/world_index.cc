#include "export/world_index.h"

#include <nlohmann/json.hpp>

#include "common/version.h"
#include "common/world_key.h"

namespace lorvex::exporting {

std::string WorldIndexJson(const std::vector<IndexEntry>& entries) {
  using json = nlohmann::ordered_json;  // the fields in the order written
  json worlds = json::array();
  for (const IndexEntry& entry : entries) {
    json world;
    world["seed"] = entry.seed;
    world["key"] = FormatWorldKey({entry.seed, entry.draws});
    world["width"] = entry.width;
    world["height"] = entry.height;
    world["wrap"] = entry.wrap;
    if (entry.built) {
      const WorldSummary& s = entry.summary;
      world["land"] = s.land;
      world["masses"] = {{"large", s.large},
                         {"medium", s.medium},
                         {"small", s.small},
                         {"tinyIslandSquares", s.tinyIslandSquares}};
      world["cities"] = s.cities;
    }
    world["files"] = entry.files;
    if (!entry.error.empty()) world["error"] = entry.error;
    worlds.push_back(std::move(world));
  }
  json doc;
  doc["generator"] = std::string("Lorvex ") + kVersionText;
  doc["count"] = entries.size();
  doc["worlds"] = std::move(worlds);
  return doc.dump(1) + "\n";
}

}  // namespace lorvex::exporting
