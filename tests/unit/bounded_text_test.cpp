#include "shell/bounded_text.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

// The rule at the exact limit: a result of size-1 characters fits, one more
// is refused and leaves the buffer as it was.
TEST(BoundedText, CompositionFitsExactlyOrIsRefusedWhole) {
  char buf[8] = "abc";
  EXPECT_TRUE(AppendText(buf, "defg"));  // 7 characters + NUL = 8
  EXPECT_STREQ(buf, "abcdefg");
  EXPECT_FALSE(AppendText(buf, "h"));
  EXPECT_STREQ(buf, "abcdefg");

  char copy[4] = "xy";
  EXPECT_FALSE(CopyText(copy, "abcd"));
  EXPECT_STREQ(copy, "xy");
  EXPECT_TRUE(CopyText(copy, "abc"));
  EXPECT_STREQ(copy, "abc");
  EXPECT_FALSE(CopyText(copy, 0, "a"));
}

TEST(BoundedText, ComposeMayAppendToItsOwnBuffer) {
  char buf[16] = "C:\\A";
  EXPECT_TRUE(ComposeText(buf, buf, "\\", "B"));
  EXPECT_STREQ(buf, "C:\\A\\B");
  EXPECT_FALSE(ComposeText(buf, buf, "\\", "0123456789"));
  EXPECT_STREQ(buf, "C:\\A\\B");
}

TEST(BoundedText, JoinPathPutsExactlyOneBackslash) {
  char buf[32];
  EXPECT_TRUE(JoinPath(buf, "C:\\", "Norvu"));
  EXPECT_STREQ(buf, "C:\\Norvu");
  EXPECT_TRUE(JoinPath(buf, "C:\\Program files", "Norvu"));
  EXPECT_STREQ(buf, "C:\\Program files\\Norvu");
  EXPECT_TRUE(JoinPath(buf, buf, "x"));
  EXPECT_STREQ(buf, "C:\\Program files\\Norvu\\x");
}

TEST(BoundedText, UnterminatedBufferIsNeverAppendedTo) {
  char buf[4];
  memset(buf, 'z', sizeof(buf));
  EXPECT_FALSE(AppendText(buf, ""));
  EXPECT_EQ(BoundedLength(buf, sizeof(buf)), sizeof(buf));
}

TEST(BoundedText, RepeatedAppendsStopAtTheBufferAndKeepItTerminated) {
  char buf[512] = "C:\\";
  int accepted = 0;
  while (JoinPath(buf, buf, "Norvu")) ++accepted;
  EXPECT_EQ(strlen(buf), 3 + 6 * accepted - 1);
  EXPECT_LT(strlen(buf), sizeof(buf));
  EXPECT_GT(strlen(buf) + 6, sizeof(buf) - 1);
}

TEST(BoundedText, TempFileInTheSystemFolderKeepsItsBackslashFallbackFoldersGetOne) {
  char path[512];
  ASSERT_TRUE(ComposeTempFile(path, sizeof(path), "C:\\WINDOWS\\TEMP\\", "norvu.ex_"));
  EXPECT_STREQ(path, "C:\\WINDOWS\\TEMP\\norvu.ex_");
  // The source folder: the file goes into it, not beside it.
  ASSERT_TRUE(ComposeTempFile(path, sizeof(path), "E:\\INSTALL", "unsetu~1.ex_"));
  EXPECT_STREQ(path, "E:\\INSTALL\\unsetu~1.ex_");
  ASSERT_TRUE(ComposeTempFile(path, sizeof(path), "E:", "norvu.cf_"));
  EXPECT_STREQ(path, "E:\\norvu.cf_");
  ASSERT_TRUE(ComposeTempFile(path, sizeof(path), "", "norvu.cf_"));
  EXPECT_STREQ(path, "norvu.cf_");

  char small[16] = "kept";
  EXPECT_FALSE(ComposeTempFile(small, sizeof(small), "C:\\TEMP\\", "nvustart.kb_"));
  EXPECT_STREQ(small, "kept");
}
