// What a whole removal (tests/e2e/uninstall_e2e.cpp) does not show: the path
// rules, what a file left keeps, the rarer texts, the copy's command line.
#include <gtest/gtest.h>

#include <string>

#include "payload/uninstall/continuation.h"
#include "payload/uninstall/uninstall_texts.h"

namespace {

RemovalProgress Left(const char* destinationName) {
  RemovalProgress progress = {};
  progress.fileLeft[PayloadIndexOf(destinationName)] = true;
  return progress;
}

std::string Final(const RemovalReport& report, const char* left, bool recorded) {
  char text[4096];
  return ComposeFinalMessage(text, sizeof(text), report, Left(left), recorded) ? text : "<refused>";
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(UninstallEntry, OnlyAPlainFolderBelowADriveIsTrustedAndTheFirstOtherValueIsNamed) {
  struct {
    FolderVerdict verdict;
    std::initializer_list<const char*> paths;
  } cases[] = {
      // Letters of the code page above 127 are letters like any other.
      {FolderTrusted, {"D:\\Apps\\Norvu\\", "c:\\PROGRA~1\\Norvu", "C:\\Norvu.old\\...x", "C:\\Norvu. ",
                       "C:\\Programme\\Norv\xfc", "D:\\Logiciels\\Soci\xe9t\xe9\\\x80\xff"}},
      {FolderIsDriveRoot, {"C:\\", "z:\\"}},
      {FolderIsNetworkOrDevice, {"\\\\server\\share", "\\\\?\\C:\\Norvu", "\\\\.\\C:\\Norvu", "//server/x", "\\/x"}},
      // The system trims trailing dots and spaces: "Norvu\.. " is the parent.
      {FolderHasDotsStep, {"C:\\Norvu\\.. ", "C:\\..\\Windows", "C:\\Norvu\\.", "C:\\ \\x", "C:\\Norvu\\ . \\"}},
      {FolderNotFull, {"", "Norvu", "\\Norvu", "C:Norvu", "C:", "1:\\Norvu", "C:\\\\", "C:\\Norvu\\\\", "C:\\N\\\\x",
                       "C:/Norvu", "C:\\Norvu/..", "C:\\Nor*", "C:\\Norvu?", "C:\\Norvu:x", "C:\\a\tb"}},
  };
  for (const auto& group : cases) {
    for (const char* path : group.paths) EXPECT_EQ(JudgeFolder(path), group.verdict) << path;
  }
  // What the disk says of a step: what is not there (2, 3) or not a folder
  // holds no installation; attributes unread for any other reason (5) may
  // hide a link.
  EXPECT_EQ(JudgeAttributes(0x10, 0), FolderTrusted);
  EXPECT_EQ(JudgeAttributes(0x410, 0), FolderThroughLink);
  EXPECT_EQ(JudgeAttributes(0x20, 0), FolderWithoutUninstaller);
  EXPECT_EQ(JudgeAttributes(kNoAttributes, 3), FolderWithoutUninstaller);
  EXPECT_EQ(JudgeAttributes(kNoAttributes, 5), FolderUnreadable);
  // Windows 95 cannot open a folder to hold it; Windows NT 4 and 10 can.
  EXPECT_FALSE(OpensFolders(0xC3B60004ul));
  EXPECT_TRUE(OpensFolders(0x05650004ul));
  EXPECT_TRUE(OpensFolders(0x4A61000Aul));
  const Installation noGroup = {nullptr, "C:\\Norvu", ""}, rootGroup = {nullptr, "C:\\Norvu", "C:\\"};
  Refusal refusal;
  EXPECT_TRUE(JudgeEntry(noGroup, refusal));
  ASSERT_FALSE(JudgeEntry(rootGroup, refusal));
  char text[1400];
  ASSERT_TRUE(ComposeRefusal(text, sizeof(text), refusal));
  EXPECT_TRUE(Contains(text, "program group folder (Scdir):\n\nC:\\\n\n")) << text;
}

TEST(RemovalRules, AFileLeftKeepsWhatStillServesItOnly) {
  const Shortcut programLink = {"", "\\Norvu.exe", ""}, uninstallLink = {"", "\\unsetup.exe", ""};
  const RemovalProgress data = Left("\\nvustart.kbm"), self = Left("\\unsetup.exe");
  EXPECT_FALSE(MayRemoveFile(UninstallerIndex(), data, true));
  EXPECT_FALSE(MayRemoveUninstallEntry(data));
  EXPECT_TRUE(MayRemoveFile(PayloadIndexOf(kNorvuProgramName), data, true));
  EXPECT_TRUE(MayRemoveShortcut(programLink, data));
  EXPECT_TRUE(MayRemoveAppPath(data, "C:\\Program files\\Norvu", "c:\\PROGRAM FILES\\norvu\\"));
  EXPECT_FALSE(MayRemoveUninstallEntry(self));
  EXPECT_FALSE(MayRemoveShortcut(uninstallLink, self));
  // Another installation's application path stays.
  EXPECT_FALSE(MayRemoveAppPath(RemovalProgress{}, "C:\\Program files\\Norvu2", "C:\\Program files\\Norvu"));
  EXPECT_FALSE(MayRemoveAppPath(RemovalProgress{}, "", "C:\\Program files\\Norvu"));
  // "Access denied" for a file that does not even open for deletion.
  EXPECT_EQ(ClassifyRemovalError(5, 5), RemovalNoRights);
  EXPECT_EQ(ClassifyRemovalError(32, 0), RemovalInUse);
}

TEST(UninstallTexts, TheRarerCasesAreNamedAndATooLongReportKeepsWholeLines) {
  char text[1024];
  ASSERT_TRUE(ComposeRetryPrompt(text, sizeof(text), "C:\\N\\norvu.cfg", RemovalNoRights, 5));
  EXPECT_TRUE(Contains(text, "C:\\N\\norvu.cfg\ncannot be removed because you lack the rights")) << text;
  ASSERT_TRUE(ComposeRetryPrompt(text, sizeof(text), "C:\\N\\IsoData", RemovalFailed, 145));
  EXPECT_TRUE(Contains(text, "C:\\N\\IsoData\ncannot be removed (error 145).")) << text;

  RemovalReport report;
  StartReport(report);
  ReportLeft(report, "C:\\N\\unsetup.exe", LeftNoRights, "", 5);
  ReportLeft(report, "HKEY_LOCAL_MACHINE\\X", LeftFailed, "", 5);
  EXPECT_EQ(Final(report, "\\unsetup.exe", true),
            "Norvu was removed from this computer, except for these items:\n\nC:\\N\\unsetup.exe: you lack the "
            "rights to remove it.\nHKEY_LOCAL_MACHINE\\X: it could not be removed (error 5).\n\nThe uninstall "
            "entry and the Uninstall shortcut were kept so that Uninstall can be run again to finish.");
  // Without an entry there is no entry nor shortcut to keep.
  EXPECT_FALSE(Contains(Final(report, "\\unsetup.exe", false), "kept"));
  EXPECT_TRUE(Contains(Final(report, "\\norvu.exe", false), "\nThe uninstaller was kept in that folder: close Norvu"));

  const std::string path = "C:\\" + std::string(200, 'p');
  for (int i = 0; i < 40; ++i) ReportLeft(report, path.c_str(), LeftInUse, "", 0);
  const std::string message = Final(report, "\\ferrox.dll", true);
  EXPECT_TRUE(Contains(message, "p: it is in use.\n(and more items than this message can show)\n")) << message;

  // The program's name is not a shortcut's; a name too long to show is counted.
  FolderListing group;
  StartListing(group);
  for (const char* name : {"Uninstall.lnk", "norvu.exe", path.c_str(), "b", "c", "d"}) {
    AddListedEntry(group, GroupFolder, name);
  }
  ASSERT_TRUE(DescribeOthers(text, sizeof(text), group));
  EXPECT_STREQ(text, "norvu.exe, b, c and 2 more");
}

TEST(Continuation, TheCopysCommandLineReadsBackOnlyInItsOwnForm) {
  Continuation given;
  ASSERT_TRUE(ParseContinuation(" /continue 4294967295 \"D:\\My apps\\Norvu\"", given));
  EXPECT_EQ(given.processHandle, 4294967295ul);
  EXPECT_STREQ(given.folder, "D:\\My apps\\Norvu");
  const std::string tooLong = "/continue 1 \"C:\\" + std::string(kRecordedPathSize, 'x') + "\"";
  for (const char* other : {"", "/continue", "/continue ", "/continue x", "/continue 12x", "/continue -1",
                            "/continuex 12", "continue 12", "/continue 4294967296", "/continue 1 2", "/S",
                            "/continue 1 \"\"", "/continue 1 \"C:\\x", "/continue 1 \"C:\\x\" y", "/continue 1 C:\\x",
                            "/continue 1\"C:\\x\"", tooLong.c_str()}) {
    EXPECT_FALSE(ParseContinuation(other, given)) << other;
  }
}
