// The installation's records in the registry: finding the uninstall entry
// that setup wrote, and removing it and the application-path entry.
#pragma once
#include "payload/uninstall/removal_rules.h"
#include "payload/uninstall/uninstall_entry.h"
#include "payload/uninstall/uninstall_texts.h"

enum EntryState {
  EntryMissing,  // no uninstall entry below either version key
  EntryRefused,  // an entry, but with folders the uninstaller will not work with
  EntryFound,
};
// The folders of the installation found, held open from their check on:
// while a folder is held without delete sharing, nobody can rename or
// delete it (nor, on Windows, a folder above it), so no link can take its
// place between the check and the removal. Each is let go right before its
// own removal, which needs it closed.
enum HeldFolder { HeldInstallFolder, HeldGroupFolder };
void LetGoOfFolder(HeldFolder which);

// The first entry (in EntryKeyOrder) whose folders are trusted and reached
// through no link, and whose installation folder holds the uninstaller;
// both folders are then held. Otherwise, when there is an entry, why the
// first one was refused.
EntryState FindInstallation(Installation& found, Refusal& refusal);

// An installation without an entry (its group page was cancelled, or the
// registry refused it): folder is trusted, reached through no link, and
// holds the product's program and its uninstaller; it is then held. found
// names no version key and no group.
bool FindProductIn(const char* folder, Installation& found);

// Removes the entry found, the other version key's entry too when it names
// the same folder, and an Uninstall list that setup made and that is empty
// now. A key that cannot be removed is reported.
void RemoveUninstallEntries(const Installation& installation, RemovalReport& report);

// Removes the application-path entry when the rules allow it.
void RemoveAppPath(const Installation& installation, const RemovalProgress& progress, RemovalReport& report);
