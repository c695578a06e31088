// Faults that only the real setup.exe on the real disk shows: a real click
// on Cancel during the last file, the setup killed in the middle and run
// again, the destination drive filling up, and an installation folder past
// the old 127-character open record, named in letters of the code page,
// with a temporary path too long for the system. The copy page's other
// faults are put in in-process (tests/win/install_copy_page_test.cpp). Each
// case checks what the user is shown, that setup ends with exit code 0, and
// what is left on disk and in the registry; files of the user's are planted
// first and must come through unchanged.
//
// The copy of all seven files takes a few milliseconds, too fast to aim a
// click or a kill at. Slices holds setup's one thread still between short
// slices of its work (SuspendThread, the debugger's way) and looks at the
// disk while it is held, so that a fault lands at a chosen point: setup's
// code is not touched and runs exactly as it would, only slower.
#include <stdio.h>

#include <memory>

#include "setup_run.h"

namespace {

const char kTemp[] = "D:\\FaultTemp";
// The temporary copies, named as setup writes them.
const char* const kCompressed[7] = {"norvu.ex_",    "norvu.cf_",  "nvuhelp.hl_", "ferrox.dl_",
                                    "nvustart.kb_", "notice.wr_", "unsetu~1.ex_"};

// Names in dir, a folder's with a backslash after it.
std::set<std::string> Entries(const std::string& dir) {
  std::set<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = entry.cFileName;
    if (name != "." && name != "..") names.insert(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? name + "\\" : name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

// The folder of setup's own in dir ("nvuNUMBER.tmp") that holds its
// temporary copies, or "" when there is none.
std::string CopyFolderIn(const std::string& dir) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((dir + "\\nvu*.tmp").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return "";
  FindClose(search);
  return dir + "\\" + entry.cFileName;
}

// The temporary copy of payload file i in the test's temporary folder.
std::string TempCopy(int i, const std::string& dir = kTemp) {
  const std::string own = CopyFolderIn(dir);
  return own.empty() ? "" : own + "\\" + kCompressed[i];
}

std::string Installed(const std::string& dir, int i) { return dir + "\\" + kPayloadFiles[i]; }

// The installed size of payload file i, as the build made it.
long long PayloadSize(int i) {
  static long long sizes[7] = {-1, -1, -1, -1, -1, -1, -1};
  if (sizes[i] < 0) sizes[i] = (long long)BuiltPayload(kPayloadFiles[i]).size();
  return sizes[i];
}

// Whether setup is done with payload file i in dir: installed whole and its
// temporary copy deleted.
bool Done(const std::string& dir, int i) {
  return !PathExists(TempCopy(i)) && FileSize(Installed(dir, i)) == PayloadSize(i);
}

// A folder of 100 characters on drive D:, where the long path begins.
const std::string kHundred = "D:\\" + std::string(100, 'h');

// Runs setup's thread in short slices and holds it still in between.
class Slices {
 public:
  // window: any window of setup; its thread is setup's only one.
  explicit Slices(HWND window) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    thread_ = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | SYNCHRONIZE, FALSE, thread);
    if (!thread_) throw ui::Failure("cannot open setup's thread " + std::to_string(thread));
  }
  ~Slices() {
    Release();
    CloseHandle(thread_);
  }
  Slices(const Slices&) = delete;
  Slices& operator=(const Slices&) = delete;

  // Lets setup run on, slice by slice, until reached() holds while it is
  // held, and returns true with setup held. Returns false, setup running,
  // when passed() holds first: the point went by between two looks.
  // Nothing may send a message to setup's windows while it is held: the
  // sender would wait for it.
  template <typename Reached, typename Passed>
  bool HoldWhen(Reached reached, Passed passed, const std::string& what, DWORD timeout = 180000) {
    DWORD start = GetTickCount();
    for (;;) {
      Hold(what);
      if (reached()) return true;
      bool missed = passed();
      Release();
      if (missed) return false;
      if (GetTickCount() - start >= timeout) ui::TimedOut(what, timeout);
    }
  }
  void Release() {
    if (held_) ResumeThread(thread_);
    held_ = false;
  }

 private:
  void Hold(const std::string& what) {
    if (WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0) throw ui::Failure("setup ended before " + what);
    if (SuspendThread(thread_) == (DWORD)-1) throw ui::Failure("cannot hold setup's thread");
    held_ = true;
    // Answers only once the thread has really stopped.
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread_, &context);
  }

