// What a test under Wine asks of the Unix machine that runs it (as root):
// its paths and its programs, to make what Win32 calls cannot, such as a
// symbolic link or a folder of another user.
#pragma once
#include <windows.h>

#include <string>

// The Unix path of a Windows one, from Wine's own kernel32; "" without Wine.
inline std::string UnixPath(const std::string& path) {
  typedef char*(CDECL * UnixFileName)(LPCWSTR);
  UnixFileName unixName = (UnixFileName)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
  wchar_t wide[MAX_PATH];
  if (!unixName || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return "";
  char* name = unixName(wide);
  std::string unix = name ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return unix;
}

// Runs a program of the Unix host (Wine starts those too) and waits until
// done() holds, for up to ten seconds: Wine gives no handle to wait on.
template <typename Done> bool RunOnHost(std::string commandLine, Done done) {
  STARTUPINFOA startup = {sizeof(startup)};
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return false;
  }
  if (started.hThread) CloseHandle(started.hThread);
  if (started.hProcess) CloseHandle(started.hProcess);
  for (int i = 0; i < 100 && !done(); ++i) Sleep(100);
  return done();
}
