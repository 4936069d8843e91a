#include "ctraxdbpartlib/connection/DBStatement.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/readers/CountAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

int countWith(CTraxDBPath &path, const std::string &sql, int paramCount, int32_t param1, int32_t param2) {
    TXDB_TRACE(LOG_FINEST, sql);
    // A count of one parent's rows that the library's read-ahead holds
    // needs no statement.
    const ProviderConnection *connection = path.getSession().getConnection();
    LibraryPrefetch *prefetch = connection ? connection->getPrefetch() : nullptr;
    int32_t counted = 0;
    if (paramCount == 1 && prefetch && prefetch->counted(path.fixTcEnc(sql), param1, counted)) {
        CDBErrorInfo::clear();
        return counted;
    }
    CCommand<CAccessor<CountAccessor>> command;
    command.paramCount = paramCount;
    command.params[0] = param1;
    command.params[1] = param2;
    path.open(command, sql);
    HRESULT result = command.MoveFirst();
    checkResult(result);
    int count = result == DB_S_ENDOFROWSET ? 0 : command.count;
    command.Close();
    return count;
}

} // namespace

int runCount(CTraxDBPath &path, const std::string &sql) {
    return countWith(path, sql, 0, 0, 0);
}

int runCount(CTraxDBPath &path, const std::string &sql, int32_t param1) {
    return countWith(path, sql, 1, param1, 0);
}

int runCount(CTraxDBPath &path, const std::string &sql, int32_t param1, int32_t param2) {
    return countWith(path, sql, 2, param1, param2);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
