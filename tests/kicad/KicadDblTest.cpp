// partlib kicad-dbl on KiCad's own symbol libraries: the .kicad_dbl file,
// and the views read back as KiCad reads them, through unixODBC with the
// file's own connection (SQLite through Debian's libsqliteodbc).

#include "tests/kicad/KicadTestFiles.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// A connection through unixODBC; empty rows when it cannot connect.
class OdbcConnection {
public:
    explicit OdbcConnection(const std::string &connectionString) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
        SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
        connected = SQL_SUCCEEDED(SQLDriverConnect(connection, nullptr, (SQLCHAR *)connectionString.c_str(), SQL_NTS,
                                                   nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT));
    }
    ~OdbcConnection() {
        if (connected)
            SQLDisconnect(connection);
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        SQLFreeHandle(SQL_HANDLE_ENV, environment);
    }
    bool ok() const { return connected; }

    // Every row of the query, each column as text ("<NULL>" for NULL).
    std::vector<std::vector<std::string>> rows(const std::string &sql) {
        std::vector<std::vector<std::string>> out;
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
        EXPECT_TRUE(SQL_SUCCEEDED(SQLExecDirect(statement, (SQLCHAR *)sql.c_str(), SQL_NTS))) << sql;
        SQLSMALLINT columns = 0;
        SQLNumResultCols(statement, &columns);
        while (SQL_SUCCEEDED(SQLFetch(statement))) {
            std::vector<std::string> row;
            for (SQLUSMALLINT i = 1; i <= columns; ++i) {
                char buffer[4096];
                SQLLEN length = 0;
                SQLGetData(statement, i, SQL_C_CHAR, buffer, sizeof buffer, &length);
                row.push_back(length == SQL_NULL_DATA ? "<NULL>" : std::string(buffer));
            }
            out.push_back(row);
        }
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        return out;
    }

    // Each column of the table with the SQL type the driver gives it.
    std::map<std::string, int> columnTypes(const std::string &table) {
        std::map<std::string, int> types;
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
        SQLColumns(statement, nullptr, 0, nullptr, 0, (SQLCHAR *)table.c_str(), SQL_NTS, nullptr, 0);
        while (SQL_SUCCEEDED(SQLFetch(statement))) {
            char name[256] = "";
            SQLSMALLINT type = 0;
            SQLLEN length = 0;
            SQLGetData(statement, 4, SQL_C_CHAR, name, sizeof name, &length);
            SQLGetData(statement, 5, SQL_C_SSHORT, &type, 0, &length);
            types[name] = type;
        }
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        return types;
    }

private:
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    bool connected = false;
};

void sql(const std::string &file, const std::string &statements) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST(KicadDbl, KiCadFindsEveryPartsSymbolThroughTheViews) {
    KICAD_REQUIRE_PACKAGE();
    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    ProgramRun imported = runPartlib({"import-kicad", database, kicadtest::path("74xx"), kicadtest::path("Device")});
    ASSERT_EQ(imported.status, 0) << imported.all();
    const std::string file = txdbtest::tempFile(".kicad_dbl");
    ProgramRun made = runPartlib({"kicad-dbl", database, "-o", file});
    ASSERT_EQ(made.status, 0) << made.all();

    const nlohmann::json dbl = nlohmann::json::parse(txdbtest::readFile(file));
    EXPECT_EQ(dbl["meta"]["version"], 0);
    EXPECT_EQ(dbl["source"]["type"], "odbc");
    EXPECT_EQ(dbl["source"]["password"], "");
    ASSERT_EQ(dbl["libraries"].size(), 2u);
    OdbcConnection odbc(dbl["source"]["connection_string"].get<std::string>());
    if (!odbc.ok())
        GTEST_SKIP() << "no SQLite3 ODBC driver (Debian's libsqliteodbc)";

    for (const auto &library : dbl["libraries"]) {
        const std::string name = library["name"], table = library["table"];
        EXPECT_EQ(library["key"], "Part");
        const std::string symbols = txdbtest::readFile(kicadtest::path(name));
        ProgramRun parts = runPartlib({"parts", database, name, "--format", "csv"});
        const long stored = std::count(parts.output.begin(), parts.output.end(), '\n') - 1;

        std::set<std::string> keys;
        for (const auto &row : odbc.rows("SELECT Part, Symbol FROM " + table)) {
            EXPECT_TRUE(keys.insert(row[0]).second) << "repeated key " << row[0];
            ASSERT_EQ(row[1].rfind(name + ":", 0), 0u) << row[0] << ": " << row[1];
            const std::string symbol = row[1].substr(name.size() + 1);
            EXPECT_NE(symbols.find("(symbol \"" + symbol + "\""), std::string::npos) << row[1];
        }
        EXPECT_EQ(long(keys.size()), stored) << name;
        EXPECT_GT(stored, 100) << name;

        // Every column the file names is text of a fixed width.
        const std::map<std::string, int> types = odbc.columnTypes(table);
        for (const std::string column : {"Part", "Symbol", "Footprint", "Value", "Description"}) {
            ASSERT_TRUE(types.count(column)) << table << "." << column;
            EXPECT_TRUE(types.at(column) == SQL_VARCHAR || types.at(column) == SQL_WVARCHAR)
                << table << "." << column << " is of type " << types.at(column);
        }
    }
}

