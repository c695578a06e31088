// Message boxes of another process: their caption, text, icon and buttons.
#include "driver/ui_driver.h"

namespace ui {

namespace {

// The system gives a message box's text control this id, on Windows and Wine.
const int kMessageTextId = 0xFFFF;

BOOL CALLBACK NoOtherControls(HWND child, LPARAM param) {
  std::string name = ClassName(child);
  if (name != "Button" && name != "Static") {
    *(bool*)param = false;
    return FALSE;
  }
  return TRUE;
}

struct IconSearch {
  HWND found;
};

BOOL CALLBACK FindIconControl(HWND child, LPARAM param) {
  if (ClassName(child) == "Static" && (Style(child) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child)) {
    ((IconSearch*)param)->found = child;
    return FALSE;
  }
  return TRUE;
}

// Draws a standard icon the size of the control on the control's own
// background and counts the pixels that differ from what the screen shows.
size_t Difference(const Pixels& shown, LPCSTR standardIcon) {
  HICON icon = LoadIconA(nullptr, standardIcon);
  if (!icon) return shown.rgb.size();
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = shown.width;
  info.bmiHeader.biHeight = -shown.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  // The icon's corner is transparent: what shows there is the background.
  Rgb back = shown.At(0, 0);
  HBRUSH brush = CreateSolidBrush(RGB(back.r, back.g, back.b));
  RECT all = {0, 0, shown.width, shown.height};
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  DrawIconEx(memory, 0, 0, icon, shown.width, shown.height, 0, nullptr, DI_NORMAL);
  GdiFlush();
  size_t differ = 0;
  const BYTE* q = (const BYTE*)bits;
  for (size_t i = 0; i < shown.rgb.size(); ++i, q += 4) {
    const Rgb& s = shown.rgb[i];
    if (abs(s.r - q[2]) > 8 || abs(s.g - q[1]) > 8 || abs(s.b - q[0]) > 8) ++differ;
  }
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return differ;
}

Icon IdentifyIcon(HWND box) {
  IconSearch search = {nullptr};
  EnumChildWindows(box, FindIconControl, (LPARAM)&search);
  if (!search.found) return Icon::None;
  Pixels shown = CaptureClient(search.found);
  if (shown.rgb.empty()) return Icon::None;
  struct Candidate {
    Icon icon;
    LPCSTR id;
  } const candidates[] = {{Icon::Information, (LPCSTR)IDI_INFORMATION},
                          {Icon::Question, (LPCSTR)IDI_QUESTION},
                          {Icon::Warning, (LPCSTR)IDI_WARNING},
                          {Icon::Error, (LPCSTR)IDI_ERROR}};
  Icon best = Icon::Unknown;
  size_t bestDifference = shown.rgb.size() / 20;  // at most 5% may differ
  for (const Candidate& c : candidates) {
    size_t d = Difference(shown, c.id);
    if (d < bestDifference) {
      bestDifference = d;
      best = c.icon;
    }
  }
  return best;
}

}  // namespace

bool IsMessageBox(HWND window) {
  if (ClassName(window) != "#32770" || !GetDlgItem(window, kMessageTextId)) return false;
  bool onlyButtonsAndStatics = true;
  EnumChildWindows(window, NoOtherControls, (LPARAM)&onlyButtonsAndStatics);
  return onlyButtonsAndStatics;
}

const char* IconName(Icon icon) {
  switch (icon) {
    case Icon::None: return "no icon";
    case Icon::Information: return "information icon";
    case Icon::Question: return "question icon";
    case Icon::Warning: return "warning icon";
    case Icon::Error: return "error icon";
    default: return "unknown icon";
  }
}

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view;
  view.window = box;
  view.caption = Text(box);
  view.text = ControlText(box, kMessageTextId);
  // The icon control paints after the box appears; wait for it to be drawn.
  DWORD start = GetTickCount();
  do {
    view.icon = IdentifyIcon(box);
  } while (view.icon == Icon::Unknown && GetTickCount() - start < 3000 && (Sleep(50), true));
  return view;
}

MessageBoxView WaitMessageBox(DWORD processId, DWORD timeout) {
  WindowQuery query;
  query.OfProcess(processId).MessageBoxOnly();
  HWND box = WaitWindow(query, timeout);
  return ReadMessageBox(box);
}

void Answer(const MessageBoxView& box, int buttonId) {
  PressButton(box.window, buttonId);
  WaitGone(box.window, "message box \"" + box.caption + "\"", 5000);
}

}  // namespace ui
