#pragma once

#include "ctraxdbpartlib/connection/CTraxDBTransaction.h"
#include "ctraxdbpartlib/connection/RowTally.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The transaction of one library write. Construction begins it and takes
// the database's write lock (a change to the version row that every writer
// makes first, so that two writers never read the same MAX([ID]) and hand
// out the same keys: the second waits until the first has ended). The
// transaction is aborted when the object goes unless it was committed, so
// that no way out of a write leaves it open.
//
// After the commit, the tables that the write filled or emptied by many rows
// get their statistics gathered anew where the engine does that only later
// by itself (Dialect::statisticsStatement): until then its planner would
// take a table just filled for an empty one and scan it whole for every
// lookup of the next write.
class CTraxDBWriteTransaction {
public:
    // The rows added and removed in a table from which its statistics are
    // gathered anew.
    static constexpr long STATISTICS_AFTER_ROWS = 10000;

    explicit CTraxDBWriteTransaction(CTraxDBPath &path);

    void commit();
    void abort() { transaction.abort(); }

private:
    CTraxDBPath &path;
    CTraxDBTransaction transaction;
    RowTally before;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
