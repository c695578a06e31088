// The copy page's progress meter: a blue bar growing from the left inside a
// black rectangle control, with the percentage in white over its middle. It
// draws straight into a device context held from MeterInit to MeterRelease,
// not in answer to the control's own painting.
#pragma once
#include <windows.h>

extern HWND MeterWindow;  // the control drawn into; set before MeterInit

// Takes the device context and the brush and starts an empty bar whose width
// grows in steps of the control's width divided by steps (above 0).
void MeterInit(int steps);
// One step: moves and fills the bar, then shows the percentage.
void MeterStep();
// Gives back the device context and deletes the brush.
void MeterRelease();
