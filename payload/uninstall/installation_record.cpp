#include "payload/uninstall/installation_record.h"

#include <windows.h>

#include "group/registry_keys.h"
#include "shell/bounded_text.h"

namespace {

const char kMachineRoot[] = "HKEY_LOCAL_MACHINE\\";
const char kProductKeyName[] = "Norvu";  // the last step of both entries' keys

// A string value, terminated within text; false when it is missing, of
// another type or too long.
bool ReadText(HKEY key, const char* name, char* text, DWORD size) {
  DWORD type = 0, length = size - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)text, &length) != ERROR_SUCCESS || type != REG_SZ) {
    text[0] = '\0';
    return false;
  }
  text[length] = '\0';
  return true;
}

// Reads the entry below versionKey; false when there is none.
bool ReadEntry(const char* versionKey, Installation& entry) {
  char keyPath[600];
  HKEY key;
  if (!ComposeEntryKey(keyPath, sizeof(keyPath), versionKey) ||
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  entry.versionKey = versionKey;
  ReadText(key, "Progdir", entry.progdir, sizeof(entry.progdir));
  ReadText(key, "Scdir", entry.scdir, sizeof(entry.scdir));
  RegCloseKey(key);
  return true;
}

void ReportKeyLeft(RemovalReport& report, const char* keyPath, LONG error) {
  char item[700];
  if (!ComposeText(item, kMachineRoot, keyPath)) CopyText(item, kProductKeyName);
  ReportLeft(report, item, LeftFailed, "", (unsigned long)error);
}

bool HoldsFile(const char* folder, const char* name) {
  char path[kRecordedPathSize + 16];
  if (!JoinPath(path, folder, name + 1)) return false;
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folders found, held open from their check until each is removed
// (LetGoOfFolder); none while null.
HANDLE Held[2];

// The folders on the way to folder from its drive's root, and folder
// itself, judged by their attributes (JudgeAttributes): the first that is
// not a plain folder decides. folder is a trusted path ("X:\" and plain
// steps).
FolderVerdict JudgeStepsOnDisk(const char* folder) {
  char step[kRecordedPathSize];
  if (!CopyText(step, folder)) return FolderNotFull;
  for (size_t end = 3;; ++end) {
    const char c = step[end];
    if (c != '\\' && c != '\0') continue;
    step[end] = '\0';
    const DWORD attributes = GetFileAttributesA(step);
    const FolderVerdict verdict =
        JudgeAttributes(attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0);
    if (verdict != FolderTrusted || c == '\0') return verdict;
    step[end] = c;
  }
}

// Opens folder and holds it (see LetGoOfFolder), then judges it on the
// disk: the folders on the way to it and it itself by their attributes, and
// it again through the held handle, which on Windows is the link itself
// should it be one (Wine follows a symbolic link all the same). The hold
// asks to read: an open for attributes only does not count in the sharing,
// and others could still rename or delete the folder. A system that opens
// no folder judges it by its attributes alone.
FolderVerdict HoldAndJudge(const char* folder, HeldFolder which) {
  LetGoOfFolder(which);
  if (!OpensFolders(GetVersion())) return JudgeStepsOnDisk(folder);
  HANDLE opened = CreateFileA(folder, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return JudgeAttributes(kNoAttributes, GetLastError());
  Held[which] = opened;
  FolderVerdict verdict = JudgeStepsOnDisk(folder);
  BY_HANDLE_FILE_INFORMATION info;
  if (verdict == FolderTrusted) {
    verdict = GetFileInformationByHandle(opened, &info) ? JudgeAttributes(info.dwFileAttributes, 0)
                                                        : JudgeAttributes(kNoAttributes, GetLastError());
  }
  return verdict;
}

// Holds a trusted folder that the entry names as valueName (or the
// uninstaller's own folder, as Progdir), and refuses it when the disk shows
// it reached through a link, or does not tell, or when an installation
// folder holds no uninstaller. A group folder that is not there is no
// reason to refuse: it has no shortcuts to remove.
bool HoldOnDisk(const char* valueName, const char* folder, HeldFolder which, Refusal& refusal) {
  FolderVerdict verdict = HoldAndJudge(folder, which);
  if (which == HeldInstallFolder && verdict == FolderTrusted && !HoldsFile(folder, kUninstallerName)) {
    verdict = FolderWithoutUninstaller;
  }
  if (verdict == FolderTrusted || (which == HeldGroupFolder && verdict == FolderWithoutUninstaller)) return true;
  LetGoOfFolder(which);
  Refuse(refusal, valueName, folder, verdict);
  return false;
}

bool IsEmptyKey(HKEY key) {
  DWORD subkeys = 1, values = 1;
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

// Removes Uninstall\Norvu below versionKey, then the Uninstall list itself
// when setup made it and nothing else is in it.
void RemoveEntryBelow(const char* versionKey, RemovalReport& report) {
  char listPath[600];
  HKEY list;
  if (!ComposeUninstallListKey(listPath, sizeof(listPath), versionKey) ||
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, listPath, 0, KEY_READ | KEY_WRITE, &list) != ERROR_SUCCESS) {
    return;
  }
  LONG status = RegDeleteKeyA(list, kProductKeyName);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    char entryPath[600];
    if (ComposeEntryKey(entryPath, sizeof(entryPath), versionKey)) ReportKeyLeft(report, entryPath, status);
  }
  const bool removeList = status == ERROR_SUCCESS && RemovesEmptyUninstallList(versionKey) && IsEmptyKey(list);
  RegCloseKey(list);
  HKEY version;
  if (removeList && RegOpenKeyExA(HKEY_LOCAL_MACHINE, versionKey, 0, KEY_READ | KEY_WRITE, &version) == ERROR_SUCCESS) {
    RegDeleteKeyA(version, "Uninstall");
    RegCloseKey(version);
  }
}

}  // namespace

EntryState FindInstallation(Installation& found, Refusal& refusal) {
  const char* order[2];
  EntryKeyOrder(GetVersion(), order);
  EntryState state = EntryMissing;
  for (const char* versionKey : order) {
    if (!ReadEntry(versionKey, found)) continue;
    Refusal why;
    // The disk is asked only about a folder whose path is trusted.
    if (JudgeEntry(found, why) && HoldOnDisk("Progdir", found.progdir, HeldInstallFolder, why) &&
        (found.scdir[0] == '\0' || HoldOnDisk("Scdir", found.scdir, HeldGroupFolder, why))) {
      return EntryFound;
    }
    LetGoOfFolder(HeldInstallFolder);
    if (state == EntryMissing) refusal = why;
    state = EntryRefused;
  }
  return state;
}

bool FindProductIn(const char* folder, Installation& found) {
  Refusal refusal;
  if (JudgeFolder(folder) != FolderTrusted || !HoldOnDisk("Progdir", folder, HeldInstallFolder, refusal) ||
      !HoldsFile(folder, kNorvuProgramName) || !CopyText(found.progdir, folder)) {
    LetGoOfFolder(HeldInstallFolder);
    return false;
  }
  found.versionKey = nullptr;
  found.scdir[0] = '\0';
  return true;
}

void LetGoOfFolder(HeldFolder which) {
  if (Held[which] != nullptr) CloseHandle(Held[which]);
  Held[which] = nullptr;
}

void RemoveUninstallEntries(const Installation& installation, RemovalReport& report) {
  RemoveEntryBelow(installation.versionKey, report);
  const char* order[2];
  EntryKeyOrder(GetVersion(), order);
  for (const char* versionKey : order) {
    Installation other;
    if (versionKey != installation.versionKey && ReadEntry(versionKey, other) &&
        SameFolder(other.progdir, installation.progdir)) {
      RemoveEntryBelow(versionKey, report);
    }
  }
}

void RemoveAppPath(const Installation& installation, const RemovalProgress& progress, RemovalReport& report) {
  HKEY appPaths, entry;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, KEY_READ | KEY_WRITE, &appPaths) != ERROR_SUCCESS) return;
  char folder[kRecordedPathSize] = "";
  if (RegOpenKeyExA(appPaths, kProductKeyName, 0, KEY_READ, &entry) == ERROR_SUCCESS) {
    ReadText(entry, "Path", folder, sizeof(folder));
    RegCloseKey(entry);
    if (MayRemoveAppPath(progress, folder, installation.progdir)) {
      LONG status = RegDeleteKeyA(appPaths, kProductKeyName);
      char keyPath[600];
      if (status != ERROR_SUCCESS && ComposeText(keyPath, kAppPathsKey, "\\", kProductKeyName)) {
        ReportKeyLeft(report, keyPath, status);
      }
    }
  }
  RegCloseKey(appPaths);
}
