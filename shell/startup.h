// What the process entry of setup.exe and unsetup.exe (shell/startup.cpp)
// offers both programs besides starting them.
#pragma once
#include <windows.h>

// A kernel32 function that older systems lack, looked up by name when it is
// needed, so that the program still starts there; null where it is missing.
FARPROC KernelFunction(const char* name);
