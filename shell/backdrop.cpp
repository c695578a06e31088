#include "shell/backdrop.h"

#include "shell/backdrop_gradient.h"
#include "shell/setup_state.h"
#include "shell/texts.h"

HGLOBAL BackdropInfo;
HPALETTE BackdropPalette;
HBITMAP BackdropBitmap;
unsigned char* BackdropBits;
HFONT TitleFont;
int TitlePending;

namespace {

const COLORREF kTitleShadow = 0x00800000;  // navy
const COLORREF kTitleFace = 0x02FF0000;    // full blue, matched in the palette

struct BlueInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

// Palette of 256 pure blues; returns none when it cannot be made. The colour
// table is filled whenever the palette block could be had.
HPALETTE MakeBluePalette(BlueInfo* info) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  LOGPALETTE* palette = block ? (LOGPALETTE*)GlobalLock(block) : nullptr;
  if (palette == nullptr) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  palette->palVersion = 0x300;
  palette->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) {
    palette->palPalEntry[i].peRed = 0;
    palette->palPalEntry[i].peGreen = 0;
    palette->palPalEntry[i].peBlue = (BYTE)i;
    palette->palPalEntry[i].peFlags = PC_NOCOLLAPSE;
    info->colours[i].rgbBlue = (BYTE)i;
    info->colours[i].rgbGreen = 0;
    info->colours[i].rgbRed = 0;
    info->colours[i].rgbReserved = 4;
  }
  HPALETTE result = CreatePalette(palette);
  GlobalUnlock(block);
  GlobalFree(block);
  return result;
}

}  // namespace

void BuildBackdrop(HWND window) {
  BackdropInfo = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BlueInfo));
  BlueInfo* info = BackdropInfo ? (BlueInfo*)GlobalLock(BackdropInfo) : nullptr;
  if (info == nullptr) return;

  BITMAPINFOHEADER& h = info->header;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = ScreenWidth;
  h.biHeight = ScreenHeight;  // positive: bottom-up rows
  h.biPlanes = 1;
  h.biBitCount = 8;
  h.biCompression = BI_RGB;
  h.biSizeImage = DibStride(ScreenWidth, 8) * ScreenHeight;
  h.biClrUsed = 256;

  BackdropPalette = MakeBluePalette(info);

  HDC dc = GetDC(window);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, (BITMAPINFO*)info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(window, dc);
  if (section == nullptr || bits == nullptr) {
    if (section) DeleteObject(section);
  } else {
    BackdropBitmap = section;
    BackdropBits = (unsigned char*)bits;
    // Without a palette the image stays black, as a new section is.
    if (BackdropPalette && h.biHeight > 0)
      FillGradient(BackdropBits, h.biWidth, h.biHeight, h.biSizeImage / h.biHeight);
  }
  GlobalUnlock(BackdropInfo);
}

HFONT CreateTitleFont() {
  LOGFONTA font = {};
  font.lfHeight = 42;
  font.lfWidth = 20;
  font.lfWeight = FW_HEAVY;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_ROMAN;
  return CreateFontIndirectA(&font);
}

// Draws the title into the image itself, once: later paints only copy it.
static void DrawTitleIntoImage(HDC paintDC) {
  HDC memory = CreateCompatibleDC(paintDC);
  HPALETTE oldPalette = BackdropPalette ? SelectPalette(memory, BackdropPalette, FALSE) : nullptr;
  HGDIOBJ oldBitmap = SelectObject(memory, BackdropBitmap);
  HGDIOBJ oldFont = SelectObject(memory, TitleFont);
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, kTitleShadow);
  TextOutA(memory, 10, 10, kSetupCaption, sizeof(kSetupCaption) - 1);
  SetTextColor(memory, kTitleFace);
  TextOutA(memory, 13, 11, kSetupCaption, sizeof(kSetupCaption) - 1);
  if (oldFont) SelectObject(memory, oldFont);
  if (oldPalette) SelectPalette(memory, oldPalette, FALSE);
  if (oldBitmap) SelectObject(memory, oldBitmap);
  DeleteDC(memory);
}

LRESULT PaintBackdrop(HWND window, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (BackdropBitmap) {
    if (TitlePending == 1) {
      TitlePending = 0;
      DrawTitleIntoImage(dc);
    }
    BlitBackdrop(dc);
  }
  EndPaint(window, &paint);
  return 0;
}

LRESULT BlitBackdrop(HDC dc) {
  HDC memory = CreateCompatibleDC(dc);
  HPALETTE oldPalette = nullptr, oldMemoryPalette = nullptr;
  if (BackdropPalette) {
    oldPalette = SelectPalette(dc, BackdropPalette, FALSE);
    RealizePalette(dc);
    oldMemoryPalette = SelectPalette(memory, BackdropPalette, FALSE);
  }
  HGDIOBJ oldBitmap = SelectObject(memory, BackdropBitmap);
  BitBlt(dc, 0, 0, ScreenWidth, ScreenHeight, memory, 0, 0, SRCCOPY);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  if (oldMemoryPalette) SelectPalette(memory, oldMemoryPalette, FALSE);
  if (oldBitmap) SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  return 0;
}
