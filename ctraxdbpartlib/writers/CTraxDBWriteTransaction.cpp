#include "ctraxdbpartlib/writers/CTraxDBWriteTransaction.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/Dialect.h"
#include "interface/Exception.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBWriteTransaction::CTraxDBWriteTransaction(CTraxDBPath &path)
    : path(path), transaction(path, CTraxDBTransaction::Kind::Write),
      before(path.getSession().getConnection()->rowTally()) {
    path.execute("UPDATE [Library_version] SET [Major] = [Major];");
}

void CTraxDBWriteTransaction::commit() {
    transaction.commit();
    ProviderConnection &connection = *path.getSession().getConnection();
    for (const auto &[table, changes] : connection.rowTally()) {
        const RowChanges earlier = before.count(table) ? before.at(table) : RowChanges();
        if (changes.added - earlier.added + changes.removed - earlier.removed < STATISTICS_AFTER_ROWS)
            continue;
        const std::string statement = connection.dialect().statisticsStatement(table);
        if (statement.empty())
            continue;
        // The write is committed: statistics that cannot be gathered now
        // are the engine's to gather later.
        try {
            path.execute(statement);
        } catch (Exception *e) {
            TXDB_TRACE(LOG_WARNING, "Statistics of " + table + " not gathered: " + e->getMessage());
            delete e;
            CDBErrorInfo::clear();
        }
    }
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
