/* The product's version: the one definition behind norvu.cfg, the version
   resources of the programs we ship and the entry in the system's list of
   programs. Plain defines, so that resource scripts can include it too. */
#pragma once

#define NORVU_VERSION_MAJOR 1
#define NORVU_VERSION_MINOR 0
#define NORVU_VERSION "1.0"
