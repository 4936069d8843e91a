#include "ctraxdbpartlib/connection/OdbcProvider.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/MySqlDialect.h"
#include "ctraxdbpartlib/connection/OdbcStatement.h"
#include "ctraxdbpartlib/connection/PostgreSqlDialect.h"

#include <algorithm>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// The dialect of the engine that a driver reports (SQL_DBMS_NAME and
// SQL_DBMS_VER); the standard one for an engine of no known family.
std::unique_ptr<Dialect> dialectOf(const std::string &dbms, const std::string &version, char quote) {
    if (containsNoCase(dbms, "MySQL") || containsNoCase(dbms, "MariaDB"))
        return std::make_unique<MySqlDialect>(containsNoCase(dbms + " " + version, "MariaDB"), quote);
    if (containsNoCase(dbms, "PostgreSQL"))
        return std::make_unique<PostgreSqlDialect>(quote);
    return std::make_unique<Dialect>(quote);
}

class OdbcConnection : public ProviderConnection {
public:
    HRESULT open(const InitString &init);

    HRESULT execute(const std::string &sql) override;
    HRESULT prepare(const std::string &sql, std::unique_ptr<ProviderStatement> &statement) override;

    HRESULT begin() override;
    HRESULT commit() override;
    HRESULT rollback() override;
    bool inTransaction() const override { return transaction; }

    HRESULT tables(std::vector<std::string> &names) override;
    HRESULT catalogs(std::vector<std::string> &names) override;
    HRESULT primaryKey(const std::string &table, std::vector<std::string> &columns) override;

    HRESULT property(DBPropSet set, DBPROPID id, DBVariant &value) override;
    const Dialect &dialect() const override { return *engine; }

private:
    std::string info(SQLUSMALLINT type);
    std::string currentCatalog();
    HRESULT connectAttribute(SQLINTEGER attribute, SQLULEN value);
    HRESULT endTransaction(SQLSMALLINT completion);
    // Runs a catalog function and hands each row of its result to `row`.
    template <class Call, class Row> HRESULT catalogRows(Call call, Row row);
    // Texts of one column of a catalog function's result.
    template <class Call> HRESULT catalogColumn(int ordinal, std::vector<std::string> &out, Call call);

    std::shared_ptr<OdbcLink> link = std::make_shared<OdbcLink>();
    bool hasCatalog = false;
    std::string catalog;
    std::string dataSourceName;
    bool readOnly = false;
    bool transaction = false;
    std::unique_ptr<Dialect> engine = std::make_unique<Dialect>();
};

HRESULT OdbcConnection::open(const InitString &init) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link->env))) {
        CDBErrorInfo::add("The ODBC environment cannot be allocated");
        return E_FAIL;
    }
    HRESULT hr = odbcCheck(SQLSetEnvAttr(link->env, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, 0), SQL_HANDLE_ENV,
                           link->env);
    if (SUCCEEDED(hr))
        hr = odbcCheck(SQLAllocHandle(SQL_HANDLE_DBC, link->env, &link->dbc), SQL_HANDLE_ENV, link->env);
    if (FAILED(hr))
        return hr;

    std::string connection = odbcConnectionString(init);
    hr = odbcCheck(SQLDriverConnect(link->dbc, nullptr, (SQLCHAR *)connection.c_str(), SQL_NTS, nullptr, 0, nullptr,
                                    SQL_DRIVER_NOPROMPT),
                   SQL_HANDLE_DBC, link->dbc);
    if (FAILED(hr))
        return hr;
    link->connected = true;

    hr = connectAttribute(SQL_ATTR_TXN_ISOLATION, SQL_TXN_READ_COMMITTED);
    if (SUCCEEDED(hr))
        hr = connectAttribute(SQL_ATTR_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
    if (FAILED(hr))
        return hr;

    const std::string dbms = info(SQL_DBMS_NAME);
    const std::string quoteText = info(SQL_IDENTIFIER_QUOTE_CHAR);
    engine = dialectOf(dbms, info(SQL_DBMS_VER), quoteText.size() == 1 && quoteText[0] != ' ' ? quoteText[0] : '"');
    for (const std::string &statement : engine->sessionStatements())
        if (FAILED(hr = execute(statement)))
            return hr;
    readOnly = info(SQL_DATA_SOURCE_READ_ONLY) == "Y";
    dataSourceName = init.has("DSN") ? info(SQL_DATA_SOURCE_NAME) : info(SQL_SERVER_NAME);
    for (const char *key : {"Initial Catalog", "Database"}) {
        if (!hasCatalog && init.has(key)) {
            hasCatalog = true;
            catalog = init.get(key);
        }
    }
    TXDB_TRACE(LOG_FINER, "ODBC connection to " + dbms + " on " + dataSourceName);
    return S_OK;
}

