#include "shell/page_look.h"

#include "shell/setup_state.h"
#include "shell/texts.h"

HBITMAP PanelBitmap;
SIZE PanelSize;
HBRUSH PanelBrush;

static const COLORREF kFieldText = 0x0000FF00;        // green
static const COLORREF kFieldBackground = 0x00880000;  // dark blue

void LoadPanelLook() {
  PanelBitmap = LoadBitmapA(Instance, "IDB_KOSMAR");
  BITMAP info;
  if (PanelBitmap && GetObjectA(PanelBitmap, sizeof(info), &info)) {
    PanelSize.cx = info.bmWidth;
    PanelSize.cy = info.bmHeight;
  }
  PanelBrush = CreateSolidBrush(kFieldBackground);
}

LRESULT PaintPanel(HWND dialog, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, PanelBitmap);
  BitBlt(dc, 0, 0, PanelSize.cx, PanelSize.cy, memory, 0, 0, SRCCOPY);
  if (old) SelectObject(memory, old);
  DeleteDC(memory);
  EndPaint(dialog, &paint);
  return 0;
}

LRESULT PanelControlColour(HWND, UINT, WPARAM wParam, LPARAM) {
  HDC dc = (HDC)wParam;
  SetTextColor(dc, kFieldText);
  SetBkColor(dc, kFieldBackground);
  return (LRESULT)PanelBrush;
}

bool ConfirmCancelSetup(HWND owner) {
  return MessageBoxA(owner, kConfirmCancel, kSetupCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