  HANDLE thread_ = nullptr;
  bool held_ = false;
};

BOOL CALLBACK FindCopyPage(HWND window, LPARAM param) {
  auto* search = (std::pair<DWORD, HWND>*)param;
  if (ui::ProcessOf(window) == search->first && IsWindowVisible(window) && GetDlgItem(window, IDC_METER)) {
    search->second = window;
    return FALSE;
  }
  return TRUE;
}

void SendMouse(DWORD flags, POINT at) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = (LONG)(((LONGLONG)at.x * 65536 + w - 1) / w);
  input.mi.dy = (LONG)(((LONGLONG)at.y * 65536 + h - 1) / h);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  if (SendInput(1, &input, sizeof(input)) != 1) throw ui::Failure("the system refused mouse input");
}

class CopyFault : public InstallRun {
 protected:
  void SetUp() override {
    InstallRun::SetUp();
    RemoveTree(kTemp);
    RemoveTree(kHundred);
    ASSERT_TRUE(CreateDirectoryA(kTemp, nullptr));
    UseTemp(kTemp);
    user.Plant(std::string(kTemp) + "\\draft.txt", "The user's own temporary file.\r\n");
    // Another user's files under setup's compressed names, one read-only:
    // setup never writes, expands or deletes them.
    user.Plant(std::string(kTemp) + "\\" + kCompressed[0], "Planted by another user.\r\n");
    user.Plant(std::string(kTemp) + "\\" + kCompressed[6], "Planted read-only by another user.\r\n");
    SetFileAttributesA((std::string(kTemp) + "\\" + kCompressed[6]).c_str(), FILE_ATTRIBUTE_READONLY);
    user.Plant("C:\\Program files\\Norvu notes.txt", "Beside the installation folder.\r\n");
  }
  void TearDown() override {
    slices.reset();
    InstallRun::TearDown();
    SetEnvironmentVariableA("TEMP", oldTemp.c_str());
    SetEnvironmentVariableA("TMP", oldTmp.c_str());
    user.Remove();
    RemoveTree(kTemp);
    // Where some cases install instead.
    RemoveTree("T:\\Norvu");
    RemoveTree(kHundred);
    RemoveTempCopies();
  }

  // setup.exe inherits the test's environment: its temporary folder is dir.
  void UseTemp(const std::string& dir) {
    char value[MAX_PATH] = "";
    if (oldTemp.empty() && GetEnvironmentVariableA("TEMP", value, sizeof(value))) oldTemp = value;
    if (oldTmp.empty() && GetEnvironmentVariableA("TMP", value, sizeof(value))) oldTmp = value;
    SetEnvironmentVariableA("TEMP", dir.c_str());
    SetEnvironmentVariableA("TMP", dir.c_str());
  }

  // Starts setup, leads it to the destination page, lets prepare() act
  // there, presses Next and holds setup still once reached() holds. The
  // look between two slices can come late when the test is not scheduled
  // in time: when passed() shows that the point went by, everything setup
  // wrote into dir and the temporary folder is removed and the run starts
  // again, up to 20 times.
  template <typename Prepare, typename Reached, typename Passed>
  void HoldDuringCopy(const std::string& dir, Prepare prepare, Reached reached, Passed passed,
                      const std::string& what) {
    for (int attempt = 1;; ++attempt) {
      HWND destination = StartAtDestination();
      prepare(destination);
      slices.reset(new Slices(destination));
      ui::PressButton(destination, IDOK);
      if (slices->HoldWhen(reached, passed, what)) return;
      slices.reset();
      setup.Terminate();
      RemoveTree(dir);
      RemoveTempCopies();
      if (attempt == 20) throw ui::Failure("setup went past " + what + " between two looks, 20 times");
      printf("setup went past %s between two looks; starting again\n", what.c_str());
    }
  }

