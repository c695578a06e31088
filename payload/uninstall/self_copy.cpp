#include "payload/uninstall/self_copy.h"

#include <windows.h>
#include <tlhelp32.h>

#include "payload/uninstall/continuation.h"
#include "shell/bounded_text.h"
#include "shell/private_folder.h"
#include "shell/startup.h"

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

// kernel32's functions that older systems lack, looked up when needed so
// that the program still starts there: GetProcessId came with Windows XP
// SP1, the tool-help snapshot with Windows 2000 on the NT line.
typedef DWORD(WINAPI* ProcessIdFunction)(HANDLE);
typedef HANDLE(WINAPI* SnapshotFunction)(DWORD, DWORD);
typedef BOOL(WINAPI* WalkFunction)(HANDLE, PROCESSENTRY32*);

// The id of the process that started this one, from a snapshot; 0 when
// unknown.
DWORD ParentProcessId(SnapshotFunction snapshot, WalkFunction first, WalkFunction next) {
  HANDLE all = snapshot(TH32CS_SNAPPROCESS, 0);
  if (all == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof(entry);
  DWORD parent = 0;
  for (BOOL more = first(all, &entry); more; more = next(all, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  CloseHandle(all);
  return parent;
}

}  // namespace

bool StartCopyInTemporaryFolder(const char* folder) {
  char self[MAX_PATH], temp[MAX_PATH], own[MAX_PATH], copy[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  length = GetTempPathA(MAX_PATH, temp);
  // A new folder, so that nobody can have put a library beside the copy,
  // or a program of their own in its place, before it starts.
  if (length == 0 || length >= MAX_PATH || !MakePrivateFolder(own, sizeof(own), temp)) return false;
  // The copy asks whether its handle is its parent's: query rights too.
  HANDLE first = nullptr;
  char commandLine[1100];
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started;
  // The temporary folder as its current folder: a process's current folder
  // cannot be removed, and the installation folder is to go.
  const bool running =
      JoinPath(copy, own, "unsetup.exe") && CopyFileA(self, copy, TRUE) &&
      DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &first,
                      SYNCHRONIZE | PROCESS_QUERY_INFORMATION, TRUE, 0) &&
      ComposeContinuation(commandLine, sizeof(commandLine), copy, (unsigned long)(UINT_PTR)first, folder) &&
      CreateProcessA(copy, commandLine, nullptr, nullptr, TRUE, 0, nullptr, temp, &startup, &started);
  if (first != nullptr) CloseHandle(first);  // the copy has its own now
  if (!running) {
    DeleteFileA(copy);
    RemoveDirectoryA(own);
    return false;
  }
  // The file first: the folder goes only once it is empty.
  ScheduleRemovalAtRestart(copy);
  ScheduleRemovalAtRestart(own);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

bool IsStartedByWaitingUninstaller(unsigned long processHandle) {
  HANDLE first = (HANDLE)(UINT_PTR)processHandle;
  ProcessIdFunction processId = (ProcessIdFunction)KernelFunction("GetProcessId");
  SnapshotFunction snapshot = (SnapshotFunction)KernelFunction("CreateToolhelp32Snapshot");
  WalkFunction walkFirst = (WalkFunction)KernelFunction("Process32First");
  WalkFunction walkNext = (WalkFunction)KernelFunction("Process32Next");
  // Without them, at least a number that is no handle to wait on is refused.
  if (processId == nullptr || snapshot == nullptr || walkFirst == nullptr || walkNext == nullptr) {
    return WaitForSingleObject(first, 0) != WAIT_FAILED;
  }
  const DWORD id = processId(first);
  return id != 0 && id == ParentProcessId(snapshot, walkFirst, walkNext);
}

void WaitForFirstProcess(unsigned long processHandle) {
  HANDLE first = (HANDLE)(UINT_PTR)processHandle;
  if (WaitForSingleObject(first, kFirstProcessWait) != WAIT_FAILED) CloseHandle(first);
}
