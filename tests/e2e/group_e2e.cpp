// Whole runs of setup.exe through to the program group page: the installed
// files, the registry entries and the three shortcuts, cancelling the group
// page, the Windows 95 registry path and a second installation.
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "setup_run.h"

namespace {

const char kInstallDir[] = "C:\\Program files\\Norvu";
const char kNtUninstall[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Uninstall\\Norvu";
const char kWinUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Norvu";
const char kAppPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Norvu";
// Wine's per-program version setting, read when setup.exe starts.
const char kAppVersion[] = "Software\\Wine\\AppDefaults\\setup.exe";
const char* const kPayload[] = {"norvu.exe",   "norvu.cfg",  "nvuhelp.hlp", "ferrox.dll",
                                "nvustart.kbm", "notice.wri", "unsetup.exe"};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return in ? all.str() : "<unreadable>";
}

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName, path = dir + "\\" + name;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(dir.c_str());
}

// A string value below HKEY_LOCAL_MACHINE, or "<none>".
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

// The Start menu's Programs folder for all users, as the shell names it.
std::string CommonPrograms() {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_PROGRAMS, FALSE);
  return path;
}

// The folder window that setup asks the shell to open after success: a
// window of another process captioned with the group's name.
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

HWND FolderWindowNow(DWORD setupId) {
  FolderWindowSearch search = {setupId, nullptr};
  EnumWindows(FindFolderWindow, (LPARAM)&search);
  return search.found;
}

// Closes the folder window and waits for its program to end: a shell
// window left open would keep the test's output open after it ends.
void CloseFolderWindow(HWND window) {
  DWORD id = ui::ProcessOf(window);
  PostMessageA(window, WM_CLOSE, 0, 0);
  HANDLE shell = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
  if (shell == nullptr) return;
  if (WaitForSingleObject(shell, 10000) != WAIT_OBJECT_0) TerminateProcess(shell, 1);
  CloseHandle(shell);
}

class GroupRun : public SetupRun {
 protected:
  void SetUp() override {
    group = CommonPrograms() + "\\Norvu";
    ASSERT_NE(group, "\\Norvu");
    Clean();
  }
  // Leaves no installation and no folder window behind.
  void TearDown() override {
    SetupRun::TearDown();
    if (HWND folder = FolderWindowNow(setup.Id())) CloseFolderWindow(folder);
    Clean();
  }
  static void Clean() {
    for (const char* key : {kNtUninstall, kWinUninstall, kAppPath}) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
    RegDeleteTreeA(HKEY_CURRENT_USER, kAppVersion);
    RemoveTree(CommonPrograms() + "\\Norvu");
    RemoveTree(kInstallDir);
  }

  // Enter on the agreement and destination pages; an existing installation
  // directory is asked about and accepted. Returns the program group page.
  HWND RunToGroupPage(bool directoryExists) {
    HWND agreement = StartAtAgreement();
    ui::PressKey(agreement, VK_RETURN);
    HWND destination = WaitPage(IDC_BROWSE, agreement);
    EXPECT_EQ(ui::ControlText(destination, IDC_PATH), kInstallDir);
    ui::PressKey(destination, VK_RETURN);
    if (directoryExists) {
      ui::MessageBoxView exists = WaitMessage();
      EXPECT_EQ(exists.text.rfind("Directory allready exsist", 0), 0u) << exists.text;
      ui::Answer(exists, IDYES);
    }
    return ui::WaitWindow(ui::WindowQuery().Class("#32770").OfProcess(setup).WithControlText(IDOK, "Finish").NoMessageBox(),
                          60000);
  }

  // The success text, then the end of setup with exit code 0.
  void ExpectSuccess() {
    ui::MessageBoxView done = WaitMessage();
    EXPECT_EQ(done.text, "Norvu was successfully installed");
    EXPECT_EQ(done.caption, kSetupCaption);
    EXPECT_EQ(done.icon, ui::Icon::Information);
    ui::Answer(done, IDOK);
    EXPECT_EQ(WaitSetupExit(), 0u);
  }

  // After a finished group page the group folder opens in a window of its
  // own; it is closed again.
  void ExpectFolderWindow() {
    HWND folder = nullptr;
    ui::WaitUntil([&] { return (folder = FolderWindowNow(setup.Id())) != nullptr; }, "the group folder's window");
    CloseFolderWindow(folder);
  }

