// The backdrop as the user sees it: a captioned window over the whole
// screen, a vertical blue gradient and the title in the top-left corner.
#include "setup_run.h"

namespace {

const ui::Rgb kFullBlue = {0, 0, 255};
const ui::Rgb kNavy = {0, 0, 128};

class Backdrop : public SetupRun {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024) << "the test session's screen is 1024 x 768";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768) << "the test session's screen is 1024 x 768";
    // Once the first page is up, the backdrop has been painted with its title.
    StartAtAgreement();
    backdrop = WaitBackdrop();
  }
  HWND backdrop = nullptr;
};

TEST_F(Backdrop, IsACaptionedPopupCoveringTheScreen) {
  // Bits the system adds by itself: clip-siblings on every top-level window,
  // disabled while a page is up over it.
  DWORD style = ui::Style(backdrop) & ~(WS_CLIPSIBLINGS | WS_DISABLED);
  EXPECT_EQ(style, 0x90CA0000u) << std::hex << "style 0x" << style;
  EXPECT_TRUE(ui::Style(backdrop) & WS_MINIMIZEBOX);
  EXPECT_FALSE(IsZoomed(backdrop));
  RECT r = ui::ScreenRect(backdrop);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1024);
  EXPECT_EQ(r.bottom, 768);
  // The caption bar lies inside the screen, above the client area.
  RECT client = ui::ClientScreenRect(backdrop);
  EXPECT_GT(client.top, 0);
}

TEST_F(Backdrop, ShowsAVerticalGradientOfPureBlues) {
  ui::Pixels shown = ui::CaptureClient(backdrop);
  ASSERT_GT(shown.height, 700);
  // A column right of the page and clear of the title. The image's top row
  // is at the client area's top; at 768 lines each shade covers four rows
  // and the image's bottom row, full blue, falls below the screen.
  const int x = shown.width - 20;
  for (int y = 0; y < shown.height; ++y) {
    ui::Rgb c = shown.At(x, y);
    ASSERT_TRUE(c.r == 0 && c.g == 0) << "row " << y << " is " << ui::Describe(c) << ", not a pure blue";
    ASSERT_EQ(c.b, 255 - (767 - y) / 4) << "row " << y;
    if (y > 0) ASSERT_GE(c.b, shown.At(x, y - 1).b) << "darker below row " << y - 1;
  }
  EXPECT_GE(shown.At(x, shown.height - 1).b - shown.At(x, 0).b, 170) << "brighter downward";
  // Every row is one colour across the screen, left of the page too.
  for (int y = 100; y < shown.height; y += 97) EXPECT_EQ(shown.At(5, y), shown.At(x, y)) << "row " << y;
}

TEST_F(Backdrop, ShowsTheTitleInFullBlueOverANavyCopy) {
  // The client area's corner only: the caption bar above it carries the
  // window's icon, which has blues of its own.
  RECT client = ui::ClientScreenRect(backdrop);
  ui::Pixels corner = ui::CaptureScreenRect(RECT{client.left, client.top, client.left + 400, client.top + 100});
  RECT blue = {10000, 10000, -1, -1}, navy = blue;
  int blueCount = 0, navyCount = 0;
  for (int y = 0; y < corner.height; ++y) {
    for (int x = 0; x < corner.width; ++x) {
      RECT* box = corner.At(x, y) == kFullBlue ? &blue : corner.At(x, y) == kNavy ? &navy : nullptr;
      if (!box) continue;
      ++(box == &blue ? blueCount : navyCount);
      box->left = std::min<LONG>(box->left, x);
      box->top = std::min<LONG>(box->top, y);
      box->right = std::max<LONG>(box->right, x);
      box->bottom = std::max<LONG>(box->bottom, y);
    }
  }
  ASSERT_GT(blueCount, 300) << "no full-blue title in the top-left corner";
  ASSERT_GT(navyCount, 100) << "no navy copy of the title in the top-left corner";
  // The full-blue title is drawn at (13, 11) of the client area, its navy
  // copy at (10, 10): 3 pixels left and 1 above, peeking out at those edges.
  EXPECT_EQ(blue.left - navy.left, 3);
  EXPECT_EQ(blue.top - navy.top, 1);
  EXPECT_GE(blue.left, 13);
  EXPECT_GE(navy.top, 10);
  EXPECT_LT(blue.bottom, 11 + 60) << "the title is one line of a 42-pixel font";
  EXPECT_GT(blue.right - blue.left, 150) << "the title \"Norvu - Setup\" is 13 characters wide";
}

}  // namespace
