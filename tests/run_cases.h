// The end of a test program's main. GoogleTest ends with 0 when a case
// skipped, which CTest would count as a pass. Here a failure, or a filter
// that matches no case, ends with 1; a run whose every case skipped ends with
// 77, which CTest shows as not run (norvu_wine_test, norvu_native_test); a
// skip beside passing cases ends with 1, as the passes would hide it. Each
// skip is printed as "not run: Suite.Case: reason", which make test shows
// after its summary.
#pragma once

#include <gtest/gtest.h>
#include <stdio.h>

inline int RunCasesForCTest() {
  if (RUN_ALL_TESTS() != 0) return 1;
  const testing::UnitTest& run = *testing::UnitTest::GetInstance();
  if (run.test_to_run_count() == 0) return printf("no case matches the filter\n"), 1;
  const bool alone = run.successful_test_count() == 0;
  for (int s = 0; s < run.total_test_suite_count(); ++s) {
    const testing::TestSuite& suite = *run.GetTestSuite(s);
    for (int t = 0; t < suite.total_test_count(); ++t) {
      const testing::TestResult& result = *suite.GetTestInfo(t)->result();
      for (int p = 0; p < result.total_part_count(); ++p) {
        if (!result.GetTestPartResult(p).skipped()) continue;
        printf("%s: %s.%s: %s\n", alone ? "not run" : "skipped beside passing cases (give it a CTest entry of its own)",
               suite.name(), suite.GetTestInfo(t)->name(), result.GetTestPartResult(p).message());
      }
    }
  }
  fflush(stdout);
  return run.skipped_test_count() == 0 ? 0 : alone ? 77 : 1;
}
