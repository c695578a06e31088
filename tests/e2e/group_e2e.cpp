// Whole runs of setup.exe through to the program group page: the installed
// files, the registry entries and the three shortcuts, cancelling the group
// page, the Windows 95 registry path and a second installation.
#include "setup_run.h"

#include <tlhelp32.h>

#include <fstream>

namespace {

class GroupRun : public InstallRun {};

// Programs that process parent started and that still run; setup opens the
// group folder in a program of its own (Wine's explorer.exe).
std::vector<std::string> ProgramsStartedBy(DWORD parent) {
  std::vector<std::string> started;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {sizeof(entry)};
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID == parent) started.push_back(entry.szExeFile);
  }
  CloseHandle(snapshot);
  return started;
}

TEST_F(GroupRun, EnterOnEveryPageInstallsRegistersAndMakesTheShortcuts) {
  HWND page = RunToGroupPage(false);
  EXPECT_EQ(ui::ControlText(page, IDC_PATH), group);
  EXPECT_EQ(ui::FocusedControl(page), ui::Control(page, IDOK));
  ui::PressKey(page, VK_RETURN);
  ExpectSuccess();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstallKey);
  EXPECT_EQ(MachineText(kWinUninstallKey, "UninstallString"), "\"" + std::string(kDefaultInstallDir) + "\\unsetup.exe\"");
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
  EXPECT_FALSE(MachineKeyExists(kNtUninstallKey));
  EXPECT_FALSE(MachineKeyExists(kWinUninstallKey));
  EXPECT_FALSE(MachineKeyExists(kAppPathKey));
  // Setup has ended: a folder it opened would be a program it started, now
  // running, whenever its window shows.
  EXPECT_EQ(ProgramsStartedBy(setup.Id()), std::vector<std::string>{}) << "a folder opened after a cancelled group page";
  EXPECT_EQ(FolderWindowNow(setup.Id()), nullptr) << "a folder opened after a cancelled group page";
}

TEST_F(GroupRun, OnWindows95TheUninstallEntryGoesBelowTheWindowsKey) {
  HKEY version;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kAppVersionKey, &version), ERROR_SUCCESS);
  RegSetValueExA(version, "Version", 0, REG_SZ, (const BYTE*)"win95", 6);
  RegCloseKey(version);
  ui::PressKey(RunToGroupPage(false), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  ExpectShortcuts();
  ExpectEntries(kWinUninstallKey);
  EXPECT_FALSE(MachineKeyExists(kNtUninstallKey));
}

TEST_F(GroupRun, SecondInstallationOverTheFirstReplacesEverything) {
  ui::PressKey(RunToGroupPage(false), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  // Stale files and values that the second run must replace.
  for (const char* name : kPayloadFiles) {
    std::ofstream(std::string(kDefaultInstallDir) + "\\" + name, std::ios::binary) << EarlierPayload(name);
  }
  HKEY entry;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNtUninstallKey, 0, KEY_WRITE, &entry), ERROR_SUCCESS);
  RegSetValueExA(entry, "Scdir", 0, REG_SZ, (const BYTE*)"stale", 6);
  RegCloseKey(entry);
  DeleteFileA((group + "\\Readme.lnk").c_str());

  ui::PressKey(RunToGroupPage(true), VK_RETURN);
  ExpectSuccess();  // no registry or folder message on the way
  ExpectFolderWindow();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstallKey);
}

}  // namespace
