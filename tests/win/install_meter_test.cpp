// The progress meter drawn into a black rectangle control of known width,
// read back pixel by pixel.
#include <windows.h>
#include <gtest/gtest.h>

#include "install/progress_meter.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

class Meter : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 460, 40, nullptr, nullptr, nullptr,
                             nullptr);
    MeterWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 0, 0, 440, 20, frame_,
                                  nullptr, nullptr, nullptr);
    UpdateWindow(frame_);
    dc_ = GetDC(MeterWindow);
    // The system's colour for black rectangles (dark grey under Wine).
    rest_ = At(300, 10);
    ASSERT_NE(rest_, kBlue);
  }
  void TearDown() override {
    ReleaseDC(MeterWindow, dc_);
    DestroyWindow(frame_);
    MeterWindow = nullptr;
  }

  COLORREF At(int x, int y) { return GetPixel(dc_, x, y); }

  // Repaints what the control has been told to repaint, as the copy page's
  // pump between files does.
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  int WhiteIn(int left, int right) {
    int white = 0;
    for (int x = left; x < right; ++x)
      for (int y = 0; y < 20; ++y) white += At(x, y) == kWhite;
    return white;
  }

  HWND frame_ = nullptr;
  HDC dc_ = nullptr;
  COLORREF rest_ = 0;
};

TEST_F(Meter, FirstStepShowsOnlyTheTextThenTheBarGrowsInRows2To17) {
  MeterInit(6);
  MeterStep();
  EXPECT_EQ(At(0, 10), rest_);  // no fill at the first step
  EXPECT_GT(WhiteIn(200, 240), 0);
  EXPECT_EQ(WhiteIn(0, 200) + WhiteIn(240, 440), 0);

  MeterStep();  // fill edge 73
  EXPECT_EQ(At(0, 2), kBlue);
  EXPECT_EQ(At(72, 17), kBlue);
  EXPECT_EQ(At(73, 10), rest_);
  EXPECT_EQ(At(10, 1), rest_);
  EXPECT_EQ(At(10, 18), rest_);
  MeterRelease();
}

TEST_F(Meter, SeventhStepFillsTheWholeWidth) {
  MeterInit(6);
  for (int i = 0; i < 7; ++i) {
    MeterStep();
    Pump();
  }
  EXPECT_EQ(At(439, 10), kBlue);
  EXPECT_EQ(At(0, 10), kBlue);
  MeterRelease();
}

// The control repaints the unfilled rest black at the next pump, wiping the
// old percentage there; the filled part keeps its text until the next fill.
TEST_F(Meter, UnfilledRestIsRepaintedBlackAtThePump) {
  MeterInit(6);
  MeterStep();
  ASSERT_GT(WhiteIn(200, 240), 0);
  Pump();
  EXPECT_EQ(WhiteIn(200, 240), 0);
  MeterRelease();
}

TEST_F(Meter, ReleaseLetsANewRunStartEmpty) {
  MeterInit(6);
  for (int i = 0; i < 3; ++i) MeterStep();
  MeterRelease();
  InvalidateRect(MeterWindow, nullptr, TRUE);
  Pump();
  MeterInit(6);
  MeterStep();
  MeterStep();
  EXPECT_EQ(At(72, 10), kBlue);
  EXPECT_EQ(At(73, 10), rest_);  // counted from 0 again, not from step 3
  MeterRelease();
}

}  // namespace
