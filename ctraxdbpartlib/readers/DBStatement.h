#pragma once

// Opening statements on a database path: the one way every reader and
// record object runs its SQL. The text (written with square-bracket
// quoting) goes through the path's fixTcEnc, the command opens on the
// path's session with its rowset properties, and the result is checked.

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "interface/Handles.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The database path behind a handle that a record or reader already holds
// (only the library reader checks what kind of path it was given).
inline CTraxDBPath &dbPath(const pathHandle_t &path) {
    return static_cast<CTraxDBPath &>(*path);
}

// Opens the command without checking, for callers that retry a refused
// statement (the paged readers).
template <class TCommand> HRESULT tryOpenStatement(CTraxDBPath &path, TCommand &command, const std::string &sql) {
    const CDBPropSet &properties = path.getProperties();
    return command.Open(path.getSession(), path.fixTcEnc(sql), &properties);
}

template <class TCommand> void openStatement(CTraxDBPath &path, TCommand &command, const std::string &sql) {
    checkResult(tryOpenStatement(path, command, sql));
}

// Runs a query that yields one integer in its first column, such as a
// Count(*), with up to two integer parameters bound in order.
int runCount(CTraxDBPath &path, const std::string &sql);
int runCount(CTraxDBPath &path, const std::string &sql, int32_t param1);
int runCount(CTraxDBPath &path, const std::string &sql, int32_t param1, int32_t param2);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
