#include <gtest/gtest.h>

#include "shell/message_map.h"

namespace {

int calls[4];
LPARAM lastLParam;
int lastId, lastCode;

LRESULT First(HWND, UINT, WPARAM, LPARAM) { ++calls[0]; return 11; }
LRESULT Second(HWND, UINT, WPARAM, LPARAM) { ++calls[1]; return 22; }
LRESULT OnOk(HWND, int id, int code, LPARAM lParam) {
  ++calls[2]; lastId = id; lastCode = code; lastLParam = lParam; return 33;
}
LRESULT OnCombo(HWND, int id, int code, LPARAM) { ++calls[3]; lastId = id; lastCode = code; return 44; }

const MessageEntry kEntries[] = {{WM_USER, First}, {WM_USER, Second}, {WM_USER + 1, Second}};
const CommandEntry kCommands[] = {{IDOK, OnOk}, {104, OnCombo}};

class Dispatch : public testing::Test {
 protected:
  void SetUp() override {
    memset(calls, 0, sizeof(calls));
    window = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(window); }
  HWND window;
};

TEST_F(Dispatch, FirstMatchWinsAndItsResultIsReturned) {
  MessageMap map = MAP_OF(kEntries, DefaultNone);
  EXPECT_EQ(MapDispatch(&map, window, WM_USER, 0, 0), 11);
  EXPECT_EQ(calls[0], 1);
  EXPECT_EQ(calls[1], 0);
  EXPECT_EQ(MapDispatch(&map, window, WM_USER + 1, 0, 0), 22);
}

TEST_F(Dispatch, MessageIsComparedInFull) {
  MessageMap map = MAP_OF(kEntries, DefaultNone);
  EXPECT_EQ(MapDispatch(&map, window, WM_USER + 0x10000, 0, 0), 0);
  EXPECT_EQ(calls[0] + calls[1], 0);
}

TEST_F(Dispatch, DefaultKindsAnswerUnlistedMessages) {
  // WM_GETTEXTLENGTH answered by DefWindowProc gives the caption's length.
  MessageMap none = {0, nullptr, DefaultNone};
  MessageMap win = {0, nullptr, DefaultWindow};
  MessageMap negative = {-3, kEntries, DefaultWindow};
  MessageMap odd = {0, nullptr, 7};
  EXPECT_EQ(MapDispatch(&none, window, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(MapDispatch(&win, window, WM_GETTEXTLENGTH, 0, 0), 5);
  EXPECT_EQ(MapDispatch(&negative, window, WM_USER, 0, 0), 0);  // no entries read
  EXPECT_EQ(calls[0], 0);
  EXPECT_EQ(MapDispatch(&odd, window, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(Dispatch, CommandIdIsTheLowWordAndCodeTheHighWord) {
  CommandMap map = MAP_OF(kCommands, DefaultNone);
  HWND control = (HWND)0x1234;
  EXPECT_EQ(CommandDispatch(&map, window, MAKEWPARAM(104, CBN_SELENDOK), (LPARAM)control), 44);
  EXPECT_EQ(lastId, 104);
  EXPECT_EQ(lastCode, CBN_SELENDOK);
  EXPECT_EQ(CommandDispatch(&map, window, MAKEWPARAM(IDOK, 0), (LPARAM)control), 33);
  EXPECT_EQ(lastLParam, (LPARAM)control);
  EXPECT_EQ(CommandDispatch(&map, window, MAKEWPARAM(999, 0), 0), 0);
}

// An unlisted command reaches the default procedure with wParam whole. The
// window kind's DefWindowProcA is watched through this program's import
// slot; DefDlgProcA hands the command to the dialog's own procedure.
WPARAM seen;
extern "C" LRESULT(WINAPI* importedDefWindowProc)(HWND, UINT, WPARAM, LPARAM) __asm__("__imp__DefWindowProcA@16");
LRESULT WINAPI RecordWindowDefault(HWND, UINT, WPARAM wp, LPARAM) { seen = wp; return 55; }
INT_PTR CALLBACK RecordDialog(HWND, UINT m, WPARAM wp, LPARAM) { return m == WM_COMMAND ? (seen = wp, TRUE) : FALSE; }

TEST_F(Dispatch, UnlistedCommandReachesTheDefaultProcedureWithWParamWhole) {
  const WPARAM wp = MAKEWPARAM(555, 7);
  struct { DLGTEMPLATE header; WORD menu, cls, title; } empty = {{WS_POPUP, 0, 0, 0, 0, 10, 10}, 0, 0, 0};
  HWND dialog = CreateDialogIndirectParamA(nullptr, &empty.header, nullptr, RecordDialog, 0);
  CommandMap dialogMap = MAP_OF(kCommands, DefaultDialog);
  CommandDispatch(&dialogMap, dialog, wp, 0);
  EXPECT_EQ(seen, wp);
  DestroyWindow(dialog);

  seen = 0;
  DWORD protection;
  VirtualProtect(&importedDefWindowProc, sizeof(importedDefWindowProc), PAGE_READWRITE, &protection);
  auto real = importedDefWindowProc;
  importedDefWindowProc = RecordWindowDefault;
  CommandMap windowMap = MAP_OF(kCommands, DefaultWindow);
  EXPECT_EQ(CommandDispatch(&windowMap, window, wp, 0), 55);
  importedDefWindowProc = real;
  EXPECT_EQ(seen, wp);
}

}  // namespace
