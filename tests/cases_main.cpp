// The main of the test programs that need nothing set up before their
// cases: it ends as every test program does (run_cases.h).
#include "run_cases.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RunCasesForCTest();
}
