// The uninstaller's copy of itself in the temporary folder (see
// continuation.h for why).
#pragma once

// Copies the running program into a new folder of its own in the temporary
// folder, has the system remove both at its next start, and starts the copy
// with the continuation switch, an inheritable handle of this process and
// folder (the folder to remove without an uninstall entry, else empty).
// False when no copy could be started; no copy is left behind then.
bool StartCopyInTemporaryFolder(const char* folder);

// In the copy: whether processHandle is a handle of the process that started
// it, as the uninstaller passes it; not so for "/continue" typed by hand.
bool IsStartedByWaitingUninstaller(unsigned long processHandle);

// In the copy: waits until the process that started it has ended.
void WaitForFirstProcess(unsigned long processHandle);
