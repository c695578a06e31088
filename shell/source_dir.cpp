#include "shell/source_dir.h"

#include <string.h>

void TrimSourceRoot(char* dir) {
  if (strlen(dir) < 4 && dir[0] != '\0' && dir[1] != '\0') dir[2] = '\0';
}
