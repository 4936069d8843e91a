#pragma once

// A bare sqlite3 reader for the benchmarks that hold the plug-in against
// the engine itself: each statement prepared, stepped and finalized, the
// columns copied into buffers of the accessors' widths.

#include <sqlite3.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>

class Bare {
public:
    explicit Bare(const std::string &file, int flags = SQLITE_OPEN_READONLY) {
        sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    }
    ~Bare() { sqlite3_close(db); }

    // Runs the count and then the query, both with `param`; `row` sees
    // each row of the query.
    void read(const char *countSql, const char *sql, int param, const std::function<void(sqlite3_stmt *)> &row) {
        run(countSql, param, [this](sqlite3_stmt *stmt) { counted += sqlite3_column_int(stmt, 0); });
        run(sql, param, row);
    }

    // A text column copied as an accessor field of `size` bytes.
    static bool text(sqlite3_stmt *stmt, int column, char *buffer, size_t size) {
        if (sqlite3_column_type(stmt, column) == SQLITE_NULL) {
            buffer[0] = '\0';
            return true;
        }
        const unsigned char *value = sqlite3_column_text(stmt, column);
        size_t length = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
        if (length > size - 1)
            length = size - 1;
        std::memcpy(buffer, value, length);
        buffer[length] = '\0';
        return false;
    }
    static int number(sqlite3_stmt *stmt, int column) {
        return sqlite3_column_type(stmt, column) == SQLITE_NULL ? 0 : sqlite3_column_int(stmt, column);
    }

    long counted = 0;

    sqlite3 *handle() { return db; }

    template <class F> void run(const char *sql, int param, F row) { run(sql, {param}, row); }
    // The same with any number of integer parameters, bound in order.
    template <class F> void run(const char *sql, std::initializer_list<int> params, F row) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        int at = 0;
        for (int param : params)
            sqlite3_bind_int(stmt, ++at, param);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            row(stmt);
        sqlite3_finalize(stmt);
    }

private:
    sqlite3 *db = nullptr;
};

