// Faults put into real runs of setup.exe during the copy: Cancel at each
// boundary between files, the setup killed in the middle and run again, the
// destination or the temporary drive filling up, a read-only and a locked
// destination file, a read-only destination, and a temporary folder that
// cannot be written or whose path is too long. Each case checks what the
// user is shown, that setup ends with exit code 0, and what is left on disk
// and in the registry; files of the user's are planted first and must come
// through unchanged.
//
// The copy of all seven files takes a few milliseconds, too fast to aim a
// click or a kill at. Two tools aim them without touching setup's code:
// Slices holds setup's one thread still between short slices of its work
// (SuspendThread, the debugger's way) and looks at the disk while it is
// held; FileStarts puts a one-pixel window of the test's into the copy page,
// which setup repaints as each file begins and waits for, so that the test
// acts at the start of a chosen file.
#include <stdio.h>

#include <functional>
#include <memory>

#include "setup_run.h"

namespace {

const char kTemp[] = "D:\\FaultTemp";
// The temporary copies, named as setup writes them.
const char* const kCompressed[7] = {"norvu.ex_",    "norvu.cf_",  "nvuhelp.hl_", "ferrox.dl_",
                                    "nvustart.kb_", "notice.wr_", "unsetu~1.ex_"};

// The temporary copy of payload file i in the test's temporary folder.
std::string TempCopy(int i) { return std::string(kTemp) + "\\" + kCompressed[i]; }

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

// Whether path can be opened for writing (which changes nothing in it).
bool Writable(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool FolderWritable(const std::string& dir) {
  HANDLE file = CreateFileA((dir + "\\write-probe.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

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
  bool HoldWhen(Reached reached, Passed passed, const std::string& what, DWORD timeout = 60000) {
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
  if (ui::ProcessOf(window) == search->first && GetDlgItem(window, IDC_METER)) {
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

POINT CentreOf(HWND window) {
  RECT r = ui::ScreenRect(window);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A click (move, press, release) queued for whatever window is at the point.
void ClickAt(POINT at) {
  SendMouse(0, at);
  SendMouse(MOUSEEVENTF_LEFTDOWN, at);
  SendMouse(MOUSEEVENTF_LEFTUP, at);
}

// The copy page's status line while payload file i is installed.
std::string StatusOf(int i) { return std::string("FROM: ") + kCompressed[i] + "  TO: \\" + kPayloadFiles[i]; }

// A window of the test's, one pixel, inside setup's copy page. As each file
// begins, setup shows its status line and repaints the page (UpdateWindow),
// which sends WM_PAINT to every window in the page that needs painting and
// waits for each answer, this one's too. This window never validates
// itself, so it is asked at every file, and setup stands still at the start
// of that file until atStart(status line) has run on the watch's thread.
class FileStarts {
 public:
  FileStarts(HWND copyPage, std::function<void(const std::string&)> atStart) : page_(copyPage), atStart_(atStart) {
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    made_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
  }
  ~FileStarts() {
    SetEvent(stop_);
    WaitForSingleObject(thread_, 10000);
    for (HANDLE h : {thread_, stop_, made_}) CloseHandle(h);
  }
  FileStarts(const FileStarts&) = delete;
  FileStarts& operator=(const FileStarts&) = delete;

  // Waits until the window is made, or could not be made (the page was
  // gone); true when it is in the page.
  bool Placed(DWORD timeout) { return WaitForSingleObject(made_, timeout) == WAIT_OBJECT_0 && placed_; }

 private:
  static DWORD WINAPI Thread(void* param) {
    FileStarts* self = (FileStarts*)param;
    WNDCLASSA type = {};
    type.lpfnWndProc = Proc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "FaultFileStarts";
    RegisterClassA(&type);  // fails harmlessly when an earlier watch registered it
    HWND window = CreateWindowExA(WS_EX_NOPARENTNOTIFY, type.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1,
                                  self->page_, nullptr, type.hInstance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)self);
    self->placed_ = window != nullptr;
    SetEvent(self->made_);
    // Only sent messages are taken: no WM_PAINT of the test's own is made.
    while (MsgWaitForMultipleObjects(1, &self->stop_, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (IsWindow(window)) DestroyWindow(window);
    return 0;
  }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FileStarts* self = (FileStarts*)GetWindowLongPtrA(window, GWLP_USERDATA);
    if (message == WM_PAINT && self) {
      // Setup answers this while it waits for the paint.
      std::string status;
      try {
        status = ui::ControlText(self->page_, IDC_PATH);
      } catch (const ui::Failure&) {
      }
      self->atStart_(status);
      return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND page_;
  std::function<void(const std::string&)> atStart_;
  HANDLE stop_, made_, thread_;
  bool placed_ = false;
};

class CopyFault : public InstallRun {
 protected:
  void SetUp() override {
    InstallRun::SetUp();
    RemoveTree(kTemp);
    ASSERT_TRUE(CreateDirectoryA(kTemp, nullptr));
    UseTemp(kTemp);
    user.Plant(std::string(kTemp) + "\\draft.txt", "The user's own temporary file.\r\n");
    user.Plant("C:\\Program files\\Norvu notes.txt", "Beside the installation folder.\r\n");
  }
  void TearDown() override {
    slices.reset();
    InstallRun::TearDown();
    SetEnvironmentVariableA("TEMP", oldTemp.c_str());
    SetEnvironmentVariableA("TMP", oldTmp.c_str());
    user.Remove();
    RemoveTree(kTemp);
    // Where some cases install instead; a read-only file stays.
    RemoveTree("T:\\Norvu");
    RemoveTree("D:\\Protected\\Norvu");
    for (int i = 0; i < 7; ++i) DeleteFileA((std::string("S:\\") + kCompressed[i]).c_str());
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
  // there, presses Next and holds setup still once reached() holds; then
  // aim() acts and tells whether it hit. A look can come late when the
  // test is not scheduled in time: when passed() shows that the point went
  // by, or aim() missed, everything setup wrote into dir and the temporary
  // folder is removed and the run starts again, up to five times.
  template <typename Prepare, typename Reached, typename Passed, typename Aim>
  void AimDuringCopy(const std::string& dir, Prepare prepare, Reached reached, Passed passed, Aim aim,
                     const std::string& what) {
    for (int attempt = 1;; ++attempt) {
      HWND destination = StartAtDestination();
      prepare(destination);
      slices.reset(new Slices(destination));
      ui::PressButton(destination, IDOK);
      if (slices->HoldWhen(reached, passed, what) && aim()) return;
      slices.reset();
      setup.Terminate();
      RemoveTree(dir);
      RemoveTempCopies();
      if (attempt == 5) throw ui::Failure("setup went past " + what + " before the test could act, five times");
      printf("setup went past %s before the test could act; starting again\n", what.c_str());
    }
  }

  // The same, with setup left held once reached() holds.
  template <typename Prepare, typename Reached, typename Passed>
  void HoldDuringCopy(const std::string& dir, Prepare prepare, Reached reached, Passed passed,
                      const std::string& what) {
    AimDuringCopy(dir, prepare, reached, passed, [] { return true; }, what);
  }

  void RemoveTempCopies() {
    for (int i = 0; i < 7; ++i) DeleteFileA(TempCopy(i).c_str());
  }

  // Setup's copy page, found without sending it anything (setup may be
  // held), shown or not yet; none when it is not open.
  HWND CopyPageNow() {
    std::pair<DWORD, HWND> search(setup.Id(), nullptr);
    EnumWindows(FindCopyPage, (LPARAM)&search);
    return search.second;
  }

  // The temporary folder holds the user's file and the given copies.
  void ExpectTempHolds(std::set<std::string> copies) {
    std::set<std::string> found;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((std::string(kTemp) + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found.insert(entry.cFileName);
      } while (FindNextFileA(search, &entry));
      FindClose(search);
    }
    copies.insert("draft.txt");
    EXPECT_EQ(found, copies);
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

// Cancel, clicked while file k is being installed, is heard between files
// k and k+1: the first k files are installed and whole, no later one is
// begun, and no temporary copy stays behind.
class CancelAfterFile : public CopyFault, public testing::WithParamInterface<int> {};

TEST_P(CancelAfterFile, KeepsTheWholeFilesBeforeItAndEndsWithTheCancelText) {
  const int k = GetParam();
  const std::string dir = kDefaultInstallDir;
  std::unique_ptr<FileStarts> starts;
  volatile bool clicked = false, missed = false;
  // Setup held as the copy page opens (it makes IsoData first): the watch
  // goes into the page, and at the start of file k the Cancel button is
  // clicked. The click waits in setup's input queue until the copy next
  // looks, between files k and k+1.
  auto aim = [&] {
    HWND page = CopyPageNow();
    if (!page) return false;
    POINT cancel = CentreOf(ui::Control(page, IDCANCEL));
    clicked = missed = false;
    starts.reset(new FileStarts(page, [&, cancel](const std::string& status) {
      if (clicked || missed) return;
      if (status == StatusOf(k - 1)) {
        ClickAt(cancel);
        clicked = true;
      } else {
        for (int i = k; i < 7; ++i) missed = missed || status == StatusOf(i);
      }
    }));
    // Placed while setup is held, unless the test is too slow for that;
    // then setup may pass the file meanwhile, which the watch tells.
    starts->Placed(1000);
    slices->Release();
    if (!starts->Placed(10000)) return false;
    ui::WaitUntil([&] { return clicked || missed || !CopyPageNow(); }, "file " + std::to_string(k) + " to begin");
    return (bool)clicked;
  };
  AimDuringCopy(
      dir, [](HWND) {}, [&] { return PathExists(dir + "\\IsoData"); },
      [&] { return PathExists(TempCopy(k - 1)) || PathExists(Installed(dir, k - 1)); }, aim,
      "the start of file " + std::to_string(k));
  ExpectCancelled();
  starts.reset();

  ExpectFilesUpTo(dir, k);
  EXPECT_EQ(FolderTree(dir), std::set<std::string>{dir + "\\IsoData"});
  ExpectTempHolds({});
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

INSTANTIATE_TEST_SUITE_P(EachBoundary, CancelAfterFile, testing::Range(1, 8),
                         [](const testing::TestParamInfo<int>& info) { return "File" + std::to_string(info.param); });

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
  ExpectTempHolds({kCompressed[2]});
  ExpectNothingRegistered();

  // The second run goes over what the first one left, to the end.
  ui::PressKey(RunToGroupPage(true), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstallKey);
  ExpectTempHolds({});
  user.ExpectUnchanged();
}

TEST_F(CopyFault, DestinationDriveFillingUpDuringTheCopyStopsItWithTheCopyFailure) {
  if (GetDriveTypeA("T:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive T: (mount not allowed here)";
  RemoveTree("T:\\Norvu");
  HoldDuringCopy(
      "T:\\Norvu", [&](HWND destination) { ChooseFolder(destination, "T:\\", {}); },
      [&] { return PathExists("T:\\Norvu\\IsoData"); },
      [&] { return PathExists(TempCopy(2)) || PathExists(Installed("T:\\Norvu", 2)); }, "the copy page opening");
  // Another program fills the drive as the copy begins, leaving 200 KB:
  // room for the first two files, not for the help file.
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

TEST_F(CopyFault, TemporaryDriveFullStopsTheCopyWithTheTemporaryPath) {
  if (GetDriveTypeA("S:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive S: (mount not allowed here)";
  // The temporary folder is the root of a drive with 150 KB left: the
  // first two compressed files fit, the help file's does not.
  ULARGE_INTEGER available = {}, total = {}, free = {};
  ASSERT_TRUE(GetDiskFreeSpaceExA("S:\\", &available, &total, &free));
  user.Plant("S:\\filler.bin", std::string((size_t)available.QuadPart - 150 * 1024, 'f'));
  UseTemp("S:\\");
  ui::PressKey(StartAtDestination(), VK_RETURN);

  // The short write is caught before the expansion: no installed path yet.
  ExpectCopyFailure(std::string("S:\\") + kCompressed[2], "");
  ExpectFilesUpTo(kDefaultInstallDir, 2);
  // Its cut-off temporary copy stays, as after any failed expansion: begun,
  // and no longer than the room there was (the whole copy is larger).
  const long long cut = FileSize(std::string("S:\\") + kCompressed[2]);
  EXPECT_GT(cut, 0) << "no cut-off temporary copy on S:";
  EXPECT_LE(cut, 150 * 1024);
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(CopyFault, TemporaryPathTooLongSendsTheCopiesToTheSetupFolder) {
  // A temporary path the system cannot hand out in 260 characters: setup
  // writes its temporary copies into the folder it was started from.
  UseTemp("D:\\" + std::string(300, 't'));
  user.Plant("E:\\Setup notes.txt", "The user's file on the setup medium.\r\n");
  const std::string help = std::string("E:\\") + kCompressed[2];
  HoldDuringCopy(
      kDefaultInstallDir, [](HWND) {}, [&] { return PathExists(help); },
      [&] { return Done(kDefaultInstallDir, 2) || PathExists(TempCopy(2)); }, "the help file's copy on E:");
  slices->Release();
  ui::PressKey(WaitGroupPage(), VK_RETURN);
  ExpectSuccess();
  ExpectFolderWindow();
  ExpectProductFiles();
  ExpectShortcuts();
  ExpectEntries(kNtUninstallKey);
  for (const char* copy : kCompressed) EXPECT_FALSE(PathExists(std::string("E:\\") + copy)) << copy;
  ExpectTempHolds({});
  user.ExpectUnchanged();
}

TEST_F(CopyFault, ReadOnlySettingsFileStopsTheCopyAndStaysAsItWas) {
  const std::string dir = "D:\\Protected\\Norvu", settings = dir + "\\norvu.cfg";
  if (!PathExists(settings)) GTEST_SKIP() << settings << " was not prepared by the test session";
  if (Writable(settings)) GTEST_SKIP() << settings << " can be written here (root, and mount not allowed)";
  const std::string before = ReadWholeFile(settings);
  user.Plant(dir + "\\my layout.txt", "The user's file in the installation folder.\r\n");
  HWND destination = StartAtDestination();
  ChooseFolder(destination, "D:\\", {"Protected"});
  NextIntoExistingFolder(destination);

  ExpectCopyFailure(TempCopy(1), settings);
  EXPECT_TRUE(ReadWholeFile(settings) == before);
  EXPECT_NE(GetFileAttributesA(settings.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_TRUE(ReadWholeFile(Installed(dir, 0)) == BuiltPayload(kPayloadFiles[0]));
  for (int i = 2; i < 7; ++i) EXPECT_FALSE(PathExists(Installed(dir, i))) << Installed(dir, i);
  ExpectTempHolds({kCompressed[1]});
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(CopyFault, ReadOnlyDestinationIsAskedAboutThenStopsTheCopy) {
  const std::string readOnly = "D:\\ReadOnly";
  if (!PathExists(readOnly)) GTEST_SKIP() << readOnly << " was not prepared by the test session";
  if (FolderWritable(readOnly)) GTEST_SKIP() << readOnly << " can be written here (root, and mount not allowed)";
  HWND destination = StartAtDestination();
  ChooseFolder(destination, "D:\\", {"ReadOnly"});
  // The folder cannot be made: No keeps the page, Yes goes on regardless.
  ui::PressKey(destination, VK_RETURN);
  ui::MessageBoxView question = WaitMessage();
  EXPECT_EQ(question.text, "Directory allready exsist or disk isn't writeable.\nContinue with installation anyway");
  ui::Answer(question, IDNO);
  EXPECT_EQ(ui::ControlText(destination, IDC_PATH), readOnly + "\\Norvu");
  NextIntoExistingFolder(destination);

  ExpectCopyFailure(TempCopy(0), readOnly + "\\Norvu\\norvu.exe");
  EXPECT_FALSE(PathExists(readOnly + "\\Norvu"));
  ExpectTempHolds({kCompressed[0]});
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

TEST_F(CopyFault, ProgramFileLockedByTheRunningProductStopsTheCopyAndStaysAsItWas) {
  // A previous installation, its program running (which holds norvu.exe
  // and ferrox.dll open). Its files differ from the new ones, so that one
  // replaced by the new file cannot pass as unchanged.
  const std::string dir = kDefaultInstallDir;
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((dir + "\\IsoData").c_str(), nullptr));
  for (int i = 0; i < 7; ++i) user.Plant(Installed(dir, i), EarlierPayload(kPayloadFiles[i]));
  user.Plant(dir + "\\IsoData\\survey.iso", "The user's data.\r\n");
  ui::Process norvu = ui::Process::Start(Installed(dir, 0), dir);
  ui::WaitWindow(ui::WindowQuery().Caption("Norvu").OfProcess(norvu));

  NextIntoExistingFolder(StartAtDestination());
  ExpectCopyFailure(TempCopy(0), Installed(dir, 0));
  EXPECT_TRUE(norvu.Running());
  ExpectTempHolds({kCompressed[0]});
  ExpectNothingRegistered();
  user.ExpectUnchanged();
  norvu.Terminate();
}

TEST_F(CopyFault, TemporaryFolderThatCannotBeWrittenStopsTheCopyAtTheFirstFile) {
  const std::string readOnly = "D:\\ReadOnly";
  if (!PathExists(readOnly)) GTEST_SKIP() << readOnly << " was not prepared by the test session";
  if (FolderWritable(readOnly)) GTEST_SKIP() << readOnly << " can be written here (root, and mount not allowed)";
  UseTemp(readOnly);
  HWND destination = StartAtDestination();
  ui::PressKey(destination, VK_RETURN);

  // The temporary copy could not be made, so no installed path was formed.
  ExpectCopyFailure(readOnly + "\\" + kCompressed[0], "");
  ExpectFilesUpTo(kDefaultInstallDir, 0);
  ExpectNothingRegistered();
  user.ExpectUnchanged();
}

}  // namespace