std::string OdbcConnection::info(SQLUSMALLINT type) {
    SQLCHAR text[512] = {0};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(link->dbc, type, text, sizeof text, &length)))
        return std::string();
    return reinterpret_cast<char *>(text);
}

std::string OdbcConnection::currentCatalog() {
    SQLCHAR text[512] = {0};
    SQLINTEGER length = 0;
    if (!SQL_SUCCEEDED(SQLGetConnectAttr(link->dbc, SQL_ATTR_CURRENT_CATALOG, text, sizeof text, &length)))
        return std::string();
    return reinterpret_cast<char *>(text);
}

HRESULT OdbcConnection::connectAttribute(SQLINTEGER attribute, SQLULEN value) {
    return odbcCheck(SQLSetConnectAttr(link->dbc, attribute, (SQLPOINTER)value, 0), SQL_HANDLE_DBC, link->dbc);
}

HRESULT OdbcConnection::execute(const std::string &sql) {
    OdbcStatement statement(link);
    return statement.executeDirect(engine->adapted(sql));
}

HRESULT OdbcConnection::prepare(const std::string &sql, std::unique_ptr<ProviderStatement> &statement) {
    auto prepared = std::make_unique<OdbcStatement>(link);
    HRESULT hr = prepared->prepare(engine->adapted(sql));
    if (SUCCEEDED(hr))
        statement = std::move(prepared);
    return hr;
}

HRESULT OdbcConnection::begin() {
    if (transaction) {
        CDBErrorInfo::add("A transaction is already open on this session");
        return XACT_E_XTIONEXISTS;
    }
    HRESULT hr = connectAttribute(SQL_ATTR_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF);
    if (SUCCEEDED(hr))
        transaction = true;
    return hr;
}

