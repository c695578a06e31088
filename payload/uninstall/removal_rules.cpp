#include "payload/uninstall/removal_rules.h"

#include "payload/uninstall/uninstall_entry.h"
#include "shell/bounded_text.h"

namespace {

// System error codes, as the system defines them.
const unsigned long kFileNotFound = 2, kPathNotFound = 3, kAccessDenied = 5, kSharingViolation = 32,
                    kLockViolation = 33;
// File attributes, as the system defines them.
const unsigned long kDirectory = 0x10, kReparsePoint = 0x400;

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Setup's names carry a leading backslash.
bool IsSetupEntry(FolderKind kind, const char* name) {
  if (kind == InstallFolder) {
    for (const char* file : PayloadTable.destination) {
      if (EqualNoCase(file + 1, name)) return true;
    }
    for (const char* folder : SubdirTable) {
      if (EqualNoCase(folder + 1, name)) return true;
    }
  } else if (kind == GroupFolder) {
    for (const Shortcut& shortcut : kShortcuts) {
      if (EqualNoCase(shortcut.linkName + 1, name)) return true;
    }
  }
  return false;
}

}  // namespace

int PayloadIndexOf(const char* destinationName) {
  for (int i = 0; i < kPayloadCount; ++i) {
    if (EqualNoCase(PayloadTable.destination[i], destinationName)) return i;
  }
  return -1;
}

int UninstallerIndex() { return PayloadIndexOf(kUninstallerName); }

void FileRemovalOrder(int (&order)[kPayloadCount]) {
  const int program = PayloadIndexOf(kNorvuProgramName), uninstaller = UninstallerIndex();
  int next = 0;
  for (int i = 0; i < kPayloadCount; ++i) {
    if (i != program && i != uninstaller) order[next++] = i;
  }
  if (program >= 0) order[next++] = program;
  if (uninstaller >= 0) order[next++] = uninstaller;
}

bool ProductFilesLeft(const RemovalProgress& progress) {
  const int uninstaller = UninstallerIndex();
  for (int i = 0; i < kPayloadCount; ++i) {
    if (i != uninstaller && progress.fileLeft[i]) return true;
  }
  return false;
}

bool MayRemoveFile(int index, const RemovalProgress& progress, bool recorded) {
  const int program = PayloadIndexOf(kNorvuProgramName), uninstaller = UninstallerIndex();
  if (index == uninstaller) return !ProductFilesLeft(progress);
  if (index != program || recorded) return true;
  for (int i = 0; i < kPayloadCount; ++i) {
    if (i != program && i != uninstaller && progress.fileLeft[i]) return false;
  }
  return true;
}

bool MayRemoveShortcut(const Shortcut& shortcut, const RemovalProgress& progress) {
  const int target = PayloadIndexOf(shortcut.targetName);
  return target < 0 || !progress.fileLeft[target];
}

bool MayRemoveUninstallEntry(const RemovalProgress& progress) {
  const int uninstaller = UninstallerIndex();
  return !ProductFilesLeft(progress) && (uninstaller < 0 || !progress.fileLeft[uninstaller]);
}

bool MayRemoveAppPath(const RemovalProgress& progress, const char* appPathFolder, const char* installFolder) {
  const int program = PayloadIndexOf(kNorvuProgramName);
  return (program < 0 || !progress.fileLeft[program]) && SameFolder(appPathFolder, installFolder);
}

FolderVerdict JudgeAttributes(unsigned long attributes, unsigned long error) {
  if (attributes == kNoAttributes) {
    return error == kFileNotFound || error == kPathNotFound ? FolderWithoutUninstaller : FolderUnreadable;
  }
  if (attributes & kReparsePoint) return FolderThroughLink;
  return attributes & kDirectory ? FolderTrusted : FolderWithoutUninstaller;
}

bool OpensFolders(unsigned long versionWord) { return (versionWord & 0x80000000ul) == 0; }

RemovalOutcome ClassifyRemovalError(unsigned long error, unsigned long openError) {
  switch (error) {
    case kFileNotFound:
    case kPathNotFound:
      return RemovalGone;
    case kAccessDenied:
      return openError == kAccessDenied ? RemovalNoRights : RemovalInUse;
    case kSharingViolation:
    case kLockViolation:
      return RemovalInUse;
    default:
      return RemovalFailed;
  }
}

void StartListing(FolderListing& listing) {
  listing.entries = 0;
  listing.othersCount = 0;
  listing.othersShown = 0;
  listing.others[0] = '\0';
}

void AddListedEntry(FolderListing& listing, FolderKind kind, const char* name) {
  if (IsDotEntry(name)) return;
  ++listing.entries;
  if (IsSetupEntry(kind, name)) return;
  ++listing.othersCount;
  if (listing.othersShown >= kShownNames) return;
  // A name too long for the list is counted among the "more".
  char longer[sizeof(listing.others)];
  if (ComposeText(longer, listing.others, listing.othersShown > 0 ? ", " : "", name)) {
    CopyText(listing.others, longer);
    ++listing.othersShown;
  }
}

bool DescribeOthers(char* dest, size_t size, const FolderListing& listing) {
  char text[sizeof(listing.others) + 40];
  if (!CopyText(text, listing.others)) return false;
  const int more = listing.othersCount - listing.othersShown;
  if (more > 0) {
    if (listing.othersShown > 0 && !AppendText(text, " and ")) return false;
    if (!AppendNumber(text, sizeof(text), (unsigned long)more) ||
        !AppendText(text, listing.othersShown > 0 ? " more" : (more == 1 ? " file" : " files"))) {
      return false;
    }
  }
  return CopyText(dest, size, text);
}
