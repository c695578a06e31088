#include <windows.h>

#include "shell/bounded_text.h"
#include "shell/main_window.h"
#include "shell/setup_state.h"
#include "shell/system_libraries.h"
#include "shell/texts.h"

// Without the system's own copy of a library it needs, setup says so and
// ends before it has changed anything.
static bool SystemLibrariesLoaded() {
  const char* missing = LoadSystemLibraries();
  if (missing == nullptr) return true;
  ComposeText(MessageText, "Setup cannot run on this computer: ", missing,
              " could not be loaded from the Windows system folder.\n\nNothing has been changed.");
  MessageBoxA(nullptr, MessageText, kSetupCaption, MB_OK | MB_ICONERROR);
  return false;
}

// A second setup would cover the screen with a second backdrop and install
// into the same folder as the first. The name is Global\, one for every
// session, as the folder and the registry are (Windows 2000 and later);
// older systems, which have no sessions, may refuse the prefix and take the
// bare name. The mutex is never closed: it lasts as long as this setup. A
// mutex of that name that this user may not open is another user's setup.
static bool AnotherSetupRuns() {
  static const char kName[] = "Global\\NorvuSetup";
  if (CreateMutexA(nullptr, FALSE, kName) == nullptr && GetLastError() != ERROR_ACCESS_DENIED) {
    CreateMutexA(nullptr, FALSE, kName + 7);  // the name without "Global\"
  }
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Instance = instance;
  if (AnotherSetupRuns()) {
    MessageBoxA(nullptr, "Setup is already running.", kSetupCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (!SystemLibrariesLoaded()) return 0;
  // Registers the list-view class that the browse dialogs use.
  InitCommonControlsCall();
  MainWindow = CreateBackdropWindow();
  if (MainWindow == nullptr) return 0;
  // The first paint draws the title into the image before the pages start.
  UpdateWindow(MainWindow);
  // The resources hold no accelerator table: no key becomes a command.
  HACCEL accelerators = LoadAcceleratorsA(Instance, AppName);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return (int)msg.wParam;
}
