// The product's registry entries, written below a stand-in for
// HKEY_LOCAL_MACHINE: the test redirects the root key to a scratch key of
// its own, so the real registry functions run against it.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "dialog_script.h"
#include "group/registration.h"
#include "resources/product_version.h"
#include "shell/setup_state.h"

namespace {

const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const DWORD kWindowsNt4 = 0x05650004;
const DWORD kWindows95 = 0xC3B60004;

struct Value {
  LONG status = -1;
  DWORD type = 0, size = 0;
  std::string data;
  DWORD number = 0;  // the first four bytes
};

Value ReadValue(const std::string& key, const char* name) {
  Value v;
  HKEY k;
  v.status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k);
  if (v.status != ERROR_SUCCESS) return v;
  char data[1024] = "";
  v.size = sizeof(data);
  v.status = RegQueryValueExA(k, name, nullptr, &v.type, (BYTE*)data, &v.size);
  v.data = data;
  memcpy(&v.number, data, sizeof(v.number));
  RegCloseKey(k);
  return v;
}

DWORD ValueCount(const std::string& key) {
  HKEY k;
  DWORD count = 0;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
  RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(k);
  return count;
}

bool KeyExists(const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

// A string value exactly as stored: REG_SZ, the text and its terminator.
#define EXPECT_TEXT(key, name, text)                                  \
  do {                                                                \
    Value v_ = ReadValue(key, name);                                  \
    EXPECT_EQ(v_.status, ERROR_SUCCESS) << key << " : " << name;      \
    EXPECT_EQ(v_.type, (DWORD)REG_SZ) << name;                        \
    EXPECT_EQ(v_.data, std::string(text)) << name;                    \
    EXPECT_EQ(v_.size, std::string(text).size() + 1) << name;         \
  } while (0)

class Registration : public testing::Test {
 protected:
  void SetUp() override {
    scratch = "Software\\NorvuRegistryTest" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, scratch.c_str(), &root), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, root), ERROR_SUCCESS);
    strcpy(InstallDir, "C:\\Program files\\Norvu");
    strcpy(GroupDir, "C:\\WINDOWS\\Start Menu\\Programs\\Norvu");
    strcpy(GroupPath, GroupDir);
    strcpy(LinkTarget, "before");
    MainWindow = nullptr;
  }
  void TearDown() override {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(root);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
  }
  void MakeKey(const char* path) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, path, &k), ERROR_SUCCESS);
    RegCloseKey(k);
  }
  void MakeStandardKeys() {
    MakeKey(kNtKey);
    MakeKey(kAppPaths);
  }
  std::string scratch;
  HKEY root = nullptr;
  DialogScript watchdog{{}};  // a stray message box fails the case after 20 s
};

TEST_F(Registration, WindowsNtEntryHoldsFourValuesAndAppPathTwo) {
  MakeStandardKeys();
  WinVersion = kWindowsNt4;
  RegisterProduct();
  std::string uninstall = std::string(kNtKey) + "\\Uninstall\\Norvu";
  EXPECT_TEXT(uninstall, "DisplayName", "Norvu");
  EXPECT_TEXT(uninstall, "UninstallString", "C:\\Program files\\Norvu\\unsetup.exe");  // unquoted
  EXPECT_TEXT(uninstall, "Scdir", "C:\\WINDOWS\\Start Menu\\Programs\\Norvu");
  EXPECT_TEXT(uninstall, "Progdir", "C:\\Program files\\Norvu");
  EXPECT_EQ(ValueCount(uninstall), 4u);
  // The same entry in the system's list of programs, which runs it as a
  // command line: quoted, for the space in the path.
  const std::string listed = std::string(kWindowsKey) + "\\Uninstall\\Norvu";
  EXPECT_TEXT(listed, "UninstallString", "\"C:\\Program files\\Norvu\\unsetup.exe\"");
  for (const char* name : {"DisplayName", "Scdir", "Progdir"}) {
    EXPECT_TEXT(listed, name, ReadValue(uninstall, name).data);
  }
  // With what that list shows beside the name; none of it in the NT entry.
  EXPECT_TEXT(listed, "DisplayIcon", "C:\\Program files\\Norvu\\norvu.exe,0");
  EXPECT_TEXT(listed, "DisplayVersion", NORVU_VERSION);
  EXPECT_TEXT(listed, "InstallLocation", "C:\\Program files\\Norvu");
  EXPECT_EQ(ReadValue(listed, "EstimatedSize").type, (DWORD)REG_DWORD);  // its figure: group_e2e
  for (const char* name : {"NoModify", "NoRepair"}) {
    EXPECT_EQ(ReadValue(listed, name).type, (DWORD)REG_DWORD) << name;
    EXPECT_EQ(ReadValue(listed, name).number, 1u) << name;
  }
  EXPECT_EQ(ValueCount(listed), 10u);
  std::string appPath = std::string(kAppPaths) + "\\Norvu";
  EXPECT_TEXT(appPath, "", "C:\\Program files\\Norvu\\Norvu");
  EXPECT_TEXT(appPath, "Path", "C:\\Program files\\Norvu");
  EXPECT_EQ(ValueCount(appPath), 2u);
  EXPECT_STREQ(LinkTarget, "C:\\Program files\\Norvu\\unsetup.exe");
  EXPECT_STREQ(GroupDir, "C:\\WINDOWS\\Start Menu\\Programs\\Norvu");
  EXPECT_STREQ(GroupPath, GroupDir);
}

