// The product's seven files, carried as compressed resources "FILE0" to
// "FILE6" (raw data, type 10), and the folders made beside them. An entry is
// known only by its index, which is also its copy order.
#pragma once
#include <stddef.h>

const int kPayloadCount = 7;
const int kPayloadNameSize = 40;

struct PayloadNames {
  // Name of the compressed copy in the temporary folder, no directory.
  char compressed[kPayloadCount][kPayloadNameSize];
  // "\" and the installed name, appended to the installation folder as is.
  char destination[kPayloadCount][kPayloadNameSize];
};
extern const PayloadNames PayloadTable;

// Folders created under the installation folder before the first file.
const int kSubdirCount = 1;
extern const char SubdirTable[kSubdirCount][10];
// Their rights (as text, SDDL), added to what they take from the
// installation folder: IsoData holds the users' own data, so Users may
// create, change and delete in it (modify, not full control). Nothing that
// setup or the uninstaller runs is ever taken from it.
extern const char kSubdirRights[];

// The resource name of entry index: "FILE" and the index in decimal.
bool PayloadResourceName(char* dest, size_t size, int index);
