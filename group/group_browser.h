#pragma once
#include <windows.h>

// The program group browser: walks the folders below GroupPath, changing it
// in place. OK, Cancel and the caption's close button all keep every step.
void RunGroupBrowser(HWND owner);
