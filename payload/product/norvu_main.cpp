// norvu.exe: the product's program. It looks for its engine library and its
// settings beside itself and shows what it found in its window, naming what
// is missing. "norvu /report" writes the same text to standard output instead
// and exits with the problems found (see ReportProblem).
#include <windows.h>

#include "payload/product/ferrox.h"
#include "payload/product/norvu_report.h"
#include "shell/bounded_text.h"
#include "shell/message_map.h"

namespace {

const char kClassName[] = "NorvuMain";
const int kMargin = 16;

Findings Found;
char ReportText[2048];
HFONT TitleFont;

bool Exists(const char* folder, const char* name, bool wantFolder) {
  char path[MAX_PATH];
  if (!JoinPath(path, folder, name)) return false;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == wantFolder;
}

void FindOwnFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  CutToFolder(path);
  CopyText(Found.folder, path);
}

// Loaded by full path, so that a ferrox.dll elsewhere on the search path is
// never taken for the one beside the program. The library stays loaded.
void FindLibrary() {
  char path[MAX_PATH];
  Found.library = LibraryMissing;
  if (!Exists(Found.folder, NORVU_LIBRARY_NAME, false) || !JoinPath(path, Found.folder, NORVU_LIBRARY_NAME)) return;
  HMODULE library = LoadLibraryA(path);
  if (library == nullptr) {
    Found.library = LibraryUnloadable;
    return;
  }
  FerroxVersionProc version = reinterpret_cast<FerroxVersionProc>(GetProcAddress(library, NORVU_LIBRARY_ENTRY));
  if (version == nullptr) {
    Found.library = LibraryWithoutEntry;
    return;
  }
  Found.library = LibraryReady;
  CopyText(Found.libraryVersion, version());
}

void ReadSettings() {
  char path[MAX_PATH];
  Found.configFound = Exists(Found.folder, NORVU_CONFIG_NAME, false) && JoinPath(path, Found.folder, NORVU_CONFIG_NAME);
  if (!Found.configFound) return;
  GetPrivateProfileStringA(NORVU_CONFIG_SECTION, NORVU_VERSION_KEY, "", Found.version, sizeof(Found.version), path);
  for (int i = 0; i < kProductFileCount; ++i) {
    FileFinding& file = Found.files[i];
    GetPrivateProfileStringA(NORVU_CONFIG_SECTION, kProductFiles[i].key, "", file.name, sizeof(file.name), path);
    file.present = file.name[0] != '\0' && Exists(Found.folder, file.name, kProductFiles[i].folder);
  }
}

int WriteReport() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output != nullptr && output != INVALID_HANDLE_VALUE) {
    DWORD written;
    WriteFile(output, ReportText, lstrlenA(ReportText), &written, nullptr);
  }
  return ReportProblems(Found);
}

LRESULT OnCreate(HWND, UINT, WPARAM, LPARAM) {
  TitleFont = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
  return 0;
}

// The report's first line, the product's name, is the window's heading; the
// other lines follow in the dialog font.
LRESULT OnPaint(HWND window, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  InflateRect(&area, -kMargin, -kMargin);
  const char* rest = ReportText;
  while (*rest != '\0' && *rest != '\r') ++rest;
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, TitleFont != nullptr ? TitleFont : GetStockObject(DEFAULT_GUI_FONT));
  area.top += DrawTextA(dc, ReportText, (int)(rest - ReportText), &area, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(dc, rest, -1, &area, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
  return 0;
}

LRESULT OnDestroy(HWND, UINT, WPARAM, LPARAM) {
  if (TitleFont != nullptr) DeleteObject(TitleFont);
  PostQuitMessage(0);
  return 0;
}

const MessageEntry kNorvuMessages[] = {
    {WM_CREATE, OnCreate},
    {WM_PAINT, OnPaint},
    {WM_DESTROY, OnDestroy},
};
const MessageMap kNorvuMessageMap = MAP_OF(kNorvuMessages, DefaultWindow);

LRESULT CALLBACK NorvuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return MapDispatch(&kNorvuMessageMap, window, message, wParam, lParam);
}

int ShowWindowAndWait(HINSTANCE instance, int show) {
  WNDCLASSA cls = {};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = NorvuWndProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
  cls.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
  cls.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  cls.lpszClassName = kClassName;
  if (!RegisterClassA(&cls)) return 1;
  HWND window = CreateWindowA(kClassName, "Norvu", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 560, 320,
                              nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  // A missing or broken library is reported in the window, not by the
  // system's own error box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  FindOwnFolder();
  FindLibrary();
  ReadSettings();
  if (!ComposeReport(Found, ReportText, sizeof(ReportText))) {
    CopyText(ReportText, "Norvu cannot describe its folder: the folder name is too long.");
  }
  if (HasReportSwitch(commandLine)) return WriteReport();
  return ShowWindowAndWait(instance, show);
}
