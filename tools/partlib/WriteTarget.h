#pragma once

// The database a command writes into, opened for the write: a SQLite file
// that is missing is created (and removed again unless the write succeeds),
// and a database without the part library gets its schema when the user
// agrees (--yes answers).

#include "interface/Handles.h"
#include "tools/partlib/CreatedFile.h"
#include "tools/partlib/Signals.h"

#include <string>

namespace partlib {

class WriteTarget {
public:
    explicit WriteTarget(const std::string &database);

    const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path() const { return handle; }
    // The file created for this write, while it is still to be removed.
    const std::string &createdFile() const { return created.pending(); }
    // The write is committed: a file created for it stays.
    void succeeded() { created.keep(); }

private:
    // Ctrl-C while the target is opened (and given its schema) cancels the
    // write that follows, which leaves the target as it was.
    SignalGuard signals;
    // Declared before the handle, so that the file goes only after the
    // database on it is closed.
    CreatedFile created;
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t handle;
};

} // namespace partlib
