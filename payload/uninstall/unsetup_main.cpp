// unsetup.exe: removes Norvu as setup installed it. Started without
// arguments (from the "Uninstall" shortcut or the system's list of
// programs), it finds the installation in the registry, or without an entry
// in its own folder, asks, and goes on from a copy of itself in the
// temporary folder, which removes the files, shortcuts, folders and entries.
#include <windows.h>

#include "payload/product/norvu_report.h"
#include "payload/uninstall/continuation.h"
#include "payload/uninstall/installation_record.h"
#include "payload/uninstall/removal.h"
#include "payload/uninstall/self_copy.h"
#include "payload/uninstall/uninstall_texts.h"
#include "shell/bounded_text.h"

namespace {

Installation Found;
Continuation Given;

void Say(const char* text, UINT icon) { MessageBoxA(nullptr, text, kUninstallCaption, MB_OK | icon | MB_SETFOREGROUND); }

// Finds the installation: the uninstall entry's (when lookInRegistry), or
// without one (or with a stale one) the product's files in folder (when
// given). Otherwise says why there is nothing to remove.
bool FindOrExplain(bool lookInRegistry, const char* folder) {
  Refusal refusal;
  const EntryState state = lookInRegistry ? FindInstallation(Found, refusal) : EntryMissing;
  if (state == EntryFound) return true;
  // An entry left from an installation that is gone (its folder holds no
  // uninstaller) is no reason to leave the one in folder.
  const bool stale = state == EntryRefused && refusal.verdict == FolderWithoutUninstaller;
  if ((state == EntryMissing || stale) && folder != nullptr && FindProductIn(folder, Found)) return true;
  if (state == EntryRefused) {
    char text[1400];
    if (!ComposeRefusal(text, sizeof(text), refusal)) CopyText(text, refusal.value);
    Say(text, MB_ICONERROR);
    return false;
  }
  Say(kNotInstalledText, MB_ICONINFORMATION);
  return false;
}

// The folder this program was started from.
const char* OwnFolder(char (&folder)[MAX_PATH]) {
  const DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  CutToFolder(folder);
  return folder;
}

bool UserAgrees() {
  char question[1024];
  if (!ComposeQuestion(question, sizeof(question), Found.progdir)) return false;
  return MessageBoxA(nullptr, question, kUninstallCaption, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  // The copy: it removes what the first process was asked to, once that has
  // ended. Anything else (the switch typed by hand) is asked about as usual.
  if (ParseContinuation(arguments, Given) && IsStartedByWaitingUninstaller(Given.processHandle)) {
    WaitForFirstProcess(Given.processHandle);
    const bool ownFolder = Given.folder[0] != '\0';
    if (FindOrExplain(!ownFolder, ownFolder ? Given.folder : nullptr)) RemoveInstallation(Found);
    return 0;
  }
  char own[MAX_PATH];
  if (FindOrExplain(true, OwnFolder(own)) && UserAgrees() &&
      !StartCopyInTemporaryFolder(Found.versionKey == nullptr ? Found.progdir : "")) {
    Say(kNoCopyText, MB_ICONERROR);
  }
  return 0;
}
