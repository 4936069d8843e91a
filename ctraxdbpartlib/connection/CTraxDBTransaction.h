#pragma once

#include "ctraxdbpartlib/connection/CTraxDBPath.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A read-committed transaction on a path's session. Construction begins
// it; it is aborted when the object goes unless it was committed or
// aborted before, so that no way out of the work leaves it open.
class CTraxDBTransaction {
public:
    enum class Kind {
        Read,      // a transaction that reads
        Write,     // one that is going to write (see CSession::StartWriteTransaction)
        IfPossible // one that is going to write, where the session can begin it; without one otherwise
    };

    explicit CTraxDBTransaction(CTraxDBPath &path, Kind kind = Kind::Read);
    ~CTraxDBTransaction();

    // Commits; a commit that fails throws and leaves the transaction to be
    // aborted. Without a transaction (IfPossible) the commit's result is
    // not asked for.
    void commit();
    // Aborts; a failure to abort throws.
    void abort();
    // Aborts where it is open, whatever the engine answers.
    void abortQuietly() noexcept;

    CTraxDBTransaction(const CTraxDBTransaction &) = delete;
    CTraxDBTransaction &operator=(const CTraxDBTransaction &) = delete;

private:
    CTraxDBPath &path;
    Kind kind;
    bool open = false;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
