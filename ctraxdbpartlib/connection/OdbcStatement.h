#pragma once

#include "ctraxdbpartlib/connection/OdbcSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A statement handle with its result columns. When every column has a
// known, moderate size the columns are bound to buffers sized from
// SQLDescribeCol, so a fetch fills them at once; otherwise every column is
// read with SQLGetData after the fetch, in column order.
class OdbcStatement : public ProviderStatement {
public:
    explicit OdbcStatement(std::shared_ptr<OdbcLink> link);
    ~OdbcStatement() override;
    OdbcStatement(const OdbcStatement &) = delete;
    OdbcStatement &operator=(const OdbcStatement &) = delete;

    HRESULT prepare(const std::string &sql);
    // Runs the statement once without parameters.
    HRESULT executeDirect(const std::string &sql);
    // Runs a catalog function (SQLTables, SQLPrimaryKeys, ...) on the
    // handle; its result is then read like a query's.
    template <class Call> HRESULT runCatalog(Call call) {
        HRESULT hr = allocate();
        if (FAILED(hr))
            return hr;
        hr = odbcCheck(call(stmt), SQL_HANDLE_STMT, stmt);
        return FAILED(hr) ? hr : describe();
    }

    HRESULT execute(const std::vector<DBParam> &params) override;
    HRESULT fetch() override;
    int columnCount() override { return static_cast<int>(columns.size()); }
    std::string columnName(int ordinal) override;
    bool isNull(int ordinal) override;
    int32_t getInt(int ordinal) override;
    bool getInteger(int ordinal, int64_t &value) override;
    std::string tableName(int ordinal) override;
    const char *getText(int ordinal, size_t &length) override;
    DBParam::Kind kind(int ordinal) override;
    DBParam value(int ordinal) override;

private:
    struct Column {
        std::string name;
        bool integer = false;
        int64_t intValue = 0;
        std::vector<char> data; // text, NUL-terminated
        SQLLEN indicator = SQL_NULL_DATA;
        size_t length = 0;
        std::string formatted; // an integer column's value as text
    };

    HRESULT allocate();
    HRESULT bindParams(const std::vector<DBParam> &params);
    HRESULT describe();
    HRESULT readUnbound();
    HRESULT readUnbound(SQLUSMALLINT ordinal, Column &column);
    Column *column(int ordinal);

    std::shared_ptr<OdbcLink> link;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    std::vector<DBParam> paramValues;
    std::vector<SQLLEN> paramIndicators;
    std::vector<Column> columns;
    bool bound = false;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
