#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "install/copy_text.h"
#include "install/payload_table.h"

namespace {

TEST(PayloadTable, NamesFollowTheCompressConventionAndGoDirectlyIntoTheFolder) {
  for (int i = 0; i < kPayloadCount; ++i) {
    std::string compressed = PayloadTable.compressed[i];
    std::string destination = PayloadTable.destination[i];
    SCOPED_TRACE(destination);
    ASSERT_EQ(destination[0], '\\');
    EXPECT_EQ(destination.find('\\', 1), std::string::npos);
    EXPECT_EQ(compressed.find('\\'), std::string::npos);
    EXPECT_EQ(compressed.back(), '_');
    // The uninstaller's compressed name is a short form; the others differ
    // from the installed name only in the last character.
    if (i != 6) {
      EXPECT_EQ(compressed.substr(0, compressed.size() - 1), destination.substr(1, destination.size() - 2));
    }
  }
  EXPECT_STREQ(PayloadTable.compressed[6], "unsetu~1.ex_");
  EXPECT_STREQ(PayloadTable.destination[6], "\\unsetup.exe");
}

TEST(PayloadTable, ResourceNamesCountFromFile0) {
  char name[16];
  for (int i = 0; i < kPayloadCount; ++i) {
    ASSERT_TRUE(PayloadResourceName(name, sizeof(name), i));
    EXPECT_EQ(std::string(name), "FILE" + std::to_string(i));
  }
  ASSERT_TRUE(PayloadResourceName(name, sizeof(name), 12));
  EXPECT_STREQ(name, "FILE12");
  char small[5] = "old";
  EXPECT_FALSE(PayloadResourceName(small, sizeof(small), 3));
  EXPECT_STREQ(small, "old");
  EXPECT_FALSE(PayloadResourceName(name, sizeof(name), -1));
}

TEST(CopyStatus, NamesBothFilesWithTwoSpacesBeforeTo) {
  char status[512];
  ASSERT_TRUE(ComposeCopyStatus(status, sizeof(status), PayloadTable.compressed[0], PayloadTable.destination[0]));
  EXPECT_STREQ(status, "FROM: norvu.ex_  TO: \\norvu.exe");

  // "FROM: a  TO: b" is 14 characters: fits in 15, refused whole in 14.
  char exact[15];
  EXPECT_TRUE(ComposeCopyStatus(exact, sizeof(exact), "a", "b"));
  char short_by_one[14] = "kept";
  EXPECT_FALSE(ComposeCopyStatus(short_by_one, sizeof(short_by_one), "a", "b"));
  EXPECT_STREQ(short_by_one, "kept");
}

TEST(CopyFailure, ShowsBothPathsOnFourLines) {
  char text[512];
  ComposeCopyFailure(text, sizeof(text), "C:\\TEMP\\ferrox.dl_", "C:\\Program files\\Norvu\\ferrox.dll");
  EXPECT_STREQ(text,
               "Unable to copy a file:\nFrom=C:\\TEMP\\ferrox.dl_\nTo=C:\\Program files\\Norvu\\ferrox.dll\n"
               "Program will exit");
  // A resource that could not be had: the destination is not composed yet.
  ComposeCopyFailure(text, sizeof(text), "C:\\TEMP\\ferrox.dl_", "");
  EXPECT_STREQ(text, "Unable to copy a file:\nFrom=C:\\TEMP\\ferrox.dl_\nTo=\nProgram will exit");
}

TEST(CopyFailure, LongPathsAreLeftOutRatherThanOverflowing) {
  // The buffers of the setup state allow far longer paths than the message.
  std::string from(300, 'f'), to(300, 't');
  char text[512];
  ComposeCopyFailure(text, sizeof(text), from.c_str(), to.c_str());
  EXPECT_EQ(std::string(text), "Unable to copy a file:\nFrom=\nTo=" + to + "\nProgram will exit");
  std::string huge(600, 'h');
  ComposeCopyFailure(text, sizeof(text), from.c_str(), huge.c_str());
  EXPECT_STREQ(text, "Unable to copy a file:\nFrom=\nTo=\nProgram will exit");

  // At every length the text ends inside its buffer and the bytes past it
  // are untouched.
  for (size_t length = 0; length < 480; length += 7) {
    std::string path(length, 'p');
    char guarded[128 + 16];
    memset(guarded, 0x5A, sizeof(guarded));
    ComposeCopyFailure(guarded, 128, path.c_str(), path.c_str());
    ASSERT_LT(strlen(guarded), 128u) << length;
    for (size_t i = 128; i < sizeof(guarded); ++i) ASSERT_EQ(guarded[i], 0x5A) << length;
    ASSERT_EQ(strncmp(guarded, "Unable to copy a file:\nFrom=", 28), 0);
  }
}

TEST(TempFile, TempPathResultFitsOnlyWhenNeitherFailedNorTooLong) {
  EXPECT_FALSE(TempPathFits(0, 260));
  EXPECT_TRUE(TempPathFits(9, 260));
  EXPECT_TRUE(TempPathFits(259, 260));
  EXPECT_FALSE(TempPathFits(260, 260));  // the length it would have needed
  EXPECT_FALSE(TempPathFits(4000, 260));
}

}  // namespace
