#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "destination/drive_list.h"
#include "destination/folder_rules.h"
#include "destination/install_dir.h"

namespace {

// A system drive list from roots: each root, a NUL, and a closing NUL.
std::string DriveList(std::initializer_list<const char*> roots) {
  std::string list;
  for (const char* root : roots) list.append(root).push_back('\0');
  list.push_back('\0');
  return list;
}

struct Table {
  char slots[100];
  int count = 0;
  int selected = 0;
  Table() { memset(slots, 0x7F, sizeof(slots)); }
  void Parse(const std::string& list, char source) {
    count = ParseDriveList(list.data(), list.size(), slots, source, &selected);
  }
  std::string Slot(int i) const { return slots + i * kDriveSlotSize; }
};

TEST(DriveList, SourceDriveIsSelectedAndDriveCIsFound) {
  Table t;
  t.Parse(DriveList({"A:\\", "C:\\", "D:\\"}), 'D');
  ASSERT_EQ(t.count, 3);
  EXPECT_EQ(t.Slot(1), "C:\\");
  EXPECT_EQ(t.selected, 2);  // the source drive, before drive C overrides it
  EXPECT_EQ(FindDrive(t.slots, t.count, 'C'), 1);

  Table e;
  e.Parse(DriveList({"A:\\", "D:\\", "E:\\"}), 'E');
  EXPECT_EQ(e.selected, 2);
  EXPECT_EQ(FindDrive(e.slots, e.count, 'C'), -1);
}

TEST(DriveList, SlotsAreUpperCasedAndANetworkSourceMatchesNothing) {
  Table t;
  t.Parse(DriveList({"a:\\", "d:\\"}), 'D');
  EXPECT_EQ(t.Slot(0), "A:\\");
  EXPECT_EQ(t.selected, 1);
  Table n;
  n.Parse(DriveList({"A:\\", "D:\\"}), '\\');
  EXPECT_EQ(n.selected, 0);
}

TEST(DriveList, OnlyCompleteEntriesAndNeverMoreThanTwentySlots) {
  std::string all;
  for (char c = 'A'; c <= 'Z'; ++c) all += std::string(1, c) + ":\\" + '\0';
  all += '\0';
  Table t;
  t.Parse(all, 'Z');
  EXPECT_EQ(t.count, 20);
  EXPECT_EQ(t.Slot(19), "T:\\");
  EXPECT_EQ(t.selected, 0);  // Z lies beyond the table

  Table cut;  // the answer ends inside its third entry
  std::string list = DriveList({"A:\\", "C:\\", "D:\\"});
  cut.Parse(list.substr(0, 9), 'D');
  EXPECT_EQ(cut.count, 2);
  EXPECT_EQ((unsigned char)cut.slots[10], 0x7F);  // slot 2 untouched

  Table failed;
  failed.Parse(std::string(), 'C');
  EXPECT_EQ(failed.count, 0);
  Table longEntry;
  longEntry.Parse(DriveList({"A:\\", "\\\\server\\share\\"}), 'A');
  EXPECT_EQ(longEntry.count, 1);
}

TEST(DriveList, WithoutDriveCTheSourceOrFirstFixedDriveIsProposed) {
  Table t;
  t.Parse(DriveList({"A:\\", "D:\\", "E:\\"}), 'E');
  bool fixed[] = {false, true, true};
  EXPECT_EQ(ChooseDriveWithoutC(t.slots, t.count, 'E', fixed), 2);
  EXPECT_EQ(ChooseDriveWithoutC(t.slots, t.count, '\\', fixed), 1);
  bool none[] = {false, false, false};
  EXPECT_EQ(ChooseDriveWithoutC(t.slots, t.count, '\\', none), 0);
  EXPECT_EQ(ChooseDriveWithoutC(t.slots, 0, 'E', none), -1);
}

TEST(FreeSpace, ThousandsRoundDownAgainstTheRequirement) {
  // 1,400,000 bytes is enough; one byte less is not.
  EXPECT_EQ(FreeKBFromClusters(true, 1, 1, 1400000), 1400u);
  EXPECT_TRUE(HasRoomForInstall(FreeKBFromClusters(true, 1, 1, 1400000)));
  EXPECT_EQ(FreeKBFromClusters(true, 1, 1, 1399999), 1399u);
  EXPECT_FALSE(HasRoomForInstall(1399));
  // 5 GiB in 4 KiB clusters: no 32-bit wrap.
  EXPECT_EQ(FreeKBFromClusters(true, 8, 512, 1310720), 5368709u);
}

TEST(FreeSpace, FailedQueryRefusesAndHugeDrivesPass) {
  EXPECT_EQ(FreeKBFromClusters(false, 8, 512, 1000000), 0u);
  EXPECT_FALSE(HasRoomForInstall(FreeKBFromClusters(false, 8, 512, 1000000)));
  uint32_t huge = FreeKBFromClusters(true, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
  EXPECT_EQ(huge, UINT32_MAX);
  EXPECT_TRUE(HasRoomForInstall(huge));
  EXPECT_EQ(FreeKBFromClusters(true, 1000, 1000, 4294967295u), UINT32_MAX);
  EXPECT_EQ(FreeKBFromClusters(true, 1, 1000, 4294967295u), 4294967295u);
}

TEST(FreeSpace, LabelText) {
  char label[512];
  ASSERT_TRUE(FormatFreeSpaceLabel(label, sizeof(label), 1400));
  EXPECT_STREQ(label, " Available: 1400 KB, Required: 1400 KB");
  ASSERT_TRUE(FormatFreeSpaceLabel(label, sizeof(label), 4294967295u));
  EXPECT_STREQ(label, " Available: 4294967295 KB, Required: 1400 KB");
  char small[10] = "keep";
  EXPECT_FALSE(FormatFreeSpaceLabel(small, sizeof(small), 0));
  EXPECT_STREQ(small, "keep");
}

struct Path {
  char text[kPathBufferSize];
  explicit Path(const char* s) { strcpy(text, s); }
};

TEST(FolderRules, SearchPatternIsAddedAndCutExactly) {
  Path root("C:\\");
  int cut = AppendSearchPattern(root.text, sizeof(root.text), kDirectoryMode);
  EXPECT_STREQ(root.text, "C:\\*.*");
  CutSearchPattern(root.text, cut);
  EXPECT_STREQ(root.text, "C:\\");

  Path folder("C:\\Program files");
  cut = AppendSearchPattern(folder.text, sizeof(folder.text), kDirectoryMode);
  EXPECT_STREQ(folder.text, "C:\\Program files\\*.*");
  CutSearchPattern(folder.text, cut);
  EXPECT_STREQ(folder.text, "C:\\Program files");

  Path group("C:\\WINDOWS\\Start Menu");
  cut = AppendSearchPattern(group.text, sizeof(group.text), kGroupMode);
  EXPECT_STREQ(group.text, "C:\\WINDOWS\\Start Menu\\*.*");
  EXPECT_EQ(cut, 4);
}

TEST(FolderRules, UpRowThresholdsPerMode) {
  EXPECT_FALSE(HasUpRow("C:\\", kDirectoryMode));
  EXPECT_TRUE(HasUpRow("C:\\A", kDirectoryMode));
  EXPECT_FALSE(HasUpRow("C:\\WINDOWS\\Start Menu", kGroupMode));  // 21 characters
  EXPECT_TRUE(HasUpRow("C:\\WINDOWS\\Start Menu\\Programs", kGroupMode));
}

TEST(FolderRules, GoingUp) {
  Path p("C:\\Program files");
  GoUpOneLevel(p.text, kDirectoryMode);
  EXPECT_STREQ(p.text, "C:\\");
  Path ab("C:\\A\\B");
  GoUpOneLevel(ab.text, kDirectoryMode);
  EXPECT_STREQ(ab.text, "C:\\A");
  Path g("C:\\WINDOWS\\Start Menu\\Programs");
  GoUpOneLevel(g.text, kGroupMode);
  EXPECT_STREQ(g.text, "C:\\WINDOWS\\Start Menu");
  Path gRoot("C:\\A");
  GoUpOneLevel(gRoot.text, kGroupMode);
  EXPECT_STREQ(gRoot.text, "C:");
  Path none("Norvu");
  GoUpOneLevel(none.text, kDirectoryMode);
  EXPECT_STREQ(none.text, "Norvu");
}

TEST(FolderRules, EnteringAddsOneBackslash) {
  Path root("C:\\");
  EXPECT_TRUE(EnterFolder(root.text, kDirectoryMode, "Windows"));
  EXPECT_STREQ(root.text, "C:\\Windows");
  Path pf("C:\\Program files");
  EXPECT_TRUE(EnterFolder(pf.text, kDirectoryMode, "Norvu"));
  EXPECT_STREQ(pf.text, "C:\\Program files\\Norvu");
  Path g("C:\\WINDOWS\\Start Menu");
  EXPECT_TRUE(EnterFolder(g.text, kGroupMode, "Programs"));
  EXPECT_STREQ(g.text, "C:\\WINDOWS\\Start Menu\\Programs");
}

TEST(FolderRules, EnteringAgainAndAgainStopsBeforeTheBufferFills) {
  Path p("C:\\");
  int entered = 0;
  while (EnterFolder(p.text, kDirectoryMode, "Norvu")) ++entered;
  EXPECT_LE(strlen(p.text), (size_t)kMaxBrowseLength);
  EXPECT_GT(strlen(p.text) + 6, (size_t)kMaxBrowseLength);
  // Whatever the path, the pattern, the label and the directory still fit.
  char out[512];
  char name[kMaxFolderName + 1];
  memset(name, 'n', kMaxFolderName);
  name[kMaxFolderName] = '\0';
  EXPECT_TRUE(ComposeFolderLabel(out, sizeof(out), p.text, kDirectoryMode, name));
  EXPECT_TRUE(ComposeInstallDir(out, sizeof(out), p.text, name));
  EXPECT_NE(AppendSearchPattern(p.text, sizeof(p.text), kDirectoryMode), 0);
}

TEST(FolderRules, RefusedEntryLeavesThePathAsItWas) {
  Path p("C:\\");
  std::string longName(kMaxBrowseLength, 'x');
  EXPECT_FALSE(EnterFolder(p.text, kDirectoryMode, longName.c_str()));
  EXPECT_STREQ(p.text, "C:\\");
  Path tooLong("C:\\");
  memset(tooLong.text + 3, 'y', 450);  // a path already past the limit
  tooLong.text[453] = '\0';
  EXPECT_FALSE(EnterFolder(tooLong.text, kDirectoryMode, "a"));
  EXPECT_EQ(strlen(tooLong.text), 453u);
}

TEST(FolderRules, DoubleClickDecision) {
  // ListEntryCount is the highest valid row.
  EXPECT_EQ(DecideFolderStep(-1, 3, "C:\\A", kDirectoryMode), StepNone);
  EXPECT_EQ(DecideFolderStep(4, 3, "C:\\A", kDirectoryMode), StepNone);
  EXPECT_EQ(DecideFolderStep(0, 3, "C:\\A", kDirectoryMode), StepUp);
  EXPECT_EQ(DecideFolderStep(3, 3, "C:\\A", kDirectoryMode), StepInto);
  EXPECT_EQ(DecideFolderStep(0, 3, "C:\\", kDirectoryMode), StepInto);  // no up row at a root
  EXPECT_EQ(DecideFolderStep(0, 3, "C:\\WINDOWS\\Start Menu", kGroupMode), StepInto);
  EXPECT_EQ(DecideFolderStep(0, 3, "C:\\WINDOWS\\Start Menu\\Programs", kGroupMode), StepUp);
}

TEST(FolderRules, HiddenNamesAndFilesAreNotListed) {
  EXPECT_TRUE(IsListedFolder("Windows", 0x10));
  EXPECT_TRUE(IsListedFolder("System Volume", 0x10 | 0x02 | 0x04));
  EXPECT_FALSE(IsListedFolder(".", 0x10));
  EXPECT_FALSE(IsListedFolder("..", 0x10));
  EXPECT_FALSE(IsListedFolder(".config", 0x10));
  EXPECT_FALSE(IsListedFolder("readme.txt", 0x20));
}

TEST(InstallDir, RootGetsNoSecondBackslash) {
  char out[512];
  ASSERT_TRUE(ComposeInstallDir(out, sizeof(out), "C:\\", "Norvu"));
  EXPECT_STREQ(out, "C:\\Norvu");
  ASSERT_TRUE(ComposeInstallDir(out, sizeof(out), "D:\\", "Norvu"));
  EXPECT_STREQ(out, "D:\\Norvu");
  ASSERT_TRUE(ComposeInstallDir(out, sizeof(out), "C:\\Program files", "Norvu"));
  EXPECT_STREQ(out, "C:\\Program files\\Norvu");
  ASSERT_TRUE(ComposeInstallDir(out, sizeof(out), "C:\\Program files", ""));
  EXPECT_STREQ(out, "C:\\Program files\\");
}

TEST(InstallDir, NameFieldKeepsAtMost99Characters) {
  EXPECT_EQ(ClassifyFolderName(0), NameCleared);
  EXPECT_EQ(ClassifyFolderName(1), NameTaken);
  EXPECT_EQ(ClassifyFolderName(99), NameTaken);
  EXPECT_EQ(ClassifyFolderName(100), NameTooLong);
}

// A folder's security descriptor as the system gives it with its owner:
// a self-relative header of 20 bytes, the owner's offset at byte 4, then
// the owner: S-authority-subs..., as bytes.
std::vector<unsigned char> Sid(unsigned char authority, std::vector<unsigned long> subs) {
  std::vector<unsigned char> sid = {1, (unsigned char)subs.size(), 0, 0, 0, 0, 0, authority};
  for (unsigned long sub : subs) {
    for (int shift = 0; shift < 32; shift += 8) sid.push_back((unsigned char)(sub >> shift));
  }
  return sid;
}
std::vector<unsigned char> OwnedBy(const std::vector<unsigned char>& owner) {
  std::vector<unsigned char> descriptor = {1, 0, 0x01, 0x80, 20, 0, 0, 0};
  descriptor.resize(20);
  descriptor.insert(descriptor.end(), owner.begin(), owner.end());
  return descriptor;
}

TEST(InstallDir, AnAdministratorsSetupTakesOnlyAFolderOfTrustedOwnersThatLeadsNowhereElse) {
  const unsigned long kFolder = 0x10, kReparse = 0x400, kNothing = 0xFFFFFFFF;
  const std::vector<unsigned char> user = Sid(5, {21, 1, 2, 3, 1001});
  auto may = [&](bool administrator, unsigned long attributes, const std::vector<unsigned char>& descriptor) {
    return MayInstallIntoFolder(administrator, attributes, descriptor.data(), descriptor.size(), user.data());
  };
  const std::vector<unsigned char> trusted[] = {
      Sid(5, {32, 544}), Sid(5, {18}), Sid(5, {80, 956008885, 3418522649, 1831038044, 1853292631, 2271478464}),
      Sid(1, {0}), user};
  for (const auto& owner : trusted) {
    EXPECT_TRUE(may(true, kFolder, OwnedBy(owner))) << (int)owner[1];
    EXPECT_FALSE(may(true, kFolder | kReparse, OwnedBy(owner))) << (int)owner[1];
  }
  const std::vector<unsigned char> other = OwnedBy(Sid(5, {21, 1, 2, 3, 1002})), anonymous = OwnedBy(Sid(5, {7}));
  EXPECT_FALSE(may(true, kFolder, other));
  EXPECT_FALSE(may(true, kFolder, anonymous));
  EXPECT_FALSE(MayInstallIntoFolder(true, kFolder, other.data(), other.size(), nullptr));
  // An owner that could not be read, that the descriptor does not name or
  // that it holds only in part is no trusted one.
  EXPECT_FALSE(may(true, kFolder, {}));
  std::vector<unsigned char> unnamed = OwnedBy(user), beyond = OwnedBy(user), cut = OwnedBy(user);
  unnamed[4] = 0;
  beyond[4] = (unsigned char)(beyond.size() + 8);
  cut.pop_back();
  EXPECT_FALSE(may(true, kFolder, unnamed));
  EXPECT_FALSE(may(true, kFolder, beyond));
  EXPECT_FALSE(may(true, kFolder, cut));
  // Without administrator rights, or with nothing of that name, setup goes
  // on as it always did.
  EXPECT_TRUE(may(false, kFolder | kReparse, other));
  EXPECT_TRUE(may(true, kNothing, {}));
}

}  // namespace
