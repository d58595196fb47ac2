#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "common/random.h"
#include "platform/control.h"
#include "platform/headless_platform.h"
#include "platform/picture_surface.h"

namespace lorvex::platform {
namespace {

TEST(Control, ClickFiresOnlyWhenValueOrListIndexChanges) {
  ControlSet set;
  Control& check = set.Add(ControlKind::kCheckBox, "chkTest", 2);
  Control& combo = set.Add(ControlKind::kSelectionBox, "cboTest", 0);
  int clicks = 0, lastIndex = -1;
  check.OnClick([&](int index) { ++clicks; lastIndex = index; });
  check.SetValue(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(lastIndex, 2);
  check.SetValue(1);
  EXPECT_EQ(clicks, 1);
  check.SetValue(0);
  EXPECT_EQ(clicks, 2);

  int comboClicks = 0;
  combo.OnClick([&](int) { ++comboClicks; });
  combo.SetListIndex(-1);
  EXPECT_EQ(comboClicks, 0);
  combo.SetListIndex(2);
  combo.SetListIndex(2);
  EXPECT_EQ(comboClicks, 1);
}

TEST(ControlSet, AddressesArraysByNameAndIndexInControlOrder) {
  ControlSet set;
  set.Add(ControlKind::kNumberBox, "txtA", 1);
  set.Add(ControlKind::kNumberBox, "txtA", 0);
  set.Add(ControlKind::kNumberBox, "txtAB", 0);
  set.Add(ControlKind::kLabel, "lblB", 0);
  EXPECT_EQ(set.At("txtA", 1).Key(), "txtA(1)");
  EXPECT_EQ(set.Find("txtA", 2), nullptr);
  EXPECT_THROW(set.At("nothing", 0), std::logic_error);
  const auto array = set.Array("txtA");  // index order, not the longer name
  ASSERT_EQ(array.size(), 2u);
  EXPECT_EQ(array[0]->Index(), 0);
  EXPECT_EQ(array[1]->Index(), 1);
  ASSERT_EQ(set.All().size(), 4u);
  EXPECT_EQ(set.All()[0].Key(), "txtA(1)");  // walk keeps the order of creation
  EXPECT_EQ(set.All()[3].Name(), "lblB");

  // A name that only begins another is not it; indexes may be negative and leave gaps.
  EXPECT_EQ(set.Find("txt", 0), nullptr);
  set.Add(ControlKind::kNumberBox, "txtA", 5);
  set.Add(ControlKind::kNumberBox, "txtA", -2);
  EXPECT_EQ(set.Find("txtA", 3), nullptr);
  EXPECT_EQ(set.At("txtA", -2).Index(), -2);
  std::vector<int> indexes;
  for (const Control* c : set.Array("txtA")) indexes.push_back(c->Index());
  EXPECT_EQ(indexes, (std::vector<int>{-2, 0, 1, 5}));
  EXPECT_TRUE(set.Array("nothing").empty());
}

TEST(Control, TypingIsCutToMaxLengthAndFocusLostFires) {
  ControlSet set;
  Control& box = set.Add(ControlKind::kNumberBox, "txtBox", 0);
  box.SetMaxLength(3);
  box.Type("12345");
  EXPECT_EQ(box.Text(), "123");
  box.SetText("12345");  // the program's text is held whole, up to the hard limit
  EXPECT_EQ(box.Text(), "12345");
  box.SetText(std::string(5000, '7'));
  EXPECT_EQ(box.Text().size(), Control::kMostTextLength);
  int lost = 0;
  set.OnLostFocus("txtBox", [&](int) { ++lost; });
  box.LoseFocus();
  EXPECT_EQ(lost, 1);
}

TEST(PictureSurface, FillsBoxesGivenInTwipsBothCornersIncluded) {
  PictureSurface surface;
  const Rgb red{255, 0, 0};
  surface.FillBox(15 * 10, 15 * 20, 15 * 2, 15 * 3, red);  // pixels 10..12 x 20..23
  EXPECT_EQ(surface.Pixel(10, 20), red);
  EXPECT_EQ(surface.Pixel(12, 23), red);
  EXPECT_EQ(surface.Pixel(13, 23), Rgb{});
  EXPECT_EQ(surface.Pixel(12, 24), Rgb{});
  EXPECT_EQ(surface.Pixel(9, 20), Rgb{});
  // A whole-surface box and one far outside are clipped, not written out of bounds.
  surface.FillBox(-100000, -100000, 1 << 30, 1 << 30, red);
  EXPECT_EQ(surface.Pixel(300, 268), red);
  EXPECT_EQ(surface.Pixel(301, 0), Rgb{});
}

// Boxes of every width, full-width ones of every height among them, laid one over another
// with different colours: each pixel ends as the last box that covers it says.
TEST(PictureSurface, OverlappingBoxesLeaveEachPixelToTheLastBoxOverIt) {
  PictureSurface surface;
  std::vector<Rgb> expected(static_cast<std::size_t>(PictureSurface::kWidth * PictureSurface::kHeight));
  Random random(5);
  const auto pixel = [](long long twips) { return twips >= 0 ? twips / 15 : -((-twips + 14) / 15); };
  for (int box = 0; box < 400; ++box) {
    const bool fullWidth = box % 3 == 0;
    const auto x = static_cast<int>(fullWidth ? -30 : random.DrawInt(-600, 4800));
    const auto dx = static_cast<int>(fullWidth ? 5000 : random.DrawInt(-1500, 1500));
    const auto y = static_cast<int>(random.DrawInt(-600, 4300));
    const auto dy = static_cast<int>(random.DrawInt(-1500, 1500));
    const Rgb colour{static_cast<std::uint8_t>(box), static_cast<std::uint8_t>(box / 256 + 1), 7};
    surface.FillBox(x, y, dx, dy, colour);
    const long long x1 = std::min(pixel(x), pixel(x + dx)), x2 = std::max(pixel(x), pixel(x + dx));
    const long long y1 = std::min(pixel(y), pixel(y + dy)), y2 = std::max(pixel(y), pixel(y + dy));
    for (long long py = std::max(y1, 0LL); py <= std::min<long long>(y2, PictureSurface::kHeight - 1); ++py)
      for (long long px = std::max(x1, 0LL); px <= std::min<long long>(x2, PictureSurface::kWidth - 1); ++px)
        expected[static_cast<std::size_t>(py * PictureSurface::kWidth + px)] = colour;
    if (box % 20 != 19) continue;
    for (int py = 0; py < PictureSurface::kHeight; ++py)
      for (int px = 0; px < PictureSurface::kWidth; ++px)
        ASSERT_EQ(surface.Pixel(px, py), expected[static_cast<std::size_t>(py * PictureSurface::kWidth + px)])
            << "after box " << box << " at pixel " << px << "," << py;
  }
}

// A window stand-in that records what the event loop delivers.
struct RecordingWindow : Window {
  bool visible = true;
  bool timerEnabled = false;
  int ticks = 0;
  std::vector<int> keyDowns, keyPresses;
  int closes = 0;
  bool IsVisible() const override { return visible; }
  void KeyDown(int keyCode, int) override { keyDowns.push_back(keyCode); }
  void KeyPress(int keyAscii) override { keyPresses.push_back(keyAscii); }
  bool PauseTimerEnabled() const override { return timerEnabled; }
  int PauseTimerInterval() const override { return 20; }
  void PauseTimerTick() override { ++ticks; timerEnabled = false; }
  void CloseByUser() override { ++closes; visible = false; }
};

TEST(HeadlessPlatform, DeliversKeysAtTheirYieldAndTicksOnSimulatedTime) {
  HeadlessPlatform platform;
  RecordingWindow window;
  platform.QueueKeyAtYield(3, {27, 0, 27});
  platform.DoEvents(window);
  platform.DoEvents(window);
  EXPECT_TRUE(window.keyDowns.empty());
  platform.DoEvents(window);
  EXPECT_EQ(window.keyDowns, std::vector<int>{27});
  EXPECT_EQ(window.keyPresses, std::vector<int>{27});

  const double before = platform.SecondsSinceMidnight();
  window.timerEnabled = true;
  platform.DoEvents(window);
  EXPECT_EQ(window.ticks, 1);
  EXPECT_NEAR(platform.SecondsSinceMidnight() - before, 0.021, 1e-9);
  platform.DoEvents(window);
  EXPECT_EQ(window.ticks, 1);  // the tick disabled the timer
}

// The simulated clock is the time of day: it runs over midnight back to 0, and each yield
// moves it exactly as adding a millisecond and taking the remainder of a day would.
TEST(HeadlessPlatform, TheClockWrapsAtMidnightAndAgreesWithTheRemainderOfADay) {
  HeadlessPlatform platform;
  RecordingWindow window;
  for (const double start : {43200.0, 86399.9995, 86399.999, 0.0, -86399.9995}) {
    platform.SetClock(start);
    double expected = start;
    for (int yield = 0; yield < 3000; ++yield) {
      platform.DoEvents(window);
      expected = std::fmod(expected + 0.001, 86400.0);
      ASSERT_EQ(platform.SecondsSinceMidnight(), expected) << start << " yield " << yield;
    }
  }
  platform.SetClock(86399.9995);
  platform.DoEvents(window);
  EXPECT_NEAR(platform.SecondsSinceMidnight(), 0.0005, 1e-9);
}

TEST(HeadlessPlatform, ModalShowRunsTheScriptAndAlwaysEnds) {
  HeadlessPlatform platform;
  RecordingWindow window;
  int ran = 0;
  platform.AddModalAction([&](Window&) { ++ran; });
  platform.ShowModal(window);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(window.closes, 1);  // script spent, window still shown: closed
}

TEST(HeadlessPlatform, AnswersQuestionsFromItsQueueAndRecordsEveryMessage) {
  HeadlessPlatform platform;
  platform.QueueAnswer(MessageAnswer::kYes);
  EXPECT_EQ(platform.MessageBox("note", MessageButtons::kOk), MessageAnswer::kOk);
  EXPECT_EQ(platform.MessageBox("q1", MessageButtons::kYesNo), MessageAnswer::kYes);
  EXPECT_EQ(platform.MessageBox("q2", MessageButtons::kYesNo), MessageAnswer::kNo);
  ASSERT_EQ(platform.Messages().size(), 3u);
  EXPECT_EQ(platform.Messages()[1].text, "q1");

  platform.QueueFileAnswer(std::string("a.kst"));
  EXPECT_EQ(platform.FileDialog({}), std::optional<std::string>("a.kst"));
  EXPECT_EQ(platform.FileDialog({}), std::nullopt);
  EXPECT_EQ(platform.FileRequests().size(), 2u);
}

}  // namespace
}  // namespace lorvex::platform