  // Setup's own folders, in the temporary folder and on the medium E:.
  void RemoveTempCopies() {
    for (const char* dir : {kTemp, "E:"}) {
      for (const std::string& name : Entries(dir)) {
        if (name.rfind("nvu", 0) == 0 && name.back() == '\\') RemoveTree(std::string(dir) + "\\" + name);
      }
    }
  }

  // A click on the copy page's Cancel button while setup is held: the
  // click waits in setup's input queue until the copy next looks.
  void ClickCancelOnCopyPage() {
    std::pair<DWORD, HWND> search(setup.Id(), nullptr);
    EnumWindows(FindCopyPage, (LPARAM)&search);
    if (!search.second) throw ui::Failure("no copy page while a file is being installed");
    RECT button = ui::ScreenRect(ui::Control(search.second, IDCANCEL));
    POINT centre = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    SendMouse(0, centre);
    SendMouse(MOUSEEVENTF_LEFTDOWN, centre);
    SendMouse(MOUSEEVENTF_LEFTUP, centre);
  }

  // The temporary folder holds the user's files and, when copies are given,
  // one folder of setup's own that holds just those, which is returned.
  std::string ExpectTempHolds(const std::set<std::string>& copies) {
    const std::string own = CopyFolderIn(kTemp);
    std::set<std::string> expected = {"draft.txt", kCompressed[0], kCompressed[6]};
    if (!copies.empty()) {
      expected.insert(own.substr(own.find_last_of('\\') + 1) + "\\");
      EXPECT_EQ(Entries(own), copies);
    }
    EXPECT_EQ(Entries(kTemp), expected);
    return own;
  }

  void ExpectNothingRegistered() {
    EXPECT_FALSE(MachineKeyExists(kNtUninstallKey));
    EXPECT_FALSE(MachineKeyExists(kWinUninstallKey));
    EXPECT_FALSE(MachineKeyExists(kAppPathKey));
    EXPECT_FALSE(PathExists(group)) << group;
  }

  // The first `whole` payload files in dir are whole, the others absent;
  // file `cut`, when given, is there but shorter than the build's copy.
  void ExpectFilesUpTo(const std::string& dir, int whole, int cut = -1) {
    for (int i = 0; i < 7; ++i) {
      std::string path = Installed(dir, i);
      if (i < whole) {
        EXPECT_TRUE(ReadWholeFile(path) == BuiltPayload(kPayloadFiles[i])) << path << " is not whole";
      } else if (i == cut) {
        EXPECT_TRUE(PathExists(path)) << path << " is not there";
        EXPECT_LT(FileSize(path), PayloadSize(i)) << path;
      } else {
        EXPECT_FALSE(PathExists(path)) << path << " was begun";
      }
    }
    EXPECT_TRUE(PathExists(dir + "\\IsoData"));
  }

  UserFiles user;
  std::unique_ptr<Slices> slices;
  std::string oldTemp, oldTmp;
};

