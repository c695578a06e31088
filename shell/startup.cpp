// The process entry of setup.exe. The system loads the image with its
// uninitialised data already zero-filled, and the program has no static
// constructors or destructors, so the C runtime's own start-up (argument
// parsing, TLS callbacks, pseudo-relocations, floating point set-up) would
// only add kilobytes: the entry calls WinMain directly and ends the process
// with its result.
#include <windows.h>

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

extern "C" void WINAPI SetupEntry() {
  ExitProcess((UINT)WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()), SW_SHOWDEFAULT));
}
