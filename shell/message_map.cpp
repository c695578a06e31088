#include "shell/message_map.h"

LRESULT DefaultProc(int kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (kind) {
    case DefaultWindow: return DefWindowProcA(window, message, wParam, lParam);
    case DefaultDialog: return DefDlgProcA(window, message, wParam, lParam);
    default: return 0;
  }
}

LRESULT MapDispatch(const MessageMap* map, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < map->count; ++i) {
    if (map->entries[i].message == message) return map->entries[i].handler(window, message, wParam, lParam);
  }
  return DefaultProc(map->defaultKind, window, message, wParam, lParam);
}

LRESULT CommandDispatch(const CommandMap* map, HWND window, WPARAM wParam, LPARAM lParam) {
  short id = (short)LOWORD(wParam);
  int code = HIWORD(wParam);
  for (int i = 0; i < map->count; ++i) {
    if (map->entries[i].id == id) return map->entries[i].handler(window, (WORD)id, code, lParam);
  }
  return DefaultProc(map->defaultKind, window, WM_COMMAND, wParam, lParam);
}
