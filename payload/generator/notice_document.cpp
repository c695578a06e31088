// notice.wri: the readme that the Readme shortcut opens in the system's word
// processor. The extension is Write's, but the body is rich text: WordPad
// reads rich text on every system from Windows 95 on, and Wine's WordPad,
// which has no Write converter, reads nothing else with formatting.
#include <cstdio>
#include <string>

#include "payload/generator/payload_content.h"

namespace {

enum BlockKind { Title, Subtitle, Heading, Paragraph, Item };

struct Block {
  BlockKind kind;
  const char* text;
};

const Block kNotice[] = {
    {Title, "Norvu 1.0"},
    {Subtitle, "Readme"},
    {Paragraph,
     "Thank you for installing Norvu. This document tells you what Setup has installed, how to start Norvu "
     "and how to remove it again. Please read it before you start Norvu for the first time."},
    {Heading, "Starting Norvu"},
    {Paragraph,
     "Setup has made the program group Norvu on the Start menu. Open it and choose Norvu. When Norvu "
     "starts, its window lists the files it has found in its folder; if one of them is missing, the window "
     "names it. Run Setup again to restore a missing file."},
    {Heading, "The files Setup installed"},
    {Paragraph, "All files are in the folder you chose during Setup:"},
    {Item, "norvu.exe\tthe Norvu program"},
    {Item, "norvu.cfg\tthe settings Norvu reads when it starts"},
    {Item, "nvuhelp.hlp\tNorvu Help"},
    {Item, "ferrox.dll\tthe Ferrox engine that Norvu uses"},
    {Item, "nvustart.kbm\tthe start-up keyword map"},
    {Item, "notice.wri\tthis document"},
    {Item, "unsetup.exe\tthe uninstaller"},
    {Item, "IsoData\tan empty folder for your own data"},
    {Heading, "Settings"},
    {Paragraph,
     "norvu.cfg is a plain text file. You can open it in Notepad to change how the Norvu window starts. "
     "Do not change the names in its [Norvu] section: Norvu looks for its files under those names."},
    {Heading, "Removing Norvu"},
    {Paragraph,
     "Choose Uninstall in the Norvu program group. Files that you saved in the IsoData folder are your own; "
     "copy them elsewhere first if you want to keep them."},
    {Heading, "System requirements"},
    {Paragraph, "Windows 95 or Windows NT 4.0 or later, and 1.4 MB of free disk space."},
    {Heading, "Copyright"},
    {Paragraph,
     "Norvu and the Ferrox engine are copyright (C) 1996 Norvu Software. All rights reserved. Norvu is "
     "licensed to you under the terms of the licence agreement that Setup showed before it installed the "
     "program."},
};

std::string BlockRtf(const Block& block) {
  const std::string text = RtfEscape(block.text);
  switch (block.kind) {
    case Title: return "\\pard\\sb0\\sa60\\f1\\fs36\\b " + text + "\\b0\\par\n";
    case Subtitle: return "\\pard\\sa240\\f1\\fs24\\i " + text + "\\i0\\par\n";
    case Heading: return "\\pard\\sb240\\sa80\\keepn\\f1\\fs24\\b " + text + "\\b0\\par\n";
    case Paragraph: return "\\pard\\sa120\\f0\\fs20 " + text + "\\par\n";
    case Item: return "\\pard\\li360\\tx2160\\f0\\fs20 " + text + "\\par\n";
  }
  return std::string();
}

}  // namespace

std::string RtfEscape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\n') {
      out += "\\line ";
    } else if (c < 0x20 || c >= 0x80) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

Bytes MakeNotice() {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\n"
      "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}}\n"
      "{\\info{\\title Norvu Readme}{\\author Norvu Software}}\n"
      "\\paperw11906\\paperh16838\\margl1440\\margr1440\\margt1440\\margb1440\n";
  for (const Block& block : kNotice) rtf += BlockRtf(block);
  rtf += "}\n";
  return Bytes(rtf.begin(), rtf.end());
}
