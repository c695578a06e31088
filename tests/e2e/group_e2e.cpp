// Whole runs of setup.exe through to the program group page: the installed
// files, the registry entries and the three shortcuts, cancelling the group
// page, the Windows 95 registry path and a second installation.
#include <fstream>

#include "setup_run.h"

namespace {

class GroupRun : public InstallRun {};

TEST_F(GroupRun, EnterOnEveryPageInstallsRegistersAndMakesTheShortcuts) {
  HWND page = RunToGroupPage(false);
  EXPECT_EQ(ui::ControlText(page, IDC_PATH), group);
  EXPECT_EQ(ui::FocusedControl(page), ui::Control(page, IDOK));
  ui::PressKey(page, VK_RETURN);
  ExpectSuccess();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstallKey);
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
