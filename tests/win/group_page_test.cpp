// The program group page and its browser, run modally in this process and
// driven through their real controls. HKEY_LOCAL_MACHINE is redirected to a
// scratch key so that Finish writes its entries there.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_script.h"
#include "group/group_browser.h"
#include "group/programs_folder.h"
#include "resource.h"
#include "shell/pages.h"
#include "shell/setup_state.h"

namespace {

const char kCancelQuestion[] = "Cancel creating the shortcuts?";
const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Uninstall\\Norvu";
const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
// Drive D: is a plain folder of the test session. "D:\WINDOWS\Start Menu" is
// 21 characters, as on a Windows 95 machine.
const char kFakeWindows[] = "D:\\WINDOWS";
const char kStartMenu[] = "D:\\WINDOWS\\Start Menu";
const char kPrograms[] = "D:\\WINDOWS\\Start Menu\\Programs";
const char kInstall[] = "D:\\NorvuGroupInstall";

bool DirectoryExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(dir + "\\" + name);
      else DeleteFileA((dir + "\\" + name).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(dir.c_str());
}

std::string LinkTargetOf(const std::string& linkPath) {
  std::string target;
  CoInitialize(nullptr);
  IShellLinkA* link;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link))) {
    IPersistFile* file;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
      char text[MAX_PATH] = "";
      if (SUCCEEDED(file->Load(wide, STGM_READ))) link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
      target = text;
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return target;
}

std::string RegistryText(const char* key, const char* name) {
  HKEY k;
  char data[600] = "";
  DWORD size = sizeof(data);
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return "<no key>";
  if (RegQueryValueExA(k, name, nullptr, nullptr, (BYTE*)data, &size) != ERROR_SUCCESS) strcpy(data, "<no value>");
  RegCloseKey(k);
  return data;
}

// The rows of the browser's list in their shown order, joined by "|".
std::string Rows(HWND browser) {
  HWND list = GetDlgItem(browser, IDC_GROUP_LIST);
  std::string rows;
  for (int i = 0, n = ListView_GetItemCount(list); i < n; ++i) {
    char text[256];
    ListView_GetItemText(list, i, 0, text, sizeof(text));
    rows += std::string(i ? "|" : "") + text;
  }
  return rows;
}

// A double-click as the list view reports it: the first click has selected
// the row under the pointer, then the list sends NM_DBLCLK.
void DoubleClickRow(HWND browser, int row) {
  HWND list = GetDlgItem(browser, IDC_GROUP_LIST);
  RECT r = {LVIR_LABEL};
  SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)&r);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 2, (r.top + r.bottom) / 2));
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 2, (r.top + r.bottom) / 2));
}

class GroupPage : public testing::Test {
 protected:
  void SetUp() override {
    scratch = "Software\\NorvuGroupPageTest" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, scratch.c_str(), &root), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, root), ERROR_SUCCESS);
    HKEY k;
    for (const char* key : {kNtKey, kAppPaths}) {
      if (RegCreateKeyA(HKEY_LOCAL_MACHINE, key, &k) == ERROR_SUCCESS) RegCloseKey(k);
    }
    // A Windows 95 style Start menu and an installation on drive D:.
    RemoveTree(kFakeWindows);
    for (const char* dir : {kFakeWindows, kStartMenu, kPrograms, "D:\\WINDOWS\\Start Menu\\Programs\\Accessories",
                            "D:\\WINDOWS\\Start Menu\\Programs\\Games"}) {
      CreateDirectoryA(dir, nullptr);
    }
    RemoveTree(kInstall);
    CreateDirectoryA(kInstall, nullptr);
    strcpy(InstallDir, kInstall);
    strcpy(FolderName, "Norvu");
    DirSecurity = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    GroupPath[0] = GroupDir[0] = LinkTarget[0] = FinalOpenPath[0] = '\0';
    MainWindow = nullptr;
  }
  void TearDown() override {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(root);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
    RemoveTree(kFakeWindows);
    RemoveTree(kInstall);
  }
  PageResult Run(std::vector<ScriptStep> steps) {
    DialogScript script(std::move(steps));
    PageResult result = ShowGroupPage(nullptr);
    EXPECT_TRUE(script.Finished()) << "steps done: " << script.StepsDone();
    return result;
  }
  // A step on the open page: points GroupPath at a folder of the test, as
  // the browser would, and shows it as the page does.
  static ScriptStep OnPageWithGroupPath(const char* path, std::function<void(HWND)> action) {
    return OnPage(IDC_PATH, [=](HWND page) {
      strcpy(GroupPath, path);
      action(page);
    });
  }
  std::string scratch;
  HKEY root = nullptr;
};

