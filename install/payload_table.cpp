#include "install/payload_table.h"

#include "shell/bounded_text.h"

const PayloadNames PayloadTable = {
    {"norvu.ex_", "norvu.cf_", "nvuhelp.hl_", "ferrox.dl_", "nvustart.kb_", "notice.wr_", "unsetu~1.ex_"},
    {"\\norvu.exe", "\\norvu.cfg", "\\nvuhelp.hlp", "\\ferrox.dll", "\\nvustart.kbm", "\\notice.wri",
     "\\unsetup.exe"},
};

const char SubdirTable[kSubdirCount][10] = {"\\IsoData"};
// 0x1301bf: FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE.
const char kSubdirRights[] = "D:(A;OICI;0x1301bf;;;BU)";

bool PayloadResourceName(char* dest, size_t size, int index) {
  char number[12] = "";
  return index >= 0 && AppendNumber(number, sizeof(number), (unsigned long)index) &&
         ComposeText(dest, size, "FILE", number);
}
