#pragma once

// Pieces shared by the ODBC connection and its statements: the handles,
// the translation of ODBC diagnostics into result codes and error records,
// and the driver's connection string.

#include "ctraxdbpartlib/connection/DBProvider.h"

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The environment and connection handles of one connection. Statements
// share ownership, so the connection is closed after its last statement.
struct OdbcLink {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;

    OdbcLink() = default;
    OdbcLink(const OdbcLink &) = delete;
    OdbcLink &operator=(const OdbcLink &) = delete;
    ~OdbcLink();
};

// The result code that one diagnostic record stands for: SQLSTATE class 42
// is a statement the database cannot run, class 23 and the constraint
// failures that MariaDB/MySQL report as HY000 with their own error number
// are integrity violations, everything else is E_FAIL.
HRESULT odbcResultCode(const std::string &sqlState, SQLINTEGER nativeError);

// Turns every diagnostic record of the handle into one error record, in the
// form "<driver message> (SQLSTATE <state>, error <native>)", and returns the
// code of the first record that has a specific one (E_FAIL otherwise).
HRESULT odbcFailure(SQLSMALLINT handleType, SQLHANDLE handle);

// S_OK for SQL_SUCCESS and SQL_SUCCESS_WITH_INFO, odbcFailure otherwise.
HRESULT odbcCheck(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle);

// The connection string for SQLDriverConnect: Provider dropped, Initial
// Catalog / User ID / Password renamed to DATABASE / UID / PWD, values
// braced where ODBC needs it (always for DRIVER).
std::string odbcConnectionString(const InitString &init);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
