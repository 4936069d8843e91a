#pragma once

#include "ctraxdbpartlib/connection/CTraxDBTransaction.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The transaction of one library write. Construction begins it and takes
// the database's write lock (a change to the version row that every writer
// makes first, so that two writers never read the same MAX([ID]) and hand
// out the same keys: the second waits until the first has ended). The
// transaction is aborted when the object goes unless it was committed, so
// that no way out of a write leaves it open.
class CTraxDBWriteTransaction {
public:
    explicit CTraxDBWriteTransaction(CTraxDBPath &path);

    void commit() { transaction.commit(); }
    void abort() { transaction.abort(); }

private:
    CTraxDBTransaction transaction;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
