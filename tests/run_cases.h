// The end of a test program's main. GoogleTest ends with 0 when a case
// skipped, which CTest would count as a pass. Here a failure, or a filter
// that matches no case, ends with 1; a run whose every case skipped ends with
// 77, which CTest shows as not run (norvu_wine_test, norvu_native_test); a
// skip beside passing cases ends with 1, as the passes would hide it. Each
// skip is printed as "not run: Suite.Case: reason", which make test shows
// after its summary.
//
// GoogleTest counts a case that never started as passed: a skip in a global
// environment's SetUp starts none, and every case would "pass". So a case
// passes here only once it has started, and the cases that passed and
// skipped must add up to the cases to run. A skip of the global environment
// skips them all (77); any other case that neither passed nor skipped ends
// with 1.
#pragma once

#include <gtest/gtest.h>
#include <stdio.h>

inline int RunCasesForCTest() {
  if (RUN_ALL_TESTS() != 0) return 1;
  const testing::UnitTest& run = *testing::UnitTest::GetInstance();
  const int toRun = run.test_to_run_count();
  if (toRun == 0) return printf("no case matches the filter\n"), 1;
  int passed = 0, skipped = 0;
  for (int s = 0; s < run.total_test_suite_count(); ++s) {
    const testing::TestSuite& suite = *run.GetTestSuite(s);
    for (int t = 0; t < suite.total_test_count(); ++t) {
      const testing::TestInfo& info = *suite.GetTestInfo(t);
      if (!info.should_run()) continue;
      skipped += info.result()->Skipped();
      passed += info.result()->start_timestamp() != 0 && info.result()->Passed();
    }
  }
  const testing::TestResult& global = run.ad_hoc_test_result();
  const bool allSkipped = global.Skipped() && passed == 0;
  if (allSkipped) skipped = toRun;
  if (passed + skipped != toRun) return printf("%d cases neither passed nor skipped\n", toRun - passed - skipped), 1;
  for (int p = 0; allSkipped && p < global.total_part_count(); ++p) {
    const testing::TestPartResult& part = global.GetTestPartResult(p);
    if (part.skipped()) printf("not run: every case: %s\n", part.message());
  }
  const bool alone = passed == 0;
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
  return skipped == 0 ? 0 : alone ? 77 : 1;
}
