// norvu.cfg: an ini-style settings file with Windows line ends, so that
// GetPrivateProfileString and Notepad both read it.
#include <string>

#include "payload/generator/payload_content.h"
#include "payload/product/product_layout.h"

Bytes MakeConfigFile() {
  std::string text = "; Norvu settings, read by norvu.exe when it starts.\r\n";
  text += "[" NORVU_CONFIG_SECTION "]\r\n";
  text += NORVU_VERSION_KEY "=" NORVU_VERSION "\r\n";
  text += "Library=" NORVU_LIBRARY_NAME "\r\n";
  for (const ProductFileEntry& file : kProductFiles) text += std::string(file.key) + "=" + file.installedName + "\r\n";
  text += "\r\n[Window]\r\nMaximized=0\r\nToolbar=1\r\nStatusBar=1\r\nGrid=16\r\n";
  return Bytes(text.begin(), text.end());
}
