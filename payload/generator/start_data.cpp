// nvustart.kbm: the start-up keyword map. A 32-byte header, then fixed
// 40-byte records, each linking a keyword to a help topic block and a place
// on the start screen's grid:
//   header: "NVKB", version 0x0100, record size, record count, offset of the
//           first record, sum of all record bytes, zeros to 32
//   record: id, group, flags (16 bit), keyword (20 bytes, NUL-padded),
//           column, row (16 bit), topic offset, weight (32 bit)
#include <string>

#include "payload/generator/payload_content.h"

namespace {

const std::size_t kHeaderSize = 32;
const std::size_t kRecordSize = 40;
const std::size_t kKeywordField = 20;
const std::uint32_t kRecordsPerGroup = 150;

const char* const kWords[] = {
    "line",  "arc",    "circle", "layer", "grid",   "snap",  "text",   "note",  "scale", "move",
    "copy",  "rotate", "mirror", "trim",  "extend", "fill",  "hatch",  "pen",   "print", "page",
    "zoom",  "pan",    "view",   "group", "block",  "label", "dim",    "angle", "point", "curve",
    "shape", "style",  "colour", "width", "export", "import", "undo",  "redo",  "find",  "help",
};
const std::uint32_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

}  // namespace

Bytes MakeStartData() {
  ByteWriter records;
  PseudoRandom random(0x4B424D31);
  for (std::uint32_t i = 0; i < kStartDataRecords; ++i) {
    const std::uint32_t group = i / kRecordsPerGroup;
    records.U32(i + 1);
    records.U16(static_cast<std::uint16_t>(group));
    records.U16(static_cast<std::uint16_t>(random.Below(4) == 0 ? 0x0001 : 0x0000));
    records.Field(std::string(kWords[group % kWordCount]) + "." + kWords[i % kWordCount], kKeywordField);
    records.U16(static_cast<std::uint16_t>(i % 64));
    records.U16(static_cast<std::uint16_t>(i / 64 % 256));
    records.U32(static_cast<std::uint32_t>((i % 107) * 4096 + 12));
    records.U32(random.Below(16));
  }

  std::uint32_t sum = 0;
  for (std::uint8_t byte : records.Result()) sum += byte;

  ByteWriter file;
  file.U8('N');
  file.U8('V');
  file.U8('K');
  file.U8('B');
  file.U16(0x0100);
  file.U16(static_cast<std::uint16_t>(kRecordSize));
  file.U32(static_cast<std::uint32_t>(kStartDataRecords));
  file.U32(static_cast<std::uint32_t>(kHeaderSize));
  file.U32(sum);
  file.Zeros(kHeaderSize - file.Size());
  file.Append(records.Result());
  return file.Result();
}
