// The process entry of setup.exe and unsetup.exe. The system loads the
// image with its uninitialised data already zero-filled, and the programs
// have no static constructors or destructors (the build refuses them), so
// the C runtime's own start-up (argument parsing, TLS callbacks,
// pseudo-relocations, floating point set-up) would only add kilobytes: the
// entry calls WinMain directly and ends the process with its result.
#include "shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

// The command line after the program's own name, which may be quoted.
static LPSTR ArgumentsOf(LPSTR line) {
  bool quoted = false;
  for (; *line != '\0'; ++line) {
    if (*line == '"') quoted = !quoted;
    else if (*line == ' ' && !quoted) break;
  }
  while (*line == ' ') ++line;
  return line;
}

typedef BOOL(WINAPI* SetDefaultDllDirectoriesCall)(DWORD flags);
typedef BOOL(WINAPI* SetDllDirectoryCall)(LPCSTR path);

// Both programs run elevated from folders where anyone can drop files (a
// Downloads folder, the temporary folder), and Windows looks for a library
// that is not one of its KnownDLLs in the program's own folder first. From
// here on every library loaded by name comes from the system folder only
// (Windows 8 and later, 7 and Vista with their 2011 loader update); where
// that is not to be had, the current folder at least leaves the search
// (XP SP1 and later). Older systems have neither call.
static void SearchLibrariesInSystemFolderOnly() {
  SetDefaultDllDirectoriesCall systemOnly = (SetDefaultDllDirectoriesCall)KernelFunction("SetDefaultDllDirectories");
  if (systemOnly != nullptr && systemOnly(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  SetDllDirectoryCall noCurrentFolder = (SetDllDirectoryCall)KernelFunction("SetDllDirectoryA");
  if (noCurrentFolder != nullptr) noCurrentFolder("");
}

FARPROC KernelFunction(const char* name) { return GetProcAddress(GetModuleHandleA("kernel32.dll"), name); }

extern "C" void WINAPI SetupEntry() {
  // A drive without a medium (an empty floppy or CD drive) is to give an
  // empty answer: without this, Windows stops the program on it with its
  // own "There is no disk in the drive" box. (Wine shows no such box.)
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SearchLibrariesInSystemFolderOnly();
  ExitProcess((UINT)WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()), SW_SHOWDEFAULT));
}
