// What the end-to-end tests share: the setup program under test, a test
// fixture that runs it, and the checks that several pages need.
#pragma once
#include <gtest/gtest.h>

#include <set>
#include <string>

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
