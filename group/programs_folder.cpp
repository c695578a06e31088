#include "group/programs_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "group/group_paths.h"
#include "shell/bounded_text.h"

namespace {

typedef BOOL(WINAPI* SpecialFolderPath)(HWND owner, LPSTR path, int folder, BOOL create);

// The shell's name of a special folder, or null. The function is looked up
// at run time: the first shell of Windows 95 and NT 4 does not have it.
// shell32 is imported, so the module loaded already is the one taken.
const char* ShellFolder(int folder, char (&path)[MAX_PATH]) {
  SpecialFolderPath lookup =
      (SpecialFolderPath)GetProcAddress(GetModuleHandleA("shell32.dll"), "SHGetSpecialFolderPathA");
  return lookup && lookup(nullptr, path, folder, FALSE) ? path : nullptr;
}

}  // namespace

void FindProgramsFolder(char* dest, size_t size, const char* windowsDir) {
  char underWindows[512] = "";
  ComposeProgramsUnderWindows(underWindows, sizeof(underWindows), windowsDir);
  DWORD attributes = GetFileAttributesA(underWindows);
  bool exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  char common[MAX_PATH], user[MAX_PATH];
  const char* chosen = underWindows;
  if (!exists) {
    chosen = ChooseProgramsFolder(underWindows, exists, ShellFolder(CSIDL_COMMON_PROGRAMS, common),
                                  ShellFolder(CSIDL_PROGRAMS, user));
  }
  CopyText(dest, size, chosen);
}
