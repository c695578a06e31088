// The picture behind the installer's pages: a night sky with northern
// lights over mountains, the product name in the top band.
#pragma once
#include "image_files.h"

const int kPanelWidth = 556;
const int kPanelHeight = 384;

// Draws the whole picture; the same every time.
RgbImage DrawSidePanel();
