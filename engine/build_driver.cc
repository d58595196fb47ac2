#include "engine/build_driver.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/numbers.h"
#include "engine/driver_stages.h"
#include "engine/mass_placement.h"
#include "engine/tiny_islands.h"
#include "shaping/shapes.h"
#include "shaping/stick_blob.h"
#include "shaping/wandering_blob.h"

namespace lorvex {

namespace {

constexpr int kMostMassAttempts = 50;
constexpr int kAlgorithmCount = 3;
constexpr const char* kClassNames[3] = {"Large", "Medium", "Small"};
enum Algorithm { kWanderingBlob = 0, kStickBlob = 1, kShapes = 2 };

// The land figures of one size class: number of masses, size, sea border; Lo and Hi.
struct ClassFigures {
  std::int32_t lo[3];
  std::int32_t hi[3];
};

std::int32_t DrawWhole(Random& random, std::int32_t lo, std::int32_t hi) {
  return ToInt32(std::floor(random.Next() * (static_cast<double>(hi) - lo + 1.0) + lo));
}

// The tag numbers of the checked shapes, in index order.
std::vector<std::int32_t> ShapeList(const params::ParameterView& view) {
  std::vector<std::int32_t> list;
  for (int i = 0; i < params::kShapeCount; ++i)
    if (view.Checked("chkShape", i)) list.push_back(ToInt16(ReadFieldNumber(view.Tag("chkShape", i))));
  return list;
}

// The fields the driver reads for every mass, read once at the start of a build: the
// window is locked while a build runs, so they cannot change under it.
struct MassFields {
  bool algorithmChecked[kAlgorithmCount];
  double algorithmWeight[kAlgorithmCount];
  float shapePercent;                // txtShape(0) / 100
  std::int16_t blob[2][4];           // txtBlobv2 (Wandering Blob), txtBlobv3 (Stick Blob)
  std::vector<std::int32_t> shapes;  // the checked shapes' tags
};

MassFields ReadMassFields(const params::ParameterView& view) {
  MassFields fields{};
  for (int i = 0; i < kAlgorithmCount; ++i) {
    fields.algorithmChecked[i] = view.Checked("chkAlgorithm", i);
    fields.algorithmWeight[i] = view.Number("txtAlgorithm", i);
  }
  fields.shapePercent = static_cast<float>(view.Number("txtShape", 0) / 100.0);
  for (int k = 0; k < 4; ++k) {
    fields.blob[kWanderingBlob][k] = view.Whole("txtBlobv2", k);
    fields.blob[kStickBlob][k] = view.Whole("txtBlobv3", k);
  }
  fields.shapes = ShapeList(view);
  return fields;
}

// The sum of the checked weights, rounded after each addition, and the last checked index.
double CheckedWeights(const MassFields& fields, int& lastChecked) {
  double total = 0;
  lastChecked = -1;
  for (int i = 0; i < kAlgorithmCount; ++i)
    if (fields.algorithmChecked[i]) {
      total = RoundHalfEven(total + fields.algorithmWeight[i]);
      lastChecked = i;
    }
  return total;
}

// The first checked algorithm whose running sum of weights exceeds p.
int AlgorithmFor(const MassFields& fields, float p) {
  double running = 0;
  for (int i = 0; i < kAlgorithmCount; ++i)
    if (fields.algorithmChecked[i]) {
      running = RoundHalfEven(running + fields.algorithmWeight[i]);
      if (running > p) return i;
    }
  int last = -1;
  CheckedWeights(fields, last);
  // With nothing checked (the window refuses such a build) Stick Blob shapes the mass.
  return last < 0 ? kStickBlob : last;
}

int PickAlgorithm(BuildContext& context, const MassFields& fields) {
  int last = -1;
  const double total = CheckedWeights(fields, last);
  return AlgorithmFor(fields, static_cast<float>(context.random.Next() * total));
}

// Shapes one mass with the chosen algorithm.
shaping::MassGrid ShapeMass(BuildContext& context, const MassFields& fields, int algorithm,
                            std::int32_t size, std::int32_t border, bool evenSpacing,
                            std::int16_t largeCount) {
  Random& random = context.random;
  if (algorithm == kShapes) {
    const double rho1 = random.Next(), rho2 = random.Next();
    const std::vector<std::int32_t>& shapes = fields.shapes;
    // An empty shape list cannot be reached (the build refuses Shapes without a shape);
    // shape 0 keeps the draw order if it ever is.
    const std::int32_t shape =
        shapes.empty() ? 0
                       : shapes[static_cast<std::size_t>(std::floor(shapes.size() * rho1))];
    const auto orientation = static_cast<std::int32_t>(std::floor(8 * rho2));
    return shaping::MakeShapeMass(context, size, shape, orientation, fields.shapePercent, border);
  }
  std::int16_t maxWidth = 0, maxHeight = 0;
  if (evenSpacing) {
    maxWidth = EvenColumnWidth(context.world, largeCount);
    maxHeight = EvenRowHeight(context.world, largeCount);
  } else {
    const auto q = static_cast<std::int32_t>(std::floor(7 * random.Next())) + 3;
    maxWidth = ToInt16(std::sqrt(static_cast<double>(q) * size));
    maxHeight = ToInt16(std::sqrt(static_cast<double>(12 - q) * size));
  }
  const std::int16_t* v = fields.blob[algorithm];
  if (algorithm == kWanderingBlob)
    return shaping::MakeWanderingBlob(context, size, border, maxWidth, maxHeight, v[0], v[1], v[2], v[3]);
  return shaping::MakeStickBlob(context, size, border, maxWidth, maxHeight, v[0], v[1], v[2], v[3]);
}

void WriteInitialMap(BuildContext& context) {
  WorldState& world = context.world;
  world.CreateInitialMap();
  // The preview draws nothing outside watch mode; the test spares a look at every square.
  if (!world.WatchMode) return;
  for (std::int32_t y = 0; y < world.MapHeight; ++y)
    for (std::int32_t x = 0; x < world.MapWidth; ++x)
      if (world.WorldMap(x, y) != terrain::kSea) context.hooks.PreviewMarkSquare(x, y);
}

}  // namespace

int AlgorithmForDraw(const params::ParameterView& view, float p) {
  return AlgorithmFor(ReadMassFields(view), p);
}

void BuildWorld(BuildContext& context) {
  WorldState& world = context.world;
  const params::ParameterView& view = context.params;
  Random& random = context.random;

  context.hooks.SetStatusText("Initializing Environment");
  const MassFields fields = ReadMassFields(view);
  context.hooks.PreviewInit(world.MapWidth, world.MapHeight);
  WriteInitialMap(context);

  ClassFigures figures[3];
  for (int s = 0; s < 3; ++s)
    for (int c = 0; c < 3; ++c) {
      figures[s].lo[c] = view.Long("txtLandMass", 6 * s + 2 * c);
      figures[s].hi[c] = view.Long("txtLandMass", 6 * s + 2 * c + 1);
    }
  const std::int32_t tinyLo = view.Long("txtLandMass", 18);
  const std::int32_t tinyHi = view.Long("txtLandMass", 19);

  std::int32_t count[3];
  for (int s = 0; s < 3; ++s)
    count[s] = std::clamp(DrawWhole(random, figures[s].lo[0], figures[s].hi[0]), 0, kMostMassesPerClass);
  const std::int32_t tinySquares = DrawWhole(random, tinyLo, tinyHi);

  const std::int32_t masses = count[0] + count[1] + count[2];
  world.MassTable.assign(static_cast<std::size_t>(masses + (tinySquares > 0 ? 1 : 0)), LandMass{});
  context.hooks.SetProgressMax(2 * masses + 21);
  context.hooks.SetProgressValue(1);

  const bool evenLarge = view.Checked("chkLandPlace", 0);
  const bool seaBorders = view.Checked("chkLandPlace", 1);
  const bool allowOffEdge = view.Checked("chkLandPlace", 2);
  const auto largeCount = static_cast<std::int16_t>(std::min<std::int32_t>(count[0], 32767));
  std::int32_t massRow = 0;
  for (int s = 0; s < 3; ++s) {
    for (std::int32_t m = 1; m <= count[s]; ++m) {
      if (context.YieldAndCheckStop()) break;
      // Used as drawn (a mass larger than the map is shaped, finds no room and is dropped),
      // up to the most squares a mass is shaped with.
      const std::int32_t size =
          std::min(DrawWhole(random, figures[s].lo[1], figures[s].hi[1]), shaping::kMostMassSquares);
      const std::int32_t border = DrawWhole(random, figures[s].lo[2], figures[s].hi[2]);
      const int algorithm = PickAlgorithm(context, fields);
      const bool evenSpacing = evenLarge && s == kLarge;

      shaping::MassGrid grid;
      for (int attempts = 0; attempts < kMostMassAttempts;) {
        if (context.YieldAndCheckStop()) return;
        context.hooks.ShowStatus(kClassNames[s], "Making");
        grid = ShapeMass(context, fields, algorithm, size, border, evenSpacing, largeCount);
        if (world.StopRequested) return;
        ++attempts;
        if (!evenSpacing || FitsEvenSpacing(world, grid, largeCount)) break;
      }
      context.AdvanceProgress(1);
      context.hooks.ShowStatus(kClassNames[s], "Placing");
      world.MassTable[static_cast<std::size_t>(massRow)] = {static_cast<std::int16_t>(s), 0};
      if (evenSpacing)
        PlaceMassEvenly(context, grid, static_cast<std::int16_t>(m), largeCount, massRow);
      else
        PlaceMass(context, grid, seaBorders, allowOffEdge, massRow);
      WatchPause(context);
      context.AdvanceProgress(1);
      ++massRow;
    }
  }

  if (context.YieldAndCheckStop()) return;
  ClearTrail(world);
  context.hooks.ShowStatus("Tiny Islands", "Placing");
  if (tinySquares > 0) {
    world.MassTable[static_cast<std::size_t>(massRow)] = {kTinyIslands, 0};
    const std::int32_t placed = PlaceTinyIslands(context, tinySquares, massRow);
    if (placed > 0) world.MassTable[static_cast<std::size_t>(massRow)].squares = placed;
  }
  context.hooks.FadeTrail(0);
  context.AdvanceProgress(2);

  if (context.YieldAndCheckStop()) return;
  RunTerrainStage(context);
  // Only a stop asked from another thread can have come in the terrain stage, which never
  // yields: the cities are then not begun.
  if (context.Stopped() || context.StopPoint()) return;
  RunCityStage(context);
}

}  // namespace lorvex
