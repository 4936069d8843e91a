// Reading 1,000,000 rows of four columns (two integers, two texts, one of
// them partly NULL) from a SQLite file through CCommand<CAccessor<T>>
// against a bare sqlite3_step loop over the same query. Prints the best of
// five runs of each and their ratio (target: the session layer within 1.3
// times the bare loop).

#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr int ROWS = 1000000;
const char *const SELECT_ROWS = "SELECT ID, Version, Name, Description FROM BenchRead ORDER BY ID";

struct RowAccessor {
    int32_t id = 0;
    int32_t version = 0;
    DBSTATUS versionStatus = DBSTATUS_S_OK;
    char name[51] = {};
    char description[256] = {};
    DBSTATUS descriptionStatus = DBSTATUS_S_OK;
    void bind(ColumnMap &map) {
        map.column(1, id);
        map.column(2, version, &versionStatus);
        map.column(3, name);
        map.column(4, description, &descriptionStatus);
    }
};

bool fill(const std::string &file) {
    sqlite3 *db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        return false;
    const char *setup = "CREATE TABLE BenchRead (ID INTEGER NOT NULL PRIMARY KEY, Version INTEGER, "
                        "Name VARCHAR(50) NOT NULL, Description VARCHAR(255));"
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
                        "INSERT INTO BenchRead SELECT i, CASE WHEN i % 7 = 0 THEN NULL ELSE i % 13 END, "
                        "'R' || i, CASE WHEN i % 10 = 0 THEN NULL ELSE 'Resistor 10k 0603 thick film ' || i END "
                        "FROM n;";
    bool ok = sqlite3_exec(db, setup, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Both loops copy what they read into buffers of the same widths and sum
// the lengths, so that neither can be skipped.
size_t readThroughSession(const std::string &file) {
    CDataSource dataSource;
    CSession session;
    if (FAILED(dataSource.OpenFromInitializationString("Provider=SQLite;Data Source=" + file)) ||
        FAILED(session.Open(dataSource)))
        return 0;
    CCommand<CAccessor<RowAccessor>> command;
    if (FAILED(command.Open(session, SELECT_ROWS)))
        return 0;
    size_t total = 0;
    for (HRESULT result = command.MoveFirst(); result == S_OK; result = command.MoveNext()) {
        total += static_cast<size_t>(command.id & 1) + static_cast<size_t>(command.version);
        total += std::strlen(command.name);
        if (command.descriptionStatus != DBSTATUS_S_ISNULL)
            total += std::strlen(command.description);
    }
    return total;
}

void copyText(sqlite3_stmt *stmt, int column, char *buffer, size_t size) {
    const unsigned char *text = sqlite3_column_text(stmt, column);
    size_t length = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
    if (length > size - 1)
        length = size - 1;
    std::memcpy(buffer, text ? reinterpret_cast<const char *>(text) : "", length);
    buffer[length] = '\0';
}

size_t readBare(const std::string &file) {
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, SELECT_ROWS, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return 0;
    }
    RowAccessor row;
    size_t total = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        row.id = sqlite3_column_int(stmt, 0);
        row.version = sqlite3_column_type(stmt, 1) == SQLITE_NULL ? 0 : sqlite3_column_int(stmt, 1);
        copyText(stmt, 2, row.name, sizeof row.name);
        bool descriptionNull = sqlite3_column_type(stmt, 3) == SQLITE_NULL;
        if (!descriptionNull)
            copyText(stmt, 3, row.description, sizeof row.description);
        total += static_cast<size_t>(row.id & 1) + static_cast<size_t>(row.version);
        total += std::strlen(row.name);
        if (!descriptionNull)
            total += std::strlen(row.description);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return total;
}

double bestOfFive(const std::function<size_t()> &run, size_t &result) {
    double best = 1e30;
    for (int i = 0; i < 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        result = run();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed.count() < best)
            best = elapsed.count();
    }
    return best;
}

} // namespace

int main() {
    char pattern[] = "/tmp/txdb-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::string file = std::string(pattern) + "/rows.db";
    if (!fill(file)) {
        std::fprintf(stderr, "bench_session_read: cannot build %s\n", file.c_str());
        return 1;
    }
    size_t viaSession = 0;
    size_t bare = 0;
    double bareTime = bestOfFive([&] { return readBare(file); }, bare);
    double sessionTime = bestOfFive([&] { return readThroughSession(file); }, viaSession);
    std::printf("bench_session_read: %d rows x 4 columns\n", ROWS);
    std::printf("  bare sqlite3_step loop     %8.3f s\n", bareTime);
    std::printf("  CCommand<CAccessor<T>>     %8.3f s\n", sessionTime);
    std::printf("  ratio session / bare       %8.2f (target <= 1.30)\n", sessionTime / bareTime);
    unlink(file.c_str());
    rmdir(pattern);
    if (viaSession != bare) {
        std::fprintf(stderr, "bench_session_read: the two loops read different data (%zu vs %zu)\n", viaSession, bare);
        return 1;
    }
    return 0;
}
