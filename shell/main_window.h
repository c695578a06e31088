#pragma once
#include <windows.h>

extern char AppName[10];  // "SETUP": class, menu, caption and accelerator name

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the backdrop class and creates the window; returns none on failure.
HWND CreateBackdropWindow();
