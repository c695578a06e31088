// Table-driven message dispatch shared by every window and dialog.
//
// Each window or dialog owns two constant tables: a message map from window
// messages to handlers and a command map from WM_COMMAND control ids to
// handlers. Its procedure is one call of MapDispatch with its message map.
#pragma once
#include <windows.h>

typedef LRESULT (*MessageHandler)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
typedef LRESULT (*CommandHandler)(HWND window, int id, int code, LPARAM lParam);

// What answers a message that no entry matches.
enum DefaultKind {
  DefaultNone = 0,    // the result 0: a dialog leaves it to the dialog manager
  DefaultWindow = 1,  // DefWindowProcA
  DefaultDialog = 2,  // DefDlgProcA
};

struct MessageEntry {
  UINT message;
  MessageHandler handler;
};

struct CommandEntry {
  short id;
  CommandHandler handler;
};

struct MessageMap {
  int count;  // 0 or less: no entries
  const MessageEntry* entries;
  int defaultKind;
};

struct CommandMap {
  int count;
  const CommandEntry* entries;
  int defaultKind;
};

// Builds a map from an array declared with [], sized by the compiler.
#define MAP_OF(entries, kind) {(int)(sizeof(entries) / sizeof((entries)[0])), (entries), (kind)}

LRESULT DefaultProc(int kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// First matching entry wins; no match goes to the map's default.
LRESULT MapDispatch(const MessageMap* map, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Matches the low word of wParam; the default sees wParam whole.
LRESULT CommandDispatch(const CommandMap* map, HWND window, WPARAM wParam, LPARAM lParam);