TEST_F(GroupPage, ProposesNorvuInTheStartMenusProgramsFolder) {
  std::string shown;
  PageResult result = Run({
      OnPage(IDC_PATH, [&](HWND page) { shown = ItemText(page, IDC_PATH); Press(page, IDCANCEL); }),
      AnswerBox(kCancelQuestion, IDYES),
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(WinVersion, GetVersion());
  // The test session's Windows directory has no Start menu of its own (as
  // on Windows NT): the shell's folder for all users, as Wine names it.
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof(windows));
  ASSERT_FALSE(DirectoryExists(std::string(windows) + "\\Start Menu")) << windows;
  const char expected[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
  EXPECT_STREQ(GroupPath, expected);
  EXPECT_EQ(shown, std::string(expected) + "\\Norvu");
  EXPECT_TRUE(DirectoryExists(GroupPath)) << GroupPath;
}

TEST(ProgramsFolder, WindowsDirectoryStartMenuIsUsedWhereItExists) {
  char found[512];
  CreateDirectoryA("D:\\WINNT", nullptr);
  CreateDirectoryA("D:\\WINNT\\Start Menu", nullptr);
  CreateDirectoryA("D:\\WINNT\\Start Menu\\Programs", nullptr);
  FindProgramsFolder(found, sizeof(found), "D:\\WINNT");
  EXPECT_STREQ(found, "D:\\WINNT\\Start Menu\\Programs");

  // A file of that name is no folder: the shell's folder is taken instead.
  RemoveDirectoryA("D:\\WINNT\\Start Menu\\Programs");
  HANDLE f = CreateFileA("D:\\WINNT\\Start Menu\\Programs", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  char common[MAX_PATH] = "";
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_PROGRAMS, FALSE));
  FindProgramsFolder(found, sizeof(found), "D:\\WINNT");
  EXPECT_STREQ(found, common);
  DeleteFileA("D:\\WINNT\\Start Menu\\Programs");

  // No Start menu there at all.
  FindProgramsFolder(found, sizeof(found), "D:\\WINNT");
  EXPECT_STREQ(found, common);
  RemoveDirectoryA("D:\\WINNT\\Start Menu");
  RemoveDirectoryA("D:\\WINNT");
}

TEST_F(GroupPage, CancelAnsweredNoStaysAndYesEndsWithoutWritingAnything) {
  strcpy(FinalOpenPath, "untouched");
  std::string before, after, caption;
  PageResult result = Run({
      OnPageWithGroupPath(kPrograms, [&](HWND page) {
        SendMessageA(page, WM_COMMAND, IDC_BROWSE, 0);  // nothing to do there: close at once
      }),
      OnPage(IDC_GROUP_LIST, [](HWND browser) { Press(browser, IDOK); }),
      OnPage(IDC_PATH, [&](HWND page) { before = ItemText(page, IDC_PATH); Press(page, IDCANCEL); }),
      AnswerBox(kCancelQuestion, IDNO, &caption),
      OnPage(IDC_PATH, [&](HWND page) { after = ItemText(page, IDC_PATH); Press(page, IDCANCEL); }),
      AnswerBox(kCancelQuestion, IDYES),
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(caption, "Confirmation");
  EXPECT_EQ(before, "D:\\WINDOWS\\Start Menu\\Programs\\Norvu");
  EXPECT_EQ(after, before);
  EXPECT_STREQ(GroupPath, kPrograms);
  EXPECT_STREQ(FinalOpenPath, "untouched");
  EXPECT_FALSE(DirectoryExists(std::string(kPrograms) + "\\Norvu"));
  EXPECT_EQ(RegistryText(kUninstallKey, "DisplayName"), "<no key>");
  EXPECT_EQ(RegistryText((std::string(kAppPaths) + "\\Norvu").c_str(), "Path"), "<no key>");
}

TEST_F(GroupPage, FinishIgnoresTypedTextAndMakesGroupShortcutsAndEntries) {
  PageResult result = Run({
      OnPageWithGroupPath(kPrograms, [](HWND page) {
        SetDlgItemTextA(page, IDC_PATH, "D:\\Typed\\Elsewhere");
        Press(page, IDOK);
      }),
  });
  EXPECT_EQ(result, 0);
  std::string group = std::string(kPrograms) + "\\Norvu";
  EXPECT_STREQ(GroupPath, group.c_str());
  EXPECT_STREQ(GroupDir, group.c_str());
  EXPECT_STREQ(FinalOpenPath, group.c_str());
  EXPECT_STREQ(LinkTarget, "D:\\NorvuGroupInstall\\notice.wri");
  EXPECT_FALSE(DirectoryExists("D:\\Typed"));
  EXPECT_EQ(LinkTargetOf(group + "\\Norvu.lnk"), "D:\\NorvuGroupInstall\\Norvu.exe");
  EXPECT_EQ(LinkTargetOf(group + "\\Uninstall.lnk"), "D:\\NorvuGroupInstall\\unsetup.exe");
  EXPECT_EQ(LinkTargetOf(group + "\\Readme.lnk"), "D:\\NorvuGroupInstall\\notice.wri");
  EXPECT_EQ(RegistryText(kUninstallKey, "Scdir"), group);
  EXPECT_EQ(RegistryText(kUninstallKey, "UninstallString"), "D:\\NorvuGroupInstall\\unsetup.exe");
  EXPECT_EQ(RegistryText((std::string(kAppPaths) + "\\Norvu").c_str(), ""), "D:\\NorvuGroupInstall\\Norvu");
}

TEST_F(GroupPage, FinishIntoAnExistingGroupSavesTheShortcutsThere) {
  std::string group = std::string(kPrograms) + "\\Norvu";
  CreateDirectoryA(group.c_str(), nullptr);
  HANDLE old = CreateFileA((group + "\\Readme.lnk").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(old);  // an empty file from an earlier run is replaced
  PageResult result = Run({OnPageWithGroupPath(kPrograms, [](HWND page) { Press(page, IDOK); })});
  EXPECT_EQ(result, 0);
  EXPECT_STREQ(FinalOpenPath, group.c_str());
  EXPECT_EQ(LinkTargetOf(group + "\\Norvu.lnk"), "D:\\NorvuGroupInstall\\Norvu.exe");
  EXPECT_EQ(LinkTargetOf(group + "\\Readme.lnk"), "D:\\NorvuGroupInstall\\notice.wri");
  EXPECT_EQ(RegistryText(kUninstallKey, "DisplayName"), "Norvu");
}

TEST_F(GroupPage, RegistryFailureIsReportedAndTheShortcutsAreStillMade) {
  PageResult result = Run({
      OnPageWithGroupPath(kPrograms, [this](HWND page) {
        // Removed only now: the shell's folder lookup at the page's start
        // may create keys below it.
        EXPECT_EQ(RegDeleteTreeA(root, "SOFTWARE\\Microsoft\\Windows NT"), ERROR_SUCCESS);
        Press(page, IDOK);
        // Again, while Finish runs: the page stays live under the message
        // (the backdrop owns it), and a nested Finish would go one deeper;
        // Browse and Cancel would work on the half-made group. None acts.
        Press(page, IDOK);
        Press(page, IDC_BROWSE);
        Press(page, IDCANCEL);
      }),
      AnswerBox(std::string("Couldn't create key in registry\n") + kNtKey, IDOK),
  });
  EXPECT_EQ(result, 0);
  std::string group = std::string(kPrograms) + "\\Norvu";
  EXPECT_TRUE(FileExists(group + "\\Norvu.lnk"));
  EXPECT_TRUE(FileExists(group + "\\Uninstall.lnk"));
  EXPECT_TRUE(FileExists(group + "\\Readme.lnk"));
  EXPECT_STREQ(FinalOpenPath, group.c_str());
}

TEST_F(GroupPage, BrowserRisesNoHigherThanTwentyOneCharactersAndCancelKeepsTheWay) {
  std::string atPrograms, atStartMenu, labelAtStartMenu, afterEntering, shown;
  PageResult result = Run({
      OnPageWithGroupPath(kPrograms, [](HWND page) { Press(page, IDC_BROWSE); }),
      OnPage(IDC_GROUP_LIST, [&](HWND browser) {
        atPrograms = Rows(browser);
        DoubleClickRow(browser, 0);  // the up row: 30 characters is over 21
        atStartMenu = Rows(browser);
        labelAtStartMenu = ItemText(browser, IDC_GROUP_LABEL);
        DoubleClickRow(browser, 0);  // at 21 characters row 0 is a folder: entered
        afterEntering = GroupPath;
        Press(browser, IDCANCEL);
      }),
      OnPage(IDC_PATH, [&](HWND page) { shown = ItemText(page, IDC_PATH); Press(page, IDOK); }),
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(atPrograms, "........|Accessories|Games|Norvu");
  EXPECT_EQ(atStartMenu, "Norvu|Programs");
  EXPECT_EQ(labelAtStartMenu, "D:\\WINDOWS\\Start Menu\\Norvu");
  // "Norvu" sorts first at the Start menu: entering it descends into the
  // folder to be made, which does not exist yet.
  EXPECT_EQ(afterEntering, "D:\\WINDOWS\\Start Menu\\Norvu");
  EXPECT_EQ(shown, "D:\\WINDOWS\\Start Menu\\Norvu\\Norvu");
  // The parent of the group does not exist: no folder, no shortcut, no word.
  EXPECT_STREQ(FinalOpenPath, "D:\\WINDOWS\\Start Menu\\Norvu\\Norvu");
  EXPECT_FALSE(DirectoryExists("D:\\WINDOWS\\Start Menu\\Norvu"));
  EXPECT_EQ(RegistryText(kUninstallKey, "Scdir"), "D:\\WINDOWS\\Start Menu\\Norvu\\Norvu");
}

TEST_F(GroupPage, BrowserEntersFoldersAndOkOrCloseKeepEveryStep) {
  std::string rows, shownAfterOk, shownAfterClose;
  PageResult result = Run({
      OnPageWithGroupPath(kStartMenu, [](HWND page) { Press(page, IDC_BROWSE); }),
      OnPage(IDC_GROUP_LIST, [&](HWND browser) {
        DoubleClickRow(browser, 1);  // "Programs", after "Norvu"
        rows = Rows(browser);
        Press(browser, IDOK);
      }),
      OnPage(IDC_PATH, [&](HWND page) { shownAfterOk = ItemText(page, IDC_PATH); Press(page, IDC_BROWSE); }),
      OnPage(IDC_GROUP_LIST, [](HWND browser) {
        HWND list = GetDlgItem(browser, IDC_GROUP_LIST);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);  // a double-click on empty space
        NMHDR header = {list, IDC_GROUP_LIST, (UINT)NM_DBLCLK};
        SendMessageA(browser, WM_NOTIFY, IDC_GROUP_LIST, (LPARAM)&header);
        DoubleClickRow(browser, 2);  // "Games"
        PostMessageA(browser, WM_SYSCOMMAND, SC_CLOSE, 0);
      }),
      OnPage(IDC_PATH, [&](HWND page) { shownAfterClose = ItemText(page, IDC_PATH); Press(page, IDCANCEL); }),
      AnswerBox(kCancelQuestion, IDYES),
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(rows, "........|Accessories|Games|Norvu");
  EXPECT_EQ(shownAfterOk, "D:\\WINDOWS\\Start Menu\\Programs\\Norvu");
  EXPECT_EQ(shownAfterClose, "D:\\WINDOWS\\Start Menu\\Programs\\Games\\Norvu");
  EXPECT_STREQ(GroupPath, "D:\\WINDOWS\\Start Menu\\Programs\\Games");
}

}  // namespace
