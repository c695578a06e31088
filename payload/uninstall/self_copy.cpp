#include "payload/uninstall/self_copy.h"

#include <windows.h>

#include "payload/uninstall/continuation.h"
#include "shell/bounded_text.h"

namespace {

// How long the copy waits for the first process to end. It ends right after
// starting the copy; should it hang, its file is reported as in use.
const DWORD kFirstProcessWait = 30000;

// Windows 95 has no delayed removal through MoveFileEx: its start-up
// program removes what WININIT.INI lists as "NUL=path". That file takes one
// NUL line through the profile functions, so one scheduled by another
// program is never replaced.
void ScheduleThroughWininit(const char* path) {
  char shortPath[MAX_PATH], existing[8];
  const DWORD length = GetShortPathNameA(path, shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  if (GetPrivateProfileStringA("rename", "NUL", "", existing, sizeof(existing), "wininit.ini") == 0) {
    WritePrivateProfileStringA("rename", "NUL", shortPath, "wininit.ini");
  }
}

void ScheduleRemovalAtRestart(const char* path) {
  if (!MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    ScheduleThroughWininit(path);
  }
}

}  // namespace

bool StartCopyInTemporaryFolder() {
  char self[MAX_PATH], temp[MAX_PATH], copy[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH || GetTempFileNameA(temp, "nvu", 0, copy) == 0) return false;
  // GetTempFileNameA made the file to reserve the name; the copy replaces it.
  HANDLE own = nullptr;
  char commandLine[600];
  if (!CopyFileA(self, copy, FALSE) ||
      !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &own, SYNCHRONIZE, TRUE, 0) ||
      !ComposeContinuation(commandLine, sizeof(commandLine), copy, (unsigned long)(UINT_PTR)own)) {
    if (own != nullptr) CloseHandle(own);
    DeleteFileA(copy);
    return false;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started;
  // The temporary folder as its current folder: a process's current folder
  // cannot be removed, and the installation folder is to go.
  if (!CreateProcessA(copy, commandLine, nullptr, nullptr, TRUE, 0, nullptr, temp, &startup, &started)) {
    CloseHandle(own);
    DeleteFileA(copy);
    return false;
  }
  ScheduleRemovalAtRestart(copy);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  CloseHandle(own);
  return true;
}

void WaitForFirstProcess(unsigned long processHandle) {
  HANDLE first = (HANDLE)(UINT_PTR)processHandle;
  // A handle that is not one (the switch typed by hand) fails at once.
  if (WaitForSingleObject(first, kFirstProcessWait) != WAIT_FAILED) CloseHandle(first);
}
