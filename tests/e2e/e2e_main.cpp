// Entry of every end-to-end test program: takes the setup program to test
// from --setup=PATH (or NORVU_SETUP_EXE), checks that the build's payload
// lies beside it, then runs the test cases.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "setup_run.h"
#include "tests/run_cases.h"

namespace {

std::string setupExe;

}  // namespace

const std::string& SetupExe() { return setupExe; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (strncmp(argv[i], "--setup=", 8) == 0) setupExe = argv[i] + 8;
  }
  if (setupExe.empty() && getenv("NORVU_SETUP_EXE")) setupExe = getenv("NORVU_SETUP_EXE");
  if (setupExe.empty()) {
    fprintf(stderr, "%s: give the setup program to test as --setup=PATH\n", argv[0]);
    return 2;
  }
  setupExe = ui::WindowsPath(setupExe);
  if (GetFileAttributesA(setupExe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    fprintf(stderr, "%s: no setup program at %s\n", argv[0], setupExe.c_str());
    return 2;
  }
  // The build's copy of the product, which installed files are compared with.
  for (const char* name : kPayloadFiles) {
    if (!PathExists(BuiltPayloadPath(name))) {
      fprintf(stderr, "%s: no payload file %s beside the setup program\n", argv[0], BuiltPayloadPath(name).c_str());
      return 2;
    }
  }
  return RunCasesForCTest();
}
