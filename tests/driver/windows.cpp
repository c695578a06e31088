// Finding top-level windows and reading what windows show.
#include "driver/ui_driver.h"

namespace ui {

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

namespace {

// WM_GETTEXT is carried across processes by the system, unlike
// GetWindowText, which does not ask another process's control.
bool TryText(HWND window, std::string& text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return false;
  text.assign(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, length + 1, (LPARAM)&text[0], SMTO_ABORTIFHUNG, 5000, &copied))
    return false;
  text.resize(copied < length + 1 ? copied : length);
  return true;
}

}  // namespace

// A window that still exists but did not answer is asked again within a
// bounded wait: Wine's SMTO_ABORTIFHUNG may refuse at once a thread that has
// been busy for a moment. A window that is gone fails at once, by that name.
std::string Text(HWND window) {
  std::string text;
  const std::string name = "window " + std::to_string((UINT_PTR)window);
  WaitUntil([&] {
    if (TryText(window, text)) return true;
    if (!IsWindow(window)) throw Failure(name + " is gone: it cannot be read");
    return false;
  }, name + " to answer WM_GETTEXT", 10000);
  return text;
}

DWORD Style(HWND window) { return (DWORD)GetWindowLongA(window, GWL_STYLE); }

DWORD ProcessOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

HWND Control(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control)
    throw Failure("window \"" + Text(dialog) + "\" (class " + ClassName(dialog) + ") has no control " +
                  std::to_string(id));
  return control;
}

std::string ControlText(HWND dialog, int id) { return Text(Control(dialog, id)); }

RECT ScreenRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

RECT ClientScreenRect(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, (POINT*)&r, 2);
  return r;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common;
  return IntersectRect(&common, &a, &b) != 0;
}

bool WindowQuery::Matches(HWND window) const {
  if (!IsWindowVisible(window) || window == except) return false;
  if (processId && ProcessOf(window) != processId) return false;
  if (!className.empty() && ClassName(window) != className) return false;
  for (int id : controls)
    if (!GetDlgItem(window, id)) return false;
  std::string text;
  if (captionSet && (!TryText(window, text) || text != caption)) return false;
  for (const auto& wanted : controlTexts) {
    HWND control = GetDlgItem(window, wanted.first);
    if (!control || !TryText(control, text) || text != wanted.second) return false;
  }
  if (kind != AnyKind && IsMessageBox(window) != (kind == OnlyMessageBoxes)) return false;
  return true;
}

std::string WindowQuery::Describe() const {
  std::string d = "a window";
  if (!className.empty()) d += " of class \"" + className + "\"";
  if (captionSet) d += " with caption \"" + caption + "\"";
  if (processId) d += " of process " + std::to_string(processId);
  for (size_t i = 0; i < controls.size(); ++i)
    d += (i == 0 ? " having control " : ", ") + std::to_string(controls[i]);
  for (const auto& wanted : controlTexts)
    d += ", control " + std::to_string(wanted.first) + " reading \"" + wanted.second + "\"";
  if (kind == OnlyMessageBoxes) d += ", a message box";
  if (kind == NoMessageBoxes) d += ", not a message box";
  if (except) d += " other than window " + std::to_string((UINT_PTR)except);
  return d;
}

namespace {

struct Search {
  const WindowQuery* query;
  HWND found;
};

BOOL CALLBACK MatchOne(HWND window, LPARAM param) {
  Search* search = (Search*)param;
  if (!search->query->Matches(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindWindowNow(const WindowQuery& query) {
  Search search = {&query, nullptr};
  EnumWindows(MatchOne, (LPARAM)&search);
  return search.found;
}

HWND WaitWindow(const WindowQuery& query, DWORD timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowNow(query)) != nullptr; }, query.Describe(), timeout);
  return found;
}

void WaitGone(HWND window, const std::string& what, DWORD timeout) {
  WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, what + " to close", timeout);
}

}  // namespace ui