TEST(KicadDbl, TheViewsFollowTheLibraryAndHostileNamesStayNames) {
    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    sql(database, "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'L''; DROP TABLE Parts; --', 1);"
                  "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F');"
                  "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, "
                  "Gate_swapping, Pin_num_name, Is_FPGA) VALUES (1, 1, 'D', 'C', 1, 0, 0, 0);"
                  "INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, Usage_type) VALUES "
                  "(1, 'KiCad symbol', 'Device:R', 0), (1, 'Tol'']erance', '1%', 0);"
                  "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES "
                  "(1, 1, 1, 1, 'P', 1);");
    const std::string file = txdbtest::tempFile(".kicad_dbl");
    ProgramRun made = runPartlib({"kicad-dbl", database, "-o", file});
    ASSERT_EQ(made.status, 0) << made.all();
    nlohmann::json dbl = nlohmann::json::parse(txdbtest::readFile(file));
    const std::string table = dbl["libraries"][0]["table"];
    EXPECT_EQ(table.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"),
              std::string::npos)
        << table;

    OdbcConnection odbc(dbl["source"]["connection_string"].get<std::string>());
    if (!odbc.ok())
        GTEST_SKIP() << "no SQLite3 ODBC driver (Debian's libsqliteodbc)";
    EXPECT_EQ(odbc.rows("SELECT Part, Symbol, Tol__erance FROM " + table),
              (std::vector<std::vector<std::string>>{{"P", "Device:R", "1%"}}));

    // Renamed, and a new attribute: after the next run the view has both.
    sql(database, "UPDATE Parts SET Name = 'P2';"
                  "INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, Usage_type) VALUES "
                  "(1, 'Maker', 'Acme', 0);");
    ASSERT_EQ(runPartlib({"kicad-dbl", database, "-o", file}).status, 0);
    EXPECT_EQ(odbc.rows("SELECT Part, Maker FROM " + table), (std::vector<std::vector<std::string>>{{"P2", "Acme"}}));
    EXPECT_EQ(odbc.rows("SELECT COUNT(*) FROM Parts"), (std::vector<std::vector<std::string>>{{"1"}}));
}

TEST(KicadDbl, WrongUseIsRefusedWithAMessage) {
    const std::string database = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    ProgramRun empty = runPartlib({"kicad-dbl", database, "-o", txdbtest::tempFile(".kicad_dbl")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.errors.find("holds no library"), std::string::npos) << empty.errors;

    ProgramRun noFile = runPartlib({"kicad-dbl", database});
    EXPECT_NE(noFile.status, 0);

    ProgramRun itself = runPartlib({"kicad-dbl", database, "-o", database});
    EXPECT_EQ(itself.status, 1);
    EXPECT_NE(itself.errors.find("it is the database being read"), std::string::npos) << itself.errors;
}

} // namespace
