// The uninstaller's copy of itself in the temporary folder (see
// continuation.h for why).
#pragma once

// Copies the running program into the temporary folder, has the system
// remove the copy at its next start, and starts the copy with the
// continuation switch and an inheritable handle of this process. False when
// no copy could be started; no copy is left behind then.
bool StartCopyInTemporaryFolder();

// In the copy: waits until the process that started it has ended.
void WaitForFirstProcess(unsigned long processHandle);
