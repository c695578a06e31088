// The installed uninstaller, end to end: setup.exe installs with Enter on
// every page, then unsetup.exe removes what it made. Checked against
// snapshots of the prefix's files and registry, with a file the user added,
// run twice, declined, and with the product running.
// Also: the copy's switch typed by hand, no entry, an entry naming C:\ or
// a folder through a link, a stale entry and then none.
#include <map>
#include <vector>

#include "setup_run.h"  // windows.h first, through the driver
#include "tests/wine_host.h"

#include <shellapi.h>

namespace {

const char kCaption[] = "Norvu - Uninstall";
const char kQuestionStart[] = "Remove Norvu and its shortcuts from this computer?";
const char kRemoved[] = "Norvu was removed from this computer.";
const char kNotInstalled[] =
    "Norvu is not installed on this computer: there is no uninstall entry for it in the registry.\n\n"
    "Nothing was changed.";
const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRemovals[] = "PendingFileRenameOperations";
const char kNtUninstallList[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Uninstall";

std::string Lower(std::string text) {
  for (char& c : text) c = (char)tolower((unsigned char)c);
  return text;
}

std::string TempFolder() {
  char path[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, path);
  return path;
}

// The uninstaller's copy goes into a folder "nvuNUMBER.tmp" of its own.
bool IsUninstallerCopy(const std::string& name) {
  std::string lower = Lower(name);
  return lower.rfind("nvu", 0) == 0 && lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".tmp") == 0;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// Path -> what is there: "<folder>" or the file's size.
using Snapshot = std::map<std::string, std::string>;

// Every file and folder below dir. Links are not followed: Wine links the
// user's Documents, Desktop... to the Unix home. In the temporary folder,
// which the other test programs of the session use at the same time, only
// the uninstaller's copies count.
void AddFiles(Snapshot& tree, const std::string& dir, const std::string& temp) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  const bool inTemp = Lower(dir) == Lower(temp);
  do {
    std::string name = found.cFileName, path = dir + name;
    if (name == "." || name == ".." || (inTemp && !IsUninstallerCopy(name))) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      tree[path] = "<link>";
    } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      tree[path] = "<folder>";
      AddFiles(tree, path + "\\", temp);
    } else {
      tree[path] = std::to_string(((unsigned long long)found.nFileSizeHigh << 32) | found.nFileSizeLow);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string ValueText(DWORD type, const BYTE* data, DWORD size) {
  std::string text = std::to_string(type) + ":";
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    for (DWORD i = 0; i < size; ++i) text += data[i] ? (char)data[i] : '|';
  } else {
    static const char hex[] = "0123456789abcdef";
    for (DWORD i = 0; i < size; ++i) text += {hex[data[i] >> 4], hex[data[i] & 15]};
  }
  return text;
}

// Keys that Wine and its shell rewrite on their own while programs come and
// go: Wine's settings and the shell's window state below the user's key.
bool IsSystemsOwn(const std::string& path) {
  return path == "HKCU\\Software\\Wine" || path == "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
}

// Every key (path -> "<key>") and value (path + "\:name" -> type and data).
void AddKeys(Snapshot& registry, HKEY key, const std::string& path) {
  if (IsSystemsOwn(path)) return;
  DWORD subkeys = 0, longestKey = 0, values = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longestKey, nullptr, &values, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
    return;
  }
  registry[path] = "<key>";
  std::vector<char> name(longestName + 2);
  std::vector<BYTE> data(longestData + 2);
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = (DWORD)name.size(), dataSize = (DWORD)data.size(), type = 0;
    if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS) break;
    registry[path + "\\:" + std::string(name.data(), nameSize)] = ValueText(type, data.data(), dataSize);
  }
  std::vector<char> child(longestKey + 2);
  for (DWORD i = 0;; ++i) {
    DWORD childSize = (DWORD)child.size();
    if (RegEnumKeyExA(key, i, child.data(), &childSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY opened;
    std::string childName(child.data(), childSize);
    if (RegOpenKeyExA(key, childName.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
      AddKeys(registry, opened, path + "\\" + childName);
      RegCloseKey(opened);
    }
  }
}

void AddKeys(Snapshot& registry, HKEY root, const char* rootName, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  AddKeys(registry, key, std::string(rootName) + "\\" + path);
  RegCloseKey(key);
}

// The prefix's drive C, the machine's and the user's software keys, and the
// system's list of files to remove at its next start. (The rest of the
// machine's key is its hardware and device state, which Wine writes anew
// whenever a display starts.)
Snapshot TakeSnapshot() {
  Snapshot all;
  AddFiles(all, "C:\\", TempFolder());
  AddKeys(all, HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE");
  AddKeys(all, HKEY_CURRENT_USER, "HKCU", "Software");
  AddKeys(all, HKEY_LOCAL_MACHINE, "HKLM", kSessionManager);
  return all;
}

// What differs, one line per entry: "+ path = now", "- path = before",
// "~ path: before -> now".
std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> lines;
  for (const auto& entry : before) {
    auto now = after.find(entry.first);
    if (now == after.end()) lines.push_back("- " + entry.first + " = " + entry.second);
    else if (now->second != entry.second) lines.push_back("~ " + entry.first + ": " + entry.second + " -> " + now->second);
  }
  for (const auto& entry : after) {
    if (!before.count(entry.first)) lines.push_back("+ " + entry.first + " = " + entry.second);
  }
  return lines;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

// The files that the system is to remove at its next start, as MoveFileEx
// records them: "\??\path" followed by an empty new name, for each.
std::vector<std::string> ScheduledRemovals() {
  std::vector<std::string> paths;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS) return paths;
  std::vector<char> data(65536);
  DWORD size = (DWORD)data.size() - 2, type = 0;
  if (RegQueryValueExA(key, kPendingRemovals, nullptr, &type, (BYTE*)data.data(), &size) == ERROR_SUCCESS) {
    for (const char* p = data.data(); p < data.data() + size && *p != '\0';) {
      std::string from = p;
      p += from.size() + 1;
      std::string to = p;
      p += to.size() + 1;
      if (to.empty()) paths.push_back(from.rfind("\\??\\", 0) == 0 ? from.substr(4) : from);
    }
  }
  RegCloseKey(key);
  return paths;
}

// The pending-removal value as raw bytes, to be put back after a case.
struct SavedValue {
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};

SavedValue SaveValue(const char* keyPath, const char* name) {
  SavedValue saved;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return saved;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
    saved.data.resize(size);
    saved.present = RegQueryValueExA(key, name, nullptr, &saved.type, saved.data.data(), &size) == ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return saved;
}

void RestoreValue(const char* keyPath, const char* name, const SavedValue& saved) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
  if (saved.present) RegSetValueExA(key, name, 0, saved.type, saved.data.data(), (DWORD)saved.data.size());
  else RegDeleteValueA(key, name);
  RegCloseKey(key);
}

bool KeyIsEmpty(HKEY root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD subkeys = 1, values = 1;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return subkeys == 0 && values == 0;
}

// A Unix symbolic link on drive D: to a folder, which Wine reports as a
// reparse point, as Windows does a junction; removed by the fixture.
const char kFolderLink[] = "D:\\norvu-e2e-link";
bool FolderLinkThere() { return GetFileAttributesA(kFolderLink) != INVALID_FILE_ATTRIBUTES; }
std::string UnixFolderLink() { return UnixPath("D:\\") + "/" + (kFolderLink + 3); }

// Points the link at target, which holds name: the link leads there once
// name is seen through it. (ln -sfn replaces the link in place: an rm of
// it in the middle of a case was seen to make Wine drop this program's
// output from then on.)
bool LinkFolder(const std::string& target, const std::string& name) {
  const std::string seen = std::string(kFolderLink) + "\\" + name;
  return RunOnHost("Z:\\bin\\ln -sfn \"" + UnixPath(target) + "\" \"" + UnixFolderLink() + "\"",
                   [&] { return PathExists(seen); });
}

void RemoveFolderLink() {
  if (FolderLinkThere()) RunOnHost("Z:\\bin\\rm -f \"" + UnixFolderLink() + "\"", [] { return !FolderLinkThere(); });
}

// Runs commandLine in C:\ as the system does, shown as show, inheriting handles when inherit.
ui::Process StartCommandLine(std::string commandLine, WORD show, bool inherit) {
  STARTUPINFOA startup = {sizeof(startup)};
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION started = {};
  CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, inherit, 0, nullptr, "C:\\", &startup, &started);
  WaitForInputIdle(started.hProcess, 10000);
  ui::Process process = ui::Process::Attach(started.dwProcessId);  // throws when it did not start
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return process;
}

