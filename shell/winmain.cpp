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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Instance = instance;
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
