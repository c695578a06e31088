#include "setup_run.h"

#include <shlobj.h>
#include <stdio.h>

#include <algorithm>
#include <fstream>
#include <sstream>

void SetupRun::TearDown() {
  if (HasFailure()) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    // Beside the test program, whatever folder it was started from.
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder = program;
    folder.resize(folder.find_last_of('\\') + 1);
    std::string file = folder + info->test_suite_name() + "." + info->name() + ".bmp";
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

// ---------------------------------------------------------------------------

const char kDefaultInstallDir[] = "C:\\Program files\\Norvu";
const char* const kPayloadFiles[7] = {"norvu.exe",    "norvu.cfg",  "nvuhelp.hlp", "ferrox.dll",
                                      "nvustart.kbm", "notice.wri", "unsetup.exe"};
const char kNtUninstallKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Uninstall\\Norvu";
const char kWinUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Norvu";
const char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Norvu";
const char kAppVersionKey[] = "Software\\Wine\\AppDefaults\\setup.exe";

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (long long)data.nFileSizeHigh << 32 | data.nFileSizeLow;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  if (in) return all.str();
  ADD_FAILURE() << "cannot read " << path;
  return "<unreadable " + path + ">";
}

std::string BuiltPayloadPath(const char* name) {
  const std::string& exe = SetupExe();
  return exe.substr(0, exe.find_last_of('\\')) + "\\payload\\" + name;
}

std::string BuiltPayload(const char* name) { return ReadWholeFile(BuiltPayloadPath(name)); }

std::string EarlierPayload(const char* name) {
  std::string bytes = BuiltPayload(name);
  const std::string mark = "<earlier installation>\r\n";
  bytes.replace(bytes.size() - std::min(bytes.size(), mark.size()), mark.size(), mark);
  return bytes;
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName, path = dir + "\\" + name;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(dir.c_str());
}

std::string MachineText(const char* key, const char* name) {
  char data[1024];
  DWORD size = sizeof(data), type = 0;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return "<none>";
  LONG status = RegQueryValueExA(k, name, nullptr, &type, (BYTE*)data, &size);
  RegCloseKey(k);
  if (status != ERROR_SUCCESS || type != REG_SZ || size == 0 || data[size - 1] != '\0') return "<none>";
  return data;
}

bool MachineKeyExists(const char* key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

std::string CommonPrograms() {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_PROGRAMS, FALSE);
  return path;
}

namespace {

struct FolderWindowSearch {
  DWORD setupId;
  HWND found;
};

BOOL CALLBACK FindFolderWindow(HWND window, LPARAM param) {
  FolderWindowSearch* search = (FolderWindowSearch*)param;
  char caption[MAX_PATH] = "";
  GetWindowTextA(window, caption, sizeof(caption));
  if (IsWindowVisible(window) && ui::ProcessOf(window) != search->setupId && strcmp(caption, "Norvu") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct Shortcut {
  std::string target, description;
};

Shortcut ReadShortcut(const std::string& linkPath) {
  Shortcut shortcut = {"<unreadable>", ""};
  CoInitialize(nullptr);
  IShellLinkA* link;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link))) {
    IPersistFile* file;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = "";
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        shortcut.target = text;
        link->GetDescription(text, MAX_PATH);
        shortcut.description = text;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return shortcut;
}

}  // namespace

HWND FolderWindowNow(DWORD setupId) {
  FolderWindowSearch search = {setupId, nullptr};
  EnumWindows(FindFolderWindow, (LPARAM)&search);
  return search.found;
}

void CloseFolderWindow(HWND window) {
  DWORD id = ui::ProcessOf(window);
  PostMessageA(window, WM_CLOSE, 0, 0);
  HANDLE shell = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
  if (shell == nullptr) return;
  if (WaitForSingleObject(shell, 10000) != WAIT_OBJECT_0) TerminateProcess(shell, 1);
  CloseHandle(shell);
}

void InstallRun::SetUp() {
  group = CommonPrograms() + "\\Norvu";
  ASSERT_NE(group, "\\Norvu");
  Clean();
}

void InstallRun::TearDown() {
  SetupRun::TearDown();
  if (HWND folder = FolderWindowNow(setup.Id())) CloseFolderWindow(folder);
  Clean();
}

void InstallRun::Clean() {
  for (const char* key : {kNtUninstallKey, kWinUninstallKey, kAppPathKey}) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
  RegDeleteTreeA(HKEY_CURRENT_USER, kAppVersionKey);
  RemoveTree(CommonPrograms() + "\\Norvu");
  RemoveTree(kDefaultInstallDir);
}

HWND InstallRun::WaitGroupPage(DWORD timeout) {
  return ui::WaitWindow(
      ui::WindowQuery().Class("#32770").OfProcess(setup).WithControlText(IDOK, "Finish").NoMessageBox(), timeout);
}

HWND InstallRun::RunToGroupPage(bool directoryExists) {
  HWND agreement = StartAtAgreement();
  ui::PressKey(agreement, VK_RETURN);
  HWND destination = WaitPage(IDC_BROWSE, agreement);
  EXPECT_EQ(ui::ControlText(destination, IDC_PATH), kDefaultInstallDir);
  ui::PressKey(destination, VK_RETURN);
  if (directoryExists) {
    ui::MessageBoxView exists = WaitMessage();
    EXPECT_EQ(exists.text.rfind("Directory allready exsist", 0), 0u) << exists.text;
    ui::Answer(exists, IDYES);
  }
  return WaitGroupPage();
}

