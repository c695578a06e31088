#pragma once

// Records the product below HKEY_LOCAL_MACHINE: its uninstall entry, with
// the group folder in GroupDir (on NT-class systems in the system's list of
// programs too), and its application path. Reports only a version key that
// cannot be opened; leaves GroupPath and GroupDir alone and sets LinkTarget
// to the uninstaller.
void RegisterProduct();
