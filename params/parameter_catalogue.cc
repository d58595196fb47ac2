#include "params/parameter_catalogue.h"

#include <vector>

#include "params/build_parameters.h"
#include "params/parameter_form.h"

namespace lorvex::params {

namespace {

// One row a field, in the window's order.
//   name, index, page, label as the window shows it,
//   meaning,
//   minimum, maximum, what else holds it, default.
constexpr ParameterInfo kCatalogue[] = {
    {"txtLandMass", 0, 1, "Large / Number on Map / Lo",
     "Fewest Large land masses a build makes: their number is drawn from Lo to Hi once a build.",
     0, kNoBound, "6 at most while chkLandPlace(0) is checked", "3"},
    {"txtLandMass", 1, 1, "Large / Number on Map / Hi",
     "Most Large land masses a build makes: their number is drawn from Lo to Hi once a build.",
     0, kNoBound, "6 at most while chkLandPlace(0) is checked, not below txtLandMass(0)", "5"},
    {"txtLandMass", 2, 1, "Large / Size in Squares / Lo",
     "Smallest Large land mass, in land squares: each Large mass's size is drawn from Lo to Hi.",
     0, kNoBound, "", "400"},
    {"txtLandMass", 3, 1, "Large / Size in Squares / Hi",
     "Largest Large land mass, in land squares: each Large mass's size is drawn from Lo to Hi.",
     0, kNoBound, "not below txtLandMass(2)", "600"},
    {"txtLandMass", 4, 1, "Large / Sea \"Border\" Size / Lo",
     "Narrowest ring of sea round a Large land mass, in squares: each mass's ring is drawn from Lo to Hi, and a mass placed at random goes only where its land and ring lie on water.",
     0, kNoBound, "", "5"},
    {"txtLandMass", 5, 1, "Large / Sea \"Border\" Size / Hi",
     "Widest ring of sea round a Large land mass, in squares: each mass's ring is drawn from Lo to Hi, and a mass placed at random goes only where its land and ring lie on water.",
     0, kNoBound, "not below txtLandMass(4)", "8"},
    {"txtLandMass", 6, 1, "Medium / Number on Map / Lo",
     "Fewest Medium land masses a build makes: their number is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "8"},
    {"txtLandMass", 7, 1, "Medium / Number on Map / Hi",
     "Most Medium land masses a build makes: their number is drawn from Lo to Hi once a build.",
     0, kNoBound, "not below txtLandMass(6)", "12"},
    {"txtLandMass", 8, 1, "Medium / Size in Squares / Lo",
     "Smallest Medium land mass, in land squares: each Medium mass's size is drawn from Lo to Hi.",
     0, kNoBound, "", "150"},
    {"txtLandMass", 9, 1, "Medium / Size in Squares / Hi",
     "Largest Medium land mass, in land squares: each Medium mass's size is drawn from Lo to Hi.",
     0, kNoBound, "not below txtLandMass(8)", "300"},
    {"txtLandMass", 10, 1, "Medium / Sea \"Border\" Size / Lo",
     "Narrowest ring of sea round a Medium land mass, in squares: each mass's ring is drawn from Lo to Hi, and a mass placed at random goes only where its land and ring lie on water.",
     0, kNoBound, "", "3"},
    {"txtLandMass", 11, 1, "Medium / Sea \"Border\" Size / Hi",
     "Widest ring of sea round a Medium land mass, in squares: each mass's ring is drawn from Lo to Hi, and a mass placed at random goes only where its land and ring lie on water.",
     0, kNoBound, "not below txtLandMass(10)", "5"},
    {"txtLandMass", 12, 1, "Small / Number on Map / Lo",
     "Fewest Small land masses a build makes: their number is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "15"},
    {"txtLandMass", 13, 1, "Small / Number on Map / Hi",
     "Most Small land masses a build makes: their number is drawn from Lo to Hi once a build.",
     0, kNoBound, "not below txtLandMass(12)", "20"},
    {"txtLandMass", 14, 1, "Small / Size in Squares / Lo",
     "Smallest Small land mass, in land squares: each Small mass's size is drawn from Lo to Hi.",
     0, kNoBound, "", "20"},
    {"txtLandMass", 15, 1, "Small / Size in Squares / Hi",
     "Largest Small land mass, in land squares: each Small mass's size is drawn from Lo to Hi.",
     0, kNoBound, "not below txtLandMass(14)", "80"},
    {"txtLandMass", 16, 1, "Small / Sea \"Border\" Size / Lo",
     "Narrowest ring of sea round a Small land mass, in squares: each mass's ring is drawn from Lo to Hi, and a mass placed at random goes only where its land and ring lie on water.",
     0, kNoBound, "", "2"},
    {"txtLandMass", 17, 1, "Small / Sea \"Border\" Size / Hi",
     "Widest ring of sea round a Small land mass, in squares: each mass's ring is drawn from Lo to Hi, and a mass placed at random goes only where its land and ring lie on water.",
     0, kNoBound, "not below txtLandMass(16)", "3"},
    {"txtLandMass", 18, 1, "Total Squares for Tiny Islands / Size in Squares / Lo",
     "Fewest squares of tiny islands, scattered over the open sea after the masses are placed: the total is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "75"},
    {"txtLandMass", 19, 1, "Total Squares for Tiny Islands / Size in Squares / Hi",
     "Most squares of tiny islands, scattered over the open sea after the masses are placed: the total is drawn from Lo to Hi once a build.",
     0, kNoBound, "not below txtLandMass(18)", "150"},
    {"chkLandEqual", 0, 1, "=",
     "Ties the Hi of Number on Map to its Lo in the three rows (the Hi boxes are locked and copy their Lo).",
     0, 2, "", "0"},
    {"chkLandEqual", 1, 1, "=",
     "Ties the Hi of Size in Squares to its Lo in the three rows and the tiny islands' row.",
     0, 2, "", "0"},
    {"chkLandEqual", 2, 1, "=",
     "Ties the Hi of Sea \"Border\" Size to its Lo in the three rows.",
     0, 2, "", "0"},
    {"chkLandPlace", 0, 1, "Space Large Masses Evenly across Map (6 max)",
     "Places the Large masses in an even layout of two rows of cells instead of at random, each shaped to fit its cell; the numbers of Large masses are held to 6 at most.",
     0, 2, "", "0"},
    {"chkLandPlace", 1, 1, "Sea Borders Effect Placement of Mass near Edges",
     "A mass is placed only where its ring of sea lies on the map too (without it the ring may hang over the edge, the land may not). Excludes chkLandPlace(2).",
     0, 2, "", "0"},
    {"chkLandPlace", 2, 1, "Allow Mass to be placed where it is partially off edge",
     "A mass may be placed with part of its land over the map's edge, where it is cut off. Excludes chkLandPlace(1).",
     0, 2, "", "0"},
    {"txtTerrain", 0, 2, "Rivers / Lo",
     "Least share of the land that becomes Rivers, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "5"},
    {"txtTerrain", 1, 2, "Rivers / Hi",
     "Most share of the land that becomes Rivers, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "not below txtTerrain(0)", "10"},
    {"txtTerrain", 2, 2, "Forest / Lo",
     "Least share of the land that becomes Forest, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "5"},
    {"txtTerrain", 3, 2, "Forest / Hi",
     "Most share of the land that becomes Forest, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "not below txtTerrain(2)", "10"},
    {"txtTerrain", 4, 2, "Rough / Lo",
     "Least share of the land that becomes Rough, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "5"},
    {"txtTerrain", 5, 2, "Rough / Hi",
     "Most share of the land that becomes Rough, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "not below txtTerrain(4)", "10"},
    {"txtTerrain", 6, 2, "Mountains / Lo",
     "Least share of the land that becomes Mountains, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "5"},
    {"txtTerrain", 7, 2, "Mountains / Hi",
     "Most share of the land that becomes Mountains, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "not below txtTerrain(6)", "10"},
    {"chkTerrainEqual", 0, 2, "=",
     "Ties every Hi of the Terrain page to its Lo.",
     0, 2, "", "0"},
    {"cboCityNumber", 0, 3, "Cities",
     "How the number of cities is found: 0 \"Specify\" (the Number row is the count), 1 \"Calculate (Land)\" (one city per that many land squares), 2 \"Calculate (Map)\" (one city per that many map squares).",
     -1, 2, "", "0"},
    {"txtCities", 0, 3, "Number / Lo",
     "Fewest cities (\"Specify\"), or fewest squares per city (the calculated modes, where it gives the most cities): the count is drawn from its range once a build.",
     0, kNoBound, "", "100"},
    {"txtCities", 1, 3, "Number / Hi",
     "Most cities (\"Specify\"), or most squares per city (the calculated modes, where it gives the fewest cities).",
     0, kNoBound, "not below txtCities(0)", "150"},
    {"txtCities", 2, 3, "Production % / Lo",
     "Lowest production value of a city: each city's value is drawn from Lo to Hi.",
     0, kNoBound, "", "75"},
    {"txtCities", 3, 3, "Production % / Hi",
     "Highest production value of a city.",
     0, kNoBound, "not below txtCities(2)", "200"},
    {"txtCities", 4, 3, "% Specialty / Lo",
     "Least chance, in percent, that a city has a specialty: the chance is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "10"},
    {"txtCities", 5, 3, "% Specialty / Hi",
     "Most chance, in percent, that a city has a specialty.",
     0, kNoBound, "not below txtCities(4)", "15"},
    {"txtCities", 6, 3, "% Coastal / Lo",
     "Least share of the cities placed on coastal squares, in percent: the share is drawn from Lo to Hi once a build.",
     0, kNoBound, "", "60"},
    {"txtCities", 7, 3, "% Coastal / Hi",
     "Most share of the cities placed on coastal squares, in percent.",
     0, kNoBound, "not below txtCities(6)", "75"},
    {"chkCityEqual", 0, 3, "=",
     "Ties every Hi of the Cities page to its Lo.",
     0, 2, "", "0"},
    {"cboPlacement", 0, 3, "Placement Algorithm:",
     "How cities are shared out: 0 \"Randomly Place Cities Throughout\" (over all land), 1 \"Evenly Place on Land Masses by Size\" (the same number on each mass of a size), 2 \"Propotionately Place on Land Masses\" (by each mass's land).",
     -1, 2, "", "0"},
    {"cboPlace1Param1", 0, 3, "Placement by Size:",
     "With even placement, which sizes get cities mass by mass: 0 \"Large Only (Randomly Place Remaining)\", 1 \"Large and Medium Only\", 2 \"All Land Mass Sizes\"; the rest of the land is shared as one.",
     -1, 2, "", "0"},
    {"cboPlace1Param2", 0, 3, "Determining Number:",
     "With even placement, how many cities each mass gets: 0 \"Proportional by Total Land Size\", 1 \"Specified by Percentage\" (txtPlace1 are shares of the count), 2 \"Specified by Number (per Land Mass)\" (txtPlace1 are counts; the Number row is not used).",
     -1, 2, "", "0"},
    {"txtPlace1", 0, 3, "per Land Mass: / Large",
     "With even placement \"Specified by Percentage\": the share of all cities, in percent, that goes to the Large masses, shared equally among the masses of that size (the last shown box is completed to 100); \"Specified by Number (per Land Mass)\": the cities on each such mass. Not used otherwise.",
     -kNoBound, kNoBound, "up to 4 characters typed under \"Specified by Number (per Land Mass)\"", "35"},
    {"txtPlace1", 1, 3, "per Land Mass: / Medium",
     "With even placement \"Specified by Percentage\": the share of all cities, in percent, that goes to the Medium masses (all remaining land under \"Large Only\"), shared equally among the masses of that size (the last shown box is completed to 100); \"Specified by Number (per Land Mass)\": the cities on each such mass. Not used otherwise.",
     -kNoBound, kNoBound, "up to 4 characters typed under \"Specified by Number (per Land Mass)\"", "25"},
    {"txtPlace1", 2, 3, "per Land Mass: / Small",
     "With even placement \"Specified by Percentage\": the share of all cities, in percent, that goes to the Small masses (all remaining land under \"Large and Medium Only\"), shared equally among the masses of that size (the last shown box is completed to 100); \"Specified by Number (per Land Mass)\": the cities on each such mass. Not used otherwise.",
     -kNoBound, kNoBound, "up to 4 characters typed under \"Specified by Number (per Land Mass)\"", "20"},
    {"txtPlace1", 3, 3, "per Land Mass: / Tiny Islands",
     "With even placement \"Specified by Percentage\": the share of all cities, in percent, that goes to the tiny islands (all remaining land under \"All Land Mass Sizes\"), shared equally among the masses of that size (the last shown box is completed to 100); \"Specified by Number (per Land Mass)\": the cities on each such mass. Not used otherwise.",
     -kNoBound, kNoBound, "up to 4 characters typed under \"Specified by Number (per Land Mass)\"", "20"},
    {"cboPlace2Param1", 0, 3, "Placement by Size:",
     "With proportionate placement, which sizes get cities mass by mass: 0 \"Large Only (Randomly Place Remaining)\", 1 \"Large and Medium Only\", 2 \"All Land Mass Sizes\"; the rest of the land is shared as one.",
     -1, 2, "", "0"},
    {"txtPlayerCity", 0, 4, "Player 1 / Number",
     "Cities to assign to player 1. Hidden; saved and loaded with the settings, no part of a build.",
     -kNoBound, kNoBound, "", "1"},
    {"txtPlayerCity", 1, 4, "Player 2 / Number",
     "Cities to assign to player 2. Hidden; saved and loaded with the settings, no part of a build.",
     -kNoBound, kNoBound, "", "1"},
    {"txtPlayerCity", 2, 4, "Player 3 / Number",
     "Cities to assign to player 3. Hidden; saved and loaded with the settings, no part of a build.",
     -kNoBound, kNoBound, "", "1"},
    {"txtPlayerCity", 3, 4, "Player 4 / Number",
     "Cities to assign to player 4. Hidden; saved and loaded with the settings, no part of a build.",
     -kNoBound, kNoBound, "", "1"},
    {"txtPlayerCity", 4, 4, "Player 5 / Number",
     "Cities to assign to player 5. Hidden; saved and loaded with the settings, no part of a build.",
     -kNoBound, kNoBound, "", "1"},
    {"txtPlayerCity", 5, 4, "Player 6 / Number",
     "Cities to assign to player 6. Hidden; saved and loaded with the settings, no part of a build.",
     -kNoBound, kNoBound, "", "1"},
    {"chkPlayerCities", 0, 4, "All Assigned Cities for a player should be on the same Land Mass",
     "Hidden; saved and loaded with the settings, no part of a build.",
     0, 2, "", "0"},
    {"chkPlayerCities", 1, 4, "No Neutral cities on the same Land Mass with Assigned Cities",
     "Hidden; saved and loaded with the settings, no part of a build.",
     0, 2, "", "0"},
    {"chkPlayerCities", 2, 4, "Each Player's Cities are on a Large Land Mass",
     "Hidden; saved and loaded with the settings, no part of a build.",
     0, 2, "", "0"},
    {"chkAlgorithm", 0, 5, "Wandering Blob",
     "Allows the Wandering Blob algorithm to shape land masses; a build needs at least one allowed.",
     0, 2, "", "1"},
    {"chkAlgorithm", 1, 5, "Stick Blob",
     "Allows the Stick Blob algorithm to shape land masses; a build needs at least one allowed.",
     0, 2, "", "1"},
    {"chkAlgorithm", 2, 5, "Shapes",
     "Allows the Shapes algorithm to shape land masses; a build needs at least one allowed.",
     0, 2, "", "1"},
    {"txtAlgorithm", 0, 5, "Wandering Blob / wgt",
     "Weight of Wandering Blob when each mass's algorithm is drawn among the allowed ones (its chance is its weight over their sum).",
     1, 100, "", "1"},
    {"txtAlgorithm", 1, 5, "Stick Blob / wgt",
     "Weight of Stick Blob when each mass's algorithm is drawn among the allowed ones (its chance is its weight over their sum).",
     1, 100, "", "1"},
    {"txtAlgorithm", 2, 5, "Shapes / wgt",
     "Weight of Shapes when each mass's algorithm is drawn among the allowed ones (its chance is its weight over their sum).",
     1, 100, "", "1"},
    {"txtBlobv2", 0, 5, "Wandering Blob Shaping / Percent of Mass [10 - 80]",
     "Share of a Wandering Blob mass, in percent, grown by wandering from its newest squares before the padding.",
     10, 80, "", "40"},
    {"txtBlobv2", 1, 5, "Wandering Blob Shaping / Erratic/Evenness [3 - 50]",
     "How many of the newest squares the wandering grows from: fewer give a thinner, more winding mass.",
     3, 50, "", "15"},
    {"txtBlobv2", 2, 5, "Padding / Percent of Even Pad [30 - 100]",
     "Share of the padding, in percent, grown evenly round the whole mass before it turns erratic.",
     30, 100, "", "50"},
    {"txtBlobv2", 3, 5, "Padding / Erratic/Evenness of remaining [3 - 50]",
     "Once the padding turns erratic it grows only from the squares added in this many steps before the turn and from those added since: fewer give a more ragged coast.",
     3, 50, "", "15"},
    {"txtBlobv3", 0, 5, "Stick Blob Shaping / Number of Points [3 - 10]",
     "Anchor points of a Stick Blob mass, joined by sticks of land before the padding.",
     3, 10, "", "6"},
    {"txtBlobv3", 1, 5, "Stick Blob Shaping / Loose/Tightness [15 - 35]",
     "How far the anchor points keep from the edges of the mass's area, in percent of its width and height: higher draws them tighter round the middle.",
     15, 35, "", "25"},
    {"txtBlobv3", 2, 5, "Padding / Percent of Even Pad [30 - 100]",
     "Share of the padding, in percent, grown evenly round the whole mass before it turns erratic.",
     30, 100, "", "50"},
    {"txtBlobv3", 3, 5, "Padding / Erratic/Evenness of remaining [3 - 50]",
     "Once the padding turns erratic it grows only from the squares added in this many steps before the turn and from those added since: fewer give a more ragged coast.",
     3, 50, "", "15"},
    {"txtShape", 0, 5, "Make Shape / Percent of Mass [60 - 100]",
     "Share of a Shapes mass, in percent, drawn as the chosen figure; the rest is padding grown round it.",
     60, 100, "", "80"},
    {"txtShape", 1, 5, "Padding / Percent of Even Pad [10 - 50]",
     "Share of the padding, in percent, grown evenly round the whole figure before it turns erratic.",
     10, 50, "", "30"},
    {"txtShape", 2, 5, "Padding / Erratic/Evenness of remaining [3 - 50]",
     "Once the padding turns erratic it grows only from the squares added in this many steps before the turn and from those added since: fewer give a more ragged coast.",
     3, 50, "", "15"},
    {"chkShape", 0, 6, "Rectangle",
     "Allows the figure Rectangle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 1, 6, "Triangle",
     "Allows the figure Triangle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 2, 6, "Right Triangle",
     "Allows the figure Right Triangle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 3, 6, "Obtuse Triangle",
     "Allows the figure Obtuse Triangle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 4, 6, "Parallelogram",
     "Allows the figure Parallelogram to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 5, 6, "Trapezoid",
     "Allows the figure Trapezoid to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 6, 6, "Circle",
     "Allows the figure Circle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 7, 6, "3/4-Circle",
     "Allows the figure 3/4-Circle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 8, 6, "Half-Circle",
     "Allows the figure Half-Circle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 9, 6, "Quarter-Circle",
     "Allows the figure Quarter-Circle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 10, 6, "Ellipse",
     "Allows the figure Ellipse to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 11, 6, "Teardrop",
     "Allows the figure Teardrop to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 12, 6, "\"L\"-Shape",
     "Allows the figure \"L\"-Shape to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 13, 6, "\"U\"-Shape",
     "Allows the figure \"U\"-Shape to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 14, 6, "\"T\"-Shape",
     "Allows the figure \"T\"-Shape to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 15, 6, "\"I\"-Shape",
     "Allows the figure \"I\"-Shape to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 16, 6, "Rectangle + Triangle",
     "Allows the figure Rectangle + Triangle to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 17, 6, "Hourglass",
     "Allows the figure Hourglass to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 18, 6, "Diamond",
     "Allows the figure Diamond to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 19, 6, "4-point Star",
     "Allows the figure 4-point Star to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 20, 6, "3 Points of Star",
     "Allows the figure 3 Points of Star to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 21, 6, "2 Points of Star",
     "Allows the figure 2 Points of Star to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 22, 6, "Arrowhead",
     "Allows the figure Arrowhead to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
    {"chkShape", 23, 6, "Arrow",
     "Allows the figure Arrow to be drawn for a Shapes mass (each mass draws one of the allowed figures, in one of eight orientations).",
     0, 2, "", "1"},
};

static_assert(std::size(kCatalogue) == kParameterControlCount);

std::string BoundWords(double bound) { return bound == kNoBound || bound == -kNoBound ? "" : NumberText(bound); }

// The texts made from the table once: the range in words and the two bounds of each field.
struct CatalogueTexts {
  std::vector<std::string> keys, ranges, minimums, maximums;

  CatalogueTexts() {
    const platform::ControlSet window = CreateWindowControls();
    for (const ParameterInfo& info : kCatalogue) {
      const std::string_view name = info.name;
      std::string text;
      if (name.starts_with("chk")) {
        text = "0 unchecked, 1 checked (2 grey counts as unchecked)";
      } else if (name.starts_with("cbo")) {
        text = "item 0 to " + BoundWords(info.maximum) + " (-1 none)";
      } else {
        // What a person can type into the box of a fresh window.
        const int length = window.At(info.name, info.index).MaxLength();
        const std::string typed = "typed: up to " + std::to_string(length) + " characters";
        if (info.minimum == -kNoBound)
          text = "any number, not checked (" + typed + ")";
        else if (info.maximum == kNoBound)
          text = BoundWords(info.minimum) + " or more, a negative value taken as positive (" + typed + ")";
        else
          text = BoundWords(info.minimum) + " to " + BoundWords(info.maximum);
      }
      if (*info.rangeNote != '\0') text += std::string("; ") + info.rangeNote;
      keys.push_back(std::string(info.name) + "(" + std::to_string(info.index) + ")");
      ranges.push_back(text);
      minimums.push_back(BoundWords(info.minimum));
      maximums.push_back(BoundWords(info.maximum));
    }
  }
};

const CatalogueTexts& Texts() {
  static const CatalogueTexts texts;
  return texts;
}

std::size_t Row(const ParameterInfo& info) { return static_cast<std::size_t>(&info - kCatalogue); }

}  // namespace

std::span<const ParameterInfo> ParameterCatalogue() { return kCatalogue; }

const std::string& ParameterKey(const ParameterInfo& info) { return Texts().keys[Row(info)]; }

const ParameterInfo* FindParameterInfo(std::string_view key) {
  for (const ParameterInfo& info : kCatalogue)
    if (ParameterKey(info) == key) return &info;
  return nullptr;
}

const char* PageCaption(const ParameterInfo& info) {
  return info.page >= 1 && info.page <= kTabCount ? kTabCaptions[info.page - 1] : "";
}

const std::string& RangeText(const ParameterInfo& info) { return Texts().ranges[Row(info)]; }

const std::string& BoundText(const ParameterInfo& info, bool maximum) {
  return (maximum ? Texts().maximums : Texts().minimums)[Row(info)];
}

}  // namespace lorvex::params
