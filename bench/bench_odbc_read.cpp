// Reading 100,000 rows through the ODBC provider against a bare loop of
// SQLFetch over bound columns, on the MariaDB server named by
// TXDB_MARIADB_INITSTRING. Prints the best of five runs of each and their ratio.

#include "ctraxdbpartlib/connection/OdbcProvider.h"
#include "ctraxdbpartlib/connection/OdbcSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr int ROWS = 100000;
const char *const SELECT_ROWS = "SELECT `ID`,`Name`,`Description` FROM `OdbcBenchRead` ORDER BY `ID`";

bool ok(HRESULT hr, const char *what) {
    if (FAILED(hr))
        std::fprintf(stderr, "%s failed: 0x%08x\n", what, static_cast<unsigned>(hr));
    return SUCCEEDED(hr);
}

bool fillTable(ProviderConnection &db) {
    if (!ok(db.execute("DROP TABLE IF EXISTS `OdbcBenchRead`"), "drop") ||
        !ok(db.execute("CREATE TABLE `OdbcBenchRead` (`ID` INTEGER NOT NULL PRIMARY KEY, `Name` VARCHAR(50) NOT "
                       "NULL, `Description` VARCHAR(255))"),
            "create"))
        return false;
    for (int first = 0; first < ROWS; first += 1000) {
        std::string sql = "INSERT INTO `OdbcBenchRead` VALUES ";
        for (int id = first; id < first + 1000; ++id) {
            sql += std::string(id == first ? "(" : ",(") + std::to_string(id) + ",'R" + std::to_string(id) + "'," +
                   (id % 10 ? "'Resistor 10k 0603 thick film'" : "NULL") + ")";
        }
        if (!ok(db.execute(sql), "insert"))
            return false;
    }
    return true;
}

// Sum of the lengths read, so that neither loop can be skipped.
size_t readThroughProvider(ProviderConnection &db) {
    std::unique_ptr<ProviderStatement> statement;
    size_t total = 0;
    if (!ok(db.prepare(SELECT_ROWS, statement), "prepare") || !ok(statement->execute({}), "execute"))
        return 0;
    while (statement->fetch() == S_OK) {
        size_t length = 0;
        total += static_cast<size_t>(statement->getInt(1) & 1);
        statement->getText(2, length);
        total += length;
        if (!statement->isNull(3)) {
            statement->getText(3, length);
            total += length;
        }
    }
    return total;
}

// The same query on a connection of its own, with nothing between the
// driver and the loop.
size_t readBare(SQLHDBC dbc) {
    SQLHSTMT stmt;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    SQLINTEGER id = 0;
    char name[51 * 4], description[256 * 4];
    SQLLEN idInd, nameInd, descriptionInd;
    SQLBindCol(stmt, 1, SQL_C_SLONG, &id, 0, &idInd);
    SQLBindCol(stmt, 2, SQL_C_CHAR, name, sizeof name, &nameInd);
    SQLBindCol(stmt, 3, SQL_C_CHAR, description, sizeof description, &descriptionInd);
    size_t total = 0;
    if (SQL_SUCCEEDED(SQLPrepare(stmt, (SQLCHAR *)SELECT_ROWS, SQL_NTS)) && SQL_SUCCEEDED(SQLExecute(stmt))) {
        while (SQL_SUCCEEDED(SQLFetch(stmt))) {
            total += static_cast<size_t>(id & 1) + static_cast<size_t>(nameInd);
            if (descriptionInd != SQL_NULL_DATA)
                total += static_cast<size_t>(descriptionInd);
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return total;
}

double bestSeconds(const std::function<size_t()> &run, size_t &result) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        result = run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

} // namespace

int main() {
    const char *env = std::getenv("TXDB_MARIADB_INITSTRING");
    if (!env || !*env) {
        std::printf("bench_odbc_read: skipped, TXDB_MARIADB_INITSTRING is not set\n");
        return 0;
    }
    InitString init;
    std::unique_ptr<ProviderConnection> db;
    if (!ok(InitString::parse(env, init), "parse") || !ok(openOdbcProvider(init, db), "open") || !fillTable(*db))
        return 1;

    size_t providerTotal = 0, bareTotal = 0;
    double provider = bestSeconds([&] { return readThroughProvider(*db); }, providerTotal);
    OdbcLink bareLink;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &bareLink.env);
    SQLSetEnvAttr(bareLink.env, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, 0);
    SQLAllocHandle(SQL_HANDLE_DBC, bareLink.env, &bareLink.dbc);
    std::string connection = odbcConnectionString(init);
    bareLink.connected = SQL_SUCCEEDED(SQLDriverConnect(bareLink.dbc, nullptr, (SQLCHAR *)connection.c_str(), SQL_NTS,
                                                        nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT));
    if (!bareLink.connected)
        return 1;
    double bare = bestSeconds([&] { return readBare(bareLink.dbc); }, bareTotal);
    db->execute("DROP TABLE `OdbcBenchRead`");
    if (providerTotal != bareTotal) {
        std::fprintf(stderr, "the two loops read different data: %zu / %zu\n", providerTotal, bareTotal);
        return 1;
    }
    std::printf("rows: %d\nprovider: %.1f ms\nbare SQLFetch: %.1f ms\nratio "
                "provider/bare: %.2f\n",
                ROWS, provider * 1000, bare * 1000, provider / bare);
    return 0;
}
