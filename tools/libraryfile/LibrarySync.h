#pragma once

// What importing a library of a file into a database does, worked out on
// the host model before anything is written: the libraries to hand to the
// library writer, each item with the write state that brings the stored
// library up to the file, and how many items of each kind are inserted,
// updated and removed.
//
//   libraryfile::ImportPlan plan;
//   libraryfile::planImport(plan, fileLibrary, storedLibraryOrNull, prune);
//   getLibraryWriter(path)->write(hostmodel::libraryReader(plan.writes), cancel);
//
// Items are matched by name (folders among their siblings, definitions and
// parts in the library, pins by identifier and attributes by name in their
// definition). Unchanged items are sent in state UNCHANGED, so the writers
// only find them; an unchanged definition offers no detail readers, so its
// stored details are not touched. A changed definition carries its details
// whole: its gates, gate swaps and pin-equivalence groups replace the
// stored ones, its pins and attributes are matched. A part whose type
// changes is removed and inserted again (an update keeps the stored type).
// With `prune`, the stored items that the file lacks are removed: parts
// first, then, in a second item of the same library, folders and
// definitions, which nothing of the library uses by then.

#include "tools/hostmodel/HostLibrary.h"

#include <array>
#include <string>
#include <vector>

namespace libraryfile {

enum Kind { LIBRARIES, FOLDERS, DEFINITIONS, PINS, GATES, GATE_SWAPS, PIN_EQUIVALENCES, ATTRIBUTES, PARTS, KIND_COUNT };

// "libraries", "folders", "part definitions", ...
const char *kindName(Kind kind);

struct Changes {
    long inserted = 0, updated = 0, removed = 0;
};

struct ImportPlan {
    std::vector<hostmodel::Library> writes;    // for the library writer, in order
    std::array<Changes, KIND_COUNT> changes{}; // per kind
    // The stored definitions that are removed, by library.
    std::vector<std::pair<std::string, std::string>> removedDefinitions;

    bool changesNothing() const;
    // One line per kind with changes: "parts: 3 inserted, 1 updated, 2 removed".
    std::string describe() const;
};

// Adds the writes that bring `stored` (null: a library the database does
// not hold) up to `file`, whose items become the writes.
void planImport(ImportPlan &plan, hostmodel::Library file, const hostmodel::Library *stored, bool prune);

} // namespace libraryfile
