// The system libraries of setup and the uninstaller. Both run with
// administrator rights from folders that anyone can write to (setup from a
// Downloads folder): a DLL put beside them under the name of a library that
// they or the system load by name must never be loaded. A planted DLL
// (planted_dll.cpp) leaves a marker beside itself when loaded; Wine is told
// to prefer it to its own (native first), which gives it the search order of
// Windows: the program's own folder first. A probe without the defence
// (planting_probe.cpp), started among the planted DLLs of each folder with
// the same load order, shows that each of them would be loaded there:
// without it, a load order that Wine ignored, or DLLs planted elsewhere,
// would leave no marker and pass.
#include "setup_run.h"

namespace {

const char kDownloads[] = "D:\\planting-downloads";
// COMCTL32 and LZ32, which setup uses, and what Wine's user32 loads by name
// with a program's first window. What else Wine loads comes before the
// program's first instruction or through a search of its own: out of reach.
const char* const kNames[] = {"lz32.dll", "comctl32.dll", "uxtheme.dll", "winex11.drv"};
const std::string kAppDefaults = "Software\\Wine\\AppDefaults\\";
const char kProbe[] = "planting_probe.exe";

// A file that the build puts beside this test program.
std::string BesideThisProgram(const char* name) {
  char self[MAX_PATH];
  std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  return path.replace(path.rfind('\\') + 1, std::string::npos, name);
}

class SystemLibraries : public InstallRun {
 protected:
  // Whatever happened to the run: a planted DLL may well have stopped it.
  void TearDown() override {
    for (const std::string& dll : planted) EXPECT_FALSE(PathExists(dll + ".loaded")) << dll << " was loaded";
    InstallRun::TearDown();
    RemoveTree(kDownloads);
    for (const char* program : {"setup.exe", "unsetup.exe", kProbe}) {
      RegDeleteTreeA(HKEY_CURRENT_USER, (kAppDefaults + program).c_str());
    }
  }

  // Wine's load order of module for program: "native,builtin" prefers a DLL
  // that it finds, "" loads none.
  static void SetLoadOrder(const char* program, const std::string& module, const char* order) {
    HKEY overrides;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (kAppDefaults + program + "\\DllOverrides").c_str(), &overrides), 0);
    RegSetValueExA(overrides, module.c_str(), 0, REG_SZ, (const BYTE*)order, strlen(order) + 1);
    RegCloseKey(overrides);
  }

  // planted.dll under each name in folder, preferred by program.
  void Plant(const std::string& folder, const char* program) {
    for (const std::string name : kNames) {
      planted.push_back(folder + "\\" + name);
      ASSERT_TRUE(CopyFileA(BesideThisProgram("planted.dll").c_str(), planted.back().c_str(), FALSE)) << planted.back();
    }
    PreferPlanted(program);
  }

  // Wine's load order for program: each planted name native first.
  static void PreferPlanted(const char* program) {
    for (const std::string name : kNames) SetLoadOrder(program, name.substr(0, name.rfind(".dll")), "native,builtin");
  }

  // The probe, started in folder with the load order that the programs
  // get, loads every DLL planted there; the probe and the markers are then
  // taken away.
  void ExpectLoadedWithoutTheDefence(const std::string& folder) {
    const std::string probe = folder + "\\" + kProbe;
    ASSERT_TRUE(CopyFileA(BesideThisProgram(kProbe).c_str(), probe.c_str(), FALSE)) << probe;
    PreferPlanted(kProbe);
    std::string names;
    for (const char* name : kNames) names += std::string(" ") + name;
    EXPECT_EQ(ui::Process::Start(probe, folder, names).WaitExit(), 0u)
        << "names that did not load the DLL planted in " << folder;
    DeleteFileA(probe.c_str());
    for (const std::string name : kNames) {
      const std::string marker = folder + "\\" + name + ".loaded";
      EXPECT_TRUE(PathExists(marker)) << "a program without the defence did not load " << name << " beside it";
      DeleteFileA(marker.c_str());
    }
  }

  std::vector<std::string> planted;
};

TEST_F(SystemLibraries, NoneIsLoadedFromBesideSetupOrTheUninstaller) {
  // A downloaded setup.exe, started in its own folder as the shell does.
  ASSERT_TRUE(CreateDirectoryA(kDownloads, nullptr));
  const std::string downloaded = std::string(kDownloads) + "\\setup.exe";
  ASSERT_TRUE(CopyFileA(SetupExe().c_str(), downloaded.c_str(), FALSE));
  Plant(kDownloads, "setup.exe");
  ExpectLoadedWithoutTheDefence(kDownloads);
  setup = ui::Process::Start(downloaded, kDownloads);
  HWND agreement = WaitPage(IDC_AGREEMENT_TEXT);
  ui::PressKey(agreement, VK_RETURN);
  ui::PressKey(WaitPage(IDC_BROWSE, agreement), VK_RETURN);
  ui::PressKey(WaitGroupPage(), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();

  // The installed uninstaller asks, then goes on in a copy of itself in the
  // temporary folder: here kDownloads, so that the copy, which the system
  // would remove at its next start, goes with it after the case.
  Plant(kDefaultInstallDir, "unsetup.exe");
  ExpectLoadedWithoutTheDefence(kDefaultInstallDir);
  char temp[MAX_PATH] = "";
  GetEnvironmentVariableA("TMP", temp, MAX_PATH);
  SetEnvironmentVariableA("TMP", kDownloads);
  ui::Process first = ui::Process::Start(std::string(kDefaultInstallDir) + "\\unsetup.exe", "C:\\");
  SetEnvironmentVariableA("TMP", temp[0] ? temp : nullptr);
  ui::Answer(ui::WaitMessageBox(first.Id()), IDYES);
  HWND removed = ui::WaitWindow(ui::WindowQuery().Class("#32770").Caption("Norvu - Uninstall").MessageBoxOnly());
  ui::Process copy = ui::Process::Attach(ui::ProcessOf(removed));
  ui::Answer(ui::ReadMessageBox(removed), IDOK);
  EXPECT_EQ(copy.WaitExit(), 0u);
}

TEST_F(SystemLibraries, SetupWithoutOneSaysWhichAndEndsBeforeItsBackdrop) {
  for (const char* module : {"COMCTL32", "LZ32"}) {
    SetLoadOrder("setup.exe", module, "");
    StartSetup();
    ui::MessageBoxView box = WaitMessage();
    EXPECT_NE(box.text.find(std::string(module) + ".DLL could not be loaded"), std::string::npos) << box.text;
    EXPECT_EQ(box.caption, kSetupCaption);
    EXPECT_EQ(box.icon, ui::Icon::Error);
    EXPECT_EQ(ui::FindWindowNow(ui::WindowQuery().Class("SETUP").OfProcess(setup)), nullptr);
    ui::Answer(box, IDOK);
    EXPECT_EQ(WaitSetupExit(), 0u);
    RegDeleteTreeA(HKEY_CURRENT_USER, (kAppDefaults + "setup.exe").c_str());
  }
}

}  // namespace