class UninstallRun : public InstallRun {
 protected:
  void SetUp() override {
    // Wine closes its desktop a second after the last program with a window ends and refuses
    // windows to programs starting then: the build's norvu.exe, hidden, keeps it open meanwhile.
    holder = StartCommandLine("\"" + BuiltPayloadPath("norvu.exe") + "\"", SW_HIDE, false);
    InstallRun::SetUp();
    // As on a machine where Norvu never was: an Uninstall list below the
    // Windows NT key is only ever made by setup (an earlier program may
    // have left it empty).
    if (KeyIsEmpty(HKEY_LOCAL_MACHINE, kNtUninstallList)) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kNtUninstallList);
    pendingBefore = SaveValue(kSessionManager, kPendingRemovals);
    scheduledBefore = ScheduledRemovals();
  }

  // Ends whatever is still running, removes the uninstaller's copies that
  // the case scheduled and puts the pending-removal value back.
  void TearDown() override {
    for (ui::Process& process : others) process.Terminate();
    others.clear();
    product.Terminate();
    // Scheduled in this order: the copy, then its folder.
    for (const std::string& path : ScheduledRemovals()) {
      bool earlier = false;
      for (const std::string& old : scheduledBefore) earlier = earlier || Lower(old) == Lower(path);
      if (!earlier && IsUninstallerCopy(NameOf(path.substr(0, path.find_last_of('\\'))))) DeleteFileA(path.c_str());
      if (!earlier && IsUninstallerCopy(NameOf(path))) RemoveDirectoryA(path.c_str());
    }
    RestoreValue(kSessionManager, kPendingRemovals, pendingBefore);
    RemoveFolderLink();
    InstallRun::TearDown();
    DeleteFileA((LoneFolder() + "\\unsetup.exe").c_str());
    RemoveDirectoryA(LoneFolder().c_str());
  }

  // A whole installation with Enter on every page; the group folder's
  // window that it opens is closed again.
  void Install() {
    ui::PressKey(RunToGroupPage(false), VK_RETURN);
    ExpectSuccess();
    ExpectFolderWindow();
    ASSERT_TRUE(PathExists(group + "\\Uninstall.lnk"));
  }

  // Opens the "Uninstall" shortcut as the shell does when the user
  // double-clicks it.
  void StartThroughShortcut() {
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof(open);
    open.fMask = SEE_MASK_FLAG_NO_UI;
    std::string link = group + "\\Uninstall.lnk";
    open.lpFile = link.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&open)) << "cannot open " << link << ": error " << GetLastError();
  }

  void StartInstalledUninstaller() { others.push_back(ui::Process::Start(Installed("unsetup.exe"), "C:\\")); }

  // The build's own unsetup.exe, the same program as the one setup installs,
  // alone in a folder (the build's payload folder holds the product's files).
  static std::string LoneFolder() { return TempFolder() + "norvu-e2e-lone"; }
  void StartLoneUninstaller() {
    CreateDirectoryA(LoneFolder().c_str(), nullptr);
    const std::string lone = LoneFolder() + "\\unsetup.exe";
    ASSERT_TRUE(CopyFileA(BuiltPayloadPath("unsetup.exe").c_str(), lone.c_str(), FALSE)) << lone;
    others.push_back(ui::Process::Start(lone, "C:\\"));
  }

  // "/continue" as it might be typed, with a handle that the uninstaller
  // does inherit but of another process than the one that started it.
  void StartWithForeignContinuation() {
    HANDLE foreign = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, TRUE, holder.Id());
    ASSERT_NE(foreign, nullptr);
    const std::string line = "\"" + Installed("unsetup.exe") + "\" /continue " + std::to_string((UINT_PTR)foreign);
    others.push_back(StartCommandLine(line, SW_SHOWNORMAL, true));
    CloseHandle(foreign);
  }

  // The next message box of an uninstaller process, other than except. Its
  // process is kept, so that the case can wait for its end.
  ui::MessageBoxView WaitUninstallMessage(HWND except = nullptr) {
    HWND box = ui::WaitWindow(ui::WindowQuery().Class("#32770").Caption(kCaption).MessageBoxOnly().Except(except));
    const DWORD id = ui::ProcessOf(box);
    bool known = false;
    for (const ui::Process& process : others) known = known || process.Id() == id;
    if (!known) others.push_back(ui::Process::Attach(id));
    return ui::ReadMessageBox(box);
  }

  // Answers a box and waits until every uninstaller process has ended.
  void AnswerAndWaitForTheEnd(const ui::MessageBoxView& box, int button) {
    ui::Answer(box, button);
    for (const ui::Process& process : others) EXPECT_EQ(process.WaitExit(), 0u);
  }

  // The question, answered with button.
  void AnswerQuestion(int button) {
    ui::MessageBoxView question = WaitUninstallMessage();
    EXPECT_EQ(question.text.rfind(kQuestionStart, 0), 0u) << question.text;
    EXPECT_NE(question.text.find(kDefaultInstallDir), std::string::npos) << question.text;
    EXPECT_EQ(question.icon, ui::Icon::Question);
    ui::Answer(question, button);
    lastBox = question.window;
  }

  // The product closed, a second run started by start finishes the removal.
  template <typename Start> void FinishOnceTheProductIsClosed(Start start) {
    CloseProduct();
    others.clear();
    start();
    AnswerQuestion(IDYES);
    ui::MessageBoxView done = WaitUninstallMessage(lastBox);
    EXPECT_EQ(done.text, kRemoved);
    AnswerAndWaitForTheEnd(done, IDOK);
  }

  // Starts the installed norvu.exe and waits for its window.
  void StartProduct() {
    product = ui::Process::Start(Installed("norvu.exe"), "C:\\");
    productWindow = ui::WaitWindow(ui::WindowQuery().Class("NorvuMain").OfProcess(product));
  }

  void CloseProduct() {
    PostMessageA(productWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(product.WaitExit(), 0u);
  }

  std::string Installed(const char* name) const { return std::string(kDefaultInstallDir) + "\\" + name; }

  void ExpectNothingLeftOfTheInstallation() {
    for (const char* name : kPayloadFiles) EXPECT_FALSE(PathExists(Installed(name))) << name;
    EXPECT_FALSE(PathExists(Installed("IsoData")));
    EXPECT_FALSE(PathExists(group)) << group;
    EXPECT_FALSE(MachineKeyExists(kNtUninstallKey));
    EXPECT_FALSE(MachineKeyExists(kWinUninstallKey));
    EXPECT_FALSE(MachineKeyExists(kAppPathKey));
  }

  // Only the uninstaller's copy in the temporary folder differs from
  // before, and the system has it in its list of files to remove.
  void ExpectOnlyTheScheduledCopyDiffers(const Snapshot& before, const Snapshot& after) {
    std::vector<std::string> differences = Differences(before, after);
    std::vector<std::string> copies;
    for (const std::string& path : ScheduledRemovals()) {
      if (IsUninstallerCopy(path.substr(path.find_last_of('\\') + 1)) && PathExists(path)) copies.push_back(path);
    }
    ASSERT_EQ(copies.size(), 1u) << Lines(ScheduledRemovals());
    const std::string scheduled = Lines(ScheduledRemovals());  // the copy first, then its folder
    EXPECT_NE(scheduled.find(copies[0] + "\\unsetup.exe\n" + copies[0] + "\n"), std::string::npos) << scheduled;
    std::vector<std::string> unexplained;
    for (const std::string& line : differences) {
      const bool isCopy = Lower(line).rfind("+ " + Lower(copies[0]) + " = ", 0) == 0 ||
                          Lower(line).rfind("+ " + Lower(copies[0]) + "\\unsetup.exe = ", 0) == 0;
      const bool isSchedule = line.find("Session Manager\\:" + std::string(kPendingRemovals)) != std::string::npos;
      if (!isCopy && !isSchedule) unexplained.push_back(line);
    }
    EXPECT_TRUE(unexplained.empty()) << "changed by installing and uninstalling:\n" << Lines(unexplained);
    EXPECT_NE(Lines(differences).find(copies[0]), std::string::npos) << copies[0] << " is not new";
  }

  ui::Process holder;  // ended with the fixture, after the case
  std::vector<ui::Process> others;  // uninstaller processes of the case
  ui::Process product;
  HWND productWindow = nullptr;
  HWND lastBox = nullptr;
  SavedValue pendingBefore;
  std::vector<std::string> scheduledBefore;
};

