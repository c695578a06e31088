#include "shell/main_window.h"

#include "resource.h"
#include "shell/backdrop.h"
#include "shell/bounded_text.h"
#include "shell/message_map.h"
#include "shell/pages.h"
#include "shell/setup_state.h"
#include "shell/source_dir.h"

char AppName[10];

namespace {

const DWORD kBackdropStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT OnCreate(HWND window, UINT, WPARAM, LPARAM) {
  HDC dc = GetDC(window);
  ScreenWidth = GetDeviceCaps(dc, HORZRES);
  ScreenHeight = GetDeviceCaps(dc, VERTRES);
  ReleaseDC(window, dc);
  SetWindowPos(window, nullptr, 0, 0, ScreenWidth, ScreenHeight, SWP_NOZORDER | SWP_NOACTIVATE);

  ZeroMemory(SourceDir, sizeof(SourceDir));
  GetCurrentDirectoryA(500, SourceDir);
  TrimSourceRoot(SourceDir);

  BuildBackdrop(window);
  TitlePending = 1;
  TitleFont = CreateTitleFont();
  PostMessageA(window, WM_COMMAND, CMD_START, 0);
  return 0;
}

LRESULT OnDestroy(HWND, UINT, WPARAM, LPARAM) {
  PostQuitMessage(0);
  return 0;
}

// The program starts no timer; a stray one is ignored.
LRESULT OnTimer(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT OnCloseCommand(HWND window, int, int, LPARAM) {
  DestroyWindow(window);
  return 0;
}

const CommandEntry kMainCommands[] = {
    {CMD_START, RunPages},
    {CMD_CLOSE, OnCloseCommand},
};
const CommandMap kMainCommandMap = MAP_OF(kMainCommands, DefaultWindow);

LRESULT OnMainCommand(HWND window, UINT, WPARAM wParam, LPARAM lParam) {
  return CommandDispatch(&kMainCommandMap, window, wParam, lParam);
}

const MessageEntry kMainMessages[] = {
    {WM_CREATE, OnCreate},   {WM_COMMAND, OnMainCommand}, {WM_DESTROY, OnDestroy},
    {WM_TIMER, OnTimer},     {WM_PAINT, PaintBackdrop},
};
const MessageMap kMainMessageMap = MAP_OF(kMainMessages, DefaultWindow);

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kMainMessageMap, window, message, wParam, lParam);
}

HWND CreateBackdropWindow() {
  LoadStringA(Instance, IDS_APPNAME, AppName, sizeof(AppName));
  WNDCLASSA cls = {};
  cls.style = CS_VREDRAW | CS_HREDRAW;
  cls.lpfnWndProc = MainWndProc;
  cls.hInstance = Instance;
  cls.hIcon = LoadIconA(Instance, MAKEINTRESOURCEA(IDI_SETUP));
  cls.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
  cls.hbrBackground = (HBRUSH)(COLOR_MENUTEXT + 1);
  cls.lpszMenuName = AppName;
  cls.lpszClassName = AppName;
  // A second try, as the first can fail while a previous instance's class
  // is still being torn down.
  if (!RegisterClassA(&cls) && !RegisterClassA(&cls)) return nullptr;
  return CreateWindowExA(0, AppName, AppName, kBackdropStyle, 0, 0, 0, 0, nullptr, nullptr, Instance, nullptr);
}