HRESULT OdbcConnection::endTransaction(SQLSMALLINT completion) {
    if (!transaction) {
        CDBErrorInfo::add("No transaction is open on this session");
        return XACT_E_NOTRANSACTION;
    }
    HRESULT hr = odbcCheck(SQLEndTran(SQL_HANDLE_DBC, link->dbc, completion), SQL_HANDLE_DBC, link->dbc);
    // A commit that failed leaves the transaction open for the rollback.
    if (FAILED(hr) && completion == SQL_COMMIT)
        return hr;
    transaction = false;
    HRESULT autocommit = connectAttribute(SQL_ATTR_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
    return FAILED(hr) ? hr : autocommit;
}

HRESULT OdbcConnection::commit() {
    return endTransaction(SQL_COMMIT);
}

HRESULT OdbcConnection::rollback() {
    return endTransaction(SQL_ROLLBACK);
}

template <class Call, class Row> HRESULT OdbcConnection::catalogRows(Call call, Row row) {
    OdbcStatement statement(link);
    HRESULT hr = statement.runCatalog(call);
    while (SUCCEEDED(hr) && (hr = statement.fetch()) == S_OK)
        row(statement);
    return FAILED(hr) ? hr : S_OK;
}

namespace {

std::string textOf(OdbcStatement &statement, int ordinal) {
    size_t length = 0;
    const char *text = statement.getText(ordinal, length);
    return std::string(text, length);
}

} // namespace

template <class Call> HRESULT OdbcConnection::catalogColumn(int ordinal, std::vector<std::string> &out, Call call) {
    out.clear();
    return catalogRows(call, [&](OdbcStatement &statement) { out.push_back(textOf(statement, ordinal)); });
}

HRESULT OdbcConnection::tables(std::vector<std::string> &names) {
    std::string current = currentCatalog();
    return catalogColumn(3, names, [&](SQLHSTMT stmt) {
        return SQLTables(stmt, current.empty() ? nullptr : (SQLCHAR *)current.c_str(), SQL_NTS, nullptr, 0, nullptr, 0,
                         (SQLCHAR *)"TABLE", SQL_NTS);
    });
}

HRESULT OdbcConnection::catalogs(std::vector<std::string> &names) {
    const std::string query = engine->catalogQuery();
    if (!query.empty())
        return catalogColumn(
            1, names, [&query](SQLHSTMT stmt) { return SQLExecDirect(stmt, (SQLCHAR *)query.c_str(), SQL_NTS); });
    return catalogColumn(1, names, [](SQLHSTMT stmt) {
        return SQLTables(stmt, (SQLCHAR *)SQL_ALL_CATALOGS, SQL_NTS, (SQLCHAR *)"", 0, (SQLCHAR *)"", 0, nullptr, 0);
    });
}

HRESULT OdbcConnection::primaryKey(const std::string &table, std::vector<std::string> &columns) {
    const std::string query = engine->primaryKeyQuery();
    if (!query.empty()) {
        columns.clear();
        OdbcStatement statement(link);
        HRESULT hr = statement.prepare(query);
        if (SUCCEEDED(hr))
            hr = statement.execute({DBParam::fromText(table)});
        while (SUCCEEDED(hr) && (hr = statement.fetch()) == S_OK)
            columns.push_back(textOf(statement, 1));
        return FAILED(hr) ? hr : S_OK;
    }
    std::string current = currentCatalog();
    // Rows of COLUMN_NAME (4) and KEY_SEQ (5); not every driver sends them in key order.
    std::vector<std::pair<int32_t, std::string>> key;
    HRESULT hr = catalogRows(
        [&](SQLHSTMT stmt) {
            return SQLPrimaryKeys(stmt, current.empty() ? nullptr : (SQLCHAR *)current.c_str(), SQL_NTS, nullptr, 0,
                                  (SQLCHAR *)table.c_str(), SQL_NTS);
        },
        [&](OdbcStatement &statement) { key.emplace_back(statement.getInt(5), textOf(statement, 4)); });
    std::stable_sort(key.begin(), key.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    columns.clear();
    for (const auto &part : key)
        columns.push_back(part.second);
    return hr;
}

HRESULT OdbcConnection::property(DBPropSet set, DBPROPID id, DBVariant &value) {
    if (set == DBPropSet::DBINIT && id == DBPROP_INIT_CATALOG && hasCatalog) {
        value = DBVariant::fromString(catalog);
        return S_OK;
    }
    if (set == DBPropSet::DATASOURCEINFO && id == DBPROP_CURRENTCATALOG) {
        value = DBVariant::fromString(currentCatalog());
        return S_OK;
    }
    if (set == DBPropSet::DATASOURCEINFO && id == DBPROP_DATASOURCENAME) {
        value = DBVariant::fromString(dataSourceName);
        return S_OK;
    }
    if (set == DBPropSet::DATASOURCEINFO && id == DBPROP_DATASOURCEREADONLY) {
        value = DBVariant::fromBool(readOnly);
        return S_OK;
    }
    return DB_E_NOTSUPPORTED;
}

} // namespace

HRESULT openOdbcProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection) {
    auto odbc = std::make_unique<OdbcConnection>();
    HRESULT hr = odbc->open(init);
    if (SUCCEEDED(hr))
        connection = std::move(odbc);
    return hr;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
