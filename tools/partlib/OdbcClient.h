#pragma once

// A connection through unixODBC made as another program makes it: from a
// connection string or a data source name, with no part-library schema
// behind it. Failures end the command with the driver's own messages.
//
//   OdbcClient odbc("Driver={SQLite3};Database=/data/parts.db;", "", "", "");
//   OdbcQuery byKey(odbc, "SELECT * FROM " + odbc.quoted(table) + " WHERE " + odbc.quoted(key) + " = ?");
//   OdbcResult row = byKey.run({"R_0603"});

#include "ctraxdbpartlib/connection/OdbcSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace partlib {

// A column of a result as the driver describes it.
struct OdbcColumn {
    std::string name;
    SQLSMALLINT type = 0; // SQL_VARCHAR, SQL_LONGVARCHAR, ...
    SQLULEN size = 0;     // characters for a text column; 0 when unknown
};

using OdbcRow = std::vector<std::optional<std::string>>; // nullopt: NULL

struct OdbcResult {
    std::vector<OdbcColumn> columns;
    std::vector<OdbcRow> rows;
};

class OdbcClient {
public:
    // A connection string when one is given, else the data source with
    // its user and password.
    OdbcClient(const std::string &connectionString, const std::string &dsn, const std::string &user,
               const std::string &password);

    // The names of the tables and views.
    std::vector<std::string> tables();
    // An identifier in the driver's quotes.
    std::string quoted(const std::string &name) const;

    SQLHDBC handle() const { return link.dbc; }

private:
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::OdbcLink link;
    std::string quote = "\"";
};

// A statement prepared once and run as often as wanted, its text
// parameters bound anew each time.
class OdbcQuery {
public:
    OdbcQuery(OdbcClient &client, const std::string &sql);
    ~OdbcQuery();
    OdbcQuery(const OdbcQuery &) = delete;
    OdbcQuery &operator=(const OdbcQuery &) = delete;

    // Every row, each value as text. A failure names the statement.
    OdbcResult run(const std::vector<std::string> &parameters = {});

private:
    SQLHSTMT statement = SQL_NULL_HSTMT;
    std::string sql;
};

// A failure of the ODBC handle ends the command with `what` and the
// driver's messages.
void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const std::string &what);

} // namespace partlib
