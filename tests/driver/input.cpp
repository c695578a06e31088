// Mouse and keyboard input as a user gives it: through the system's input
// queue (SendInput), so that the target's own message loop, its dialog
// manager and its controls handle it exactly as they handle a user's.
#include "driver/ui_driver.h"

#include <stdlib.h>

namespace ui {

namespace {

std::string Name(HWND window) {
  std::string name = "\"" + Text(window) + "\" (" + ClassName(window) + ")";
  return name;
}

void SendKey(WORD virtualKey, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = (WORD)MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (SendInput(1, &input, sizeof(input)) != 1) throw Failure("the system refused keyboard input");
}

// Mouse input at a screen point. Every event carries its position, so that
// the press lands where the pointer was put whatever the pointer did since.
void SendMouse(DWORD flags, POINT screen) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // Normalised 0..65535 coordinates that the system maps back to the pixel.
  input.mi.dx = (LONG)(((LONGLONG)screen.x * 65536 + w - 1) / w);
  input.mi.dy = (LONG)(((LONGLONG)screen.y * 65536 + h - 1) / h);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  if (SendInput(1, &input, sizeof(input)) != 1) throw Failure("the system refused mouse input");
}

// The top-level window that takes keyboard input for window.
HWND TopOf(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  return top ? top : window;
}

POINT MoveMouse(HWND window, POINT clientPoint) {
  POINT screen = clientPoint;
  ClientToScreen(window, &screen);
  SendMouse(0, screen);
  WaitUntil(
      [&] {
        POINT now;
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
      },
      "the mouse pointer to reach (" + std::to_string(screen.x) + "," + std::to_string(screen.y) + ")", 5000);
  return screen;
}

void RequireEnabled(HWND window) {
  if (!IsWindow(window)) throw Failure("the window to act on is gone");
  if (!IsWindowEnabled(TopOf(window)))
    throw Failure("window " + Name(TopOf(window)) + " is disabled (a modal window is over it)");
}

// Lets the target take the input from its queue before the next step looks
// at the result. Input is taken after sent and posted messages, so a sent
// message proves nothing; the process waiting idle for input again does.
bool settleAfterInput = true;

void Settle(HWND window) {
  if (!settleAfterInput) return;
  Sleep(30);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(window));
  if (process) {
    WaitForInputIdle(process, 3000);
    CloseHandle(process);
  }
}

// Time and place of the last click: a single click that follows another at
// the same spot within the double-click time would arrive as a double-click.
DWORD lastClickTime;
POINT lastClickPoint = {-1000, -1000};

void SpaceFromLastClick(HWND window, POINT clientPoint) {
  POINT screen = clientPoint;
  ClientToScreen(window, &screen);
  DWORD since = GetTickCount() - lastClickTime;
  DWORD need = GetDoubleClickTime() + 50;
  if (abs(screen.x - lastClickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
      abs(screen.y - lastClickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) && since < need)
    Sleep(need - since);
}

void NoteClick(HWND window, POINT clientPoint) {
  lastClickPoint = clientPoint;
  ClientToScreen(window, &lastClickPoint);
  lastClickTime = GetTickCount();
}

}  // namespace

void SetSettleAfterInput(bool on) { settleAfterInput = on; }

void PressButton(HWND dialog, int id) {
  HWND button = Control(dialog, id);
  if (!IsWindowEnabled(button)) throw Failure("button " + Name(button) + " is disabled");
  PostMessageA(button, BM_CLICK, 0, 0);
}

void BringToFront(HWND window) {
  HWND top = TopOf(window);
  RequireEnabled(top);
  if (GetForegroundWindow() != top) SetForegroundWindow(top);
  WaitUntil([&] { return GetForegroundWindow() == top; }, "window " + Name(top) + " to come to the front", 5000);
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PressKey(HWND window, WORD virtualKey) {
  BringToFront(window);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  Settle(window);
}

void PressKeyWith(HWND window, WORD modifier, WORD virtualKey) {
  BringToFront(window);
  SendKey(modifier, false);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  SendKey(modifier, true);
  Settle(window);
}

void TypeText(HWND window, const std::string& text) {
  BringToFront(window);
  for (char c : text) {
    SHORT scan = VkKeyScanA(c);
    if (scan == -1) throw Failure(std::string("no key types '") + c + "'");
    bool shift = (scan & 0x100) != 0;
    if (shift) SendKey(VK_SHIFT, false);
    SendKey(LOBYTE(scan), false);
    SendKey(LOBYTE(scan), true);
    if (shift) SendKey(VK_SHIFT, true);
  }
  Settle(window);
}

void ClickAt(HWND window, POINT clientPoint) {
  RequireEnabled(window);
  BringToFront(window);
  SpaceFromLastClick(window, clientPoint);
  POINT at = MoveMouse(window, clientPoint);
  SendMouse(MOUSEEVENTF_LEFTDOWN, at);
  SendMouse(MOUSEEVENTF_LEFTUP, at);
  NoteClick(window, clientPoint);
  Settle(window);
}

void Click(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  ClickAt(window, POINT{client.right / 2, client.bottom / 2});
}

void DoubleClickAt(HWND window, POINT clientPoint) {
  RequireEnabled(window);
  BringToFront(window);
  SpaceFromLastClick(window, clientPoint);
  POINT at = MoveMouse(window, clientPoint);
  // Both clicks well inside the system's double-click time and rectangle:
  // the first is an ordinary click, the second arrives as a double-click.
  SendMouse(MOUSEEVENTF_LEFTDOWN, at);
  SendMouse(MOUSEEVENTF_LEFTUP, at);
  Settle(window);
  SendMouse(MOUSEEVENTF_LEFTDOWN, at);
  SendMouse(MOUSEEVENTF_LEFTUP, at);
  NoteClick(window, clientPoint);
  lastClickTime -= GetDoubleClickTime();  // a third click would start anew
  Settle(window);
}

}  // namespace ui
