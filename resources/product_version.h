/* The product's version: the one definition behind norvu.cfg, the version
   resources of the programs we ship and the entry in the system's list of
   programs. Plain defines, so that resource scripts can include it too;
   the text is made from the numbers. */
#pragma once

#define NORVU_VERSION_MAJOR 1
#define NORVU_VERSION_MINOR 0
#define NORVU_VERSION_TEXT_(major, minor) #major "." #minor
#define NORVU_VERSION_TEXT(major, minor) NORVU_VERSION_TEXT_(major, minor)
/* The version as text: "1.0". */
#define NORVU_VERSION NORVU_VERSION_TEXT(NORVU_VERSION_MAJOR, NORVU_VERSION_MINOR)
