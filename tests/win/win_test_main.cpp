// Windows tests link the installer's code and resources into one program;
// the setup state's Instance is this program's module.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "shell/setup_state.h"

int main(int argc, char** argv) {
  Instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
