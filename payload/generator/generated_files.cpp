#include "payload/generator/payload_content.h"

const GeneratedFile kGeneratedFiles[4] = {
    {"norvu.cfg", MakeConfigFile},
    {"nvuhelp.hlp", MakeHelpFile},
    {"nvustart.kbm", MakeStartData},
    {"notice.wri", MakeNotice},
};
