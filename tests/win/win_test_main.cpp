// Windows tests link the installer's code and resources into one program;
// the setup state's Instance is this program's module.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "shell/setup_state.h"
#include "tests/run_cases.h"

int main(int argc, char** argv) {
  Instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  testing::InitGoogleTest(&argc, argv);
  return RunCasesForCTest();
}
