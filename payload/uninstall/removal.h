// Removes an installation, found in the registry or (without an entry) in
// the folder that holds its files, asking Retry or Cancel for anything that
// cannot be removed, and ends with the message that names what was left.
#pragma once
#include "payload/uninstall/uninstall_entry.h"

void RemoveInstallation(const Installation& installation);