HWND InstallRun::StartAtDestination() {
  HWND agreement = StartAtAgreement();
  ui::PressKey(agreement, VK_RETURN);
  return WaitPage(IDC_BROWSE, agreement);
}

void InstallRun::ChooseFolder(HWND destination, const std::string& drive, const std::vector<std::string>& folders) {
  ui::Click(ui::Control(destination, IDC_BROWSE));
  HWND browse = ui::WaitWindow(ui::WindowQuery().Class("#32770").Caption("Setup - directory").OfProcess(setup));
  ui::SelectComboText(ui::Control(browse, IDC_DRIVES), drive);
  std::string path = drive;
  ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == path + "Norvu"; }, "drive " + drive);
  for (const std::string& folder : folders) {
    ui::DoubleClickListText(ui::Control(browse, IDC_FOLDER_LIST), folder);
    path += folder + "\\";
    ui::WaitUntil([&] { return ui::ControlText(browse, IDC_BROWSE_LABEL) == path + "Norvu"; }, "folder " + path);
  }
  ui::PressKey(browse, VK_RETURN);
  ui::WaitGone(browse, "the Browse dialog");
  ui::WaitUntil([&] { return ui::ControlText(destination, IDC_PATH) == path + "Norvu"; }, path + "Norvu on the page");
}

void InstallRun::ExpectSuccess() {
  ui::MessageBoxView done = WaitMessage();
  EXPECT_EQ(done.text, "Norvu was successfully installed");
  EXPECT_EQ(done.caption, kSetupCaption);
  EXPECT_EQ(done.icon, ui::Icon::Information);
  ui::Answer(done, IDOK);
  EXPECT_EQ(WaitSetupExit(), 0u);
}

void InstallRun::ExpectFolderWindow() {
  HWND folder = nullptr;
  ui::WaitUntil([&] { return (folder = FolderWindowNow(setup.Id())) != nullptr; }, "the group folder's window");
  CloseFolderWindow(folder);
}

void InstallRun::ExpectCopyFailure(const std::string& from, const std::string& to) {
  ui::MessageBoxView failure = WaitMessage();
  EXPECT_EQ(failure.text, "Unable to copy a file:\nFrom=" + from + "\nTo=" + to + "\nProgram will exit");
  EXPECT_EQ(failure.caption, "Error");
  EXPECT_EQ(failure.icon, ui::Icon::Error);
  ui::Answer(failure, IDOK);
  ExpectCancelled();
}

void InstallRun::ExpectCancelled() {
  ui::MessageBoxView end = WaitMessage();
  EXPECT_EQ(end.text, kCancelText);
  EXPECT_EQ(end.caption, kSetupCaption);
  EXPECT_EQ(end.icon, ui::Icon::Warning);
  ui::Answer(end, IDOK);
  EXPECT_EQ(WaitSetupExit(), 0u);
}

void InstallRun::ExpectProductFiles(const std::string& dir, bool onlyFolder) {
  for (const char* name : kPayloadFiles) {
    std::string installed = ReadWholeFile(dir + "\\" + name);
    std::string built = BuiltPayload(name);
    EXPECT_EQ(installed.size(), built.size()) << name;
    EXPECT_TRUE(installed == built) << name << " differs from the build's copy";
  }
  std::set<std::string> folders = FolderTree(dir);
  if (onlyFolder) EXPECT_EQ(folders, std::set<std::string>{dir + "\\IsoData"});
  else EXPECT_EQ(folders.count(dir + "\\IsoData"), 1u);
}

void InstallRun::ExpectShortcuts(const std::string& dir) {
  struct { const char *link, *target, *description; } rows[] = {
      {"\\Norvu.lnk", "\\Norvu.exe", "Norvu"},
      {"\\Uninstall.lnk", "\\unsetup.exe", "Uninstall"},
      {"\\Readme.lnk", "\\notice.wri", "Readme"},
  };
  for (auto& row : rows) {
    Shortcut shortcut = ReadShortcut(group + row.link);
    EXPECT_STRCASEEQ(shortcut.target.c_str(), (dir + row.target).c_str()) << row.link;
    EXPECT_EQ(shortcut.description, row.description) << row.link;
  }
}

void InstallRun::ExpectEntries(const char* uninstallKey, const std::string& dir) {
  EXPECT_EQ(MachineText(uninstallKey, "DisplayName"), "Norvu");
  EXPECT_EQ(MachineText(uninstallKey, "UninstallString"), dir + "\\unsetup.exe");
  EXPECT_EQ(MachineText(uninstallKey, "Scdir"), group);
  EXPECT_EQ(MachineText(uninstallKey, "Progdir"), dir);
  EXPECT_EQ(MachineText(kAppPathKey, ""), dir + "\\Norvu");
  EXPECT_EQ(MachineText(kAppPathKey, "Path"), dir);
}

void UserFiles::Plant(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  ASSERT_TRUE(out.good()) << "cannot write " << path;
  files_.emplace_back(path, content);
}

void UserFiles::ExpectUnchanged() const {
  for (const auto& file : files_) EXPECT_TRUE(ReadWholeFile(file.first) == file.second) << file.first << " changed";
}

void UserFiles::Remove() {
  for (const auto& file : files_) {
    SetFileAttributesA(file.first.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.first.c_str());
  }
  files_.clear();
}
