#pragma once

// Reaching the database path from a handle, and running count queries.
// Queries themselves are opened with CTraxDBPath::open / tryOpen, the one
// way every reader and record object runs its SQL.

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

// Runs a query that yields one integer in its first column, such as a
// Count(*), with up to two integer parameters bound in order.
int runCount(CTraxDBPath &path, const std::string &sql);
int runCount(CTraxDBPath &path, const std::string &sql, int32_t param1);
int runCount(CTraxDBPath &path, const std::string &sql, int32_t param1, int32_t param2);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