TEST_F(Registration, Windows95EntryGoesBelowTheWindowsKey) {
  MakeKey(kWindowsKey);
  MakeKey(kAppPaths);
  WinVersion = kWindows95;
  RegisterProduct();
  std::string uninstall = std::string(kWindowsKey) + "\\Uninstall\\Norvu";
  EXPECT_TEXT(uninstall, "DisplayName", "Norvu");
  EXPECT_TEXT(uninstall, "Progdir", "C:\\Program files\\Norvu");
  EXPECT_EQ(ValueCount(uninstall), 4u);  // the list of Windows 95 shows no more
  EXPECT_FALSE(KeyExists(kNtKey));
  EXPECT_TEXT(std::string(kAppPaths) + "\\Norvu", "Path", "C:\\Program files\\Norvu");
}

TEST_F(Registration, SecondRegistrationReplacesTheValues) {
  MakeStandardKeys();
  WinVersion = kWindowsNt4;
  RegisterProduct();
  // The longest folder whose uninstaller path still fits (499 characters and
  // "\unsetup.exe"): quoted whole in the system's list, whatever its length.
  const std::string dir = "D:\\Programs for everyone\\" + std::string(468, 'n') + "\\Norvu";
  strcpy(InstallDir, dir.c_str());
  strcpy(GroupDir, "D:\\Menu\\Norvu");
  RegisterProduct();
  std::string uninstall = std::string(kNtKey) + "\\Uninstall\\Norvu";
  EXPECT_TEXT(uninstall, "UninstallString", dir + "\\unsetup.exe");
  EXPECT_TEXT(uninstall, "Scdir", "D:\\Menu\\Norvu");
  EXPECT_TEXT(uninstall, "Progdir", dir);
  EXPECT_EQ(ValueCount(uninstall), 4u);
  const std::string listed = std::string(kWindowsKey) + "\\Uninstall\\Norvu";
  EXPECT_TEXT(listed, "UninstallString", "\"" + dir + "\\unsetup.exe\"");
  EXPECT_TEXT(listed, "DisplayIcon", dir + "\\norvu.exe,0");
  EXPECT_TEXT(listed, "InstallLocation", dir);
  std::string appPath = std::string(kAppPaths) + "\\Norvu";
  EXPECT_TEXT(appPath, "", dir + "\\Norvu");
  EXPECT_TEXT(appPath, "Path", dir);
}

TEST_F(Registration, MissingVersionKeyIsReportedAndNothingIsWritten) {
  MakeKey(kAppPaths);  // present, yet not written to after the failure
  WinVersion = kWindowsNt4;
  std::string caption;
  {
    DialogScript script({AnswerBox(std::string("Couldn't create key in registry\n") + kNtKey, IDOK, &caption)});
    RegisterProduct();
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_FALSE(caption.empty());  // the system's default title, not one of ours
  EXPECT_NE(caption, "Norvu - Setup");
  EXPECT_FALSE(KeyExists(std::string(kAppPaths) + "\\Norvu"));
  EXPECT_FALSE(KeyExists(kNtKey));
  EXPECT_STREQ(LinkTarget, "before");
}

TEST_F(Registration, MissingAppPathsKeyStillLeavesTheUninstallEntry) {
  MakeKey(kNtKey);
  WinVersion = kWindowsNt4;
  RegisterProduct();  // no message: a script-less box would hang here
  EXPECT_TEXT(std::string(kNtKey) + "\\Uninstall\\Norvu", "DisplayName", "Norvu");
  EXPECT_FALSE(KeyExists(kAppPaths));
  EXPECT_FALSE(KeyExists(kWindowsKey));  // nor the system's list of programs
}

TEST_F(Registration, UninstallerTooLongToComposeIsLeftOutNotStale) {
  MakeStandardKeys();
  WinVersion = kWindowsNt4;
  std::string longDir = "C:\\" + std::string(500, 'd');  // 503 + "\unsetup.exe" > 511
  strcpy(InstallDir, longDir.c_str());
  RegisterProduct();
  std::string uninstall = std::string(kNtKey) + "\\Uninstall\\Norvu";
  EXPECT_TEXT(uninstall, "Progdir", longDir);
  EXPECT_NE(ReadValue(uninstall, "UninstallString").status, ERROR_SUCCESS);
  EXPECT_STREQ(LinkTarget, "before");
  EXPECT_TEXT(std::string(kAppPaths) + "\\Norvu", "", longDir + "\\Norvu");
}

}  // namespace
