// planted.dll: what an attacker would put beside a program under the name of
// a system library. Loaded, it leaves the marker <its own path>.loaded and
// refuses to be used. It needs nothing but kernel32.
#include <windows.h>

extern "C" BOOL WINAPI PlantedEntry(HINSTANCE self, DWORD reason, void*) {
  char marker[MAX_PATH + 8];
  DWORD length = GetModuleFileNameA(self, marker, MAX_PATH);
  if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
    lstrcatA(marker, ".loaded");
    CloseHandle(CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return FALSE;
}
