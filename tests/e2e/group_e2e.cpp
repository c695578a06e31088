// Whole runs of setup.exe through to the program group page: the installed
// files, the registry entries and the three shortcuts, cancelling the group
// page, the Windows 95 registry path and a second installation.
#include <fstream>

#include "setup_run.h"

namespace {

class GroupRun : public InstallRun {};

// A value below HKEY_LOCAL_MACHINE as a REG_DWORD, or ~0u when there is none.
DWORD MachineNumber(const char* key, const char* name) {
  DWORD number = ~0u, size = sizeof(number), type = 0;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return ~0u;
  LONG status = RegQueryValueExA(k, name, nullptr, &type, (BYTE*)&number, &size);
  RegCloseKey(k);
  return status == ERROR_SUCCESS && type == REG_DWORD ? number : ~0u;
}

TEST_F(GroupRun, EnterOnEveryPageInstallsRegistersAndMakesTheShortcuts) {
  HWND page = RunToGroupPage(false);
  EXPECT_EQ(ui::ControlText(page, IDC_PATH), group);
  EXPECT_EQ(ui::FocusedControl(page), ui::Control(page, IDOK));
  // A second setup started now says that one runs, before any window of its
  // own, and ends; this one goes on.
  ui::Process second = ui::Process::Start(SetupExe(), "E:\\");
  ui::MessageBoxView running = ui::WaitMessageBox(second.Id());
  EXPECT_EQ(running.text, "Setup is already running.");
  EXPECT_EQ(running.caption, "Norvu - Setup");
  EXPECT_EQ(running.icon, ui::Icon::Information);
  EXPECT_EQ(ui::FindWindowNow(ui::WindowQuery().OfProcess(second).NoMessageBox()), nullptr);
  ui::Answer(running, IDOK);
  EXPECT_EQ(second.WaitExit(), 0u);
  ui::PressKey(page, VK_RETURN);
  ExpectSuccess();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstallKey);
  // The size the system's list shows is that of the installed files, in KB
  // (its other values: group_registry_test).
  long long bytes = 0;
  for (const char* name : kPayloadFiles) bytes += FileSize(BuiltPayloadPath(name));
  EXPECT_EQ(MachineNumber(kWinUninstallKey, "EstimatedSize"), (DWORD)((bytes + 1023) / 1024));
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
  // Stale files and values that the second run must replace: each file of
  // the earlier installation differs from the build's in its last bytes.
  for (const char* name : kPayloadFiles) {
    std::ofstream stale(std::string(kDefaultInstallDir) + "\\" + name, std::ios::binary);
    ASSERT_TRUE(stale << EarlierPayload(name) << std::flush) << name;
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
