#include "ui/frm_build.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "common/version.h"
#include "engine/build_driver.h"

namespace lorvex::ui {

using platform::ControlKind;
using platform::MessageAnswer;
using platform::MessageButtons;

namespace {

constexpr const char* kStopQuestion = "Stop World Build in Progress?";
constexpr const char* kNoAlgorithmMessage = "Please Select at least One Building Algorithm";
constexpr const char* kNoShapeMessage =
    "Shapes Algorithm is Selected, Please Select at least One Shape";
constexpr const char* kLandWarning =
    "Warning: Average Land % is Greater than 50%.  This may take\r\n"
    "an unusually long time to complete.  Continue with Build?";
constexpr float kStatusThrottleSeconds = 0.25f;
constexpr char kSpinner[4] = {'-', '\\', '|', '/'};

// Status panel layout in twips: the five panels share the window's 9495 twips. Each of
// panels 1 to 4 holds its longest text in the window's font (DejaVu Sans, 11 pixels) with
// its frame and indent: "Map: 4096 x 4096 ", "Squares = 16,777,216 ", a land figure of
// four digits a side ("Land = 9999 - 9999 % ") and "Getting User Preferences". The
// progress bar over panel 5 takes what is left.
constexpr int kPanelLefts[kStatusPanels] = {0, 1710, 3780, 5850, 8100};
constexpr int kPanelWidths[kStatusPanels] = {1710, 2070, 2070, 2250, 1395};

}  // namespace

frmBuild::frmBuild(platform::Platform& platform)
    : platform_(platform),
      controls_(params::CreateWindowControls()),
      form_(controls_, params::FormEnvironment{platform_, statusBar_, tabs_, random_,
                                               world_.UpdatingControls, world_.SelectedTab,
                                               world_.MapWidth, world_.MapHeight, progress_}),
      previews_(world_, picWorld_, picMass_, controls_.At("fraWatchIt", 0), *this) {
  quiet_ = &platform_.Quiet();
  tabs_.captions.assign(std::begin(params::kTabCaptions), std::end(params::kTabCaptions));
  for (int panel = 1; panel <= kStatusPanels; ++panel) {
    statusBar_.Panel(panel).left = kPanelLefts[panel - 1];
    statusBar_.Panel(panel).width = kPanelWidths[panel - 1];
  }
  controls_.At("cmdBuild", 0).OnClick([this](int) { cmdBuild_Click(); });
  controls_.At("cmdCancel", 0).OnClick([this](int) { cmdCancel_Click(); });
}

bool frmBuild::GetMap(std::int32_t mapWidth, std::int32_t mapHeight, bool mapWrap,
                      HostWorld& out) {
  random_.Seed(key_ ? key_->seed : platform_.ClockSeed());
  if (key_) random_.Discard(key_->draws);
  world_.UpdatingControls = true;
  controls_.At("lblVersion", 0).caption = "Version " + std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionRevision);
  statusBar_.Panel(1).text =
      "Map: " + std::to_string(mapWidth) + " x " + std::to_string(mapHeight) + " ";
  world_.SetMapSize(mapWidth, mapHeight, mapWrap);
  statusBar_.Panel(2).text = "Squares = " + FormatThousands(world_.SquareCount) + " ";
  form_.RefreshDerivedFigures();
  progress_.left = statusBar_.Panel(kStatusPanelProgress).left;
  progress_.width = statusBar_.Panel(kStatusPanelProgress).width;
  progress_.value = 0;
  for (int k = 1; k <= params::kTabCount; ++k) controls_.At("fratabs", k).visible = k == 1;
  tabs_.selected = 1;
  world_.SelectedTab = 1;
  world_.BuildSucceeded = false;
  world_.UpdatingControls = false;
  world_.StopRequested = true;
  world_.WatchMode = false;
  form_.LoadDefaultSettings();
  if (!openingSettings_.empty()) form_.ApplySettings(openingSettings_);

  visible_ = true;
  platform_.ShowModal(*this);
  visible_ = false;

  if (!world_.BuildSucceeded) return false;
  CopyWorldOut(out);
  return true;
}

void frmBuild::CopyWorldOut(HostWorld& out) {
  const std::int32_t width = world_.MapWidth, height = world_.MapHeight;
  out.CitySquares.clear();
  out.ProdArray.assign(world_.CityProduction.size(), 0);
  out.SpecArray.assign(world_.CitySpecialty.size(), 0);
  out.OwnerArray.assign(world_.CityOwner.size(), 0);
  // The city ordinals follow a column-major scan of the map (x outer, y inner). The map is
  // stored row by row, so the city squares are found row by row and then put in that order.
  std::vector<std::pair<std::int32_t, std::int32_t>> cities;  // (x, y)
  for (std::int32_t y = 0; width > 0 && y < height; ++y) {
    const char* row = &world_.WorldMap(0, y);
    for (const char* at = row; (at = static_cast<const char*>(
                                    std::memchr(at, terrain::kCity, static_cast<std::size_t>(
                                                                        row + width - at)))) != nullptr;
         ++at)
      cities.emplace_back(static_cast<std::int32_t>(at - row), y);
  }
  std::sort(cities.begin(), cities.end());
  std::size_t k = 0;
  for (const auto& [x, y] : cities) {
    const std::int32_t city = world_.CityOfSquare(x, y);
    // A city square always carries its city number; one without is skipped, not copied
    // from outside the arrays.
    if (city < 0 || static_cast<std::size_t>(city) >= world_.CityProduction.size() ||
        k >= out.ProdArray.size())
      continue;
    out.ProdArray[k] = world_.CityProduction[static_cast<std::size_t>(city)];
    out.SpecArray[k] = world_.CitySpecialty[static_cast<std::size_t>(city)];
    out.OwnerArray[k] = world_.CityOwner[static_cast<std::size_t>(city)];
    out.CitySquares.emplace_back(x, y);
    ++k;
  }
  out.CityCount = static_cast<std::int32_t>(k);
  if (handOver_) {
    out.MapArray = std::move(world_.WorldMap);
    out.Masses = std::move(world_.MassTable);
    out.MassOfSquare = std::move(world_.MassOfSquare);
    return;
  }
  out.MapArray = world_.WorldMap;
  out.Masses = world_.MassTable;
}

