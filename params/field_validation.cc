// The number boxes' validators (run as a box loses the focus and before every build), the
// "=" boxes that tie Hi bounds to their Lo bounds, the land placement options, the
// algorithm boxes, the tab strip and the Shapes page. Wrong entries are never reported:
// each is replaced by the nearest allowed value.
#include <cmath>
#include <stdexcept>
#include <string>

#include "common/numbers.h"
#include "params/parameter_form.h"

namespace lorvex::params {

namespace {

struct FieldRange {
  int minimum;
  int maximum;
};

//                                         index:  0         1         2          3
constexpr FieldRange kAlgorithmWeightRange{1, 100};  // every index
constexpr FieldRange kBlobv2Ranges[] = {{10, 80}, {3, 50}, {30, 100}, {3, 50}};
constexpr FieldRange kBlobv3Ranges[] = {{3, 10}, {15, 35}, {30, 100}, {3, 50}};
constexpr FieldRange kShapeRanges[] = {{60, 100}, {10, 50}, {3, 50}};

// The largest number of Large masses when they are spaced evenly across the map.
constexpr double kMaxEvenlySpacedLarge = 6;

// The land-mass columns: 0 number on map, 1 size in squares, 2 sea border; the tiny
// islands' Lo/Hi (18, 19) belong to the size column.
constexpr int kLandRows = 3;
constexpr int kSizeColumn = 1;
constexpr int kTinyLo = 18;

constexpr int kPercentagesRule = 1;  // cboPlace1Param2: "Specified by Percentage"

template <std::size_t N>
FieldRange RangeAt(const FieldRange (&ranges)[N], int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N)
    throw std::logic_error("no range for index " + std::to_string(index));
  return ranges[index];
}

}  // namespace

// Cleaning: the decimal text of the absolute value of the box's number ("-7" -> "7",
// "12abc" -> "12", "" -> "0", "2.5" stays "2.5").
void ParameterForm::CleanBox(platform::Control& box) {
  SetNumberText(box, std::fabs(ReadFieldNumber(box.Text())));
}

void ParameterForm::ClampBox(std::string_view name, int index, int minimum, int maximum) {
  platform::Control& box = Box(name, index);
  CleanBox(box);
  const double value = ReadFieldNumber(box.Text());
  if (value < minimum) SetNumberText(box, minimum);
  if (value > maximum) SetNumberText(box, maximum);
}

void ParameterForm::txtAlgorithm_LostFocus(int index) {
  ClampBox("txtAlgorithm", index, kAlgorithmWeightRange.minimum, kAlgorithmWeightRange.maximum);
}

void ParameterForm::txtBlobv2_LostFocus(int index) {
  const FieldRange range = RangeAt(kBlobv2Ranges, index);
  ClampBox("txtBlobv2", index, range.minimum, range.maximum);
}

void ParameterForm::txtBlobv3_LostFocus(int index) {
  const FieldRange range = RangeAt(kBlobv3Ranges, index);
  ClampBox("txtBlobv3", index, range.minimum, range.maximum);
}

void ParameterForm::txtShape_LostFocus(int index) {
  const FieldRange range = RangeAt(kShapeRanges, index);
  ClampBox("txtShape", index, range.minimum, range.maximum);
}

// A Lo box (even index) raised above its Hi drags the Hi with it; a Hi box (odd index)
// lowered below its Lo snaps back up to the Lo. With the page's "=" box checked, a Lo
// always carries its text into the Hi.
void ParameterForm::PairLoHi(std::string_view name, std::string_view equalBox, int index) {
  CleanBox(Box(name, index));
  if (index % 2 == 0) {
    platform::Control& lo = Box(name, index);
    platform::Control& hi = Box(name, index + 1);
    if (IsChecked(equalBox, 0)) hi.SetText(lo.Text());
    if (ReadFieldNumber(lo.Text()) > ReadFieldNumber(hi.Text())) hi.SetText(lo.Text());
  } else {
    platform::Control& lo = Box(name, index - 1);
    platform::Control& hi = Box(name, index);
    if (ReadFieldNumber(lo.Text()) > ReadFieldNumber(hi.Text())) hi.SetText(lo.Text());
  }
}

