#include <windows.h>
#include <commctrl.h>

#include "shell/main_window.h"
#include "shell/setup_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Instance = instance;
  // Registers the list-view class that the browse dialogs use.
  InitCommonControls();
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
