#include "group/group_browser.h"

#include <commctrl.h>

#include "destination/folder_list.h"
#include "resource.h"
#include "shell/message_map.h"
#include "shell/setup_state.h"

namespace {

HWND GroupBrowserList;  // the folder list of the open browser

LRESULT OnGroupBrowserInit(HWND dialog, UINT, WPARAM, LPARAM) {
  GroupBrowserList = GetDlgItem(dialog, IDC_GROUP_LIST);
  SetDlgItemTextA(dialog, IDC_GROUP_LABEL, GroupPath);
  CreateFolderImageList(GroupBrowserList);
  FillFolderList(dialog, GroupBrowserList, GroupPath, GroupMode);
  return 1;
}

// Only a double-click in the list navigates; clicks and keys only select.
LRESULT OnGroupBrowserNotify(HWND dialog, UINT, WPARAM, LPARAM lParam) {
  const NMHDR* header = (const NMHDR*)lParam;
  if (header->hwndFrom == GroupBrowserList && header->code == (UINT)NM_DBLCLK) {
    FolderListDoubleClick(dialog, GroupBrowserList, GroupPath, GroupMode);
  }
  return 0;
}

// The navigation already changed GroupPath, so both buttons just close.
LRESULT OnGroupBrowserClose(HWND dialog, int, int, LPARAM) {
  EndDialog(dialog, 0);
  return 1;
}

const CommandEntry kGroupBrowserCommands[] = {
    {IDOK, OnGroupBrowserClose},
    {IDCANCEL, OnGroupBrowserClose},
};
const CommandMap kGroupBrowserCommandMap = MAP_OF(kGroupBrowserCommands, DefaultNone);

LRESULT OnGroupBrowserCommandMessage(HWND dialog, UINT, WPARAM wParam, LPARAM lParam) {
  return CommandDispatch(&kGroupBrowserCommandMap, dialog, wParam, lParam);
}

const MessageEntry kGroupBrowserMessages[] = {
    {WM_COMMAND, OnGroupBrowserCommandMessage},
    {WM_INITDIALOG, OnGroupBrowserInit},
    {WM_NOTIFY, OnGroupBrowserNotify},
};
const MessageMap kGroupBrowserMessageMap = MAP_OF(kGroupBrowserMessages, DefaultNone);

INT_PTR CALLBACK GroupBrowserDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kGroupBrowserMessageMap, dialog, message, wParam, lParam);
}

}  // namespace

void RunGroupBrowser(HWND owner) {
  DialogBoxParamA(Instance, "IDD_BROWSE_SHORTCUT", owner, GroupBrowserDlgProc, 0);
}
