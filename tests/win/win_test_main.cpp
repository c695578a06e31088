// Windows tests link the installer's code and resources into one program;
// the setup state's Instance is this program's module.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdio.h>

#include "shell/setup_state.h"
#include "shell/system_libraries.h"
#include "tests/run_cases.h"

int main(int argc, char** argv) {
  Instance = GetModuleHandleA(nullptr);
  // The installer's code reaches COMCTL32 and LZ32 only through what this
  // loads, as in setup.exe.
  if (const char* missing = LoadSystemLibraries()) {
    fprintf(stderr, "cannot load %s from the system folder\n", missing);
    return 1;
  }
  // Registers the list-view class that the browse dialogs use.
  InitCommonControlsCall();
  testing::InitGoogleTest(&argc, argv);
  return RunCasesForCTest();
}
