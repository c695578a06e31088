// The installation's records in the registry: finding the uninstall entry
// that setup wrote, and removing it and the application-path entry.
#pragma once
#include "payload/uninstall/removal_rules.h"
#include "payload/uninstall/uninstall_entry.h"
#include "payload/uninstall/uninstall_texts.h"

enum EntryState {
  EntryMissing,   // no uninstall entry below either version key
  EntryUnusable,  // an entry, but without a full installation folder
  EntryFound,
};
// The first entry (in EntryKeyOrder) that names a full installation folder.
EntryState FindInstallation(Installation& found);

// Removes the entry found, the other version key's entry too when it names
// the same folder, and an Uninstall list that setup made and that is empty
// now. A key that cannot be removed is reported.
void RemoveUninstallEntries(const Installation& installation, RemovalReport& report);

// Removes the application-path entry when the rules allow it.
void RemoveAppPath(const Installation& installation, const RemovalProgress& progress, RemovalReport& report);
