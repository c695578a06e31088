#include "destination/browse_dialog.h"

#include <commctrl.h>

#include "destination/drive_list.h"
#include "destination/drive_table.h"
#include "destination/folder_list.h"
#include "destination/install_dir.h"
#include "resource.h"
#include "shell/bounded_text.h"
#include "shell/message_map.h"
#include "shell/setup_state.h"
#include "shell/texts.h"

namespace {

HWND BrowseNameEdit;    // control 105, the folder name
HWND BrowseList;        // control 107, the folder list
HWND BrowseDriveCombo;  // control 104, the drives

void ShowFreeSpace(HWND dialog) {
  FormatFreeSpaceLabel(MessageText, sizeof(MessageText), FreeKB);
  SetDlgItemTextA(dialog, IDC_FREE_SPACE, MessageText);
}

LRESULT OnBrowseInit(HWND dialog, UINT, WPARAM, LPARAM) {
  BrowseNameEdit = GetDlgItem(dialog, IDC_FOLDER_NAME);
  BrowseList = GetDlgItem(dialog, IDC_FOLDER_LIST);
  BrowseDriveCombo = GetDlgItem(dialog, IDC_DRIVES);
  for (int i = 0; i < DriveCount; ++i) {
    const char* root = DriveTable + i * kDriveSlotSize;
    if (root[0] != '\0') SendMessageA(BrowseDriveCombo, CB_ADDSTRING, 0, (LPARAM)root);
  }
  SendMessageA(BrowseDriveCombo, CB_SETCURSEL, SelectedDrive, 0);
  ShowFreeSpace(dialog);
  CreateFolderImageList(BrowseList);
  FillFolderList(dialog, BrowseList, BrowsePath, DirectoryMode);
  // Sends EN_UPDATE, which makes FolderName "Norvu" again.
  SetWindowTextA(BrowseNameEdit, kProductName);
  return 1;
}

LRESULT OnBrowseDriveSelect(HWND dialog, int, int code, LPARAM) {
  if (code != CBN_SELENDOK) return 0;
  int k = (int)SendMessageA(BrowseDriveCombo, CB_GETCURSEL, 0, 0);
  if (k < 0 || k >= DriveCount) return 0;
  SelectedDrive = k;
  CopyText(BrowsePath, DriveTable + k * kDriveSlotSize);
  CharUpperA(BrowsePath);
  FillFolderList(dialog, BrowseList, BrowsePath, DirectoryMode);
  QueryFreeSpace(k);
  ShowFreeSpace(dialog);
  return 0;
}

// Follows every change of the name field. Putting a refused name back sends
// EN_UPDATE again from inside this handler; EditGuard makes that nested call
// return at once.
LRESULT OnBrowseNameUpdate(HWND dialog, int, int code, LPARAM) {
  if (code != EN_UPDATE || EditGuard != 0) return 1;
  char name[512];
  UINT n = GetDlgItemTextA(dialog, IDC_FOLDER_NAME, name, sizeof(name));
  switch (ClassifyFolderName(n)) {
    case NameCleared: FolderName[0] = '\0'; break;
    case NameTaken: CopyText(FolderName, name); break;
    case NameTooLong:
      EditGuard = 1;
      SetWindowTextA(BrowseNameEdit, FolderName);
      MessageBeep((UINT)-1);
      EditGuard = 0;
      break;
  }
  return 1;
}

void OnBrowseOk(HWND dialog) {
  SendMessageA(BrowseNameEdit, WM_GETTEXT, 100, (LPARAM)FolderName);
  if (FolderName[0] == '\0') {
    MessageBoxA(dialog, "You forget to select a directory", "Warning", MB_ICONWARNING);
    // Posted, so that it comes after the dialog is active again and the
    // dialog manager has put back the focus it had before the box.
    PostMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)BrowseNameEdit, TRUE);
  } else if (!HasRoomForInstall(FreeKB)) {
    MessageBoxA(dialog, kNotEnoughSpace, nullptr, MB_ICONERROR | MB_YESNO);
  } else {
    EndDialog(dialog, 0);
  }
}

LRESULT OnBrowseCommand(HWND dialog, int id, int, LPARAM) {
  if (id == IDOK) {
    OnBrowseOk(dialog);
  } else {
    EndDialog(dialog, 0);  // Cancel keeps every change made meanwhile
  }
  return 0;
}

LRESULT OnBrowseNotify(HWND dialog, UINT, WPARAM, LPARAM lParam) {
  const NMHDR* header = (const NMHDR*)lParam;
  if (header->hwndFrom == BrowseList && header->code == (UINT)NM_DBLCLK)
    FolderListDoubleClick(dialog, BrowseList, BrowsePath, DirectoryMode);
  return 0;
}

const CommandEntry kBrowseCommands[] = {
    {IDOK, OnBrowseCommand},
    {IDCANCEL, OnBrowseCommand},
    {IDC_FOLDER_NAME, OnBrowseNameUpdate},
    {IDC_DRIVES, OnBrowseDriveSelect},
};
const CommandMap kBrowseCommandMap = MAP_OF(kBrowseCommands, DefaultNone);

LRESULT OnBrowseCommandMessage(HWND dialog, UINT, WPARAM wParam, LPARAM lParam) {
  return CommandDispatch(&kBrowseCommandMap, dialog, wParam, lParam);
}

const MessageEntry kBrowseMessages[] = {
    {WM_COMMAND, OnBrowseCommandMessage},
    {WM_INITDIALOG, OnBrowseInit},
    {WM_NOTIFY, OnBrowseNotify},
};
const MessageMap kBrowseMessageMap = MAP_OF(kBrowseMessages, DefaultNone);

INT_PTR CALLBACK BrowseDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kBrowseMessageMap, dialog, message, wParam, lParam);
}

}  // namespace

void ShowBrowseDialog(HWND owner) { DialogBoxParamA(Instance, "IDD_BROWSE", owner, BrowseDlgProc, 0); }
