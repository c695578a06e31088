// planted.dll: what an attacker would put beside a program under the name of
// a system library. Loaded, it leaves the marker file <its own path>.loaded
// and refuses to be used, so the program goes on (or fails) without it.
// Needs nothing but kernel32, which every process has loaded before it.
#include <windows.h>

extern "C" BOOL WINAPI PlantedEntry(HINSTANCE self, DWORD reason, void*) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char marker[MAX_PATH + 8];
  DWORD length = GetModuleFileNameA(self, marker, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    lstrcatA(marker, ".loaded");
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return FALSE;
}
