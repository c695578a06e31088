// The generated data files: made the same way every time, and laid out as
// the formats they claim to be.
#include <gtest/gtest.h>

#include <string>

#include "payload/generator/payload_content.h"
#include "payload/product/product_layout.h"

namespace {

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A NUL-terminated name inside the bytes.
std::string NameAt(const Bytes& bytes, std::size_t at) {
  std::string name;
  while (bytes.at(at) != 0) name += static_cast<char>(bytes.at(at++));
  return name;
}

TEST(GeneratedFiles, EveryFileIsTheSameEachTimeItIsMade) {
  for (const GeneratedFile& file : kGeneratedFiles) {
    const Bytes first = file.make();
    EXPECT_FALSE(first.empty()) << file.name;
    EXPECT_TRUE(first == file.make()) << file.name;
  }
}

// The help file: a 16-byte header, then internal files that fill the rest
// exactly, found through the directory at the offset the header gives.
TEST(GeneratedFiles, HelpFileIsAWinHelpFileSystemOfTheReleaseSize) {
  const Bytes help = MakeHelpFile();
  ASSERT_EQ(help.size(), kHelpFileSize);
  EXPECT_EQ(ReadU32(help, 0), 0x00035F3Fu);
  EXPECT_EQ(ReadU32(help, 12), help.size());

  // Internal files follow each other without gaps up to the end.
  std::size_t at = 16;
  int internalFiles = 0;
  while (at < help.size()) {
    const std::uint32_t reserved = ReadU32(help, at);
    EXPECT_EQ(reserved, ReadU32(help, at + 4) + 9) << "internal file at " << at;
    at += reserved;
    ++internalFiles;
  }
  EXPECT_EQ(at, help.size());
  EXPECT_EQ(internalFiles, 3);

  const std::size_t directory = ReadU32(help, 4) + 9;
  ASSERT_LE(directory + 38 + 1024, help.size());
  EXPECT_EQ(ReadU16(help, directory), 0x293Bu);
  EXPECT_EQ(ReadU32(help, directory + 34), 2u);  // entries
  const std::size_t leaf = directory + 38;
  EXPECT_EQ(ReadU16(help, leaf + 2), 2u);
  std::size_t entry = leaf + 8;
  std::string previous;
  std::size_t usedByEntries = 0;
  for (const char* expected : {"|SYSTEM", "|TOPIC"}) {
    const std::string name = NameAt(help, entry);
    EXPECT_EQ(name, expected);
    EXPECT_LT(previous, name) << "directory entries must be sorted";
    previous = name;
    const std::size_t file = ReadU32(help, entry + name.size() + 1);
    ASSERT_LT(file, help.size());
    EXPECT_EQ(ReadU32(help, file), ReadU32(help, file + 4) + 9) << name << " points at no internal file";
    if (name == "|SYSTEM") {
      EXPECT_EQ(ReadU16(help, file + 9), 0x036Cu);
      EXPECT_EQ(NameAt(help, file + 9 + 12 + 4), "Norvu Help");
    }
    usedByEntries += name.size() + 1 + 4;
    entry += name.size() + 1 + 4;
  }
  EXPECT_EQ(ReadU16(help, leaf), 1024 - 8 - usedByEntries);
}

TEST(GeneratedFiles, StartDataHeaderDescribesItsRecords) {
  const Bytes data = MakeStartData();
  ASSERT_GE(data.size(), 32u);
  EXPECT_EQ(AsText(Bytes(data.begin(), data.begin() + 4)), "NVKB");
  const std::uint32_t recordSize = ReadU16(data, 6);
  const std::uint32_t count = ReadU32(data, 8);
  const std::uint32_t first = ReadU32(data, 12);
  EXPECT_EQ(count, kStartDataRecords);
  EXPECT_EQ(data.size(), first + std::size_t{count} * recordSize);

  std::uint32_t sum = 0;
  for (std::size_t i = first; i < data.size(); ++i) sum += data[i];
  EXPECT_EQ(ReadU32(data, 16), sum);

  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t record = first + std::size_t{i} * recordSize;
    ASSERT_EQ(ReadU32(data, record), i + 1);
    ASSERT_EQ(data[record + 8 + 19], 0) << "keyword of record " << i + 1 << " is not terminated";
    ASSERT_NE(data[record + 8], 0) << "record " << i + 1 << " has no keyword";
  }
}

TEST(GeneratedFiles, NoticeIsRichTextThatNamesEveryInstalledFile) {
  const std::string notice = AsText(MakeNotice());
  EXPECT_EQ(notice.rfind("{\\rtf1\\ansi", 0), 0u);
  int depth = 0;
  for (std::size_t i = 0; i < notice.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(notice[i]);
    ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x80)) << "raw byte " << int(c) << " at " << i;
    if (c == '\\') {
      ++i;  // an escaped brace or backslash counts as text
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      ASSERT_GT(--depth, -1) << "unbalanced brace at " << i;
      if (depth == 0) {
        EXPECT_EQ(notice.find_first_not_of("\n", i + 1), std::string::npos) << "text after the end";
      }
    }
  }
  EXPECT_EQ(depth, 0);
  for (const char* name : {"norvu.exe", "norvu.cfg", "nvuhelp.hlp", "ferrox.dll", "nvustart.kbm", "notice.wri",
                           "unsetup.exe", "IsoData"}) {
    EXPECT_NE(notice.find(name), std::string::npos) << name;
  }
}

TEST(GeneratedFiles, RtfEscapeKeepsControlCharactersOutOfTheText) {
  EXPECT_EQ(RtfEscape("plain text"), "plain text");
  EXPECT_EQ(RtfEscape("C:\\Norvu {x}"), "C:\\\\Norvu \\{x\\}");
  EXPECT_EQ(RtfEscape("a\tb\nc"), "a\\tab b\\line c");
  EXPECT_EQ(RtfEscape("caf\xe9"), "caf\\'e9");
  EXPECT_EQ(RtfEscape(std::string("\x01", 1)), "\\'01");
}

// The settings are read with GetPrivateProfileString and edited in Notepad:
// every line ends in CR LF, and the names norvu.exe looks up are there.
TEST(GeneratedFiles, ConfigIsAnIniFileWithWindowsLineEnds) {
  const std::string config = AsText(MakeConfigFile());
  ASSERT_FALSE(config.empty());
  EXPECT_EQ(config.substr(config.size() - 2), "\r\n");
  for (std::size_t i = 0; i < config.size(); ++i) {
    if (config[i] == '\n') {
      ASSERT_TRUE(i > 0 && config[i - 1] == '\r') << "bare line feed at " << i;
    }
  }
  const std::size_t section = config.find("\r\n[" NORVU_CONFIG_SECTION "]\r\n");
  ASSERT_NE(section, std::string::npos);
  const std::size_t sectionEnd = config.find("\r\n[", section + 2);
  for (const ProductFileEntry& file : kProductFiles) {
    const std::size_t at = config.find(std::string("\r\n") + file.key + "=" + file.installedName + "\r\n");
    EXPECT_TRUE(at > section && at < sectionEnd) << file.key << " is not in the [Norvu] section";
  }
}

}  // namespace
