#include "params/build_parameters.h"

#include <array>

#include "common/numbers.h"

namespace lorvex::params {

using platform::ControlKind;
using platform::ControlSet;

namespace {

// A number box of the parameter set.
struct NumberBoxRow {
  const char* name;
  int index;
  const char* defaultText;
  int maxLength;
  int page;
};

// A check box of the parameter set.
struct CheckBoxRow {
  const char* name;
  int index;
  const char* caption;
  int defaultValue;
  int page;
};

using Items = std::array<const char*, 3>;

constexpr Items kPlaceBySizeItems = {"Large Only (Randomly Place Remaining)",
                                     "Large and Medium Only", "All Land Mass Sizes"};

// Land masses: txtLandMass(6*r + 2*c + h), r = Large/Medium/Small, c = number/size/border,
// h = Lo/Hi; 18 and 19 are the tiny islands' total squares.
constexpr NumberBoxRow kLandMassBoxes[] = {
    //  name           idx  default  chars page
    {"txtLandMass", 0, "3", 3, 1},     {"txtLandMass", 1, "5", 3, 1},
    {"txtLandMass", 2, "400", 4, 1},   {"txtLandMass", 3, "600", 4, 1},
    {"txtLandMass", 4, "5", 2, 1},     {"txtLandMass", 5, "8", 2, 1},
    {"txtLandMass", 6, "8", 3, 1},     {"txtLandMass", 7, "12", 3, 1},
    {"txtLandMass", 8, "150", 3, 1},   {"txtLandMass", 9, "300", 3, 1},
    {"txtLandMass", 10, "3", 2, 1},    {"txtLandMass", 11, "5", 2, 1},
    {"txtLandMass", 12, "15", 3, 1},   {"txtLandMass", 13, "20", 3, 1},
    {"txtLandMass", 14, "20", 3, 1},   {"txtLandMass", 15, "80", 3, 1},
    {"txtLandMass", 16, "2", 2, 1},    {"txtLandMass", 17, "3", 2, 1},
    {"txtLandMass", 18, "75", 4, 1},   {"txtLandMass", 19, "150", 4, 1},
};

constexpr CheckBoxRow kLandChecks[] = {
    {"chkLandEqual", 0, "=", 0, 1},
    {"chkLandEqual", 1, "=", 0, 1},
    {"chkLandEqual", 2, "=", 0, 1},
    {"chkLandPlace", 0, "Space Large Masses Evenly across Map (6 max)", 0, 1},
    {"chkLandPlace", 1, "Sea Borders Effect Placement of Mass near Edges", 0, 1},
    {"chkLandPlace", 2, "Allow Mass to be placed where it is partially off edge", 0, 1},
};

// Terrain percentages, Lo/Hi: Rivers, Forest, Rough, Mountains.
constexpr NumberBoxRow kTerrainBoxes[] = {
    {"txtTerrain", 0, "5", 2, 2}, {"txtTerrain", 1, "10", 2, 2},
    {"txtTerrain", 2, "5", 2, 2}, {"txtTerrain", 3, "10", 2, 2},
    {"txtTerrain", 4, "5", 2, 2}, {"txtTerrain", 5, "10", 2, 2},
    {"txtTerrain", 6, "5", 2, 2}, {"txtTerrain", 7, "10", 2, 2},
};

// Cities, Lo/Hi: number, production %, % specialty, % coastal.
constexpr NumberBoxRow kCityBoxes[] = {
    {"txtCities", 0, "100", 4, 3}, {"txtCities", 1, "150", 4, 3},
    {"txtCities", 2, "75", 3, 3},  {"txtCities", 3, "200", 3, 3},
    {"txtCities", 4, "10", 2, 3},  {"txtCities", 5, "15", 2, 3},
    {"txtCities", 6, "60", 2, 3},  {"txtCities", 7, "75", 2, 3},
};

// Cities per land mass: Large, Medium, Small, Tiny Islands.
constexpr NumberBoxRow kPlace1Boxes[] = {
    {"txtPlace1", 0, "35", 2, 3}, {"txtPlace1", 1, "25", 2, 3},
    {"txtPlace1", 2, "20", 2, 3}, {"txtPlace1", 3, "20", 2, 3},
};

// Player cities (created hidden and disabled; nothing shows them).
constexpr NumberBoxRow kPlayerCityBoxes[] = {
    {"txtPlayerCity", 0, "1", 4, 4}, {"txtPlayerCity", 1, "1", 3, 4},
    {"txtPlayerCity", 2, "1", 2, 4}, {"txtPlayerCity", 3, "1", 2, 4},
    {"txtPlayerCity", 4, "1", 2, 4}, {"txtPlayerCity", 5, "1", 2, 4},
};

constexpr CheckBoxRow kPlayerCityChecks[] = {
    {"chkPlayerCities", 0, "All Assigned Cities for a player should be on the same Land Mass", 0, 4},
    {"chkPlayerCities", 1, "No Neutral cities on the same Land Mass with Assigned Cities", 0, 4},
    {"chkPlayerCities", 2, "Each Player's Cities are on a Large Land Mass", 0, 4},
};

constexpr CheckBoxRow kAlgorithmChecks[] = {
    {"chkAlgorithm", 0, "Wandering Blob", 1, 5},
    {"chkAlgorithm", 1, "Stick Blob", 1, 5},
    {"chkAlgorithm", 2, "Shapes", 1, 5},
};

// Algorithm weights and settings; the labels carry the ranges the validators enforce.
constexpr NumberBoxRow kAlgorithmBoxes[] = {
    {"txtAlgorithm", 0, "1", 3, 5}, {"txtAlgorithm", 1, "1", 3, 5},
    {"txtAlgorithm", 2, "1", 3, 5},
    {"txtBlobv2", 0, "40", 2, 5},   // Percent of Mass [10 - 80]
    {"txtBlobv2", 1, "15", 2, 5},   // Erratic/Evenness [3 - 50]
    {"txtBlobv2", 2, "50", 3, 5},   // Percent of Even Pad [30 - 100]
    {"txtBlobv2", 3, "15", 2, 5},   // Erratic/Evenness of remaining [3 - 50]
    {"txtBlobv3", 0, "6", 2, 5},    // Number of Points [3 - 10]
    {"txtBlobv3", 1, "25", 2, 5},   // Loose/Tightness [15 - 35]
    {"txtBlobv3", 2, "50", 3, 5},   // Percent of Even Pad [30 - 100]
    {"txtBlobv3", 3, "15", 2, 5},   // Erratic/Evenness of remaining [3 - 50]
    {"txtShape", 0, "80", 3, 5},    // Percent of Mass [60 - 100]
    {"txtShape", 1, "30", 2, 5},    // Percent of Even Pad [10 - 50]
    {"txtShape", 2, "15", 2, 5},    // Erratic/Evenness of remaining [3 - 50]
};

// Labels of the algorithm page, beside the boxes above (same order).
constexpr const char* kAlgorithmBoxLabels[] = {
    "wgt", "wgt", "wgt",
    "Percent of Mass [10 - 80]", "Erratic/Evenness [3 - 50]",
    "Percent of Even Pad [30 - 100]", "Erratic/Evenness of remaining [3 - 50]",
    "Number of Points [3 - 10]", "Loose/Tightness [15 - 35]",
    "Percent of Even Pad [30 - 100]", "Erratic/Evenness of remaining [3 - 50]",
    "Percent of Mass [60 - 100]", "Percent of Even Pad [10 - 50]",
    "Erratic/Evenness of remaining [3 - 50]"};

void AddNumberBoxes(ControlSet& set, const NumberBoxRow* rows, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    platform::Control& c = set.Add(ControlKind::kNumberBox, rows[i].name, rows[i].index);
    c.SetMaxLength(rows[i].maxLength);
    c.SetText(rows[i].defaultText);
    c.page = rows[i].page;
  }
}

template <std::size_t N>
void AddNumberBoxes(ControlSet& set, const NumberBoxRow (&rows)[N]) {
  AddNumberBoxes(set, rows, N);
}

template <std::size_t N>
void AddCheckBoxes(ControlSet& set, const CheckBoxRow (&rows)[N]) {
  for (const CheckBoxRow& row : rows) {
    platform::Control& c = set.Add(ControlKind::kCheckBox, row.name, row.index);
    c.caption = row.caption;
    c.SetValue(row.defaultValue);
    c.page = row.page;
  }
}

platform::Control& AddSelectionBox(ControlSet& set, const char* name, const Items& items,
                                   int page) {
  platform::Control& c = set.Add(ControlKind::kSelectionBox, name, 0);
  c.items.assign(items.begin(), items.end());
  c.page = page;
  return c;
}

platform::Control& AddLabel(ControlSet& set, const char* name, int index, const char* caption,
                            int page) {
  platform::Control& c = set.Add(ControlKind::kLabel, name, index);
  c.caption = caption;
  c.page = page;
  return c;
}

platform::Control& AddButton(ControlSet& set, const char* name, const char* caption, int page) {
  platform::Control& c = set.Add(ControlKind::kButton, name, 0);
  c.caption = caption;
  c.page = page;
  return c;
}

void HideAndDisable(ControlSet& set, const char* name) {
  for (platform::Control* c : set.Array(name)) {
    c->visible = false;
    c->enabled = false;
  }
}

}  // namespace

