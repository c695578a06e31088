// Removes an installation found in the registry, asking Retry or Cancel for
// anything in use, and ends with the message that names what was left.
#pragma once
#include "payload/uninstall/uninstall_entry.h"

void RemoveInstallation(const Installation& installation);
