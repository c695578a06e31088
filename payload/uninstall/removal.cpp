#include "payload/uninstall/removal.h"

#include <windows.h>

#include "payload/uninstall/installation_record.h"
#include "shell/bounded_text.h"

namespace {

RemovalProgress Progress;
RemovalReport Report;

// The error of opening path for deletion, 0 when it opens. Windows answers
// "access denied" both for a running program's file, which opens, and for a
// file that this user may not delete, which does not.
DWORD OpenForDeletionError(const char* path) {
  HANDLE item = CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (item == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(item);
  return 0;
}

// Removes a file, or a folder that is empty. A failure is put to the user
// with Retry and Cancel; Cancel leaves the item and reports it. True when it
// has gone (or was not there).
bool RemoveItem(const char* path, bool folder) {
  for (;;) {
    if (!folder) {
      // Our own file, write-protected by someone: it goes all the same.
      const DWORD attributes = GetFileAttributesA(path);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
      }
    }
    if (folder ? RemoveDirectoryA(path) : DeleteFileA(path)) return true;
    const DWORD error = GetLastError();
    const RemovalOutcome outcome =
        ClassifyRemovalError(error, error == ERROR_ACCESS_DENIED ? OpenForDeletionError(path) : 0);
    if (outcome == RemovalGone) return true;
    char prompt[1024];
    if (!ComposeRetryPrompt(prompt, sizeof(prompt), path, outcome, error)) CopyText(prompt, path);
    if (MessageBoxA(nullptr, prompt, kUninstallCaption, MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND) !=
        IDRETRY) {
      const LeftReason reason =
          outcome == RemovalInUse ? LeftInUse : outcome == RemovalNoRights ? LeftNoRights : LeftFailed;
      ReportLeft(Report, path, reason, "", error);
      return false;
    }
  }
}

// folder + "\" + name (which starts with a backslash in setup's tables).
bool RemoveNamed(const char* folder, const char* name, bool isFolder) {
  char path[kRecordedPathSize + 64];
  if (!JoinPath(path, folder, name + 1)) {
    ReportLeft(Report, name + 1, LeftFailed, "", ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  return RemoveItem(path, isFolder);
}

// Removes the folder when it is empty. Otherwise it stays; the user's files
// in it are named in the report (setup's own files that stayed are
// reported already).
void RemoveFolderIfEmpty(const char* folder, FolderKind kind) {
  FolderListing listing;
  StartListing(listing);
  char pattern[kRecordedPathSize + 4];
  WIN32_FIND_DATAA found;
  HANDLE search = JoinPath(pattern, folder, "*") ? FindFirstFileA(pattern, &found) : INVALID_HANDLE_VALUE;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      AddListedEntry(listing, kind, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (listing.entries == 0) {
    RemoveItem(folder, true);
  } else if (listing.othersCount > 0) {
    char others[sizeof(listing.others) + 40];
    if (!DescribeOthers(others, sizeof(others), listing)) CopyText(others, "...");
    ReportLeft(Report, folder, LeftHoldsOtherFiles, others, 0);
  }
}

void RemoveGroup(const char* group) {
  if (JudgeFolder(group) != FolderTrusted) {
    ReportLeft(Report, "The program group (its folder is not recorded)", LeftFailed, "", ERROR_PATH_NOT_FOUND);
    return;
  }
  for (const Shortcut& shortcut : kShortcuts) {
    if (MayRemoveShortcut(shortcut, Progress)) RemoveNamed(group, shortcut.linkName, false);
  }
  LetGoOfFolder(HeldGroupFolder);
  RemoveFolderIfEmpty(group, GroupFolder);
}

void ShowFinalMessage(bool recorded) {
  char text[sizeof(Report.lines) + 400];
  if (!ComposeFinalMessage(text, sizeof(text), Report, Progress, recorded)) CopyText(text, kRemovedText);
  const UINT icon = AnythingLeft(Report, Progress) ? MB_ICONWARNING : MB_ICONINFORMATION;
  MessageBoxA(nullptr, text, kUninstallCaption, MB_OK | icon | MB_SETFOREGROUND);
}

}  // namespace

void RemoveInstallation(const Installation& installation) {
  StartReport(Report);
  const char* folder = installation.progdir;
  // Without an uninstall entry setup made no group and no registry entries.
  const bool recorded = installation.versionKey != nullptr;
  int order[kPayloadCount];
  FileRemovalOrder(order);
  for (int index : order) {
    Progress.fileLeft[index] =
        !MayRemoveFile(index, Progress, recorded) || !RemoveNamed(folder, PayloadTable.destination[index], false);
  }
  if (recorded) RemoveGroup(installation.scdir);
  for (const char* subfolder : SubdirTable) {
    char path[kRecordedPathSize + 16];
    if (JoinPath(path, folder, subfolder + 1)) RemoveFolderIfEmpty(path, DataFolder);
  }
  // Removed by its name once let go: only when empty, and a link put in
  // its place meanwhile would lose only itself, never what it leads to.
  LetGoOfFolder(HeldInstallFolder);
  RemoveFolderIfEmpty(folder, InstallFolder);
  if (recorded) {
    if (MayRemoveUninstallEntry(Progress)) RemoveUninstallEntries(installation, Report);
    RemoveAppPath(installation, Progress, Report);
  }
  ShowFinalMessage(recorded);
}