TEST_F(UninstallRun, ThroughItsShortcutItLeavesFilesAndRegistryAsBeforeTheInstallation) {
  const Snapshot before = TakeSnapshot();
  Install();
  StartThroughShortcut();
  AnswerQuestion(IDYES);
  ui::MessageBoxView done = WaitUninstallMessage(lastBox);
  EXPECT_EQ(done.text, kRemoved);
  EXPECT_EQ(done.icon, ui::Icon::Information);
  AnswerAndWaitForTheEnd(done, IDOK);
  ExpectNothingLeftOfTheInstallation();
  ExpectOnlyTheScheduledCopyDiffers(before, TakeSnapshot());
}

TEST_F(UninstallRun, AFileTheUserAddedStaysWithItsFolderAndTheMessageSaysSo) {
  Install();
  UserFiles mine;
  mine.Plant(Installed("notes.txt"), "my notes");
  StartInstalledUninstaller();
  AnswerQuestion(IDYES);
  ui::MessageBoxView done = WaitUninstallMessage(lastBox);
  EXPECT_EQ(done.text.rfind("Norvu was removed from this computer, except for these items:", 0), 0u) << done.text;
  EXPECT_NE(done.text.find(std::string(kDefaultInstallDir) + ": it holds files that Setup did not install: notes.txt."),
            std::string::npos)
      << done.text;
  EXPECT_EQ(done.icon, ui::Icon::Warning);
  AnswerAndWaitForTheEnd(done, IDOK);
  mine.ExpectUnchanged();
  EXPECT_EQ(FolderTree(kDefaultInstallDir), std::set<std::string>{});  // IsoData went, being empty
  for (const char* name : kPayloadFiles) EXPECT_FALSE(PathExists(Installed(name))) << name;
  EXPECT_FALSE(PathExists(group));
  EXPECT_FALSE(MachineKeyExists(kNtUninstallKey));
  EXPECT_FALSE(MachineKeyExists(kAppPathKey));
  mine.Remove();
}

