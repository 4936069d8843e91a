// The equality find of the writers' rowsets: a table of 1,000, 10,000 and
// 100,000 rows, each opened as an updatable rowset ordered by name, and as
// many finds by name as the table has rows, half of them names that are
// there and half names that are not. Prints the time per find for each
// size and the ratio of the largest to the smallest (target: within 2).

#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

struct NameAccessor {
    char name[51] = {};
    int32_t id = 0;
    void bind(ColumnMap &map) {
        map.column(1, name);
        map.column(2, id);
    }
};

bool fill(const std::string &file, int rows) {
    sqlite3 *db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        return false;
    const std::string setup = "CREATE TABLE Named (ID INTEGER NOT NULL PRIMARY KEY, Name VARCHAR(50) NOT NULL);"
                              "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                              std::to_string(rows) + ") INSERT INTO Named SELECT i, 'PART-' || (i * 2) FROM n;";
    bool ok = sqlite3_exec(db, setup.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Seconds per find: as many finds as rows, even numbers (there) and odd
// numbers (not there) in turn, spread over the whole range.
double timeFinds(const std::string &file, int rows, int &hits) {
    CDataSource dataSource;
    CSession session;
    if (FAILED(dataSource.OpenFromInitializationString("Provider=SQLite;Data Source=" + file)) ||
        FAILED(session.Open(dataSource)))
        return -1;
    CDBPropSet properties;
    properties.AddProperty(DBPROP_IRowsetChange, true);
    properties.AddProperty(DBPROP_IRowsetUpdate, true);
    CCommand<CAccessor<NameAccessor>> rowset;
    if (FAILED(rowset.Open(session, "SELECT Name, ID FROM Named ORDER BY Name", &properties)))
        return -1;
    hits = 0;
    const auto start = std::chrono::steady_clock::now();
    // The first find reads the rowset into memory; it is part of the cost.
    for (int i = 0; i < rows; ++i) {
        const long number = (static_cast<long>(i) * 7919 % rows) * 2 + 2 + (i % 2);
        std::snprintf(rowset.name, sizeof rowset.name, "PART-%ld", number);
        if (rowset.FindFirstRow(1) == S_OK)
            ++hits;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / rows;
}

} // namespace

int main() {
    char directory[] = "/tmp/bench-find-XXXXXX";
    if (!mkdtemp(directory)) {
        std::perror("mkdtemp");
        return 1;
    }
    const int sizes[] = {1000, 10000, 100000};
    double perFind[3] = {};
    std::printf("%10s %14s %8s\n", "rows", "us per find", "hits");
    for (int s = 0; s < 3; ++s) {
        const std::string file = std::string(directory) + "/find" + std::to_string(sizes[s]) + ".db";
        if (!fill(file, sizes[s])) {
            std::fprintf(stderr, "cannot fill %s\n", file.c_str());
            return 1;
        }
        double best = 1e9;
        int hits = 0;
        for (int run = 0; run < 3; ++run)
            best = std::min(best, timeFinds(file, sizes[s], hits));
        if (best < 0) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        perFind[s] = best;
        std::printf("%10d %14.3f %8d\n", sizes[s], best * 1e6, hits);
        unlink(file.c_str());
    }
    rmdir(directory);
    std::printf("ratio 100,000 / 1,000 rows: %.2f (target: at most 2)\n", perFind[2] / perFind[0]);
    return 0;
}
