// ferrox.dll: the Ferrox engine library. Exported undecorated, as
// "FerroxVersion", for GetProcAddress.
#include "payload/product/ferrox.h"

extern "C" __declspec(dllexport) const char* WINAPI FerroxVersion() { return "Ferrox engine 1.0"; }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
