// The installer's own resources, as the program loads them: the licence
// text, the side-panel picture and the icons.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resource.h"
#include "shell/setup_state.h"

namespace {

TEST(AgreementText, ArrivesWholeWithWindowsLineBreaks) {
  static char text[7000];  // the agreement page's buffer
  int length = LoadStringA(Instance, IDS_AGREEMENT, text, sizeof(text));
  ASSERT_EQ(length, 4301);
  ASSERT_EQ(std::strlen(text), 4301u);
  const std::string agreement(text);
  EXPECT_EQ(agreement.rfind("NORVU END-USER LICENCE AGREEMENT\r\n\r\n", 0), 0u);
  const std::string ending = "at the address given in its documentation.";
  EXPECT_EQ(agreement.substr(agreement.size() - ending.size()), ending);
  int breaks = 0;
  for (size_t i = 0; i < agreement.size(); ++i) {
    if (agreement[i] == '\r') {
      ASSERT_EQ(agreement[i + 1], '\n') << "at " << i;
      ++breaks;
    } else if (agreement[i] == '\n') {
      ASSERT_EQ(agreement[i - 1], '\r') << "at " << i;
    }
  }
  EXPECT_GT(breaks, 30);
  // Escapes the resource compiler should have turned into characters.
  EXPECT_EQ(agreement.find('\\'), std::string::npos);
  EXPECT_EQ(agreement.find('"'), std::string::npos);
  for (unsigned char c : agreement) ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 32 && c < 127)) << int(c);
}

// Reads a bitmap back as 32-bit top-down pixels (0x00RRGGBB).
struct Pixels {
  int width, height;
  std::basic_string<DWORD> data;
  DWORD At(int x, int y) const { return data[y * width + x]; }
};

Pixels ReadPixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  Pixels pixels = {width, height, std::basic_string<DWORD>(width * height, 0)};
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, height, &pixels.data[0], &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  return pixels;
}

int Brightness(DWORD pixel) { return ((pixel >> 16) & 0xFF) * 3 + ((pixel >> 8) & 0xFF) * 6 + (pixel & 0xFF); }

TEST(SidePanel, Is556By384In24BitsWithTheNameAtTheTop) {
  HRSRC found = FindResourceA(Instance, "IDB_KOSMAR", MAKEINTRESOURCEA(2));  // RT_BITMAP
  ASSERT_NE(found, nullptr);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Instance, found)));
  EXPECT_EQ(header->biWidth, 556);
  EXPECT_EQ(header->biHeight, 384);
  EXPECT_EQ(header->biBitCount, 24);
  EXPECT_EQ(header->biCompression, DWORD(BI_RGB));
  EXPECT_EQ(header->biClrUsed, 0u);
  EXPECT_EQ(SizeofResource(Instance, found), 40u + 556 * 3 * 384);  // no colour table

  HBITMAP bitmap = LoadBitmapA(Instance, "IDB_KOSMAR");
  ASSERT_NE(bitmap, nullptr);
  BITMAP size;
  ASSERT_TRUE(GetObjectA(bitmap, sizeof(size), &size));
  EXPECT_EQ(size.bmWidth, 556);
  EXPECT_EQ(size.bmHeight, 384);
  // Right way up: the name is light in the top band, the ground below is dark.
  Pixels pixels = ReadPixels(bitmap, 556, 384);
  int nameLight = 0, groundLight = 0;
  for (int y = 6; y < 30; ++y) {
    for (int x = 42; x < 125; ++x) {
      nameLight += Brightness(pixels.At(x, y)) > 2000;
      groundLight += Brightness(pixels.At(x, 383 - y)) > 2000;
    }
  }
  EXPECT_GT(nameLight, 300);
  EXPECT_EQ(groundLight, 0);
  DeleteObject(bitmap);
}

// Draws an icon over magenta and reads what shows.
Pixels DrawIcon16(HICON icon) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 16, 16};
  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &all, magenta);
  DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(magenta);
  ReleaseDC(nullptr, screen);
  Pixels pixels = ReadPixels(bitmap, 16, 16);
  DeleteObject(bitmap);
  return pixels;
}

int Count(const Pixels& pixels, DWORD colour) {
  int n = 0;
  for (DWORD p : pixels.data) n += (p & 0xFFFFFF) == colour;
  return n;
}

// Bit depth of the image the system picks from an icon group for a size.
int IconDepth(int id, int size) {
  HRSRC group = FindResourceA(Instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  if (!group) return 0;
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(Instance, group)));
  int image = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
  HRSRC found = FindResourceA(Instance, MAKEINTRESOURCEA(image), MAKEINTRESOURCEA(3));  // RT_ICON
  if (!found) return 0;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Instance, found)));
  return header->biWidth == size ? header->biBitCount : -header->biWidth;
}

TEST(Icons, EachLoadsAt16PixelsIn16Colours) {
  for (int id : {IDI_SETUP, IDI_FOLDER, IDI_UP, IDI_TARGET}) {
    EXPECT_EQ(IconDepth(id, 16), 4) << id;
    HICON icon = static_cast<HICON>(LoadImageA(Instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(icon, nullptr) << id;
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour;
    GetObjectA(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, 16) << id;
    EXPECT_EQ(colour.bmHeight, 16) << id;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    EXPECT_NE(LoadIconA(Instance, MAKEINTRESOURCEA(id)), nullptr) << id;  // as the folder list loads them
  }
  EXPECT_EQ(IconDepth(IDI_SETUP, 32), 4);
}

TEST(Icons, FolderPicturesAreDrawnAndTellApart) {
  const DWORD magenta = 0xFF00FF, yellow = 0xFFFF00, green = 0x00FF00;
  Pixels folder = DrawIcon16(LoadIconA(Instance, MAKEINTRESOURCEA(IDI_FOLDER)));
  Pixels up = DrawIcon16(LoadIconA(Instance, MAKEINTRESOURCEA(IDI_UP)));
  Pixels target = DrawIcon16(LoadIconA(Instance, MAKEINTRESOURCEA(IDI_TARGET)));
  for (const Pixels* p : {&folder, &up, &target}) {
    EXPECT_GT(256 - Count(*p, magenta), 80);  // drawn, not blank
    EXPECT_GT(Count(*p, magenta), 20);        // with transparent parts
  }
  EXPECT_GT(Count(folder, yellow), 60);
  EXPECT_EQ(Count(folder, green), 0);
  EXPECT_GT(Count(target, green), 60);
  EXPECT_EQ(Count(target, yellow), 0);
  EXPECT_NE(up.data, folder.data);
  EXPECT_NE(up.data, target.data);
}

}  // namespace
