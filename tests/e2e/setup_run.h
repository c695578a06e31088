// What the end-to-end tests share: the setup program under test, a test
// fixture that runs it, and the checks that several pages need.
#pragma once
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "driver/ui_driver.h"
#include "resource.h"     // control ids of the pages
#include "shell/texts.h"  // the texts that setup shows

// setup.exe as given to the test program (--setup=PATH), as a Windows path.
const std::string& SetupExe();

// One run of setup.exe per test case. The run is ended when the case ends,
// whatever happened; a failed case leaves its screen in <Suite.Case>.bmp.
class SetupRun : public testing::Test {
 protected:
  void TearDown() override;

  // Starts setup.exe with currentDir as its current directory (the folder it
  // was started from, like the product's medium).
  void StartSetup(const std::string& currentDir = "E:\\");
  // The backdrop window: class and caption "SETUP".
  HWND WaitBackdrop();
  // A page of setup: a dialog of its process that has control id, other
  // than except (the page before, which may still be closing).
  HWND WaitPage(int controlId, HWND except = nullptr);
  // Starts setup.exe and waits for the licence agreement page.
  HWND StartAtAgreement(const std::string& currentDir = "E:\\");
  // A message box of setup, read (caption, text, icon).
  ui::MessageBoxView WaitMessage();
  // Waits for setup to end and returns its exit code.
  DWORD WaitSetupExit();

  ui::Process setup;
};

// Every folder below root, down to depth levels, as full paths: compare
// before and after a run to see that it made no folder.
std::set<std::string> FolderTree(const std::string& root, int depth = 2);

// Pixels of shown that differ from expected where both overlap, leaving out
// the given screen rectangles (controls that paint over a picture). shown
// and expected start at the same point; expected's position is ignored.
size_t DifferingPixels(const ui::Pixels& shown, const ui::Pixels& expected, const std::vector<RECT>& leaveOut = {});

// Screen rectangles of every visible child control of dialog.
std::vector<RECT> ControlRects(HWND dialog);

// ---------------------------------------------------------------------------
// The installation that a run leaves behind

// The installation directory that setup proposes on this machine.
extern const char kDefaultInstallDir[];
// The product's seven files as installed, in the order setup copies them.
extern const char* const kPayloadFiles[7];
// Registry keys below HKEY_LOCAL_MACHINE that Finish writes, and Wine's
// per-program version setting below HKEY_CURRENT_USER.
extern const char kNtUninstallKey[];
extern const char kWinUninstallKey[];
extern const char kAppPathKey[];
extern const char kAppVersionKey[];

bool PathExists(const std::string& path);
// A file's size in bytes, or -1 when there is none.
long long FileSize(const std::string& path);
// A whole file's bytes. Every caller expects the file: one that cannot be
// read fails the test case (and gives a marker naming its path).
std::string ReadWholeFile(const std::string& path);
// The build's own copy of an installed payload file (name as installed):
// its path (payload\ beside setup.exe) and its bytes.
std::string BuiltPayloadPath(const char* name);
std::string BuiltPayload(const char* name);
// A payload file of an earlier installation, so that a run that should
// replace it cannot leave it and pass: the build's bytes, the last ones
// replaced by a mark (zero padding in the programs, which still run). Of
// the same size: with bytes appended, a running program's file was not
// held against writing under Wine.
std::string EarlierPayload(const char* name);
// Deletes dir and everything below it, read-only files included.
void RemoveTree(const std::string& dir);
// A string value below HKEY_LOCAL_MACHINE, or "<none>".
std::string MachineText(const char* key, const char* name);
bool MachineKeyExists(const char* key);
// The Start menu's Programs folder for all users, as the shell names it.
std::string CommonPrograms();
// The folder window that setup asks the shell to open after success: a
// window of another process captioned with the group's name; or none.
HWND FolderWindowNow(DWORD setupId);
// Closes the folder window and waits for its program to end: a shell
// window left open would keep the test's output open after it ends.
void CloseFolderWindow(HWND window);

// Whole runs that install: the default installation directory, the program
// group, the registry entries and the folder window are removed before and
// after each case.
class InstallRun : public SetupRun {
 protected:
  void SetUp() override;
  void TearDown() override;
  static void Clean();

  // Enter on the agreement and destination pages; an existing installation
  // directory is asked about and accepted. Returns the program group page.
  HWND RunToGroupPage(bool directoryExists);
  // Starts setup and leads it to the destination page, which it returns.
  HWND StartAtDestination();
  // Browse on the destination page: the drive (its root, "D:\\"), then the
  // folders below it by double-clicks, then OK; the page then shows the
  // folder followed by "Norvu".
  void ChooseFolder(HWND destination, const std::string& drive, const std::vector<std::string>& folders);
  // The program group page, once the copy is over.
  HWND WaitGroupPage(DWORD timeout = 60000);
  // The success text, then the end of setup with exit code 0.
  void ExpectSuccess();
  // After a finished group page the group folder opens in a window of its
  // own; it is closed again.
  void ExpectFolderWindow();
  // The copy page's failure message naming both paths, then the cancel
  // text, then the end of setup with exit code 0.
  void ExpectCopyFailure(const std::string& from, const std::string& to);
  // Setup's cancel text, then the end with exit code 0.
  void ExpectCancelled();
  // Every payload file in dir equals the build's copy; IsoData is the only
  // folder when onlyFolder.
  void ExpectProductFiles(const std::string& dir = kDefaultInstallDir, bool onlyFolder = true);
  void ExpectShortcuts(const std::string& dir = kDefaultInstallDir);
  void ExpectEntries(const char* uninstallKey, const std::string& dir = kDefaultInstallDir);

  std::string group;  // the program group folder a default Finish makes
};

// Files that belong to the user, planted before a run: every one must come
// through it unchanged.
class UserFiles {
 public:
  // Writes content to path (its folder must exist) and remembers both.
  void Plant(const std::string& path, const std::string& content);
  void ExpectUnchanged() const;
  // Deletes the planted files.
  void Remove();

 private:
  std::vector<std::pair<std::string, std::string>> files_;
};
