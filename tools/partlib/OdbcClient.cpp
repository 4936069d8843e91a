#include "tools/partlib/OdbcClient.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "tools/partlib/Commands.h"

namespace partlib {

namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

void checkOdbc(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const std::string &what) {
    DBIMPL::CDBErrorInfo::clear();
    if (DBIMPL::odbcCheck(rc, handleType, handle) == DBIMPL::S_OK)
        return;
    std::string message = what;
    for (const std::string &record : DBIMPL::CDBErrorInfo::records())
        message += "\n  " + record;
    DBIMPL::CDBErrorInfo::clear();
    fail(message);
}

namespace {

SQLCHAR *sqlText(const std::string &text) {
    return reinterpret_cast<SQLCHAR *>(const_cast<char *>(text.c_str()));
}

} // namespace

OdbcClient::OdbcClient(const std::string &connectionString, const std::string &dsn, const std::string &user,
                       const std::string &password) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link.env)))
        fail("Cannot start unixODBC");
    SQLSetEnvAttr(link.env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    checkOdbc(SQLAllocHandle(SQL_HANDLE_DBC, link.env, &link.dbc), SQL_HANDLE_ENV, link.env,
              "Cannot start an ODBC connection");
    SQLRETURN rc;
    if (!connectionString.empty())
        rc = SQLDriverConnect(link.dbc, nullptr, sqlText(connectionString), SQL_NTS, nullptr, 0, nullptr,
                              SQL_DRIVER_NOPROMPT);
    else
        rc = SQLConnect(link.dbc, sqlText(dsn), SQL_NTS, sqlText(user), SQL_NTS, sqlText(password), SQL_NTS);
    checkOdbc(rc, SQL_HANDLE_DBC, link.dbc,
              connectionString.empty() ? "Cannot connect to the ODBC data source \"" + dsn + "\""
                                       : "Cannot connect through ODBC with \"" + connectionString + "\"");
    link.connected = true;
    char quoteChar[8] = "";
    SQLSMALLINT length = 0;
    if (SQL_SUCCEEDED(SQLGetInfo(link.dbc, SQL_IDENTIFIER_QUOTE_CHAR, quoteChar, sizeof quoteChar, &length)) &&
        length == 1 && quoteChar[0] != ' ')
        quote = quoteChar;
}

std::string OdbcClient::quoted(const std::string &name) const {
    std::string out = quote;
    for (char c : name)
        out += std::string(1, c) == quote ? quote + quote : std::string(1, c);
    return out + quote;
}

std::vector<std::string> OdbcClient::tables() {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    checkOdbc(SQLAllocHandle(SQL_HANDLE_STMT, link.dbc, &statement), SQL_HANDLE_DBC, link.dbc,
              "Cannot list the tables");
    std::vector<std::string> names;
    const SQLRETURN rc = SQLTables(statement, nullptr, 0, nullptr, 0, nullptr, 0, sqlText("TABLE,VIEW"), SQL_NTS);
    if (SQL_SUCCEEDED(rc)) {
        while (SQL_SUCCEEDED(SQLFetch(statement))) {
            char name[1024] = "";
            SQLLEN length = 0;
            if (SQL_SUCCEEDED(SQLGetData(statement, 3, SQL_C_CHAR, name, sizeof name, &length)) &&
                length != SQL_NULL_DATA)
                names.emplace_back(name);
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return names;
}

OdbcQuery::OdbcQuery(OdbcClient &client, const std::string &sql) : sql(sql) {
    checkOdbc(SQLAllocHandle(SQL_HANDLE_STMT, client.handle(), &statement), SQL_HANDLE_DBC, client.handle(),
              "Cannot make an ODBC statement");
    checkOdbc(SQLPrepare(statement, sqlText(sql), SQL_NTS), SQL_HANDLE_STMT, statement, "Cannot prepare " + sql);
}

OdbcQuery::~OdbcQuery() {
    if (statement != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

OdbcResult OdbcQuery::run(const std::vector<std::string> &parameters) {
    SQLFreeStmt(statement, SQL_CLOSE);
    std::vector<SQLLEN> lengths(parameters.size());
    for (size_t i = 0; i < parameters.size(); ++i) {
        lengths[i] = SQLLEN(parameters[i].size());
        checkOdbc(SQLBindParameter(statement, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                   std::max<SQLULEN>(parameters[i].size(), 1), 0,
                                   const_cast<char *>(parameters[i].data()), lengths[i], &lengths[i]),
                  SQL_HANDLE_STMT, statement, "Cannot bind the parameters of " + sql);
    }
    checkOdbc(SQLExecute(statement), SQL_HANDLE_STMT, statement, "Cannot run " + sql);
    OdbcResult result;
    SQLSMALLINT count = 0;
    SQLNumResultCols(statement, &count);
    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i) {
        char name[256] = "";
        SQLSMALLINT nameLength = 0, decimals = 0, nullable = 0;
        OdbcColumn column;
        checkOdbc(SQLDescribeCol(statement, i, reinterpret_cast<SQLCHAR *>(name), sizeof name, &nameLength,
                                 &column.type, &column.size, &decimals, &nullable),
                  SQL_HANDLE_STMT, statement, "Cannot describe the columns of " + sql);
        column.name = name;
        result.columns.push_back(column);
    }
    SQLRETURN rc;
    while (SQL_SUCCEEDED(rc = SQLFetch(statement))) {
        OdbcRow row;
        for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i) {
            std::string value;
            SQLLEN length = 0;
            char buffer[4096];
            bool isNull = false;
            // A long text comes in pieces, each but the last filling the buffer.
            for (;;) {
                const SQLRETURN got = SQLGetData(statement, i, SQL_C_CHAR, buffer, sizeof buffer, &length);
                if (got == SQL_NO_DATA)
                    break;
                checkOdbc(got, SQL_HANDLE_STMT, statement, "Cannot read a row of " + sql);
                if (length == SQL_NULL_DATA) {
                    isNull = true;
                    break;
                }
                const bool whole = got == SQL_SUCCESS;
                value += whole ? std::string(buffer, size_t(length)) : std::string(buffer);
                if (whole)
                    break;
            }
            row.push_back(isNull ? std::nullopt : std::optional<std::string>(value));
        }
        result.rows.push_back(std::move(row));
    }
    if (rc != SQL_NO_DATA)
        checkOdbc(rc, SQL_HANDLE_STMT, statement, "Cannot read the rows of " + sql);
    SQLFreeStmt(statement, SQL_CLOSE);
    SQLFreeStmt(statement, SQL_RESET_PARAMS);
    return result;
}

} // namespace partlib
