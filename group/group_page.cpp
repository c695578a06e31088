#include <windows.h>

#include "group/group_browser.h"
#include "group/group_paths.h"
#include "group/programs_folder.h"
#include "group/registration.h"
#include "group/shell_link.h"
#include "resource.h"
#include "shell/bounded_text.h"
#include "shell/message_map.h"
#include "shell/page_look.h"
#include "shell/pages.h"
#include "shell/setup_state.h"

namespace {

// Shows the group that Finish would make below GroupPath.
void ShowGroup(HWND page) {
  ComposeGroupFolder(GroupDir, sizeof(GroupDir), GroupPath);
  SetDlgItemTextA(page, IDC_PATH, GroupDir);
}

LRESULT OnGroupInit(HWND page, UINT, WPARAM, LPARAM) {
  WinVersion = GetVersion();
  char windowsDir[512] = "";
  GetWindowsDirectoryA(windowsDir, sizeof(windowsDir));
  FindProgramsFolder(GroupPath, sizeof(GroupPath), windowsDir);
  ShowGroup(page);
  return 1;
}

LRESULT OnGroupBrowse(HWND page, int, int, LPARAM) {
  RunGroupBrowser(page);
  ShowGroup(page);
  return 0;
}

// Each link path is the group folder and its own file name only; a shortcut
// that cannot be made is skipped without a word.
void MakeShortcuts() {
  for (const Shortcut& shortcut : kShortcuts) {
    if (ComposeShortcut(shortcut, GroupPath, InstallDir, GroupDir, sizeof(GroupDir), LinkTarget, sizeof(LinkTarget))) {
      CreateShellLink(LinkTarget, GroupDir, shortcut.description);
    }
    CopyText(GroupDir, GroupPath);
  }
}

// The group comes from GroupPath alone: text typed into the field is never
// read. The registry records the folder before it exists.
void FinishGroup() {
  if (!ComposeGroupFolder(GroupPath, sizeof(GroupPath), GroupPath)) return;
  CopyText(GroupDir, GroupPath);
  RegisterProduct();
  CreateDirectoryA(GroupDir, &DirSecurity);  // an existing group is used as it is
  MakeShortcuts();
  CopyText(FinalOpenPath, GroupPath);
}

// Set while Finish runs. Its registry message is owned by the backdrop, so
// the page stays live under it; a second Finish from there would run nested
// and make the group one level deeper.
bool Finishing;

LRESULT OnGroupCommand(HWND page, int id, int, LPARAM) {
  if (id == IDOK) {
    Finishing = true;
    FinishGroup();
    Finishing = false;
    EndDialog(page, 0);
  } else if (MessageBoxA(page, "Cancel creating the shortcuts?", "Confirmation", MB_ICONQUESTION | MB_YESNO) == IDYES) {
    EndDialog(page, 1);
  }
  return 0;
}

const CommandEntry kGroupCommands[] = {
    {IDOK, OnGroupCommand},
    {IDCANCEL, OnGroupCommand},
    {IDC_BROWSE, OnGroupBrowse},
};
const CommandMap kGroupCommandMap = MAP_OF(kGroupCommands, DefaultNone);

// The page's buttons do nothing until Finish is over.
LRESULT OnGroupCommandMessage(HWND page, UINT, WPARAM wParam, LPARAM lParam) {
  if (Finishing) return 0;
  return CommandDispatch(&kGroupCommandMap, page, wParam, lParam);
}

const MessageEntry kGroupMessages[] = {
    {WM_COMMAND, OnGroupCommandMessage},
    {WM_INITDIALOG, OnGroupInit},
    {WM_PAINT, PaintPanel},
    {WM_CTLCOLOREDIT, PanelControlColour},
    {WM_CTLCOLORSTATIC, PanelControlColour},
};
const MessageMap kGroupMessageMap = MAP_OF(kGroupMessages, DefaultNone);

INT_PTR CALLBACK GroupDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kGroupMessageMap, page, message, wParam, lParam);
}

}  // namespace

PageResult ShowGroupPage(HWND owner) {
  return DialogBoxParamA(Instance, "IDD_SHORTCUT", owner, GroupDlgProc, 0);
}
