#pragma once
#include <windows.h>

// Runs the Browse dialog over owner; its changes to the drive, the browse
// path and the folder name stand whichever button closes it.
void ShowBrowseDialog(HWND owner);
