// The backdrop window made in-process, without a message loop: what its
// creation leaves behind (source directory, window, posted start command,
// image and palette) and what its paints do to the image.
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

#include "resource.h"
#include "shell/backdrop.h"
#include "shell/main_window.h"
#include "shell/setup_state.h"

namespace {

class BackdropWindow : public testing::Test {
 protected:
  // Makes the window as the entry does, from currentDir, and takes the
  // commands it posted to itself off the queue before anything can pump
  // them: command 4444 would start the pages.
  void Create(const char* currentDir = nullptr) {
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    if (currentDir) ASSERT_TRUE(SetCurrentDirectoryA(currentDir)) << currentDir << " (a drive of the test session)";
    window = CreateBackdropWindow();
    SetCurrentDirectoryA(before);
    ASSERT_TRUE(window != nullptr);
    MSG msg;
    while (PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) commands.push_back(msg);
  }

  void TearDown() override {
    if (!window) return;
    DestroyWindow(window);
    // The window's end posts the quit message; other tests' modal loops
    // must not find it.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    UnregisterClassA(AppName, Instance);
  }

  // A copy of the image's pixel rows.
  std::vector<unsigned char> ImageBytes() {
    BITMAP info = {};
    GetObjectA(BackdropBitmap, sizeof(info), &info);
    return std::vector<unsigned char>(BackdropBits, BackdropBits + (size_t)info.bmWidthBytes * info.bmHeight);
  }

  // Colour index at (x, y) from the picture's top-left corner.
  unsigned char Index(int x, int y) {
    BITMAP info = {};
    GetObjectA(BackdropBitmap, sizeof(info), &info);
    return BackdropBits[(size_t)(info.bmHeight - 1 - y) * info.bmWidthBytes + x];
  }

  void Repaint() {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }

  HWND window = nullptr;
  std::vector<MSG> commands;
};

TEST_F(BackdropWindow, SourceDirectoryKeepsADriveRootAsLetterAndColon) {
  Create("E:\\");
  EXPECT_STREQ(SourceDir, "E:");
}

TEST_F(BackdropWindow, SourceDirectoryKeepsAFolderWhole) {
  CreateDirectoryA("E:\\INSTALL", nullptr);
  Create("E:\\INSTALL");
  EXPECT_STREQ(SourceDir, "E:\\INSTALL");
}

TEST_F(BackdropWindow, IsTheSetupPopupCoveringTheScreen) {
  Create();
  char text[32] = "";
  GetClassNameA(window, text, sizeof(text));
  EXPECT_STREQ(text, "SETUP");
  GetWindowTextA(window, text, sizeof(text));
  EXPECT_STREQ(text, "SETUP");
  // The system adds clip-siblings to every top-level window.
  EXPECT_EQ((DWORD)GetWindowLongA(window, GWL_STYLE) & ~WS_CLIPSIBLINGS, 0x90CA0000u);
  EXPECT_FALSE(IsZoomed(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(ScreenWidth, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(ScreenHeight, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(BackdropWindow, PostsTheStartCommandExactlyOnce) {
  Create();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, (WPARAM)CMD_START);
  EXPECT_EQ(commands[0].lParam, 0);
  // Painting does not post it again.
  UpdateWindow(window);
  Repaint();
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST_F(BackdropWindow, DrawsTheTitleIntoTheImageOnceOnly) {
  Create();
  ASSERT_TRUE(BackdropBitmap != nullptr && BackdropBits != nullptr);
  ASSERT_EQ(TitlePending, 1);
  std::vector<unsigned char> bare = ImageBytes();
  UpdateWindow(window);  // the first paint, as the entry makes it
  EXPECT_EQ(TitlePending, 0);
  std::vector<unsigned char> titled = ImageBytes();
  ASSERT_NE(titled, bare) << "the first paint drew no title";

  // The title is full blue (index 255) over a navy copy (index 128), in the
  // top-left corner only; the gradient there is far darker than either.
  int blue = 0, navy = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 400; ++x) {
      blue += Index(x, y) == 255;
      navy += Index(x, y) == 128;
    }
  }
  EXPECT_GT(blue, 300);
  EXPECT_GT(navy, 100);
  int elsewhere = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 400; x < ScreenWidth; ++x) elsewhere += Index(x, y) != Index(ScreenWidth - 1, y);
  }
  EXPECT_EQ(elsewhere, 0) << "pixels right of the title differ from the gradient";

  // Later paints only copy the image. Drawing the same solid title again
  // would give the same bytes, so one title pixel is marked first: a title
  // drawn again would paint over the mark.
  int markX = -1, markY = -1;
  for (int y = 0; y < 80 && markX < 0; ++y)
    for (int x = 0; x < 400 && markX < 0; ++x)
      if (Index(x, y) == 255) markX = x, markY = y;
  BITMAP info = {};
  GetObjectA(BackdropBitmap, sizeof(info), &info);
  unsigned char& mark = BackdropBits[(size_t)(info.bmHeight - 1 - markY) * info.bmWidthBytes + markX];
  mark = 7;
  std::vector<unsigned char> marked = ImageBytes();
  Repaint();
  Repaint();
  EXPECT_EQ((int)mark, 7) << "a later paint drew the title again";
  EXPECT_TRUE(ImageBytes() == marked) << "a later paint changed the image";
  mark = 255;
}

TEST_F(BackdropWindow, PaletteAndColourTableAreTheSamePureBlues) {
  Create();
  ASSERT_TRUE(BackdropPalette != nullptr);
  PALETTEENTRY entries[256];
  ASSERT_EQ(GetPaletteEntries(BackdropPalette, 0, 256, entries), 256u);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, BackdropBitmap);
  RGBQUAD table[256];
  UINT tableSize = GetDIBColorTable(memory, 0, 256, table);
  SelectObject(memory, old);
  DeleteDC(memory);
  ASSERT_EQ(tableSize, 256u);
  // Index i is blue of intensity i in both, so the image shows the same
  // shades whether the display uses the palette or the colour table.
  for (int i = 0; i < 256; ++i) {
    EXPECT_TRUE(entries[i].peRed == 0 && entries[i].peGreen == 0 && entries[i].peBlue == i &&
                entries[i].peFlags == PC_NOCOLLAPSE)
        << "palette entry " << i;
    EXPECT_TRUE(table[i].rgbRed == 0 && table[i].rgbGreen == 0 && table[i].rgbBlue == i) << "colour table " << i;
  }
  // The image is bottom-up: its first row in memory, the picture's bottom,
  // is full blue.
  EXPECT_EQ(BackdropBits[0], 255);
  EXPECT_EQ(Index(0, ScreenHeight - 1), 255);
  EXPECT_LT(Index(0, 0), 128);
}

}  // namespace
