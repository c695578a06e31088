#include "dialog_script.h"

#include <gtest/gtest.h>

namespace {
DialogScript* current;
const UINT kWatchdogMs = 20000;

BOOL CALLBACK TakeEnabledWindow(HWND w, LPARAM found) {
  if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return TRUE;
  *(HWND*)found = w;
  return FALSE;
}

HWND FrontWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), TakeEnabledWindow, (LPARAM)&found);
  return found;
}

BOOL CALLBACK EndDialogWindow(HWND w, LPARAM) {
  char cls[16] = "";
  GetClassNameA(w, cls, sizeof(cls));
  if (strcmp(cls, "#32770") == 0) {
    ADD_FAILURE() << "still open after " << kWatchdogMs / 1000 << " s: \"" << WindowText(w) << "\" saying \""
                  << MessageBoxText(w) << "\"";
    EndDialog(w, 99);
  }
  return TRUE;
}
}  // namespace

Watchdog::Watchdog() { timer_ = SetTimer(nullptr, 0, kWatchdogMs, Expire); }

Watchdog::~Watchdog() { KillTimer(nullptr, timer_); }

void CALLBACK Watchdog::Expire(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), EndDialogWindow, 0);
}

DialogScript::DialogScript(std::vector<ScriptStep> steps) : steps_(std::move(steps)) {
  current = this;
  timer_ = SetTimer(nullptr, 0, 30, Tick);
}

DialogScript::~DialogScript() {
  KillTimer(nullptr, timer_);
  current = nullptr;
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  DialogScript* self = current;
  if (self == nullptr || self->Finished()) return;
  HWND front = FrontWindow();
  if (front == nullptr) return;
  size_t step = self->next_;
  // A step may open a nested modal loop; mark it done first so that ticks
  // inside that loop run the steps after it.
  self->next_ = step + 1;
  if (!self->steps_[step](front)) self->next_ = step;
}

std::string WindowText(HWND window) {
  char text[8192] = "";
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::string MessageBoxText(HWND box) { return ItemText(box, 0xFFFF); }

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

ScriptStep AnswerBox(const std::string& text, int button, std::string* caption) {
  return [=](HWND front) {
    if (MessageBoxText(front) != text) return false;
    if (caption) *caption = WindowText(front);
    Press(front, button);
    return true;
  };
}

ScriptStep OnDialog(const char* templateCaption, std::function<void(HWND)> action) {
  std::string want = templateCaption;
  return [=](HWND front) {
    if (WindowText(front) != want) return false;
    action(front);
    return true;
  };
}

ScriptStep OnPage(int controlId, std::function<void(HWND)> action) {
  return [=](HWND front) {
    if (GetDlgItem(front, controlId) == nullptr) return false;
    action(front);
    return true;
  };
}
