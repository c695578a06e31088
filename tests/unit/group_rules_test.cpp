#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "group/group_paths.h"
#include "group/registry_keys.h"

TEST(GroupFolder, ProgramsFolderIsAppendedToTheWindowsDirectoryAsItIs) {
  char path[512];
  ASSERT_TRUE(ComposeProgramsUnderWindows(path, sizeof(path), "C:\\WINDOWS"));
  EXPECT_STREQ(path, "C:\\WINDOWS\\Start Menu\\Programs");
  char tight[31];  // exactly the 30 characters and the terminator
  EXPECT_TRUE(ComposeProgramsUnderWindows(tight, sizeof(tight), "C:\\WINDOWS"));
  char tooSmall[30] = "unchanged";
  EXPECT_FALSE(ComposeProgramsUnderWindows(tooSmall, sizeof(tooSmall), "C:\\WINDOWS"));
  EXPECT_STREQ(tooSmall, "unchanged");
}

TEST(GroupFolder, WindowsStartMenuWinsThenAllUsersThenTheUser) {
  const char* windows = "C:\\WINDOWS\\Start Menu\\Programs";
  const char* common = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
  const char* user = "C:\\users\\me\\Start Menu\\Programs";
  EXPECT_EQ(ChooseProgramsFolder(windows, true, common, user), windows);
  EXPECT_EQ(ChooseProgramsFolder(windows, false, common, user), common);
  EXPECT_EQ(ChooseProgramsFolder(windows, false, nullptr, user), user);
  // Nothing better known: the Windows directory's folder all the same.
  EXPECT_EQ(ChooseProgramsFolder(windows, false, nullptr, nullptr), windows);
}

TEST(GroupFolder, ProductWordFollowsASingleBackslash) {
  char group[512];
  ASSERT_TRUE(ComposeGroupFolder(group, sizeof(group), "C:\\WINDOWS\\Start Menu\\Programs"));
  EXPECT_STREQ(group, "C:\\WINDOWS\\Start Menu\\Programs\\Norvu");
  ASSERT_TRUE(ComposeGroupFolder(group, sizeof(group), "D:\\Groups\\"));
  EXPECT_STREQ(group, "D:\\Groups\\Norvu");
}

TEST(GroupFolder, ComposedInPlaceAndRefusedWholeWhenTooLong) {
  char path[512] = "C:\\WINDOWS\\Start Menu\\Programs";
  ASSERT_TRUE(ComposeGroupFolder(path, sizeof(path), path));
  EXPECT_STREQ(path, "C:\\WINDOWS\\Start Menu\\Programs\\Norvu");

  char full[512];
  std::string nearlyFull = "C:\\" + std::string(505, 'a');  // 508 characters
  strcpy(full, nearlyFull.c_str());
  EXPECT_FALSE(ComposeGroupFolder(full, sizeof(full), full));
  EXPECT_EQ(std::string(full), nearlyFull);
  std::string fits = "C:\\" + std::string(502, 'a');  // 505 + "\Norvu" = 511
  strcpy(full, fits.c_str());
  EXPECT_TRUE(ComposeGroupFolder(full, sizeof(full), full));
  EXPECT_EQ(strlen(full), 511u);
}

TEST(Shortcuts, EachLinkIsTheGroupAndItsOwnNameOnly) {
  const char* group = "C:\\WINDOWS\\Start Menu\\Programs\\Norvu";
  const char* install = "C:\\Program files\\Norvu";
  const char* links[] = {"C:\\WINDOWS\\Start Menu\\Programs\\Norvu\\Norvu.lnk",
                         "C:\\WINDOWS\\Start Menu\\Programs\\Norvu\\Uninstall.lnk",
                         "C:\\WINDOWS\\Start Menu\\Programs\\Norvu\\Readme.lnk"};
  const char* targets[] = {"C:\\Program files\\Norvu\\Norvu.exe", "C:\\Program files\\Norvu\\unsetup.exe",
                           "C:\\Program files\\Norvu\\notice.wri"};
  ASSERT_EQ(sizeof(kShortcuts) / sizeof(kShortcuts[0]), 3u);
  // The same buffers serve every row, as on the page: nothing carries over.
  char link[512] = "", target[512] = "";
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ComposeShortcut(kShortcuts[i], group, install, link, sizeof(link), target, sizeof(target)));
    EXPECT_STREQ(link, links[i]);
    EXPECT_STREQ(target, targets[i]);
  }
}

TEST(Shortcuts, RefusedWithBothBuffersUntouchedWhenEitherDoesNotFit) {
  std::string longDir = "C:\\" + std::string(500, 'x');
  char link[512] = "old link", target[512] = "old target";
  // The target fits, the link does not.
  EXPECT_FALSE(ComposeShortcut(kShortcuts[1], longDir.c_str(), "C:\\P", link, sizeof(link), target, sizeof(target)));
  EXPECT_STREQ(link, "old link");
  EXPECT_STREQ(target, "old target");
  // The link fits, the target does not.
  EXPECT_FALSE(ComposeShortcut(kShortcuts[1], "C:\\G", longDir.c_str(), link, sizeof(link), target, sizeof(target)));
  EXPECT_STREQ(link, "old link");
  EXPECT_STREQ(target, "old target");
  // Exactly full: 497 + "\Readme.lnk" (11) = 508; 500 + "\notice.wri" = 511.
  std::string group = "C:\\" + std::string(494, 'g');
  std::string install = "C:\\" + std::string(497, 'i');
  EXPECT_TRUE(ComposeShortcut(kShortcuts[2], group.c_str(), install.c_str(), link, sizeof(link), target, sizeof(target)));
  EXPECT_EQ(strlen(target), 511u);
}

TEST(VersionKey, Windows95FamilyFromMajorFourUpElseWindowsNt) {
  const std::string windows = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  const std::string nt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  EXPECT_EQ(VersionKeyFor(0xC0000004ul), windows);  // Windows 95: 4.0, build bits
  EXPECT_EQ(VersionKeyFor(0xC0000A04ul), windows);  // Windows 98: 4.10
  EXPECT_EQ(VersionKeyFor(0x80000005ul), windows);  // a later member of the family
  EXPECT_EQ(VersionKeyFor(0x05650004ul), nt);       // Windows NT 4.0: bit 31 clear
  EXPECT_EQ(VersionKeyFor(0x1DB10106ul), nt);       // Windows 7
  EXPECT_EQ(VersionKeyFor(0x80000003ul), nt);       // bit 31 with major 3 (Win32s)
  EXPECT_EQ(VersionKeyFor(0x8000FF03ul), nt);       // the minor version never counts
}
