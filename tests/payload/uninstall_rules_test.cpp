// The uninstaller's decisions: where it looks for the installation, which
// paths it trusts, what it may remove while something stays, what it counts
// as the user's files, what it says, and the copy's command line.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>

#include "group/registry_keys.h"
#include "payload/uninstall/continuation.h"
#include "payload/uninstall/removal_rules.h"
#include "payload/uninstall/uninstall_entry.h"
#include "payload/uninstall/uninstall_texts.h"

namespace {

const unsigned long kWindows95 = 0xC0000004ul;  // bit 31 set, major version 4
const unsigned long kWindowsNt4 = 0x05650004ul;

RemovalProgress NothingLeft() {
  RemovalProgress progress;
  for (bool& left : progress.fileLeft) left = false;
  return progress;
}

RemovalProgress Left(const char* destinationName) {
  RemovalProgress progress = NothingLeft();
  const int index = PayloadIndexOf(destinationName);
  EXPECT_GE(index, 0) << destinationName;
  if (index >= 0) progress.fileLeft[index] = true;
  return progress;
}

// The files in their order of removal, as the uninstaller goes through them,
// the user leaving the one named left (Cancel) and everything else going.
RemovalProgress Walk(const char* left, bool recorded) {
  RemovalProgress progress = NothingLeft();
  int order[kPayloadCount];
  FileRemovalOrder(order);
  for (int index : order) {
    progress.fileLeft[index] = !MayRemoveFile(index, progress, recorded) || index == PayloadIndexOf(left);
  }
  return progress;
}

const Shortcut& ShortcutNamed(const char* linkName) {
  for (const Shortcut& shortcut : kShortcuts) {
    if (strcmp(shortcut.linkName, linkName) == 0) return shortcut;
  }
  ADD_FAILURE() << "no shortcut " << linkName;
  return kShortcuts[0];
}

FolderListing List(FolderKind kind, std::initializer_list<const char*> names) {
  FolderListing listing;
  StartListing(listing);
  for (const char* name : names) AddListedEntry(listing, kind, name);
  return listing;
}

std::string Others(const FolderListing& listing) {
  char text[300];
  return DescribeOthers(text, sizeof(text), listing) ? text : "<refused>";
}

std::string Final(const RemovalReport& report, const RemovalProgress& progress, bool recorded = true) {
  char text[4096];
  return ComposeFinalMessage(text, sizeof(text), report, progress, recorded) ? text : "<refused>";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(UninstallEntry, LooksFirstBelowTheKeySetupChoosesOnThisSystemThenBelowTheOther) {
  const char* order[2];
  EntryKeyOrder(kWindows95, order);
  EXPECT_STREQ(order[0], kWindowsVersionKey);
  EXPECT_STREQ(order[1], kWindowsNtVersionKey);
  EntryKeyOrder(kWindowsNt4, order);
  EXPECT_STREQ(order[0], kWindowsNtVersionKey);
  EXPECT_STREQ(order[1], kWindowsVersionKey);
  // Windows 3.x with Win32s: bit 31 set, major version 3.
  EntryKeyOrder(0x80000003ul, order);
  EXPECT_STREQ(order[0], kWindowsNtVersionKey);

  char key[200];
  ASSERT_TRUE(ComposeEntryKey(key, sizeof(key), order[0]));
  EXPECT_STREQ(key, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Uninstall\\Norvu");
  ASSERT_TRUE(ComposeUninstallListKey(key, sizeof(key), kWindowsVersionKey));
  EXPECT_STREQ(key, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
  char small[20] = "unchanged";
  EXPECT_FALSE(ComposeEntryKey(small, sizeof(small), kWindowsVersionKey));
  EXPECT_STREQ(small, "unchanged");
}

TEST(UninstallEntry, OnlyTheUninstallListSetupMadeBelowTheNtKeyGoesWhenEmpty) {
  EXPECT_TRUE(RemovesEmptyUninstallList(kWindowsNtVersionKey));
  EXPECT_TRUE(RemovesEmptyUninstallList("software\\microsoft\\windows nt\\currentversion"));
  // The system's own list of installed programs is never removed.
  EXPECT_FALSE(RemovesEmptyUninstallList(kWindowsVersionKey));
}

TEST(UninstallEntry, OnlyAPlainFolderBelowADriveIsTrusted) {
  struct {
    FolderVerdict verdict;
    std::initializer_list<const char*> paths;
  } cases[] = {
      {FolderTrusted,
       {"C:\\Program files\\Norvu", "D:\\Apps\\Norvu\\", "c:\\PROGRA~1\\Norvu", "C:\\Norvu.old\\...x", "C:\\Norvu. "}},
      {FolderIsDriveRoot, {"C:\\", "z:\\"}},
      {FolderIsNetworkOrDevice,
       {"\\\\server\\share\\Norvu", "\\\\?\\C:\\Norvu", "\\\\.\\C:\\Norvu", "//server/share", "\\/x", "\\\\"}},
      // The system trims trailing dots and spaces: "Norvu\.. " is the parent.
      {FolderHasDotsStep,
       {"C:\\Norvu\\.. ", "C:\\..\\Windows", "C:\\Norvu\\.", "C:\\Norvu\\...", "C:\\ \\x", "C:\\Norvu\\ . \\"}},
      // Relative paths would be taken from whatever the current folder is;
      // an empty step or a "/" hides a root or a step of dots.
      {FolderNotFull,
       {"", "Norvu", "\\Norvu", "C:Norvu", "C:", "1:\\Norvu", "C:\\\\", "C:\\\\Norvu", "C:\\Norvu\\\\",
        "C:\\Norvu\\\\x", "C:/Norvu", "C:\\Norvu/..", "C:\\Nor*", "C:\\Norvu?", "C:\\Norvu:x", "C:\\a\tb"}},
  };
  for (const auto& group : cases) {
    for (const char* path : group.paths) EXPECT_EQ(JudgeFolder(path), group.verdict) << path;
  }
}

TEST(UninstallEntry, AnEntryIsRefusedByItsFirstUntrustedFolderAndAnEmptyGroupIsNone) {
  Installation entry = {kWindowsNtVersionKey, "C:\\Program files\\Norvu", ""};
  Refusal refusal;
  EXPECT_TRUE(JudgeEntry(entry, refusal));  // no group recorded: the uninstaller reports it
  strcpy(entry.scdir, "C:\\");
  ASSERT_FALSE(JudgeEntry(entry, refusal));
  EXPECT_STREQ(refusal.valueName, "Scdir");
  EXPECT_EQ(refusal.verdict, FolderIsDriveRoot);
  EXPECT_STREQ(refusal.value, "C:\\");
  strcpy(entry.progdir, "\\\\server\\share");
  ASSERT_FALSE(JudgeEntry(entry, refusal));
  EXPECT_STREQ(refusal.valueName, "Progdir");
  EXPECT_EQ(refusal.verdict, FolderIsNetworkOrDevice);
}

TEST(UninstallEntry, SameFolderIgnoresLetterCaseAndATrailingBackslash) {
  EXPECT_TRUE(SameFolder("C:\\Program files\\Norvu", "c:\\PROGRAM FILES\\norvu"));
  EXPECT_TRUE(SameFolder("C:\\Program files\\Norvu\\", "C:\\Program files\\Norvu"));
  EXPECT_TRUE(SameFolder("C:\\", "c:\\"));
  EXPECT_FALSE(SameFolder("C:\\Program files\\Norvu", "C:\\Program files\\Norvu2"));
  EXPECT_FALSE(SameFolder("C:\\Program files\\Norvu2", "C:\\Program files\\Norvu"));
  EXPECT_FALSE(SameFolder("C:\\Program files\\Norvu", ""));
  EXPECT_FALSE(SameFolder("C:\\", "C:"));
  EXPECT_FALSE(SameFolder("C:\\Norvu\\\\", "C:\\Norvu"));
}

TEST(RemovalRules, TheTablesOfSetupAgreeOnTheFilesTheShortcutsPointAt) {
  ASSERT_GE(UninstallerIndex(), 0);
  EXPECT_STREQ(PayloadTable.destination[UninstallerIndex()], "\\unsetup.exe");
  for (const Shortcut& shortcut : kShortcuts) {
    EXPECT_GE(PayloadIndexOf(shortcut.targetName), 0) << shortcut.targetName << " is not installed by setup";
  }
  EXPECT_EQ(PayloadIndexOf("\\Norvu.exe"), PayloadIndexOf("\\norvu.exe"));
  EXPECT_EQ(PayloadIndexOf("\\norvu"), -1);
  EXPECT_EQ(PayloadIndexOf("norvu.exe"), -1);
}

TEST(RemovalRules, WithNothingLeftEverythingGoes) {
  const RemovalProgress progress = NothingLeft();
  EXPECT_FALSE(ProductFilesLeft(progress));
  EXPECT_TRUE(MayRemoveFile(UninstallerIndex(), progress, true));
  for (const Shortcut& shortcut : kShortcuts) EXPECT_TRUE(MayRemoveShortcut(shortcut, progress)) << shortcut.linkName;
  EXPECT_TRUE(MayRemoveUninstallEntry(progress));
  EXPECT_TRUE(MayRemoveAppPath(progress, "C:\\Program files\\Norvu", "c:\\program files\\norvu\\"));
}

TEST(RemovalRules, AProductFileLeftKeepsTheUninstallerItsShortcutAndEntryAndItsOwnShortcut) {
  const RemovalProgress progress = Left("\\norvu.exe");
  EXPECT_TRUE(ProductFilesLeft(progress));
  EXPECT_FALSE(MayRemoveFile(UninstallerIndex(), progress, true));
  EXPECT_FALSE(MayRemoveUninstallEntry(progress));
  EXPECT_FALSE(MayRemoveShortcut(ShortcutNamed("\\Norvu.lnk"), progress));
  EXPECT_FALSE(MayRemoveShortcut(ShortcutNamed("\\Uninstall.lnk"), Left("\\unsetup.exe")));
  EXPECT_TRUE(MayRemoveShortcut(ShortcutNamed("\\Readme.lnk"), progress));
  // The program still there: the system may still start it by its name.
  EXPECT_FALSE(MayRemoveAppPath(progress, "C:\\Norvu", "C:\\Norvu"));

  // A data file left keeps the uninstaller too, but not the program's entries.
  const RemovalProgress data = Left("\\nvustart.kbm");
  EXPECT_FALSE(MayRemoveFile(UninstallerIndex(), data, true));
  EXPECT_FALSE(MayRemoveUninstallEntry(data));
  EXPECT_TRUE(MayRemoveShortcut(ShortcutNamed("\\Norvu.lnk"), data));
  EXPECT_TRUE(MayRemoveAppPath(data, "C:\\Norvu", "C:\\Norvu"));
}

TEST(RemovalRules, TheUninstallerLeftKeepsItsEntryAndShortcutOnly) {
  const RemovalProgress progress = Left("\\unsetup.exe");
  EXPECT_FALSE(ProductFilesLeft(progress));
  EXPECT_TRUE(MayRemoveFile(UninstallerIndex(), progress, true));
  EXPECT_FALSE(MayRemoveUninstallEntry(progress));
  EXPECT_FALSE(MayRemoveShortcut(ShortcutNamed("\\Uninstall.lnk"), progress));
  EXPECT_TRUE(MayRemoveShortcut(ShortcutNamed("\\Norvu.lnk"), progress));
}

TEST(RemovalRules, WithoutAnEntryAnyFileLeftKeepsTheProgramAndTheUninstallerThatTheFolderIsKnownBy) {
  const int program = PayloadIndexOf(kNorvuProgramName), uninstaller = UninstallerIndex();
  ASSERT_GE(program, 0);
  for (const char* name : PayloadTable.destination) {
    const RemovalProgress bare = Walk(name, false);
    if (ProductFilesLeft(bare)) EXPECT_TRUE(bare.fileLeft[program] && bare.fileLeft[uninstaller]) << name;
    // With an entry, which finds the folder, the program goes all the same.
    EXPECT_EQ(Walk(name, true).fileLeft[program], PayloadIndexOf(name) == program) << name;
  }
}

TEST(RemovalRules, AnApplicationPathOfAnotherInstallationStays) {
  EXPECT_FALSE(MayRemoveAppPath(NothingLeft(), "D:\\Norvu", "C:\\Program files\\Norvu"));
  EXPECT_FALSE(MayRemoveAppPath(NothingLeft(), "", "C:\\Program files\\Norvu"));
}

TEST(RemovalRules, MissingIsGoneInUseIsWorthARetryAnythingElseFailed) {
  EXPECT_EQ(ClassifyRemovalError(2, 0), RemovalGone);    // file not found
  EXPECT_EQ(ClassifyRemovalError(3, 0), RemovalGone);    // path not found
  EXPECT_EQ(ClassifyRemovalError(5, 0), RemovalInUse);   // a running program's file: it opens for deletion
  EXPECT_EQ(ClassifyRemovalError(5, 32), RemovalInUse);  // open elsewhere without sharing
  EXPECT_EQ(ClassifyRemovalError(5, 5), RemovalNoRights);  // it does not even open for deletion
  EXPECT_EQ(ClassifyRemovalError(32, 0), RemovalInUse);  // opened without sharing
  EXPECT_EQ(ClassifyRemovalError(33, 0), RemovalInUse);  // locked range
  EXPECT_EQ(ClassifyRemovalError(19, 0), RemovalFailed);   // write-protected medium
  EXPECT_EQ(ClassifyRemovalError(145, 0), RemovalFailed);  // folder not empty
  EXPECT_EQ(ClassifyRemovalError(123, 0), RemovalFailed);  // a name the system refuses
}

TEST(FolderListing, SetupsOwnEntriesAreToldFromTheUsersInAnyLetterCase) {
  FolderListing install = List(InstallFolder, {".", "..", "NORVU.EXE", "IsoData", "notes.txt", "unsetup.exe", "old.cfg"});
  EXPECT_EQ(install.entries, 5);
  EXPECT_EQ(install.othersCount, 2);
  EXPECT_EQ(Others(install), "notes.txt, old.cfg");

  FolderListing group = List(GroupFolder, {"Uninstall.lnk", "norvu.exe", "Mine.lnk"});
  EXPECT_EQ(group.othersCount, 2);  // the program's name is not a shortcut's
  EXPECT_EQ(Others(group), "norvu.exe, Mine.lnk");

  // Setup puts nothing into the data folder: whatever is there is the user's.
  FolderListing data = List(DataFolder, {"norvu.cfg"});
  EXPECT_EQ(data.othersCount, 1);

  FolderListing empty = List(InstallFolder, {".", ".."});
  EXPECT_EQ(empty.entries, 0);
  EXPECT_EQ(empty.othersCount, 0);
}

TEST(FolderListing, ManyOrLongNamesAreCountedNotCut) {
  EXPECT_EQ(Others(List(DataFolder, {"a", "b", "c", "d", "e"})), "a, b, c and 2 more");
  std::string huge(250, 'x');
  EXPECT_EQ(Others(List(DataFolder, {huge.c_str()})), "1 file");
  EXPECT_EQ(Others(List(DataFolder, {huge.c_str(), huge.c_str()})), "2 files");
  EXPECT_EQ(Others(List(DataFolder, {"a", huge.c_str()})), "a and 1 more");
  char small[8] = "same";
  EXPECT_FALSE(DescribeOthers(small, sizeof(small), List(DataFolder, {"notes.txt"})));
  EXPECT_STREQ(small, "same");
}

TEST(UninstallTexts, QuestionAndRetryPromptNameWhatTheyAreAbout) {
  char text[1024];
  ASSERT_TRUE(ComposeQuestion(text, sizeof(text), "D:\\Apps\\Norvu"));
  EXPECT_EQ(std::string(text).rfind("Remove Norvu and its shortcuts from this computer?", 0), 0u) << text;
  EXPECT_TRUE(Contains(text, "D:\\Apps\\Norvu")) << text;

  ASSERT_TRUE(ComposeRetryPrompt(text, sizeof(text), "C:\\N\\norvu.exe", RemovalInUse, 5));
  EXPECT_TRUE(Contains(text, "C:\\N\\norvu.exe\ncannot be removed because it is in use")) << text;
  EXPECT_TRUE(Contains(text, "Retry") && Contains(text, "Cancel")) << text;
  ASSERT_TRUE(ComposeRetryPrompt(text, sizeof(text), "C:\\N\\IsoData", RemovalFailed, 145));
  EXPECT_TRUE(Contains(text, "(error 145)")) << text;
  EXPECT_FALSE(Contains(text, "in use")) << text;
  ASSERT_TRUE(ComposeRetryPrompt(text, sizeof(text), "C:\\N\\norvu.cfg", RemovalNoRights, 5));
  EXPECT_TRUE(Contains(text, "C:\\N\\norvu.cfg\ncannot be removed because you lack the rights")) << text;
  EXPECT_TRUE(Contains(text, "Retry") && !Contains(text, "in use")) << text;

  char small[10] = "same";
  EXPECT_FALSE(ComposeQuestion(small, sizeof(small), "C:\\"));
  EXPECT_STREQ(small, "same");
}

TEST(UninstallTexts, FinalMessageNamesWhatWasLeftAndWhy) {
  RemovalReport report;
  StartReport(report);
  EXPECT_EQ(Final(report, NothingLeft()), kRemovedText);

  ReportLeft(report, "C:\\Program files\\Norvu", LeftHoldsOtherFiles, "notes.txt", 0);
  std::string userFiles = Final(report, NothingLeft());
  EXPECT_EQ(userFiles.rfind("Norvu was removed from this computer", 0), 0u) << userFiles;
  EXPECT_TRUE(Contains(userFiles, "C:\\Program files\\Norvu: it holds files that Setup did not install: notes.txt."))
      << userFiles;
  EXPECT_FALSE(Contains(userFiles, "start Uninstall again")) << userFiles;

  RemovalReport inUse;
  StartReport(inUse);
  ReportLeft(inUse, "C:\\N\\norvu.exe", LeftInUse, "", 0);
  ReportLeft(inUse, "HKEY_LOCAL_MACHINE\\X", LeftFailed, "", 5);
  std::string kept = Final(inUse, Left("\\norvu.exe"));
  EXPECT_EQ(kept.rfind("Norvu was not removed completely.", 0), 0u) << kept;
  EXPECT_TRUE(Contains(kept, "C:\\N\\norvu.exe: it is in use.\n")) << kept;
  EXPECT_TRUE(Contains(kept, "HKEY_LOCAL_MACHINE\\X: it could not be removed (error 5).")) << kept;
  EXPECT_TRUE(Contains(kept, "start Uninstall again")) << kept;
}

TEST(UninstallTexts, WhatWasKeptForASecondRunIsSaidAndOnlyWhatThereIs) {
  RemovalReport report;
  StartReport(report);
  ReportLeft(report, "C:\\N\\unsetup.exe", LeftNoRights, "", 5);
  std::string only = Final(report, Left("\\unsetup.exe"));
  EXPECT_EQ(only.rfind("Norvu was removed from this computer, except", 0), 0u) << only;
  EXPECT_TRUE(Contains(only, "C:\\N\\unsetup.exe: you lack the rights to remove it.\n")) << only;
  EXPECT_TRUE(Contains(only, "The uninstall entry and the Uninstall shortcut were kept so that Uninstall can be run "
                             "again to finish."))
      << only;
  // Without an uninstall entry there was neither entry nor shortcut.
  const std::string bare = Final(report, Left("\\unsetup.exe"), false);
  EXPECT_FALSE(Contains(bare, "kept")) << bare;

  RemovalReport inUse;
  StartReport(inUse);
  ReportLeft(inUse, "C:\\N\\norvu.exe", LeftInUse, "", 0);
  std::string here = Final(inUse, Left("\\norvu.exe"), false);
  EXPECT_EQ(here.rfind("Norvu was not removed completely.", 0), 0u) << here;
  EXPECT_TRUE(Contains(here, "The uninstaller was kept in that folder: close Norvu, then start it again")) << here;
  EXPECT_FALSE(Contains(here, "entry")) << here;

  // Another file left: the program was kept with the uninstaller, and why.
  RemovalReport help;
  StartReport(help);
  ReportLeft(help, "C:\\N\\nvuhelp.hlp", LeftInUse, "", 0);
  const std::string both = Final(help, Walk("\\nvuhelp.hlp", false), false);
  EXPECT_TRUE(Contains(both, "C:\\N\\nvuhelp.hlp: it is in use.\n\nThe uninstaller (unsetup.exe) and the program "
                             "norvu.exe were kept in that folder, so that the uninstaller still recognises")) << both;
  EXPECT_TRUE(Contains(both, "start unsetup.exe there again")) << both;
}

TEST(UninstallTexts, ARefusalNamesTheValueWhatItHoldsAndWhy) {
  Refusal refusal;
  Refuse(refusal, "Progdir", "C:\\", FolderIsDriveRoot);
  char text[1400];
  ASSERT_TRUE(ComposeRefusal(text, sizeof(text), refusal));
  EXPECT_TRUE(Contains(text, "installation folder (Progdir):\n\nC:\\\n\n")) << text;
  EXPECT_TRUE(Contains(text, "root of a drive")) << text;
  EXPECT_TRUE(Contains(text, "Nothing was changed.")) << text;
  Refuse(refusal, "Scdir", "", FolderNotFull);
  ASSERT_TRUE(ComposeRefusal(text, sizeof(text), refusal));
  EXPECT_TRUE(Contains(text, "program group folder (Scdir):\n\n(none)\n")) << text;
  // Each verdict has its own reason.
  std::set<std::string> reasons;
  for (int verdict = FolderNotFull; verdict <= FolderWithoutUninstaller; ++verdict) {
    Refuse(refusal, "Progdir", "C:\\x", (FolderVerdict)verdict);
    ASSERT_TRUE(ComposeRefusal(text, sizeof(text), refusal));
    reasons.insert(text);
  }
  EXPECT_EQ(reasons.size(), (size_t)FolderWithoutUninstaller);
}

TEST(UninstallTexts, AReportTooLongForTheMessageSaysThereIsMoreAndKeepsWholeLines) {
  RemovalReport report;
  StartReport(report);
  std::string path = "C:\\" + std::string(200, 'p');
  for (int i = 0; i < 40; ++i) ReportLeft(report, path.c_str(), LeftInUse, "", 0);
  EXPECT_EQ(report.leftCount, 40);
  EXPECT_TRUE(report.full);
  std::string message = Final(report, Left("\\ferrox.dll"));
  EXPECT_TRUE(Contains(message, "(and more items than this message can show)")) << message;
  EXPECT_TRUE(Contains(message, "start Uninstall again"));
  // Every line shown is whole.
  size_t lines = 0;
  for (size_t at = message.find(path); at != std::string::npos; at = message.find(path, at + 1)) {
    EXPECT_EQ(message.compare(at + path.size(), 16, ": it is in use.\n"), 0);
    ++lines;
  }
  EXPECT_GT(lines, 5u);
  EXPECT_LT(lines, 40u);
}

TEST(Continuation, TheCopysCommandLineReadsBackOnlyInItsOwnForm) {
  char line[1100];
  ASSERT_TRUE(ComposeContinuation(line, sizeof(line), "C:\\users\\A B\\Temp\\nvu1F.tmp\\unsetup.exe", 4294967295ul, ""));
  EXPECT_STREQ(line, "\"C:\\users\\A B\\Temp\\nvu1F.tmp\\unsetup.exe\" /continue 4294967295");
  Continuation given = {7, "before"};
  ASSERT_TRUE(ParseContinuation(strchr(line + 1, '"') + 2, given));
  EXPECT_EQ(given.processHandle, 4294967295ul);
  EXPECT_STREQ(given.folder, "");
  EXPECT_TRUE(ParseContinuation("  /CONTINUE   124 ", given));
  EXPECT_EQ(given.processHandle, 124ul);

  // Without an uninstall entry it carries the folder to remove.
  ASSERT_TRUE(ComposeContinuation(line, sizeof(line), "C:\\T\\nvu2.tmp\\unsetup.exe", 12, "D:\\My apps\\Norvu"));
  EXPECT_STREQ(line, "\"C:\\T\\nvu2.tmp\\unsetup.exe\" /continue 12 \"D:\\My apps\\Norvu\"");
  ASSERT_TRUE(ParseContinuation(strchr(line + 1, '"') + 2, given));
  EXPECT_EQ(given.processHandle, 12ul);
  EXPECT_STREQ(given.folder, "D:\\My apps\\Norvu");

  given = {7, "same"};
  std::string tooLong = "/continue 1 \"C:\\" + std::string(kRecordedPathSize, 'x') + "\"";
  for (const char* other : {"", "/continue", "/continue ", "/continue x", "/continue 12x", "/continue -1",
                            "/continuex 12", "continue 12", "/continue 4294967296", "/continue 1 2", "/S",
                            "/continue 1 \"\"", "/continue 1 \"C:\\x", "/continue 1 \"C:\\x\" y", "/continue 1 C:\\x",
                            "/continue 1\"C:\\x\"", tooLong.c_str()}) {
    EXPECT_FALSE(ParseContinuation(other, given)) << other;
  }
  EXPECT_EQ(given.processHandle, 7ul);
  EXPECT_STREQ(given.folder, "same");
  char small[20] = "same";
  EXPECT_FALSE(ComposeContinuation(small, sizeof(small), "C:\\Temp\\nvu1.tmp", 12, ""));
  EXPECT_STREQ(small, "same");
}

TEST(Continuation, TheCopysFolderIsNamedInTheTemporaryFolder) {
  char folder[40];
  ASSERT_TRUE(ComposeCopyFolder(folder, sizeof(folder), "C:\\TEMP\\", 65535));
  EXPECT_STREQ(folder, "C:\\TEMP\\nvu65535.tmp");  // eight and three characters
  ASSERT_TRUE(ComposeCopyFolder(folder, sizeof(folder), "C:\\TEMP", 0));
  EXPECT_STREQ(folder, "C:\\TEMP\\nvu0.tmp");
}
