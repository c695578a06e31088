// unsetup.exe: removes Norvu as setup installed it. Started without
// arguments (from the "Uninstall" shortcut), it finds the installation in
// the registry, asks, and goes on from a copy of itself in the temporary
// folder, which removes the files, shortcuts, folders and entries.
#include <windows.h>

#include "payload/uninstall/continuation.h"
#include "payload/uninstall/installation_record.h"
#include "payload/uninstall/removal.h"
#include "payload/uninstall/self_copy.h"
#include "payload/uninstall/uninstall_texts.h"

namespace {

Installation Found;

void Say(const char* text, UINT icon) { MessageBoxA(nullptr, text, kUninstallCaption, MB_OK | icon | MB_SETFOREGROUND); }

// Finds the installation, or says why there is nothing to remove.
bool FindOrExplain() {
  switch (FindInstallation(Found)) {
    case EntryFound:
      return true;
    case EntryUnusable:
      Say(kUnknownFolderText, MB_ICONERROR);
      return false;
    default:
      Say(kNotInstalledText, MB_ICONINFORMATION);
      return false;
  }
}

bool UserAgrees() {
  char question[1024];
  if (!ComposeQuestion(question, sizeof(question), Found.progdir)) return false;
  return MessageBoxA(nullptr, question, kUninstallCaption, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  unsigned long firstProcess;
  if (ParseContinuation(arguments, &firstProcess)) {
    WaitForFirstProcess(firstProcess);
    if (FindOrExplain()) RemoveInstallation(Found);
    return 0;
  }
  if (FindOrExplain() && UserAgrees() && !StartCopyInTemporaryFolder()) Say(kNoCopyText, MB_ICONERROR);
  return 0;
}