TEST_F(UninstallRun, DecliningOrRunningAgainAfterTheRemovalChangesNothing) {
  Install();
  const Snapshot installed = TakeSnapshot();
  // The copy's switch typed by hand does not skip the question.
  StartWithForeignContinuation();
  AnswerQuestion(IDNO);
  for (const ui::Process& process : others) EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(Lines(Differences(installed, TakeSnapshot())), "") << "declined, yet changed";

  StartThroughShortcut();
  AnswerQuestion(IDYES);
  AnswerAndWaitForTheEnd(WaitUninstallMessage(lastBox), IDOK);
  ExpectNothingLeftOfTheInstallation();

  const Snapshot removed = TakeSnapshot();
  StartLoneUninstaller();
  ui::MessageBoxView none = WaitUninstallMessage();
  EXPECT_EQ(none.text, kNotInstalled);
  EXPECT_EQ(none.icon, ui::Icon::Information);
  AnswerAndWaitForTheEnd(none, IDOK);
  EXPECT_EQ(Lines(Differences(removed, TakeSnapshot())), "") << "found nothing, yet changed";

  // An entry that names a drive root is refused.
  HKEY entry;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kNtUninstallKey, &entry), ERROR_SUCCESS);
  RegSetValueExA(entry, "Progdir", 0, REG_SZ, (const BYTE*)"C:\\", 4);
  RegCloseKey(entry);
  StartLoneUninstaller();
  ui::MessageBoxView refused = WaitUninstallMessage();
  const std::string why = "(Progdir):\n\nC:\\\n\nThe uninstaller will not remove anything from it: it is the root";
  EXPECT_NE(refused.text.find(why), std::string::npos) << refused.text;
  EXPECT_EQ(refused.icon, ui::Icon::Error);
  AnswerAndWaitForTheEnd(refused, IDOK);

  // Nor is a folder reached through a link to another folder, though that
  // one holds an uninstaller: a link above Progdir, Progdir the link
  // itself, or Scdir the link.
  const struct {
    std::string target, shows, progdir, scdir;  // the link leads to target, which holds shows
    const char* name;                           // the value refused
  } links[] = {{TempFolder(), "norvu-e2e-lone", std::string(kFolderLink) + "\\norvu-e2e-lone", "", "Progdir"},
               {LoneFolder(), "unsetup.exe", kFolderLink, "", "Progdir"},
               {LoneFolder(), "unsetup.exe", LoneFolder(), kFolderLink, "Scdir"}};
  HWND box = refused.window;
  for (const auto& link : links) {
    ASSERT_TRUE(LinkFolder(link.target, link.shows)) << "cannot make the link " << kFolderLink;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kNtUninstallKey, &entry), ERROR_SUCCESS);
    RegSetValueExA(entry, "Progdir", 0, REG_SZ, (const BYTE*)link.progdir.c_str(), (DWORD)link.progdir.size() + 1);
    RegSetValueExA(entry, "Scdir", 0, REG_SZ, (const BYTE*)link.scdir.c_str(), (DWORD)link.scdir.size() + 1);
    RegCloseKey(entry);
    StartLoneUninstaller();
    ui::MessageBoxView linked = WaitUninstallMessage(box);
    const std::string value = link.name == std::string("Scdir") ? link.scdir : link.progdir;
    EXPECT_NE(linked.text.find("(" + std::string(link.name) + "):\n\n" + value +
                               "\n\nThe uninstaller will not remove anything from it: it is, or lies under, a link"),
              std::string::npos)
        << linked.text;
    AnswerAndWaitForTheEnd(linked, IDOK);
    box = linked.window;
  }
  EXPECT_TRUE(PathExists(LoneFolder() + "\\unsetup.exe"));
}