ControlSet CreateWindowControls() {
  ControlSet set;
  AddLabel(set, "Label1", 0, kTitleCaption, 0);
  AddLabel(set, "lblVersion", 0, "Version", 0);
  for (int k = 1; k <= kTabCount; ++k) {
    platform::Control& page = set.Add(ControlKind::kFrame, "fratabs", k);
    page.caption = kTabCaptions[k - 1];
    page.page = k;
    page.visible = k == 1;
  }

  // Page 1: land masses and their placement options.
  AddLabel(set, "lblLandHeading", 0, "Land  Masses  ", 1).bold = true;
  AddNumberBoxes(set, kLandMassBoxes);
  AddCheckBoxes(set, kLandChecks);
  AddLabel(set, "lblLandPlaceHeading", 0, "Land Mass Placement Options", 1).bold = true;

  // Page 2: terrain.
  AddLabel(set, "lblTerrainHeading", 0, "Terrain %", 2);
  AddNumberBoxes(set, kTerrainBoxes);
  AddCheckBoxes(set, {CheckBoxRow{"chkTerrainEqual", 0, "=", 0, 2}});

  // Page 3: cities and their placement.
  AddSelectionBox(set, "cboCityNumber", {"Specify", "Calculate (Land)", "Calculate (Map)"}, 3);
  AddNumberBoxes(set, kCityBoxes);
  AddCheckBoxes(set, {CheckBoxRow{"chkCityEqual", 0, "=", 0, 3}});
  // The Number row's captions; which of them shows follows cboCityNumber.
  AddLabel(set, "lblCities", 0, "Number", 3);
  AddLabel(set, "lblCities", 1, "Num Cities =", 3).visible = false;
  AddLabel(set, "lblCities", 2, "Land /", 3).visible = false;
  AddLabel(set, "lblCityNumParams", 0, "Set by Parameters ->", 3).visible = false;
  AddSelectionBox(set, "cboPlacement",
                  {"Randomly Place Cities Throughout", "Evenly Place on Land Masses by Size",
                   "Propotionately Place on Land Masses"},
                  3);
  AddLabel(set, "lblPlaceAlgoExplain", 0, kPlacementExplanations[2], 3);
  for (int i = 0; i < 3; ++i) {
    platform::Control& frame = set.Add(ControlKind::kFrame, "fraPlaceParams", i);
    frame.page = 3;
  }
  AddLabel(set, "lblPlaceNoParams", 0, "No Algorithm Parameters", 3);
  AddSelectionBox(set, "cboPlace1Param1", kPlaceBySizeItems, 3);
  AddSelectionBox(set, "cboPlace1Param2",
                  {"Proportional by Total Land Size", "Specified by Percentage",
                   "Specified by Number (per Land Mass)"},
                  3);
  AddLabel(set, "lblPlace1Param3", 0, "per Land Mass:", 3);
  constexpr const char* kPlace1Heads[] = {"Large", "Medium", "Small", "Tiny Islands"};
  for (int i = 0; i < 4; ++i) AddLabel(set, "lblPlace1Param3", i + 1, kPlace1Heads[i], 3);
  AddNumberBoxes(set, kPlace1Boxes);
  AddSelectionBox(set, "cboPlace2Param1", kPlaceBySizeItems, 3);

  // Page 4: player cities, all hidden; the inputs and player labels also disabled.
  AddLabel(set, "lblPlayerHeading", 0, "Assign Cities to Players", 4).visible = false;
  AddLabel(set, "lblPlayerHeading", 1, "Assign Cities Options", 4).visible = false;
  AddLabel(set, "lblPlayerNumber", 0, "Number", 4).visible = false;
  for (int i = 0; i < 6; ++i) {
    const std::string caption = "Player " + std::to_string(i + 1);
    AddLabel(set, "lblPlayer", i, caption.c_str(), 4);
  }
  HideAndDisable(set, "lblPlayer");
  AddNumberBoxes(set, kPlayerCityBoxes);
  HideAndDisable(set, "txtPlayerCity");
  AddCheckBoxes(set, kPlayerCityChecks);
  HideAndDisable(set, "chkPlayerCities");

  // Page 5: the three building algorithms.
  AddLabel(set, "lblAlgoHeading", 0, "Wandering Blob Shaping", 5).bold = true;
  AddLabel(set, "lblAlgoHeading", 1, "Stick Blob Shaping", 5).bold = true;
  AddLabel(set, "lblAlgoHeading", 2, "Make Shape", 5).bold = true;
  for (int i = 0; i < 3; ++i) AddLabel(set, "lblPadding", i, "Padding", 5);
  AddCheckBoxes(set, kAlgorithmChecks);
  AddNumberBoxes(set, kAlgorithmBoxes);
  for (std::size_t i = 0; i < std::size(kAlgorithmBoxLabels); ++i) {
    const NumberBoxRow& box = kAlgorithmBoxes[i];
    const std::string name = std::string("lbl") + (box.name + 3);
    AddLabel(set, name.c_str(), box.index, kAlgorithmBoxLabels[i], 5);
  }

  // Page 6: shapes.
  for (int i = 0; i < kShapeCount; ++i) {
    platform::Control& c = set.Add(ControlKind::kCheckBox, "chkShape", i);
    c.caption = kShapeCaptions[i];
    c.tag = std::to_string(kShapeCodeOfBox[i]);
    c.SetValue(1);
    c.page = 6;
    platform::Control& image = set.Add(ControlKind::kImage, "imgShape", i);
    image.tag = std::to_string(i);
    image.page = 6;
  }
  AddButton(set, "cmdShapeUnselect", "Unselect All Shapes", 6);
  AddButton(set, "cmdShapeMoreLeft", "<- More Shapes", 6).visible = false;
  AddButton(set, "cmdShapeMoreRight", "More Shapes ->", 6).visible = false;

  // The button row, left to right, and the watch display.
  set.Add(ControlKind::kFrame, "fraButtons", 0);
  AddButton(set, "cmdLoad", "Load Settings", 0);
  AddButton(set, "cmdSave", "Save Settings", 0);
  AddButton(set, "cmdSetEqualAll", "Set Lo = Hi for All", 0);
  AddButton(set, "cmdDefaults", "Recommend", 0);
  AddButton(set, "cmdCancel", "Cancel", 0);
  AddButton(set, "cmdBuild", "Build", 0).bold = true;
  set.Add(ControlKind::kFrame, "fraWatchIt", 0).visible = false;
  set.Add(ControlKind::kPicture, "picWorld", 0);
  set.Add(ControlKind::kPicture, "picMass", 0);
  set.Add(ControlKind::kTimer, "tmrPause", 0).enabled = false;
  return set;
}

const std::string& ParameterView::Text(std::string_view name, int index) const {
  return controls_.At(name, index).Text();
}

double ParameterView::Number(std::string_view name, int index) const {
  return ReadFieldNumber(Text(name, index));
}

std::int16_t ParameterView::Whole(std::string_view name, int index) const {
  return ToInt16(Number(name, index));
}

std::int32_t ParameterView::Long(std::string_view name, int index) const {
  return ToInt32(Number(name, index));
}

int ParameterView::Value(std::string_view name, int index) const {
  return controls_.At(name, index).Value();
}

const std::string& ParameterView::Tag(std::string_view name, int index) const {
  return controls_.At(name, index).tag;
}

int ParameterView::ListIndex(std::string_view name, int index) const {
  return controls_.At(name, index).ListIndex();
}

}  // namespace lorvex::params