  void ExpectProductFiles() {
    std::string payload = Folder(SetupExe()) + "\\payload\\";
    for (const char* name : kPayload) {
      std::string installed = ReadFile(std::string(kInstallDir) + "\\" + name);
      EXPECT_EQ(installed.size(), ReadFile(payload + name).size()) << name;
      EXPECT_TRUE(installed == ReadFile(payload + name)) << name << " differs from the build's copy";
    }
    EXPECT_EQ(FolderTree(kInstallDir), std::set<std::string>{std::string(kInstallDir) + "\\IsoData"});
  }

  void ExpectShortcuts() {
    struct { const char *link, *target, *description; } rows[] = {
        {"\\Norvu.lnk", "\\Norvu.exe", "Norvu"},
        {"\\Uninstall.lnk", "\\unsetup.exe", "Uninstall"},
        {"\\Readme.lnk", "\\notice.wri", "Readme"},
    };
    for (auto& row : rows) {
      Shortcut shortcut = ReadShortcut(group + row.link);
      EXPECT_STRCASEEQ(shortcut.target.c_str(), (std::string(kInstallDir) + row.target).c_str()) << row.link;
      EXPECT_EQ(shortcut.description, row.description) << row.link;
    }
  }

  void ExpectEntries(const char* uninstallKey) {
    EXPECT_EQ(MachineText(uninstallKey, "DisplayName"), "Norvu");
    EXPECT_EQ(MachineText(uninstallKey, "UninstallString"), std::string(kInstallDir) + "\\unsetup.exe");
    EXPECT_EQ(MachineText(uninstallKey, "Scdir"), group);
    EXPECT_EQ(MachineText(uninstallKey, "Progdir"), kInstallDir);
    EXPECT_EQ(MachineText(kAppPath, ""), std::string(kInstallDir) + "\\Norvu");
    EXPECT_EQ(MachineText(kAppPath, "Path"), kInstallDir);
  }

  std::string group;
};

TEST_F(GroupRun, EnterOnEveryPageInstallsRegistersAndMakesTheShortcuts) {
  HWND page = RunToGroupPage(false);
  EXPECT_EQ(ui::ControlText(page, IDC_PATH), group);
  EXPECT_EQ(ui::FocusedControl(page), ui::Control(page, IDOK));
  ui::PressKey(page, VK_RETURN);
  ExpectSuccess();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstall);
  EXPECT_FALSE(MachineKeyExists(kWinUninstall));
  ExpectFolderWindow();
}

TEST_F(GroupRun, CancelOnTheGroupPageStillReportsSuccessButMakesNoShortcut) {
  HWND page = RunToGroupPage(false);
  ui::PressKey(page, VK_ESCAPE);
  ui::MessageBoxView question = WaitMessage();
  EXPECT_EQ(question.text, "Cancel creating the shortcuts?");
  EXPECT_EQ(question.caption, "Confirmation");
  EXPECT_EQ(question.icon, ui::Icon::Question);
  ui::Answer(question, IDYES);
  ExpectSuccess();
  ExpectProductFiles();
  EXPECT_EQ(GetFileAttributesA(group.c_str()), INVALID_FILE_ATTRIBUTES) << group;
  EXPECT_FALSE(MachineKeyExists(kNtUninstall));
  EXPECT_FALSE(MachineKeyExists(kWinUninstall));
  EXPECT_FALSE(MachineKeyExists(kAppPath));
  ui::Pause(1500);  // time enough for a folder window to show up
  EXPECT_EQ(FolderWindowNow(setup.Id()), nullptr) << "a folder opened after a cancelled group page";
}

TEST_F(GroupRun, OnWindows95TheUninstallEntryGoesBelowTheWindowsKey) {
  HKEY version;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kAppVersion, &version), ERROR_SUCCESS);
  RegSetValueExA(version, "Version", 0, REG_SZ, (const BYTE*)"win95", 6);
  RegCloseKey(version);
  ui::PressKey(RunToGroupPage(false), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  ExpectShortcuts();
  ExpectEntries(kWinUninstall);
  EXPECT_FALSE(MachineKeyExists(kNtUninstall));
}

TEST_F(GroupRun, SecondInstallationOverTheFirstReplacesEverything) {
  ui::PressKey(RunToGroupPage(false), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  // Stale values that the second run must replace.
  HKEY entry;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNtUninstall, 0, KEY_WRITE, &entry), ERROR_SUCCESS);
  RegSetValueExA(entry, "Scdir", 0, REG_SZ, (const BYTE*)"stale", 6);
  RegCloseKey(entry);
  DeleteFileA((group + "\\Readme.lnk").c_str());

  ui::PressKey(RunToGroupPage(true), VK_RETURN);
  ExpectSuccess();  // no registry or folder message on the way
  ExpectFolderWindow();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstall);
}

}  // namespace
