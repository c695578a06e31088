// The four data files of the product that the build generates. Every byte
// follows from the code alone (no clock, no outside randomness), so every
// build makes identical files.
#pragma once
#include <string>

#include "payload/generator/byte_writer.h"

Bytes MakeConfigFile();  // norvu.cfg: the settings norvu.exe reads
Bytes MakeHelpFile();    // nvuhelp.hlp: a WinHelp 3.1 container of topic blocks
Bytes MakeStartData();   // nvustart.kbm: the start-up keyword map
Bytes MakeNotice();      // notice.wri: the readme, a rich-text document

struct GeneratedFile {
  const char* name;
  Bytes (*make)();
};
extern const GeneratedFile kGeneratedFiles[4];

// Text made safe for a rich-text body: backslash and braces escaped,
// characters outside ASCII written as \'hh, line breaks as \line.
std::string RtfEscape(const std::string& text);

// The sizes the release's files had; ours are made to the same sizes so that
// the installation needs the same space.
constexpr std::size_t kHelpFileSize = 440142;
constexpr std::size_t kStartDataRecords = 16200;