void ParameterForm::txtTerrain_LostFocus(int index) {
  PairLoHi("txtTerrain", "chkTerrainEqual", index);
}

void ParameterForm::txtCities_LostFocus(int index) {
  PairLoHi("txtCities", "chkCityEqual", index);
}

void ParameterForm::txtLandMass_LostFocus(int index) {
  CheckLandMassBox(index);
  ShowLandFigure();
}

void ParameterForm::CheckLandMassBox(int index) {
  platform::Control& box = Box("txtLandMass", index);
  CleanBox(box);
  if (IsChecked("chkLandPlace", 0) && (index == 0 || index == 1) &&
      ReadFieldNumber(box.Text()) > kMaxEvenlySpacedLarge)
    SetNumberText(box, kMaxEvenlySpacedLarge);
  const bool tiedNumber = IsChecked("chkLandEqual", 0) && (index == 0 || index == 6 || index == 12);
  const bool tiedSize = IsChecked("chkLandEqual", 1) &&
                        (index == 2 || index == 8 || index == 14 || index == kTinyLo);
  const bool tiedBorder = IsChecked("chkLandEqual", 2) && (index == 4 || index == 10 || index == 16);
  if (tiedNumber || tiedSize || tiedBorder) Box("txtLandMass", index + 1).SetText(box.Text());
  // The pair check, as for the other Lo/Hi pairs.
  const int loIndex = index % 2 == 0 ? index : index - 1;
  platform::Control& lo = Box("txtLandMass", loIndex);
  platform::Control& hi = Box("txtLandMass", loIndex + 1);
  if (ReadFieldNumber(lo.Text()) > ReadFieldNumber(hi.Text())) hi.SetText(lo.Text());
}

// Under "Specified by Percentage" the last visible per-size box takes what the boxes
// before it leave of 100 %. The boxes are neither cleaned nor range-checked.
void ParameterForm::txtPlace1_LostFocus(int index) {
  if (Box("cboPlace1Param2", 0).ListIndex() != kPercentagesRule) return;
  int last = 3;
  for (int i = 0; i <= 3; ++i)
    if (!Box("txtPlace1", i).visible) {
      last = i - 1;
      break;
    }
  if (index >= last) return;
  double remainder = 100;
  for (int i = 0; i < last; ++i) remainder = RoundHalfEven(remainder - FieldValue("txtPlace1", i));
  if (remainder >= 0) SetNumberText(Box("txtPlace1", last), remainder);
}

namespace {

// A locked Hi box cannot be edited, is skipped by the Tab key and shows the button face.
void Lock(platform::Control& box) {
  box.locked = true;
  box.tabStop = false;
  box.backColor = kButtonFaceColour;
}

void Unlock(platform::Control& box) {
  box.locked = false;
  box.tabStop = true;
  box.backColor = kWindowBackgroundColour;
}

}  // namespace

void ParameterForm::SetLandEqual(int column, bool equal) {
  const auto tie = [this, equal](int loIndex) {
    platform::Control& hi = Box("txtLandMass", loIndex + 1);
    if (equal) {
      hi.SetText(Box("txtLandMass", loIndex).Text());
      Lock(hi);
    } else {
      Unlock(hi);
    }
  };
  for (int row = 0; row < kLandRows; ++row) tie(6 * row + 2 * column);
  if (column == kSizeColumn) tie(kTinyLo);
}

void ParameterForm::chkLandEqual_Click(int index) {
  SetLandEqual(index, IsChecked("chkLandEqual", index));
  ShowLandFigure();
}

