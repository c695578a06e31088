#include "install/progress_meter.h"

#include "install/meter_count.h"
#include "shell/bounded_text.h"

HWND MeterWindow;

namespace {

const COLORREF kBarColour = 0xFF0000;   // blue
const COLORREF kTextColour = 0xFFFFFF;  // white
const int kBarTop = 2;
const int kBarBottom = 18;
const int kTextTop = 1;

HDC MeterDC;
HBRUSH MeterBrush;
HGDIOBJ MeterPrevObject;
MeterCount Meter;
char MeterText[12];  // the percentage, "0" to "100"

}  // namespace

void MeterInit(int steps) {
  RECT client;
  GetClientRect(MeterWindow, &client);
  MeterCountStart(&Meter, client.right, steps);
  MeterDC = GetDC(MeterWindow);
  MeterBrush = CreateSolidBrush(kBarColour);
  MeterPrevObject = SelectObject(MeterDC, MeterBrush);
}

void MeterStep() {
  MeterCountAdvance(&Meter);
  RECT fill = {0, kBarTop, Meter.fillRight, kBarBottom};
  FillRect(MeterDC, &fill, MeterBrush);

  int percent;
  if (!MeterCountPercent(&Meter, &percent)) return;
  // The control paints the unfilled rest black again when the page next
  // pumps messages, which also wipes the old percentage there.
  RECT rest = {Meter.fillRight, kBarTop, Meter.width, kBarBottom};
  InvalidateRect(MeterWindow, &rest, TRUE);
  SetBkMode(MeterDC, TRANSPARENT);
  SetTextColor(MeterDC, kTextColour);
  MeterText[0] = '\0';
  AppendNumber(MeterText, sizeof(MeterText), (unsigned long)percent);
  int length = lstrlenA(MeterText);
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(MeterDC, MeterText, length, &extent);
  TextOutA(MeterDC, MeterTextLeft(Meter.width, extent.cx), kTextTop, MeterText, length);
}

void MeterRelease() {
  if (MeterPrevObject) SelectObject(MeterDC, MeterPrevObject);
  ReleaseDC(MeterWindow, MeterDC);
  if (MeterBrush) DeleteObject(MeterBrush);
  MeterDC = nullptr;
  MeterBrush = nullptr;
  MeterPrevObject = nullptr;
}
