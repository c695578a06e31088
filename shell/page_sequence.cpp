#include "shell/pages.h"

#include <shellapi.h>

#include "shell/setup_state.h"
#include "shell/texts.h"

namespace {

typedef PageResult (*ShowPage)(HWND owner);

// The pages whose result decides whether the setup goes on.
const ShowPage kDecidingPages[] = {ShowAgreementPage, ShowDestinationPage, ShowCopyPage};

bool RunDecidingPages(HWND window) {
  for (ShowPage show : kDecidingPages) {
    if (show(window) != 0) return false;
  }
  return true;
}

}  // namespace

LRESULT RunPages(HWND window, int, int, LPARAM) {
  if (RunDecidingPages(window)) {
    // The group page's own cancel only leaves out the shortcuts and the
    // registry entries: the files are in place, so it is still a success.
    ShowGroupPage(window);
    wsprintfA(MessageText, kSuccessFormat, kProductName);
    MessageBoxA(window, MessageText, kSetupCaption, MB_OK | MB_ICONINFORMATION);
    DestroyWindow(window);
    // After a cancelled group page there is no folder to open: some shells
    // would open the current folder for an empty path.
    if (FinalOpenPath[0] != '\0') ShellExecuteA(nullptr, nullptr, FinalOpenPath, nullptr, nullptr, SW_SHOWNA);
  } else {
    MessageBoxA(window, kCancelText, kSetupCaption, MB_OK | MB_ICONWARNING);
    DestroyWindow(window);
  }
  return 0;
}
