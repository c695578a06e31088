// Drives the installer's modal dialogs from inside the test program: a
// timer fires inside the dialogs' own modal loops and runs the next step
// against the window that currently has the user's attention.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A step gets the enabled top-level window of this thread (the modal dialog
// or message box in front) and returns true when it has done its work;
// false tries again at the next tick.
typedef std::function<bool(HWND front)> ScriptStep;

class DialogScript {
 public:
  explicit DialogScript(std::vector<ScriptStep> steps);
  ~DialogScript();
  bool Finished() const { return next_ >= steps_.size(); }
  size_t StepsDone() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  std::vector<ScriptStep> steps_;
  size_t next_ = 0;
  UINT_PTR timer_;
  DWORD start_;  // a window still in front 20 s later fails the case and is ended
};

// Window helpers for steps.
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
std::string MessageBoxText(HWND box);  // the message, not the caption
void Press(HWND dialog, int id);       // as a click on the button would

// Steps.
ScriptStep AnswerBox(const std::string& text, int button, std::string* caption = nullptr);
ScriptStep OnDialog(const char* templateCaption, std::function<void(HWND)> action);
ScriptStep OnPage(int controlId, std::function<void(HWND)> action);