// Cancel, clicked while the last file is being installed, is heard after
// it: all seven files are whole, yet setup ends with the cancel text, makes
// no program group or registry entries and leaves no temporary copy. (Cancel
// at the other files, heard by the same check: CopyPage.Cancel*, in-process.)
TEST_F(CopyFault, CancelClickedDuringTheLastFileEndsWithTheCancelText) {
  HoldDuringCopy(
      kDefaultInstallDir, [](HWND) {}, [&] { return PathExists(TempCopy(6)); },
      [&] { return Done(kDefaultInstallDir, 6); }, "the last file being installed");
  ClickCancelOnCopyPage();
  slices->Release();
  ExpectCancelled();

  ExpectFilesUpTo(kDefaultInstallDir, 7);
  EXPECT_EQ(FolderTree(kDefaultInstallDir), std::set<std::string>{std::string(kDefaultInstallDir) + "\\IsoData"});
  ExpectTempHolds({});
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(CopyFault, KilledInTheMiddleOfTheCopyThenRunAgainGivesAWholeInstallation) {
  // Killed with the big help file half expanded: the installed file begun
  // but not finished.
  const std::string help = Installed(kDefaultInstallDir, 2);
  const long long whole = PayloadSize(2);
  HoldDuringCopy(
      kDefaultInstallDir, [](HWND) {}, [&] { return FileSize(help) > 0 && FileSize(help) < whole; },
      [&] { return FileSize(help) >= whole || PathExists(TempCopy(3)); }, "nvuhelp.hlp being expanded");
  const long long cut = FileSize(help);
  setup.Terminate();
  slices.reset();
  EXPECT_GT(cut, 0);
  EXPECT_LT(cut, whole);
  ExpectFilesUpTo(kDefaultInstallDir, 2, 2);
  const std::string killedRuns = ExpectTempHolds({kCompressed[2]});
  ExpectNothingRegistered();

  // The second run goes over what the first one left, to the end, in a
  // folder of its own: the killed run's copy stays as it was.
  ui::PressKey(RunToGroupPage(true), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstallKey);
  EXPECT_EQ(ExpectTempHolds({kCompressed[2]}), killedRuns);
  user.ExpectUnchanged();
}

TEST_F(CopyFault, DestinationDriveFillingUpDuringTheCopyStopsItWithTheCopyFailure) {
  if (GetDriveTypeA("T:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive T: (mount not allowed here)";
  RemoveTree("T:\\Norvu");
  HoldDuringCopy(
      "T:\\Norvu", [&](HWND destination) { ChooseFolder(destination, "T:\\", {}); },
      [&] { return PathExists(TempCopy(0)); }, [&] { return Done("T:\\Norvu", 0); }, "the first file being installed");
  // Another program fills the drive, leaving 200 KB: less than the help
  // file needs.
  ULARGE_INTEGER available = {}, total = {}, free = {};
  ASSERT_TRUE(GetDiskFreeSpaceExA("T:\\", &available, &total, &free));
  user.Plant("T:\\filler.bin", std::string((size_t)available.QuadPart - 200 * 1024, 'f'));
  slices->Release();

  ExpectCopyFailure(TempCopy(2), "T:\\Norvu\\nvuhelp.hlp");
  ExpectFilesUpTo("T:\\Norvu", 2, 2);
  // Left where it was, as after any failed expansion.
  ExpectTempHolds({kCompressed[2]});
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

// Paths longer than the 127 characters of the old open-file record, below a
// folder of 100 characters, in a folder named in letters of the ANSI code
// page outside ASCII; and a temporary path too long for the system, so the
// copies go to the folder setup was started from. The installation is whole.
TEST_F(CopyFault, LongPathInLettersOfTheCodePageWithTooLongTempInstallsWhole) {
  std::string letters;  // those of these that the ANSI code page holds
  for (const wchar_t* c = L"\u00c4\u00e9\u00fc\u00f1\u00df\u00f8\u00c5\u20ac\u0414\u03a9"; *c; ++c) {
    char ansi[8];
    BOOL lost = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, c, 1, ansi, sizeof(ansi), nullptr, &lost);
    if (n > 0 && !lost) letters.append(ansi, n);
  }
  if (letters.empty()) GTEST_SKIP() << "the ANSI code page " << GetACP() << " holds none of the letters tried";
  std::string name = letters;
  while (name.size() < 24) name += " " + letters;
  const std::string dir = kHundred + "\\" + name + "\\Norvu";
  ASSERT_TRUE(CreateDirectoryA(kHundred.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((kHundred + "\\" + name).c_str(), nullptr));
  ASSERT_GT(dir.size(), 127u);
  UseTemp("D:\\" + std::string(300, 't'));
  user.Plant("E:\\Setup notes.txt", "The user's file on the setup medium.\r\n");
  HoldDuringCopy(
      dir, [&](HWND destination) { ChooseFolder(destination, "D:\\", {kHundred.substr(3), name}); },
      [&] { return PathExists(TempCopy(2, "E:")); }, [&] { return Done(dir, 2) || PathExists(TempCopy(2)); },
      "the help file's copy on E:");
  slices->Release();
  ui::PressKey(WaitGroupPage(), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  ExpectProductFiles(dir);
  ExpectShortcuts(dir);
  ExpectEntries(kNtUninstallKey, dir);
  EXPECT_EQ(CopyFolderIn("E:"), "");
  ExpectTempHolds({});
  user.ExpectUnchanged();
}

}  // namespace
