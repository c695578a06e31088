#include "group/registration.h"

#include <windows.h>

#include "group/group_paths.h"
#include "group/registry_keys.h"
#include "install/payload_table.h"
#include "resources/product_version.h"
#include "shell/bounded_text.h"
#include "shell/setup_state.h"
#include "shell/texts.h"

namespace {

const REGSAM kReadWrite = KEY_READ | KEY_WRITE;

// Strings are stored with their terminator.
void SetText(HKEY key, const char* name, const char* text) {
  RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, lstrlenA(text) + 1);
}

// Creates the key or opens it when it exists (a second installation).
bool CreateSubkey(HKEY parent, const char* name, HKEY* key) {
  return RegCreateKeyExA(parent, name, 0, (LPSTR)"", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key,
                         nullptr) == ERROR_SUCCESS;
}

// The installed files as they are on the disk, in KB of 1024 bytes as the
// system's list counts them. A file that is not there counts nothing.
DWORD InstalledKB() {
  DWORD bytes = 0;
  char path[512];
  for (const char* name : PayloadTable.destination) {
    WIN32_FIND_DATAA found;
    HANDLE search = ComposeText(path, InstallDir, name) ? FindFirstFileA(path, &found) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) continue;
    bytes += found.nFileSizeLow;
    FindClose(search);
  }
  return (bytes + 1023) / 1024;
}

// What the system's list shows beside the name: the program's icon, the
// version, the folder and the size; and neither Change nor Repair, which
// the uninstaller does not offer.
void WriteListDetails(HKEY entry) {
  char icon[512];
  if (ComposeText(icon, InstallDir, kNorvuProgramName, ",0")) SetText(entry, "DisplayIcon", icon);
  SetText(entry, "DisplayVersion", NORVU_VERSION);
  SetText(entry, "InstallLocation", InstallDir);
  static const char* const kNumbers[] = {"EstimatedSize", "NoModify", "NoRepair"};
  DWORD number = InstalledKB();
  for (const char* name : kNumbers) {
    RegSetValueExA(entry, name, 0, REG_DWORD, (const BYTE*)&number, sizeof(number));
    number = 1;  // the two flags
  }
}

bool OpenMachineKey(const char* path, HKEY* key) {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, kReadWrite, key) == ERROR_SUCCESS;
}

// listed: the entry in the system's list of programs, which runs
// UninstallString as a command line: quoted there, so that a path with
// spaces cannot start "C:\Program.exe" instead, and with the details that
// list shows. The uninstaller reads Scdir and Progdir from either entry.
void WriteUninstallEntry(HKEY versionKey, bool haveUninstaller, bool listed) {
  HKEY entry;
  if (!CreateSubkey(versionKey, kUninstallSubkey, &entry)) return;
  SetText(entry, "DisplayName", kProductName);
  char text[sizeof(LinkTarget) + 2];  // LinkTarget quoted, whatever its length
  const char* uninstaller = listed && ComposeText(text, "\"", LinkTarget, "\"") ? text : LinkTarget;
  if (haveUninstaller) SetText(entry, "UninstallString", uninstaller);
  SetText(entry, "Scdir", GroupDir);
  SetText(entry, "Progdir", InstallDir);
  if (listed) WriteListDetails(entry);
  RegCloseKey(entry);
}

void WriteAppPath() {
  HKEY appPaths, entry;
  if (!OpenMachineKey(kAppPathsKey, &appPaths)) return;
  if (CreateSubkey(appPaths, kProductName, &entry)) {
    char program[512];
    if (ComposeText(program, InstallDir, "\\", kProductName)) SetText(entry, "", program);
    SetText(entry, "Path", InstallDir);
    RegCloseKey(entry);
  }
  RegCloseKey(appPaths);
}

}  // namespace

void RegisterProduct() {
  const char* versionKey = VersionKeyFor(WinVersion);
  HKEY key;
  if (!OpenMachineKey(versionKey, &key)) {
    ComposeText(MessageText, "Couldn't create key in registry\n", versionKey);
    MessageBoxA(MainWindow, MessageText, nullptr, MB_OK);
    return;
  }
  // An uninstaller path too long to compose is left out rather than stale.
  bool haveUninstaller = ComposeText(LinkTarget, InstallDir, kUninstallerName);
  WriteUninstallEntry(key, haveUninstaller, false);
  RegCloseKey(key);
  // The system's list of programs is the Uninstall list below the Windows
  // key; Windows 95 has it there already, NT-class systems get it too.
  if (versionKey != kWindowsVersionKey && OpenMachineKey(kWindowsVersionKey, &key)) {
    WriteUninstallEntry(key, haveUninstaller, true);
    RegCloseKey(key);
  }
  WriteAppPath();
}
