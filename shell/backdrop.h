// The backdrop: a screen-sized 8-bit blue gradient with the title drawn in
// once, shown by one block transfer per paint.
#pragma once
#include <windows.h>

extern HGLOBAL BackdropInfo;        // header and 256-entry colour table
extern HPALETTE BackdropPalette;    // 256 pure blue shades, or none
extern HBITMAP BackdropBitmap;      // the DIB section, or none
extern unsigned char* BackdropBits; // its pixel rows, bottom-up
extern HFONT TitleFont;             // heavy serif title font
extern int TitlePending;            // 1 until the title is drawn into the image

void BuildBackdrop(HWND window);
HFONT CreateTitleFont();
LRESULT PaintBackdrop(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT BlitBackdrop(HDC dc);
