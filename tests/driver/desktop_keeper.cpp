// Keeps Wine's virtual desktop open for the whole test session. Wine closes
// the desktop shortly after the last program with windows ends, and a
// program started in that moment gets no windows; this program owns one
// hidden window until the session stops it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HWND window = CreateWindowExA(0, "STATIC", "desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
