// Libraries planted beside the programs. setup.exe is started from folders
// that anyone can write to (a Downloads folder), the uninstaller runs a copy
// of itself from the temporary folder, and both run with administrator
// rights: a DLL put there under the name of a library that the program or
// the system loads by name must never be loaded.
//
// Each planted DLL (planted_dll.cpp) leaves a marker beside itself when it
// is loaded. Wine is told to prefer such a DLL to its own for these names
// (native first), which gives it the search order of Windows for them: the
// program's own folder before the system folder. The names are those that a
// whole run loads by name after the program's first instruction
// (WINEDEBUG=+loaddll lists them). Left out, because no program can defend
// them under Wine: the libraries that Wine's own DLLs import before the
// program's first instruction (imm32, rpcrt4, sechost, shcore, shlwapi,
// version and the like), and those that Wine's DLLs delay-load through a
// search of Wine's own that ignores the program's setting (msimg32 by
// uxtheme; ole32 with combase and rpcrt4 by imm32 in the uninstaller).
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "setup_run.h"

namespace {

// Module names, as Wine's overrides name them.
const std::vector<std::string> kSetupNames = {"lz32", "comctl32", "uxtheme", "winex11.drv"};
const std::vector<std::string> kUninstallerNames = {"uxtheme", "winex11.drv"};
// A folder of the user's with a downloaded setup.exe, and a temporary folder.
const char kDownloads[] = "D:\\planting-downloads";
const char kTemporary[] = "D:\\planting-temp";

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

// planted.dll, built beside this test program.
std::string PlantedDll() {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  return FolderOf(program) + "\\planted.dll";
}

// The names for which Wine prefers a DLL it finds to its own, from the
// entries "name,name=n,b" of its overrides. Wine takes them from the Unix
// environment that a process starts with, not from the Windows environment
// that its parent passes on, so this whole test program is started with
// them (tests/e2e/CMakeLists.txt) and every program it starts inherits them.
std::set<std::string> NativeFirstNames() {
  char overrides[2048] = "";
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof(overrides));
  std::set<std::string> names;
  std::stringstream entries(overrides);
  for (std::string entry; std::getline(entries, entry, ';');) {
    size_t equals = entry.find('=');
    if (equals == std::string::npos || entry.substr(equals) != "=n,b") continue;
    std::stringstream list(entry.substr(0, equals));
    for (std::string name; std::getline(list, name, ',');) names.insert(name);
  }
  return names;
}

// A library's file name from its module name: "lz32" is lz32.dll.
std::string FileName(const std::string& module) {
  return module.find('.') == std::string::npos ? module + ".dll" : module;
}

// Environment variables of this test program, set for the programs that it
// starts meanwhile (they inherit them) and put back when it ends.
class Environment {
 public:
  ~Environment() {
    for (const auto& saved : saved_) SetEnvironmentVariableA(saved.first.c_str(), saved.second.c_str());
  }
  void Set(const char* name, const std::string& value) {
    char old[1024] = "";
    GetEnvironmentVariableA(name, old, sizeof(old));
    saved_.emplace_back(name, old);
    SetEnvironmentVariableA(name, value.c_str());
  }

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

class Planting : public InstallRun {
 protected:
  void SetUp() override {
    InstallRun::SetUp();
    for (const char* folder : {kDownloads, kTemporary}) {
      RemoveTree(folder);
      ASSERT_TRUE(CreateDirectoryA(folder, nullptr)) << folder;
    }
  }
  // Checked whatever happened to the run: a planted DLL that a program
  // loaded may well have stopped it.
  void TearDown() override {
    for (const std::string& folder : watched) EXPECT_EQ(LoadedIn(folder), "") << "loaded from " << folder;
    others.clear();
    InstallRun::TearDown();
    // The uninstaller's copy, removed here, stays in the system's list of
    // files to remove at its next start: Wine goes through that list when
    // the next test session starts.
    for (const char* folder : {kDownloads, kTemporary}) RemoveTree(folder);
  }

  // A copy of planted.dll under each module's file name in folder.
  void Plant(const std::string& folder, const std::vector<std::string>& modules) {
    const std::set<std::string> nativeFirst = NativeFirstNames();
    for (const std::string& module : modules) {
      ASSERT_EQ(nativeFirst.count(module), 1u) << module << " is not native first for Wine";
      std::string planted = folder + "\\" + FileName(module);
      ASSERT_TRUE(CopyFileA(PlantedDll().c_str(), planted.c_str(), FALSE)) << planted;
    }
    watched.push_back(folder);
  }

  // The names in folder that match pattern, joined by spaces.
  static std::string Names(const std::string& folder, const char* pattern) {
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
        names += std::string(names.empty() ? "" : " ") + found.cFileName;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

  // The planted DLLs that were loaded from folder, by their markers.
  static std::string LoadedIn(const std::string& folder) { return Names(folder, "*.loaded"); }

  // The next message box of an uninstaller process; its process is kept, so
  // that the case can wait for its end.
  ui::MessageBoxView WaitUninstallerBox(HWND except = nullptr) {
    HWND box = ui::WaitWindow(
        ui::WindowQuery().Class("#32770").Caption("Norvu - Uninstall").MessageBoxOnly().Except(except));
    DWORD id = ui::ProcessOf(box);
    bool known = false;
    for (const ui::Process& process : others) known = known || process.Id() == id;
    if (!known) others.push_back(ui::Process::Attach(id));
    return ui::ReadMessageBox(box);
  }

  std::vector<std::string> watched;
  std::vector<ui::Process> others;  // uninstaller processes
};

TEST_F(Planting, SetupStartedFromAFolderWithPlantedLibrariesLoadsNoneOfThem) {
  const std::string folder = kDownloads;
  ASSERT_TRUE(CopyFileA(SetupExe().c_str(), (folder + "\\setup.exe").c_str(), FALSE));
  Plant(folder, kSetupNames);
  // Started as the shell starts a program: in its own folder.
  setup = ui::Process::Start(folder + "\\setup.exe", folder);
  HWND agreement = WaitPage(IDC_AGREEMENT_TEXT);
  ui::PressKey(agreement, VK_RETURN);
  ui::PressKey(WaitPage(IDC_BROWSE, agreement), VK_RETURN);
  ui::PressKey(WaitGroupPage(), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  ExpectProductFiles();
}

TEST_F(Planting, UninstallerWithPlantedLibrariesInTheTemporaryFolderLoadsNoneOfThem) {
  ui::PressKey(RunToGroupPage(false), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  Plant(kTemporary, kUninstallerNames);
  Plant(kDefaultInstallDir, kUninstallerNames);
  const std::string planted = Names(kTemporary, "*");
  {
    Environment environment;
    environment.Set("TEMP", kTemporary);
    environment.Set("TMP", kTemporary);
    others.push_back(ui::Process::Start(std::string(kDefaultInstallDir) + "\\unsetup.exe", "C:\\"));
  }
  ui::MessageBoxView question = WaitUninstallerBox();
  EXPECT_EQ(question.icon, ui::Icon::Question);
  ui::Answer(question, IDYES);
  ui::Answer(WaitUninstallerBox(question.window), IDOK);  // what was removed
  for (const ui::Process& process : others) EXPECT_EQ(process.WaitExit(), 0u);
  for (const char* name : kPayloadFiles) EXPECT_FALSE(PathExists(std::string(kDefaultInstallDir) + "\\" + name)) << name;
  EXPECT_NE(Names(kTemporary, "*"), planted) << "the uninstaller's copy did not go to the temporary folder given";
}

}  // namespace
