#include "ctraxdbpartlib/connection/OdbcStatement.h"

#include <algorithm>
#include <cstdlib>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// Columns wider than this (or of unknown width) are read with SQLGetData.
constexpr SQLULEN MAX_BOUND_BYTES = 32 * 1024;

bool isIntegerType(SQLSMALLINT type) {
    return type == SQL_INTEGER || type == SQL_SMALLINT || type == SQL_TINYINT || type == SQL_BIT || type == SQL_BIGINT;
}

// Bytes of the text form of a column of the described size: room for four
// bytes per character in UTF-8, and for signs, exponents and separators.
SQLULEN textBufferBytes(SQLULEN columnSize) {
    return columnSize * 4 + 40 + 1;
}

} // namespace

OdbcStatement::OdbcStatement(std::shared_ptr<OdbcLink> link) : link(std::move(link)) {}

OdbcStatement::~OdbcStatement() {
    if (stmt != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
}

HRESULT OdbcStatement::allocate() {
    return odbcCheck(SQLAllocHandle(SQL_HANDLE_STMT, link->dbc, &stmt), SQL_HANDLE_DBC, link->dbc);
}

HRESULT OdbcStatement::prepare(const std::string &sql) {
    HRESULT hr = allocate();
    if (FAILED(hr))
        return hr;
    hr = odbcCheck(SQLPrepare(stmt, (SQLCHAR *)sql.c_str(), SQL_NTS), SQL_HANDLE_STMT, stmt);
    // The columns are known before the first run.
    return FAILED(hr) ? hr : describe();
}

HRESULT OdbcStatement::executeDirect(const std::string &sql) {
    HRESULT hr = allocate();
    if (FAILED(hr))
        return hr;
    SQLRETURN rc = SQLExecDirect(stmt, (SQLCHAR *)sql.c_str(), SQL_NTS);
    return rc == SQL_NO_DATA ? S_OK : odbcCheck(rc, SQL_HANDLE_STMT, stmt);
}

HRESULT OdbcStatement::bindParams(const std::vector<DBParam> &params) {
    SQLFreeStmt(stmt, SQL_RESET_PARAMS);
    // The driver reads the values at SQLExecute: keep them here until then.
    paramValues = params;
    paramIndicators.assign(params.size(), 0);
    for (size_t i = 0; i < paramValues.size(); ++i) {
        DBParam &param = paramValues[i];
        SQLLEN &indicator = paramIndicators[i];
        SQLUSMALLINT position = static_cast<SQLUSMALLINT>(i + 1);
        SQLRETURN rc;
        if (param.kind == DBParam::I4) {
            rc = SQLBindParameter(stmt, position, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &param.intVal, 0,
                                  &indicator);
        } else {
            bool isNull = param.kind == DBParam::NUL;
            indicator = isNull ? SQL_NULL_DATA : static_cast<SQLLEN>(param.text.size());
            SQLULEN size = std::max<SQLULEN>(param.text.size(), 1);
            rc = SQLBindParameter(stmt, position, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, size, 0,
                                  (SQLPOINTER)param.text.data(), static_cast<SQLLEN>(param.text.size()), &indicator);
        }
        HRESULT hr = odbcCheck(rc, SQL_HANDLE_STMT, stmt);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT OdbcStatement::execute(const std::vector<DBParam> &params) {
    SQLFreeStmt(stmt, SQL_CLOSE); // the cursor of an earlier run
    HRESULT hr = bindParams(params);
    if (FAILED(hr))
        return hr;
    SQLRETURN rc = SQLExecute(stmt);
    if (rc != SQL_NO_DATA) {
        hr = odbcCheck(rc, SQL_HANDLE_STMT, stmt);
        if (FAILED(hr))
            return hr;
    }
    // Some drivers know the result's columns only once it has run.
    return columns.empty() ? describe() : S_OK;
}

HRESULT OdbcStatement::describe() {
    SQLSMALLINT count = 0;
    HRESULT hr = odbcCheck(SQLNumResultCols(stmt, &count), SQL_HANDLE_STMT, stmt);
    if (FAILED(hr))
        return hr;
    columns.assign(count, Column());
    bound = true;
    for (SQLUSMALLINT i = 1; i <= count; ++i) {
        Column &col = columns[i - 1];
        SQLCHAR name[256] = {0};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        hr = odbcCheck(SQLDescribeCol(stmt, i, name, sizeof name, &nameLength, &type, &size, &digits, &nullable),
                       SQL_HANDLE_STMT, stmt);
        if (FAILED(hr))
            return hr;
        col.name = reinterpret_cast<char *>(name);
        col.integer = isIntegerType(type);
        if (!col.integer) {
            if (size == 0 || size > MAX_BOUND_BYTES)
                bound = false;
            else
                col.data.assign(textBufferBytes(size), '\0');
        }
    }
    // SQLGetData is only portable for columns after the last bound one, so
    // a statement is either fully bound or read column by column.
    for (SQLUSMALLINT i = 1; bound && i <= count; ++i) {
        Column &col = columns[i - 1];
        SQLRETURN rc = col.integer ? SQLBindCol(stmt, i, SQL_C_SBIGINT, &col.intValue, 0, &col.indicator)
                                   : SQLBindCol(stmt, i, SQL_C_CHAR, col.data.data(),
                                                static_cast<SQLLEN>(col.data.size()), &col.indicator);
        hr = odbcCheck(rc, SQL_HANDLE_STMT, stmt);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT OdbcStatement::fetch() {
    SQLRETURN rc = SQLFetch(stmt);
    if (rc == SQL_NO_DATA)
        return DB_S_ENDOFROWSET;
    HRESULT hr = odbcCheck(rc, SQL_HANDLE_STMT, stmt);
    if (FAILED(hr))
        return hr;
    if (!bound)
        return readUnbound();
    for (Column &col : columns) {
        if (col.integer || col.indicator == SQL_NULL_DATA)
            continue;
        // A value longer than the buffer arrives cut to it.
        size_t room = col.data.size() - 1;
        col.length = col.indicator == SQL_NO_TOTAL ? room : std::min(static_cast<size_t>(col.indicator), room);
    }
    return S_OK;
}

HRESULT OdbcStatement::readUnbound() {
    for (SQLUSMALLINT i = 1; i <= columns.size(); ++i) {
        HRESULT hr = readUnbound(i, columns[i - 1]);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT OdbcStatement::readUnbound(SQLUSMALLINT ordinal, Column &col) {
    if (col.integer) {
        return odbcCheck(SQLGetData(stmt, ordinal, SQL_C_SBIGINT, &col.intValue, 0, &col.indicator), SQL_HANDLE_STMT,
                         stmt);
    }
    if (col.data.size() < 256)
        col.data.resize(256);
    size_t have = 0;
    for (;;) {
        SQLLEN room = static_cast<SQLLEN>(col.data.size() - have);
        SQLLEN remaining = 0;
        SQLRETURN rc = SQLGetData(stmt, ordinal, SQL_C_CHAR, col.data.data() + have, room, &remaining);
        if (rc == SQL_NO_DATA)
            break;
        HRESULT hr = odbcCheck(rc, SQL_HANDLE_STMT, stmt);
        if (FAILED(hr))
            return hr;
        if (remaining == SQL_NULL_DATA) {
            col.indicator = SQL_NULL_DATA;
            return S_OK;
        }
        if (remaining != SQL_NO_TOTAL && remaining < room) {
            have += static_cast<size_t>(remaining);
            break;
        }
        // Cut to the buffer: the part read ends with a NUL, the rest follows.
        have += static_cast<size_t>(room - 1);
        size_t rest = remaining == SQL_NO_TOTAL ? col.data.size() : static_cast<size_t>(remaining - (room - 1));
        col.data.resize(have + rest + 1);
    }
    col.data[have] = '\0';
    col.indicator = static_cast<SQLLEN>(have);
    col.length = have;
    return S_OK;
}

OdbcStatement::Column *OdbcStatement::column(int ordinal) {
    if (ordinal < 1 || ordinal > columnCount())
        return nullptr;
    return &columns[ordinal - 1];
}

std::string OdbcStatement::columnName(int ordinal) {
    Column *col = column(ordinal);
    return col ? col->name : std::string();
}

bool OdbcStatement::isNull(int ordinal) {
    Column *col = column(ordinal);
    return !col || col->indicator == SQL_NULL_DATA;
}

int32_t OdbcStatement::getInt(int ordinal) {
    Column *col = column(ordinal);
    if (!col || col->indicator == SQL_NULL_DATA)
        return 0;
    if (col->integer)
        return static_cast<int32_t>(col->intValue);
    return static_cast<int32_t>(std::strtoll(col->data.data(), nullptr, 10));
}

bool OdbcStatement::getInteger(int ordinal, int64_t &value) {
    Column *col = column(ordinal);
    if (!col || col->indicator == SQL_NULL_DATA)
        return false;
    if (col->integer) {
        value = col->intValue;
        return true;
    }
    return wholeNumber(col->data.data(), col->length, value);
}

std::string OdbcStatement::tableName(int ordinal) {
    SQLCHAR name[256] = "";
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLColAttribute(stmt, static_cast<SQLUSMALLINT>(ordinal), SQL_DESC_BASE_TABLE_NAME, name,
                                       sizeof name, &length, nullptr)))
        return std::string();
    return reinterpret_cast<char *>(name);
}

DBParam::Kind OdbcStatement::kind(int ordinal) {
    Column *col = column(ordinal);
    if (col && col->integer && col->indicator != SQL_NULL_DATA)
        return DBParam::I4;
    return isNull(ordinal) ? DBParam::NUL : DBParam::TEXT;
}

DBParam OdbcStatement::value(int ordinal) {
    Column *col = column(ordinal);
    if (col && col->integer && col->indicator != SQL_NULL_DATA)
        return DBParam::fromInt(static_cast<int32_t>(col->intValue));
    return ProviderStatement::value(ordinal);
}

const char *OdbcStatement::getText(int ordinal, size_t &length) {
    length = 0;
    Column *col = column(ordinal);
    if (!col || col->indicator == SQL_NULL_DATA)
        return "";
    if (col->integer) {
        col->formatted = std::to_string(col->intValue);
        length = col->formatted.size();
        return col->formatted.c_str();
    }
    length = col->length;
    return col->data.data();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
