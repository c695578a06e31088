// nvuhelp.hlp: laid out as a WinHelp 3.1 file system (file header, internal
// files each behind its own header, a one-page B+ tree directory) holding a
// |SYSTEM file with the title and a |TOPIC file of 4 KB blocks. A real help
// file's topic blocks are LZ77-packed text; ours are filled with a
// pseudo-random stream and a little plain text in the same proportion, so the
// file is nearly incompressible and its SZDD form comes out larger than it.
#include <algorithm>
#include <string>
#include <vector>

#include "payload/generator/payload_content.h"

namespace {

const std::uint32_t kHelpMagic = 0x00035F3F;
const std::uint16_t kSystemMagic = 0x036C;
const std::uint16_t kBTreeMagic = 0x293B;
const std::size_t kInternalHeaderSize = 9;  // reserved, used, flags
const std::size_t kTreeHeaderSize = 38;
const std::size_t kDirectoryPageSize = 1024;
const std::size_t kTopicBlockSize = 4096;
const std::uint32_t kBuildDate = 820454400;  // 1 January 1996, as a C time

const char* const kTopicTitles[] = {
    "Contents",           "Starting Norvu",          "Opening a drawing",       "Saving your work",
    "The Norvu window",   "Choosing a tool",         "Layers and groups",       "Working with the grid",
    "Measuring distances", "Printing a drawing",      "Keyboard shortcuts",      "The start-up keyword map",
    "Settings in norvu.cfg", "The Ferrox engine",    "Importing data",          "Exporting data",
    "Undoing a change",   "Finding an object",       "Troubleshooting",         "Removing Norvu",
};
const std::size_t kTopicTitleCount = sizeof(kTopicTitles) / sizeof(kTopicTitles[0]);

void InternalFile(ByteWriter& out, const Bytes& contents) {
  out.U32(static_cast<std::uint32_t>(contents.size() + kInternalHeaderSize));
  out.U32(static_cast<std::uint32_t>(contents.size()));
  out.U8(4);  // the flag every internal file carries
  out.Append(contents);
}

void SystemRecord(ByteWriter& out, std::uint16_t type, const std::string& text) {
  out.U16(type);
  out.U16(static_cast<std::uint16_t>(text.size() + 1));
  out.Text(text);
}

Bytes SystemFile() {
  ByteWriter out;
  out.U16(kSystemMagic);
  out.U16(21);  // minor version: WinHelp 3.1
  out.U16(1);
  out.U32(kBuildDate);
  out.U16(4);  // topic blocks of 4 KB, packed
  SystemRecord(out, 1, "Norvu Help");
  SystemRecord(out, 2, "Copyright (C) 1996 Norvu Software. All rights reserved.");
  return out.Result();
}

// Each block: the 12-byte block header, the topic's title and a sentence as
// plain text, then packed data.
Bytes TopicFile(std::size_t size) {
  ByteWriter out;
  PseudoRandom random(0x6E767568);
  std::uint32_t topic = 0;
  while (out.Size() < size) {
    const std::size_t blockStart = out.Size();
    const std::size_t blockEnd = std::min(size, blockStart + kTopicBlockSize);
    const std::uint32_t link = static_cast<std::uint32_t>(blockStart + 12);
    out.U32(link > 12 ? link - 1 : 0xFFFFFFFF);
    out.U32(link);
    out.U32(link);
    const std::string title = kTopicTitles[topic % kTopicTitleCount];
    std::string text = title + ". See also " + kTopicTitles[(topic * 7 + 3) % kTopicTitleCount] + " and " +
                       kTopicTitles[(topic * 11 + 5) % kTopicTitleCount] + ". Topic " + std::to_string(topic + 1) +
                       " of Norvu Help: press F1 in any Norvu window to see the topic for what you are doing.";
    for (char c : text) {
      if (out.Size() == blockEnd) break;
      out.U8(static_cast<std::uint8_t>(c));
    }
    while (out.Size() < blockEnd) out.U8(random.Byte());
    ++topic;
  }
  return out.Result();
}

struct DirectoryEntry {
  std::string name;
  std::uint32_t offset;
};

// A B+ tree of one leaf page, the entries sorted by name as WinHelp expects.
Bytes Directory(const std::vector<DirectoryEntry>& entries) {
  ByteWriter out;
  out.U16(kBTreeMagic);
  out.U16(0x0402);  // a directory tree
  out.U16(static_cast<std::uint16_t>(kDirectoryPageSize));
  out.Field("z4", 16);  // keys are names, values 4-byte offsets
  out.U16(0);
  out.U16(0);       // page splits
  out.U16(0);       // root page
  out.U16(0xFFFF);
  out.U16(1);       // pages
  out.U16(1);       // levels
  out.U32(static_cast<std::uint32_t>(entries.size()));

  ByteWriter page;
  for (const DirectoryEntry& entry : entries) {
    page.Text(entry.name);
    page.U32(entry.offset);
  }
  const std::size_t leafHeader = 8;
  out.U16(static_cast<std::uint16_t>(kDirectoryPageSize - leafHeader - page.Size()));
  out.U16(static_cast<std::uint16_t>(entries.size()));
  out.U16(0xFFFF);  // no previous page
  out.U16(0xFFFF);  // no next page
  out.Append(page.Result());
  out.Zeros(kDirectoryPageSize - leafHeader - page.Size());
  return out.Result();
}

}  // namespace

Bytes MakeHelpFile() {
  ByteWriter out;
  out.U32(kHelpMagic);
  out.U32(0);  // directory start, known once the files are laid out
  out.U32(0xFFFFFFFF);  // no free blocks
  out.U32(static_cast<std::uint32_t>(kHelpFileSize));

  const std::uint32_t systemAt = static_cast<std::uint32_t>(out.Size());
  InternalFile(out, SystemFile());
  const std::uint32_t topicAt = static_cast<std::uint32_t>(out.Size());
  const std::size_t directorySize = kInternalHeaderSize + kTreeHeaderSize + kDirectoryPageSize;
  InternalFile(out, TopicFile(kHelpFileSize - topicAt - kInternalHeaderSize - directorySize));
  const std::uint32_t directoryAt = static_cast<std::uint32_t>(out.Size());
  InternalFile(out, Directory({{"|SYSTEM", systemAt}, {"|TOPIC", topicAt}}));
  out.PatchU32(4, directoryAt);
  return out.Result();
}
