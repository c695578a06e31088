// What norvu.exe reports about its folder, and the exit code of /report.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "payload/product/norvu_report.h"
#include "shell/bounded_text.h"

namespace {

Findings Complete() {
  Findings found = {};
  CopyText(found.folder, "C:\\Program files\\Norvu");
  found.library = LibraryReady;
  CopyText(found.libraryVersion, "Ferrox engine 1.0");
  found.configFound = true;
  CopyText(found.version, "1.0");
  for (int i = 0; i < kProductFileCount; ++i) {
    CopyText(found.files[i].name, kProductFiles[i].installedName);
    found.files[i].present = true;
  }
  return found;
}

std::string Report(const Findings& found) {
  char text[2048];
  EXPECT_TRUE(ComposeReport(found, text, sizeof(text)));
  return text;
}

TEST(NorvuReport, CompleteFolderListsEveryFileAndNeedsNothing) {
  const Findings found = Complete();
  EXPECT_EQ(Report(found),
            "Norvu 1.0\r\n"
            "Folder: C:\\Program files\\Norvu\r\n"
            "Library: ferrox.dll, Ferrox engine 1.0\r\n"
            "Settings: norvu.cfg\r\n"
            "Help file: nvuhelp.hlp\r\n"
            "Start data: nvustart.kbm\r\n"
            "Readme: notice.wri\r\n"
            "Uninstaller: unsetup.exe\r\n"
            "Data folder: IsoData\r\n"
            "\r\n"
            "Norvu has everything it needs.\r\n");
  EXPECT_EQ(ReportProblems(found), 0);
}

TEST(NorvuReport, EachLibraryProblemIsNamedAndCounted) {
  const struct {
    int state;
    const char* line;
  } cases[] = {
      {LibraryMissing, "Library: ferrox.dll is missing from C:\\Program files\\Norvu\r\n"},
      {LibraryUnloadable, "Library: ferrox.dll is there but cannot be loaded\r\n"},
      {LibraryWithoutEntry, "Library: ferrox.dll has no FerroxVersion entry\r\n"},
  };
  for (const auto& c : cases) {
    Findings found = Complete();
    found.library = c.state;
    const std::string report = Report(found);
    EXPECT_NE(report.find(c.line), std::string::npos) << report;
    EXPECT_EQ(report.find("Ferrox engine"), std::string::npos) << "a version shown for a library that gave none";
    EXPECT_NE(report.find("Run Setup again"), std::string::npos);
    EXPECT_EQ(ReportProblems(found), ProblemLibrary);
  }
}

TEST(NorvuReport, MissingSettingsHideTheFileListAndTheVersion) {
  Findings found = Complete();
  found.configFound = false;
  const std::string report = Report(found);
  EXPECT_EQ(report.rfind("Norvu\r\n", 0), 0u) << "the version came from a settings file that is not there";
  EXPECT_NE(report.find("Settings: norvu.cfg is missing from C:\\Program files\\Norvu, so Norvu cannot tell"),
            std::string::npos);
  EXPECT_EQ(report.find("Help file"), std::string::npos);
  // Files that cannot be known are not counted as missing as well.
  EXPECT_EQ(ReportProblems(found), ProblemConfig);

  found.library = LibraryMissing;
  EXPECT_EQ(ReportProblems(found), ProblemConfig | ProblemLibrary);
}

TEST(NorvuReport, MissingAndUnnamedFilesAreNamedAndCountedOnce) {
  Findings found = Complete();
  found.files[0].present = false;
  found.files[4].present = false;
  found.files[2].name[0] = '\0';
  const std::string report = Report(found);
  EXPECT_NE(report.find("Help file: nvuhelp.hlp is missing\r\n"), std::string::npos);
  EXPECT_NE(report.find("Data folder: IsoData is missing\r\n"), std::string::npos);
  EXPECT_NE(report.find("Readme: not named in norvu.cfg\r\n"), std::string::npos);
  EXPECT_NE(report.find("Start data: nvustart.kbm\r\n"), std::string::npos);
  EXPECT_EQ(ReportProblems(found), ProblemFile);
}

TEST(NorvuReport, SettingsWithoutVersionGiveAPlainHeading) {
  Findings found = Complete();
  found.version[0] = '\0';
  EXPECT_EQ(Report(found).rfind("Norvu\r\n", 0), 0u);
}

TEST(NorvuReport, AReportThatDoesNotFitLeavesTheBufferAlone) {
  const Findings found = Complete();
  char text[64];
  std::strcpy(text, "before");
  EXPECT_FALSE(ComposeReport(found, text, sizeof(text)));
  EXPECT_STREQ(text, "before");

  // The longest folder fits, even where the report names it twice.
  Findings longest = Complete();
  longest.library = LibraryMissing;
  longest.configFound = false;
  std::memset(longest.folder, 'x', sizeof(longest.folder) - 1);
  longest.folder[sizeof(longest.folder) - 1] = '\0';
  char report[2048];
  EXPECT_TRUE(ComposeReport(longest, report, sizeof(report)));
}

TEST(NorvuReport, ReportSwitchIsAWholeWordInAnyCase) {
  EXPECT_TRUE(HasReportSwitch("/report"));
  EXPECT_TRUE(HasReportSwitch("/REPORT"));
  EXPECT_TRUE(HasReportSwitch("  drawing.nvu\t/Report  "));
  EXPECT_FALSE(HasReportSwitch(""));
  EXPECT_FALSE(HasReportSwitch("report"));
  EXPECT_FALSE(HasReportSwitch("/reports"));
  EXPECT_FALSE(HasReportSwitch("/repor"));
  EXPECT_FALSE(HasReportSwitch("x/report"));
}

TEST(NorvuReport, ProgramPathIsCutToItsFolder) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Program files\\Norvu\\norvu.exe", "C:\\Program files\\Norvu"},
      {"C:\\norvu.exe", "C:\\"},
      {"\\\\server\\share\\norvu.exe", "\\\\server\\share"},
      {"norvu.exe", ""},
  };
  for (const auto& c : cases) {
    char path[260];
    std::strcpy(path, c.path);
    CutToFolder(path);
    EXPECT_STREQ(path, c.folder) << c.path;
  }
}

}  // namespace