void frmBuild::cmdCancel_Click() {
  world_.BuildSucceeded = false;
  visible_ = false;
}

void frmBuild::SetPagesEnabled(bool enabled) {
  for (platform::Control* page : controls_.Array("fratabs")) page->enabled = enabled;
  controls_.At("fraButtons", 0).enabled = enabled;
}

void frmBuild::cmdBuild_Click() {
  form_.RevalidateAll();
  refusal_.clear();
  if (!ValidateBuild()) {
    lastPress_ = PressOutcome::kRefused;
    return;
  }
  world_.StopRequested = false;
  progressStage_ = "Initializing Environment";
  SetPagesEnabled(false);
  platform_.SetMousePointer(platform::MousePointer::kHourglass);

  buildKey_ = {random_.SeedValue(), random_.DrawsMade()};
  const params::ParameterView view(controls_);
  BuildContext context{world_, view, random_, *this};
  BuildWorld(context);

  progress_.value = 0;
  statusBar_.Panel(kStatusPanelBuild).text = "Getting User Preferences";
  SetPagesEnabled(true);
  controls_.At("fraWatchIt", 0).visible = false;
  platform_.SetMousePointer(platform::MousePointer::kDefault);
  if (!world_.StopRequested) {
    world_.BuildSucceeded = true;
    visible_ = false;
    lastPress_ = PressOutcome::kBuilt;
  } else {
    lastPress_ = PressOutcome::kStopped;
    if (StopRaised()) visible_ = false;
  }
}

bool frmBuild::ValidateBuild() {
  const params::ParameterView view(controls_);
  bool anyAlgorithm = false;
  for (int i = 0; i < 3; ++i) anyAlgorithm = anyAlgorithm || view.Checked("chkAlgorithm", i);
  if (!anyAlgorithm) {
    platform_.MessageBox(kNoAlgorithmMessage, MessageButtons::kOk);
    refusal_ = kNoAlgorithmMessage;
    return false;
  }
  if (view.Checked("chkAlgorithm", 2)) {
    bool anyShape = false;
    for (int i = 0; i < params::kShapeCount; ++i) anyShape = anyShape || view.Checked("chkShape", i);
    if (!anyShape) {
      platform_.MessageBox(kNoShapeMessage, MessageButtons::kOk);
      refusal_ = kNoShapeMessage;
      return false;
    }
  }
  // Land estimate with the Lo fields and with the Hi fields, in real numbers, rounded.
  const auto estimate = [&view](int h) {
    return RoundHalfEven(view.Number("txtLandMass", 0 + h) * view.Number("txtLandMass", 2 + h) +
                         view.Number("txtLandMass", 6 + h) * view.Number("txtLandMass", 8 + h) +
                         view.Number("txtLandMass", 12 + h) * view.Number("txtLandMass", 14 + h) +
                         view.Number("txtLandMass", 18 + h));
  };
  if (estimate(0) + estimate(1) > static_cast<double>(world_.SquareCount) &&
      platform_.MessageBox(kLandWarning, MessageButtons::kYesNo) == MessageAnswer::kNo) {
    refusal_ = kLandWarning;
    return false;
  }
  return true;
}

void frmBuild::Form_KeyPress(int) {
  if (world_.StopRequested) return;
  if (platform_.MessageBox(kStopQuestion, MessageButtons::kYesNo) == MessageAnswer::kYes)
    world_.StopRequested = true;
}

void frmBuild::Form_KeyDown(int keyCode, int shift) {
  if (keyCode != platform::kKeyF5 || (shift & platform::kShiftAlt) == 0) return;
  platform::Control& frame = controls_.At("fraWatchIt", 0);
  if (frame.visible || world_.StopRequested) {
    world_.WatchMode = !world_.WatchMode;
    if (frame.visible) frame.visible = false;
  }
}

void frmBuild::tmrPause_Timer() {
  tmrPause_.enabled = false;
  world_.PauseActive = false;
}

void frmBuild::ShowStatus(std::string_view stage, std::string_view detail) {
  if (progressSink_ && !stage.empty() && stage != progressStage_) {
    progressStage_ = stage;
    progressSink_(progressStage_, progress_.value, progress_.max);
  }
  const float now = static_cast<float>(platform_.SecondsSinceMidnight());
  if (now >= lastStatusTime_ && now - lastStatusTime_ <= kStatusThrottleSeconds &&
      stage == lastStage_ && detail == lastDetail_)
    return;
  spinnerIndex_ = spinnerIndex_ == 3 ? 0 : spinnerIndex_ + 1;
  const char spinner = kSpinner[spinnerIndex_];
  std::string& text = statusBar_.Panel(kStatusPanelBuild).text;
  if (stage.empty() || detail.empty()) {
    if (!text.empty()) text.pop_back();
    text += spinner;
  } else {
    text.assign(stage).append(" - ").append(detail).append(1, ' ').append(1, spinner);
  }
  lastStatusTime_ = now;
  lastStage_ = stage;
  lastDetail_ = detail;
}

}  // namespace lorvex::ui
