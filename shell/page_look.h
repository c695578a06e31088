// The look the four pages share: the side-panel picture behind the controls
// and green text on dark blue in their fields.
#pragma once
#include <windows.h>

extern HBITMAP PanelBitmap;  // IDB_KOSMAR, 556 x 384, 24 bits
extern SIZE PanelSize;       // its size in pixels, zero when it did not load
extern HBRUSH PanelBrush;    // dark blue background of the page fields

// Made once by the first page; kept until the process ends.
void LoadPanelLook();
LRESULT PaintPanel(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT PanelControlColour(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "Are you sure you want to cancel the setup?": true on Yes.
bool ConfirmCancelSetup(HWND owner);
