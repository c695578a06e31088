// RunCasesForCTest itself. GoogleTest counts a case that never started as
// passed, so a program whose global environment skips every case would end
// as passed; it must end as not run (77) and say why.
#include <string>

#include "run_cases.h"

namespace {

class SkipsEveryCase : public testing::Environment {
  void SetUp() override { GTEST_SKIP() << "what every case needs is missing"; }
};

}  // namespace

TEST(RunCases, NeverStarts) { ADD_FAILURE() << "started though the global environment skipped"; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new SkipsEveryCase);
  // Held back: make test would list its "not run" line among the tests
  // that did not run.
  testing::internal::CaptureStdout();
  const int code = RunCasesForCTest();
  const std::string said = testing::internal::GetCapturedStdout();
  const bool right =
      code == 77 && said.find("not run: every case: what every case needs is missing\n") != std::string::npos;
  printf("%s: every case skipped by the global environment: ended with %d, %s\n", right ? "ok" : "FAIL", code,
         right ? "not run, with the reason" : "not 77 (not run) with the reason");
  return right ? 0 : 1;
}