void ParameterForm::TieAllPairs(std::string_view name, bool equal) {
  for (int k = 0; k < 4; ++k) {
    platform::Control& hi = Box(name, 2 * k + 1);
    if (equal) {
      hi.SetText(Box(name, 2 * k).Text());
      Lock(hi);
    } else {
      Unlock(hi);
    }
  }
}

void ParameterForm::chkTerrainEqual_Click() {
  TieAllPairs("txtTerrain", IsChecked("chkTerrainEqual", 0));
}

void ParameterForm::chkCityEqual_Click() { TieAllPairs("txtCities", IsChecked("chkCityEqual", 0)); }

// Checks every "=" box in turn; a box that was unchecked runs its own click action, one
// that is already checked runs nothing.
void ParameterForm::cmdSetEqualAll_Click() {
  Box("chkLandEqual", 0).SetValue(1);
  Box("chkLandEqual", 1).SetValue(1);
  Box("chkLandEqual", 2).SetValue(1);
  Box("chkTerrainEqual", 0).SetValue(1);
  Box("chkCityEqual", 0).SetValue(1);
}

// The two edge options exclude each other. The flag keeps the change made here from running
// this action again.
void ParameterForm::chkLandPlace_Click(int index) {
  if (env_.updatingControls) return;
  env_.updatingControls = true;
  if (index == 0) {
    txtLandMass_LostFocus(0);
    txtLandMass_LostFocus(1);
  } else if (index == 1 || index == 2) {
    platform::Control& other = Box("chkLandPlace", index == 1 ? 2 : 1);
    if (IsChecked("chkLandPlace", index)) {
      other.SetValue(0);
      other.enabled = false;
    } else {
      other.enabled = true;
    }
  }
  env_.updatingControls = false;
}

void ParameterForm::chkAlgorithm_Click(int index) {
  constexpr const char* kSettingsArrays[] = {"txtBlobv2", "txtBlobv3", "txtShape"};
  if (index < 0 || index > 2) return;
  const bool allowed = IsChecked("chkAlgorithm", index);
  Box("lblAlgorithm", index).enabled = allowed;
  Box("txtAlgorithm", index).enabled = allowed;
  for (platform::Control* box : controls_.Array(kSettingsArrays[index])) box->enabled = allowed;
}

void ParameterForm::tabParams_Click() {
  const int tab = env_.tabs.selected;
  if (tab < 1 || tab > 6 || tab == env_.selectedTab) return;
  Box("fratabs", tab).visible = true;
  Box("fratabs", env_.selectedTab).visible = false;
  env_.selectedTab = static_cast<std::int16_t>(tab);
}

void ParameterForm::cmdShapeUnselect_Click() {
  for (platform::Control* box : controls_.Array("chkShape")) box->SetValue(0);
}

// A picture toggles its shape's box; a grey (2) box becomes checked.
void ParameterForm::imgShape_Click(int index) {
  platform::Control& box = Box("chkShape", index);
  box.SetValue(box.Value() == 1 ? 0 : 1);
}

void ParameterForm::RevalidateAll() {
  for (platform::Control* box : controls_.Array("txtAlgorithm")) txtAlgorithm_LostFocus(box->Index());
  for (platform::Control* box : controls_.Array("txtBlobv2")) txtBlobv2_LostFocus(box->Index());
  for (platform::Control* box : controls_.Array("txtBlobv3")) txtBlobv3_LostFocus(box->Index());
  for (platform::Control* box : controls_.Array("txtCities")) txtCities_LostFocus(box->Index());
  for (platform::Control* box : controls_.Array("txtLandMass")) CheckLandMassBox(box->Index());
  ShowLandFigure();
  for (platform::Control* box : controls_.Array("txtShape")) txtShape_LostFocus(box->Index());
  for (platform::Control* box : controls_.Array("txtTerrain")) txtTerrain_LostFocus(box->Index());
}

}  // namespace lorvex::params
