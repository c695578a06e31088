// The copy page: installs the payload files one by one under the progress
// meter. The copy runs inside a command that the page posts to itself, so
// that the page exists first; between files it pumps the thread's messages,
// which is when its Cancel button is heard.
#include "install/copy_text.h"
#include "install/payload_file.h"
#include "install/payload_table.h"
#include "install/progress_meter.h"
#include "resource.h"
#include "shell/bounded_text.h"
#include "shell/message_map.h"
#include "shell/page_look.h"
#include "shell/pages.h"
#include "shell/private_folder.h"
#include "shell/rights.h"
#include "shell/setup_state.h"

namespace {

// Width steps of the meter: the first of its seven steps draws no fill.
const int kMeterSteps = kPayloadCount - 1;

HWND CopyDialog;    // the page: owner of the failure message, ended by the run
int FileIndex;      // the payload entry in hand
char StatusText[512];
char CopyFolder[MAX_PATH];  // the run's own folder in TempDir; empty when none was made

// "Unable to copy a file:" with both paths, over the page.
void ShowCopyError() {
  ComposeCopyFailure(MessageText, sizeof(MessageText), TempFile, DestFile);
  MessageBoxA(CopyDialog, MessageText, "Error", MB_OK | MB_ICONERROR);
}

// Installs entry index: its resource to a new file in the run's own folder,
// expanded from the handle that wrote it into the installation folder, so
// that nobody can put other bytes in its place in between. False when the
// file failed; the temporary copy is deleted only after a good expansion.
bool InstallPayloadFile(int index) {
  if (ComposeCopyStatus(StatusText, sizeof(StatusText), PayloadTable.compressed[index],
                        PayloadTable.destination[index])) {
    SetDlgItemTextA(CopyDialog, IDC_PATH, StatusText);
  }
  // Shows the page and the status line now rather than after the file.
  UpdateWindow(CopyDialog);
  MeterStep();

  // Cleared so that a failure before a path is composed shows it empty.
  ZeroMemory(TempFile, sizeof(TempFile));
  ZeroMemory(DestFile, sizeof(DestFile));
  // Without a folder of its own nothing is written: the message names the
  // folder where none could be made.
  if (CopyFolder[0] == '\0') {
    CopyText(TempFile, TempDir);
    return false;
  }
  if (!JoinPath(TempFile, CopyFolder, PayloadTable.compressed[index])) return false;
  char resource[16];
  if (!PayloadResourceName(resource, sizeof(resource), index)) return false;
  HANDLE compressed = WriteCompressedFile(Instance, resource, TempFile);
  if (compressed == INVALID_HANDLE_VALUE) return false;
  if (!ComposeText(DestFile, InstallDir, PayloadTable.destination[index])) {
    CloseHandle(compressed);
    return false;
  }
  if (!ExpandFile(compressed, DestFile)) return false;
  DeleteFileA(TempFile);
  return true;
}

// Lets the page answer between files. A Cancel handled here stops the pump
// at once and the copy at its next check.
void PumpMessages() {
  MSG msg;
  while (CancelRequested == 0 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageA(CopyDialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

LRESULT CopyPageRun(HWND, int, int, LPARAM) {
  // The system's temporary folder; the source folder when there is none.
  if (!TempPathFits(GetTempPathA(sizeof(TempDir), TempDir), sizeof(TempDir)) && !CopyText(TempDir, SourceDir)) {
    TempDir[0] = '\0';
  }
  MakePrivateFolder(CopyFolder, sizeof(CopyFolder), TempDir);
  FileIndex = 0;
  CancelRequested = 0;
  MeterInit(kMeterSteps);
  while (CancelRequested == 0 && FileIndex < kPayloadCount) {
    if (!InstallPayloadFile(FileIndex)) {
      ShowCopyError();
      CancelRequested = 1;
      break;
    }
    ++FileIndex;
    PumpMessages();
  }
  MeterRelease();
  // Empty unless it keeps the copy of a failed file for the user.
  RemoveDirectoryA(CopyFolder);
  EndDialog(CopyDialog, CancelRequested);
  return 0;
}

// Cancel or Escape: heard only between files; the run ends the page.
LRESULT CopyPageCancel(HWND, int, int, LPARAM) {
  CancelRequested = 1;
  return 1;
}

const CommandEntry kCopyCommands[] = {
    {CMD_START_COPY, CopyPageRun},
    {IDCANCEL, CopyPageCancel},
};
const CommandMap kCopyCommandMap = MAP_OF(kCopyCommands, DefaultNone);

LRESULT OnCopyCommand(HWND dialog, UINT, WPARAM wParam, LPARAM lParam) {
  return CommandDispatch(&kCopyCommandMap, dialog, wParam, lParam);
}

LRESULT CopyPageInit(HWND dialog, UINT, WPARAM, LPARAM) {
  MeterWindow = GetDlgItem(dialog, IDC_METER);
  CopyDialog = dialog;
  // An existing folder is no error, and keeps its rights: the result is
  // not looked at.
  SECURITY_ATTRIBUTES rights = {sizeof(rights), RightsFromText(kSubdirRights), TRUE};
  for (int j = 0; j < kSubdirCount; ++j) {
    if (ComposeText(TempFile, InstallDir, SubdirTable[j])) CreateDirectoryA(TempFile, &rights);
  }
  LocalFree(rights.lpSecurityDescriptor);
  PostMessageA(dialog, WM_COMMAND, CMD_START_COPY, 0);
  return 1;
}

const MessageEntry kCopyMessages[] = {
    {WM_COMMAND, OnCopyCommand},
    {WM_INITDIALOG, CopyPageInit},
    {WM_PAINT, PaintPanel},
    {WM_CTLCOLOREDIT, PanelControlColour},
};
const MessageMap kCopyMessageMap = MAP_OF(kCopyMessages, DefaultNone);

INT_PTR CALLBACK CopyPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kCopyMessageMap, dialog, message, wParam, lParam);
}

}  // namespace

PageResult ShowCopyPage(HWND owner) {
  return DialogBoxParamA(Instance, "IDD_COPY", owner, CopyPageProc, 0);
}
