#include "resource.h"
#include "shell/message_map.h"
#include "shell/page_look.h"
#include "shell/pages.h"
#include "shell/setup_state.h"

namespace {

LRESULT OnAgreementInit(HWND dialog, UINT, WPARAM, LPARAM) {
  LoadPanelLook();
  // The agreement is about 4,300 characters; the buffer leaves ample room.
  static char agreement[7000];
  LoadStringA(Instance, IDS_AGREEMENT, agreement, sizeof(agreement));
  SetDlgItemTextA(dialog, IDC_AGREEMENT_TEXT, agreement);
  SetFocus(GetDlgItem(dialog, IDOK));
  return 1;
}

LRESULT OnAgreementCommand(HWND dialog, int id, int, LPARAM) {
  if (id == IDOK) {
    EndDialog(dialog, 0);
  } else if (ConfirmCancelSetup(dialog)) {
    EndDialog(dialog, 1);
  }
  return 0;
}

const CommandEntry kAgreementCommands[] = {
    {IDOK, OnAgreementCommand},
    {IDCANCEL, OnAgreementCommand},
};
const CommandMap kAgreementCommandMap = MAP_OF(kAgreementCommands, DefaultNone);

LRESULT OnAgreementCommandMessage(HWND dialog, UINT, WPARAM wParam, LPARAM lParam) {
  return CommandDispatch(&kAgreementCommandMap, dialog, wParam, lParam);
}

const MessageEntry kAgreementMessages[] = {
    {WM_COMMAND, OnAgreementCommandMessage},
    {WM_INITDIALOG, OnAgreementInit},
    {WM_PAINT, PaintPanel},
};
const MessageMap kAgreementMessageMap = MAP_OF(kAgreementMessages, DefaultNone);

INT_PTR CALLBACK AgreementDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kAgreementMessageMap, dialog, message, wParam, lParam);
}

}  // namespace

PageResult ShowAgreementPage(HWND owner) {
  return DialogBoxParamA(Instance, "IDD_AGREEMENT", owner, AgreementDlgProc, 0);
}