TEST_F(UninstallRun, TheRunningProductIsReportedAndRemovedOnRetryOnceClosed) {
  Install();
  StartProduct();
  StartThroughShortcut();
  AnswerQuestion(IDYES);
  ui::MessageBoxView inUse = WaitUninstallMessage(lastBox);
  EXPECT_EQ(inUse.text.rfind(Installed("ferrox.dll") + "\ncannot be removed because it is in use.", 0), 0u)
      << inUse.text;
  EXPECT_EQ(inUse.icon, ui::Icon::Warning);
  // Nothing has been removed behind the box's back while it waits, and
  // the folders it removes from are held: none can be renamed, so no link
  // can take its place.
  EXPECT_TRUE(MachineKeyExists(kNtUninstallKey));
  EXPECT_TRUE(PathExists(group + "\\Norvu.lnk"));
  for (const std::string& folder : {std::string(kDefaultInstallDir), group}) {
    const std::string moved = folder + "-moved";
    EXPECT_FALSE(MoveFileA(folder.c_str(), moved.c_str())) << folder << " is not held";
    MoveFileA(moved.c_str(), folder.c_str());
  }
  CloseProduct();
  ui::Answer(inUse, IDRETRY);
  ui::MessageBoxView done = WaitUninstallMessage(inUse.window);
  EXPECT_EQ(done.text, kRemoved);
  AnswerAndWaitForTheEnd(done, IDOK);
  ExpectNothingLeftOfTheInstallation();
}

