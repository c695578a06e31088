#include "destination/browse_dialog.h"
#include "destination/drive_list.h"
#include "destination/drive_table.h"
#include "destination/folder_rights.h"
#include "destination/install_dir.h"
#include "resource.h"
#include "shell/bounded_text.h"
#include "shell/message_map.h"
#include "shell/page_look.h"
#include "shell/pages.h"
#include "shell/setup_state.h"
#include "shell/texts.h"

namespace {

const char kNoFolderName[] = "You were forgoten to select an directory";
const char kCreateFailed[] = "Directory allready exsist or disk isn't writeable.\nContinue with installation anyway";
// After the folder's name: one that another user owns, or a link to
// another folder, is refused; the page stays for another choice.
const char kForeignFolder[] = "\nbelongs to another user or leads to another folder.\nPlease choose another folder.";

// Recomposes InstallDir from the browse path and folder name and shows it.
// Browse paths are kept short enough that the composition always fits.
void ShowInstallDir(HWND page) {
  ComposeInstallDir(InstallDir, sizeof(InstallDir), BrowsePath, FolderName);
  SetDlgItemTextA(page, IDC_PATH, InstallDir);
}

LRESULT OnDestinationInit(HWND page, UINT, WPARAM, LPARAM) {
  BuildDriveTable();
  CopyText(FolderName, kProductName);
  DirSecurity.nLength = sizeof(DirSecurity);
  DirSecurity.lpSecurityDescriptor = nullptr;
  DirSecurity.bInheritHandle = FALSE;
  ShowInstallDir(page);
  // The directory is always composed from the browse path and the name, so
  // the field only shows it: what is shown is what will be created.
  SendDlgItemMessageA(page, IDC_PATH, EM_SETREADONLY, TRUE, 0);
  return 1;
}

LRESULT OnDestinationBrowse(HWND page, int, int, LPARAM) {
  ShowBrowseDialog(page);
  ShowInstallDir(page);
  return 0;
}

void OnDestinationNext(HWND page) {
  if (FolderName[0] == '\0') {
    MessageBoxA(page, kNoFolderName, kSetupCaption, MB_ICONWARNING);
    // Posted, so that it comes after the page is active again and the
    // dialog manager has put back the focus it had before the box.
    PostMessageA(page, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(page, IDC_PATH), TRUE);
    return;
  }
  if (!HasRoomForInstall(FreeKB)) {
    MessageBoxA(page, kNotEnoughSpace, kSetupCaption, MB_ICONERROR | MB_YESNO);
    return;
  }
  ShowInstallDir(page);
  if (CreateInstallFolder(InstallDir)) {
    EndDialog(page, 0);
  } else if (!MayInstallInto(InstallDir)) {
    ComposeText(MessageText, InstallDir, kForeignFolder);
    MessageBoxA(page, MessageText, kSetupCaption, MB_ICONERROR);
  } else if (MessageBoxA(page, kCreateFailed, kSetupCaption, MB_ICONQUESTION | MB_YESNO) != IDNO) {
    EndDialog(page, 0);
  }
}

LRESULT OnDestinationCommand(HWND page, int id, int, LPARAM) {
  if (id == IDOK) {
    OnDestinationNext(page);
  } else if (ConfirmCancelSetup(page)) {
    EndDialog(page, 1);
  }
  return 0;
}

const CommandEntry kDestinationCommands[] = {
    {IDOK, OnDestinationCommand},
    {IDCANCEL, OnDestinationCommand},
    {IDC_BROWSE, OnDestinationBrowse},
};
const CommandMap kDestinationCommandMap = MAP_OF(kDestinationCommands, DefaultNone);

LRESULT OnDestinationCommandMessage(HWND page, UINT, WPARAM wParam, LPARAM lParam) {
  return CommandDispatch(&kDestinationCommandMap, page, wParam, lParam);
}

const MessageEntry kDestinationMessages[] = {
    {WM_COMMAND, OnDestinationCommandMessage},
    {WM_INITDIALOG, OnDestinationInit},
    {WM_PAINT, PaintPanel},
    {WM_CTLCOLOREDIT, PanelControlColour},
    {WM_CTLCOLORSTATIC, PanelControlColour},
};
const MessageMap kDestinationMessageMap = MAP_OF(kDestinationMessages, DefaultNone);

INT_PTR CALLBACK DestinationDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kDestinationMessageMap, page, message, wParam, lParam);
}

}  // namespace

PageResult ShowDestinationPage(HWND owner) {
  return DialogBoxParamA(Instance, "IDD_DIR", owner, DestinationDlgProc, 0);
}
