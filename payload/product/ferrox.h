// The Ferrox engine library's entry that norvu.exe calls: the engine's name
// and version as text.
#pragma once
#include <windows.h>

typedef const char*(WINAPI* FerroxVersionProc)();