TEST_F(UninstallRun, LeavingTheRunningProductKeepsTheUninstallerToFinishLater) {
  Install();
  StartProduct();
  StartThroughShortcut();
  AnswerQuestion(IDYES);
  // The program and the library it has loaded are both in use.
  HWND box = lastBox;
  std::vector<std::string> refused;
  for (int i = 0; i < 2; ++i) {
    ui::MessageBoxView inUse = WaitUninstallMessage(box);
    refused.push_back(inUse.text.substr(0, inUse.text.find('\n')));
    ui::Answer(inUse, IDCANCEL);
    box = inUse.window;
  }
  EXPECT_EQ(refused, (std::vector<std::string>{Installed("ferrox.dll"), Installed("norvu.exe")}));
  ui::MessageBoxView partial = WaitUninstallMessage(box);
  EXPECT_EQ(partial.text.rfind("Norvu was not removed completely.", 0), 0u) << partial.text;
  for (const char* name : {"norvu.exe", "ferrox.dll"}) {
    EXPECT_NE(partial.text.find(Installed(name) + ": it is in use."), std::string::npos) << partial.text;
  }
  EXPECT_NE(partial.text.find("start Uninstall again"), std::string::npos) << partial.text;
  AnswerAndWaitForTheEnd(partial, IDOK);

  // What still serves the files in use stays; everything else went.
  for (const char* name : {"norvu.exe", "ferrox.dll", "unsetup.exe"}) EXPECT_TRUE(PathExists(Installed(name))) << name;
  for (const char* name : {"norvu.cfg", "nvuhelp.hlp", "nvustart.kbm", "notice.wri", "IsoData"}) {
    EXPECT_FALSE(PathExists(Installed(name))) << name;
  }
  EXPECT_TRUE(PathExists(group + "\\Norvu.lnk"));
  EXPECT_TRUE(PathExists(group + "\\Uninstall.lnk"));
  EXPECT_FALSE(PathExists(group + "\\Readme.lnk"));
  EXPECT_EQ(MachineText(kNtUninstallKey, "Progdir"), kDefaultInstallDir);
  EXPECT_EQ(MachineText(kAppPathKey, "Path"), kDefaultInstallDir);

  FinishOnceTheProductIsClosed([this] { StartThroughShortcut(); });
  ExpectNothingLeftOfTheInstallation();
}

