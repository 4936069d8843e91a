#pragma once

// Libraries removed from a database with everything they hold (folders,
// part definitions with their details, parts), written as libraries in the
// deleted state through the plug-in's library writer: one transaction, all
// of them or nothing.
//
//   LibraryRemoval removal(openExistingDatabase(db), {"Old"}); // refuses what cannot go
//   WriteTarget target(db);
//   removal.run(target, "Removed");

#include "interface/Handles.h"

#include <string>
#include <vector>

namespace partlib {

class WriteTarget;

class LibraryRemoval {
public:
    // The named libraries of `database`; a name it does not hold is refused
    // (fail), as are libraries that use each other's part definitions.
    LibraryRemoval(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &database,
                   const std::vector<std::string> &names);

    // A part of a library that stays which uses a part definition of one
    // that goes, as "part P of library L uses part definition D of library
    // M"; empty when there is none.
    const std::string &definitionInUse() const { return inUse; }

    // Removes the libraries in one write (those whose parts use another's
    // definitions first) and prints the write's summary, led by `verb`.
    // Refuses first when definitionInUse is not empty.
    void run(WriteTarget &target, const std::string &verb) const;

private:
    std::vector<std::string> ordered;
    std::string inUse;
};

} // namespace partlib
