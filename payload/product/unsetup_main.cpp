// unsetup.exe: the product's uninstaller. For now it only says where Norvu
// is and how to remove it by hand.
#include <windows.h>

#include "shell/bounded_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) CopyText(program, "unsetup.exe");
  char message[MAX_PATH + 200];
  if (!ComposeText(message, "This uninstaller (", program,
                   ") cannot remove Norvu automatically yet.\n\nTo remove Norvu, delete the folder that "
                   "holds this program and the Norvu program group.")) {
    CopyText(message, "This uninstaller cannot remove Norvu automatically yet.");
  }
  MessageBoxA(nullptr, message, "Norvu Uninstall", MB_OK | MB_ICONINFORMATION);
  return 0;
}
