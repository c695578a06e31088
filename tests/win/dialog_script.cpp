#include "dialog_script.h"

#include <gtest/gtest.h>

namespace {
DialogScript* current;

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
}  // namespace

DialogScript::DialogScript(std::vector<ScriptStep> steps) : steps_(std::move(steps)) {
  current = this;
  start_ = GetTickCount();
  timer_ = SetTimer(nullptr, 0, 30, Tick);
}

DialogScript::~DialogScript() {
  KillTimer(nullptr, timer_);
  current = nullptr;
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  DialogScript* self = current;
  HWND front = FrontWindow();
  if (self == nullptr || front == nullptr) return;
  if (GetTickCount() - self->start_ > 20000) {
    ADD_FAILURE() << "still open after 20 s: \"" << WindowText(front) << "\" " << MessageBoxText(front);
    EndDialog(front, 99);
    return;
  }
  if (self->Finished()) return;
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
