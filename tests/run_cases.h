// The end of a test program's main: runs its cases and tells CTest what
// happened. GoogleTest ends with 0 when a case skipped, which CTest would
// count as a pass; here
//  - a failure, or a filter that matches no case, ends with 1;
//  - a run whose every case skipped ends with kSkippedExit, which its CTest
//    entry reports as not run (SKIP_RETURN_CODE, see norvu_wine_test);
//  - a skip beside passing cases ends with 1: the passes would hide it.
//    A case that may skip runs in a CTest entry of its own (norvu_wine_test's
//    ALONE list).
// Each skipped case is printed as "not run: Suite.Case: reason"; make test
// shows those lines after CTest's summary.
#pragma once

#include <gtest/gtest.h>
#include <stdio.h>

const int kSkippedExit = 77;

inline void PrintSkippedCases(const char* heading) {
  const testing::UnitTest& run = *testing::UnitTest::GetInstance();
  for (int s = 0; s < run.total_test_suite_count(); ++s) {
    const testing::TestSuite& suite = *run.GetTestSuite(s);
    for (int t = 0; t < suite.total_test_count(); ++t) {
      const testing::TestResult& result = *suite.GetTestInfo(t)->result();
      if (!result.Skipped()) continue;
      const char* reason = "";
      for (int p = 0; p < result.total_part_count(); ++p) {
        if (result.GetTestPartResult(p).skipped()) reason = result.GetTestPartResult(p).message();
      }
      printf("%s: %s.%s: %s\n", heading, suite.name(), suite.GetTestInfo(t)->name(), reason);
    }
  }
  fflush(stdout);
}

inline int RunCasesForCTest() {
  if (RUN_ALL_TESTS() != 0) return 1;
  const testing::UnitTest& run = *testing::UnitTest::GetInstance();
  if (run.test_to_run_count() == 0) {
    printf("no case matches the filter\n");
    return 1;
  }
  if (run.skipped_test_count() == 0) return 0;
  if (run.successful_test_count() == 0) {
    PrintSkippedCases("not run");
    return kSkippedExit;
  }
  PrintSkippedCases("skipped beside passing cases (give it a CTest entry of its own)");
  return 1;
}
