// The installer's icons: its own (an open product box taking in a download
// arrow) and the folder list's three pictures.
#pragma once
#include "image_files.h"

IconImage DrawSetupIcon(int size);  // 32 or 16
IconImage DrawFolderIcon();         // a closed yellow folder, 16 x 16
IconImage DrawUpIcon();             // an upward arrow, 16 x 16
IconImage DrawTargetIcon();         // a green folder, 16 x 16

// Reads a picture drawn as text, one character per pixel: '.' clear, the
// rest letters for the 16 colours (see icons.cpp). Rows must be square.
IconImage IconFromRows(const char* const* rows, int size);