// With an uninstall entry left from an installation that is gone, or
// without any, it removes the installation in its own folder; the
// product's library left, the program stays too, for a second run.
TEST_F(UninstallRun, WithoutAnEntryItRemovesTheInstallationInItsOwnFolder) {
  ui::PressKey(RunToGroupPage(false), VK_ESCAPE);
  ui::Answer(WaitMessage(), IDYES);  // "Cancel creating the shortcuts?"
  ExpectSuccess();
  const char gone[] = "C:\\Norvu-gone";
  HKEY stale;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kNtUninstallKey, &stale), ERROR_SUCCESS);
  RegSetValueExA(stale, "Progdir", 0, REG_SZ, (const BYTE*)gone, sizeof(gone));
  RegCloseKey(stale);
  StartProduct();
  StartInstalledUninstaller();
  AnswerQuestion(IDYES);
  ui::MessageBoxView inUse = WaitUninstallMessage(lastBox);
  ui::Answer(inUse, IDCANCEL);
  ui::MessageBoxView partial = WaitUninstallMessage(inUse.window);
  EXPECT_NE(partial.text.find("and the program norvu.exe were kept"), std::string::npos) << partial.text;
  AnswerAndWaitForTheEnd(partial, IDOK);
  for (const char* name : {"norvu.exe", "ferrox.dll", "unsetup.exe"}) EXPECT_TRUE(PathExists(Installed(name))) << name;
  EXPECT_FALSE(PathExists(Installed("norvu.cfg")));
  EXPECT_EQ(MachineText(kNtUninstallKey, "Progdir"), gone);

  // Without any entry at all, the second run finishes the removal.
  ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, kNtUninstallKey), ERROR_SUCCESS);
  FinishOnceTheProductIsClosed([this] { StartInstalledUninstaller(); });
  EXPECT_FALSE(PathExists(kDefaultInstallDir));
}

}  // namespace
