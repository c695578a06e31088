#include "setup_run.h"

#include <stdio.h>

void SetupRun::TearDown() {
  if (HasFailure()) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string file = std::string(info->test_suite_name()) + "." + info->name() + ".bmp";
    if (ui::SaveBmp(ui::CaptureScreen(), file)) printf("screen at failure: %s\n", file.c_str());
  }
  setup.Terminate();
}

void SetupRun::StartSetup(const std::string& currentDir) {
  // Nothing may be left of another run: its windows would answer our waits.
  ui::WindowQuery other = ui::WindowQuery().Class("SETUP").Caption("SETUP");
  ui::WaitUntil([&] { return ui::FindWindowNow(other) == nullptr; }, "an earlier setup.exe to end", 10000);
  setup = ui::Process::Start(SetupExe(), currentDir);
}

HWND SetupRun::WaitBackdrop() {
  return ui::WaitWindow(ui::WindowQuery().Class("SETUP").Caption("SETUP").OfProcess(setup));
}

HWND SetupRun::WaitPage(int controlId, HWND except) {
  return ui::WaitWindow(
      ui::WindowQuery().Class("#32770").OfProcess(setup).WithControl(controlId).Except(except).NoMessageBox());
}

HWND SetupRun::StartAtAgreement(const std::string& currentDir) {
  StartSetup(currentDir);
  return WaitPage(IDC_AGREEMENT_TEXT);
}

ui::MessageBoxView SetupRun::WaitMessage() { return ui::WaitMessageBox(setup.Id()); }

DWORD SetupRun::WaitSetupExit() { return setup.WaitExit(); }

std::set<std::string> FolderTree(const std::string& root, int depth) {
  std::set<std::string> folders;
  if (depth <= 0) return folders;
  WIN32_FIND_DATAA found;
  std::string base = root.back() == '\\' ? root : root + "\\";
  HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return folders;
  do {
    std::string name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
    folders.insert(base + name);
    for (const std::string& below : FolderTree(base + name, depth - 1)) folders.insert(below);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return folders;
}

size_t DifferingPixels(const ui::Pixels& shown, const ui::Pixels& expected, const std::vector<RECT>& leaveOut) {
  size_t differ = 0;
  for (int y = 0; y < shown.height && y < expected.height; ++y) {
    for (int x = 0; x < shown.width && x < expected.width; ++x) {
      POINT screen = {shown.left + x, shown.top + y};
      bool covered = false;
      for (const RECT& r : leaveOut) covered = covered || PtInRect(&r, screen);
      if (!covered && shown.At(x, y) != expected.At(x, y)) ++differ;
    }
  }
  return differ;
}

namespace {

BOOL CALLBACK AddRect(HWND child, LPARAM param) {
  if (IsWindowVisible(child)) ((std::vector<RECT>*)param)->push_back(ui::ScreenRect(child));
  return TRUE;
}

}  // namespace

std::vector<RECT> ControlRects(HWND dialog) {
  std::vector<RECT> rects;
  EnumChildWindows(dialog, AddRect, (LPARAM)&rects);
  return rects;
}
