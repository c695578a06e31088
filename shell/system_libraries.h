// COMCTL32 and LZ32 are not among the KnownDLLs, the libraries that Windows
// always takes from its system folder: imported by name, they would be
// looked for first in the folder the program was started from, where anyone
// can put a DLL of that name. They are loaded here by full path from the
// system folder instead, and the few functions setup uses are taken from
// them by name.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <lzexpand.h>

// Loads both. Returns null, or the file name of the library that could not
// be loaded (or lacks a function), when setup cannot run.
const char* LoadSystemLibraries();

// The functions, set by LoadSystemLibraries.
extern decltype(&InitCommonControls) InitCommonControlsCall;
extern decltype(&ImageList_Create) ImageListCreate;
extern decltype(&ImageList_ReplaceIcon) ImageListReplaceIcon;
extern decltype(&LZInit) LzInit;
extern decltype(&LZCopy) LzCopy;
extern decltype(&LZClose) LzClose;
