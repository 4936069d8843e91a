// Copying a library from one database into another.
//
// 1. The 10,000-part sample library, SQLite to an empty SQLite file, three ways:
//      copy:  the plug-in's library reader and writer;
//      bare:  a sqlite3 program that reads the same rows with the statements
//             the copy's readers and records run and inserts them with
//             prepared statements in one transaction;
//      floor: ATTACH and one INSERT INTO ... SELECT per table.
//    Target: the copy within 1.5 times the bare program.
// 2. The copy onto a target that already holds the library (every item found
//    and changed) at 1,000, 10,000 and 50,000 parts: seconds per part.
//    Target: the 50,000 figure within 1.5 times the 1,000 one.
// 3. With TXDB_MARIADB_INITSTRING: the 10,000 parts SQLite to MariaDB, rows
//    per second of the copy against a bare ODBC program that sends the same
//    rows as 1000-row INSERT statements. Target: within 1.5 times. The copy
//    also reads its source, so the sum of the bare sqlite3 copy of 1. and
//    the bare sender is printed beside it.
// Each figure is the best of three runs.

#include "bench/BareSqlite.h"
#include "bench/ServerReset.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/connection/OdbcSupport.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tools/samplelib/SampleLibrary.h"

#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

// Every table of the schema but Library_version, parents before children.
const std::vector<std::string> TABLES(CTraxDBSchema::tableNames().begin() + 1, CTraxDBSchema::tableNames().end());

std::string directory;
int fileCounter = 0;

std::string sqliteString(const std::string &file) {
    return "Provider=SQLite;Data Source=" + file;
}

// A new SQLite file with the schema, and `parts` sample parts when above 0.
std::string newDatabase(int parts) {
    const std::string file = directory + "/db" + std::to_string(++fileCounter) + ".db";
    const std::string init = sqliteString(file);
    CTraxDBPath path(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    CTraxDBSchema::createSchema(path);
    if (parts > 0) {
        SampleOptions options;
        options.parts = parts;
        options.hostileNames = false;
        writeSampleLibrary(path, options);
    }
    return file;
}

long totalRows(CTraxDBPath &path) {
    long rows = 0;
    for (const std::string &table : TABLES)
        rows += runCount(path, "SELECT Count(*) FROM [" + table + "];");
    return rows;
}

bool neverCancel() {
    return false;
}

// The plug-in's copy; returns its seconds.
double pluginCopy(const std::string &sourceInit, const std::string &targetInit) {
    std::string source = sourceInit, target = targetInit;
    pathHandle_t from = openPath(source.data());
    pathHandle_t to = openPath(target.data());
    const auto start = std::chrono::steady_clock::now();
    getLibraryWriter(to)->write(getLibraryReader(from, nullptr), neverCancel);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---- The bare copy -------------------------------------------------------------

class Inserts {
public:
    explicit Inserts(sqlite3 *db) : db(db) {}
    ~Inserts() {
        for (auto &statement : statements)
            sqlite3_finalize(statement.second);
    }
    // Inserts one row: the listed columns of `from`, then the extra integers.
    void row(const char *sql, sqlite3_stmt *from, std::initializer_list<int> columns,
             std::initializer_list<int> extra = {}) {
        sqlite3_stmt *&insert = statements[sql];
        if (!insert && sqlite3_prepare_v2(db, sql, -1, &insert, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        int at = 0;
        for (int column : columns)
            sqlite3_bind_value(insert, ++at, sqlite3_column_value(from, column));
        for (int value : extra)
            sqlite3_bind_int(insert, ++at, value);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }

private:
    sqlite3 *db;
    std::map<const char *, sqlite3_stmt *> statements;
};

void bareFolders(Bare &in, Inserts &out, int libraryId, int parentId) {
    std::vector<int> folders;
    auto take = [&](sqlite3_stmt *s) {
        out.row("INSERT INTO Hierarchy (Name, Parent_ID, ID, Library_ID) VALUES (?,?,?,?)", s, {0, 1, 2, 3});
        folders.push_back(Bare::number(s, 2));
    };
    if (parentId < 0) {
        in.run("SELECT Count(*) FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] IS NULL;", libraryId,
               [](sqlite3_stmt *) {});
        in.run("SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] "
               "IS NULL ORDER BY([Name]);",
               libraryId, take);
    } else {
        in.run("SELECT Count(*) FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] = ?;", {libraryId, parentId},
               [](sqlite3_stmt *) {});
        in.run("SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [Library_ID] = ? AND [Parent_ID] "
               "= ? ORDER BY([Name]);",
               {libraryId, parentId}, take);
    }
    for (int folder : folders)
        bareFolders(in, out, libraryId, folder);
}

void bareDefinition(Bare &in, Inserts &out, int definition, int &linkKey) {
    std::map<std::string, int> pinKeys;
    char pin[11];
    auto none = [](sqlite3_stmt *) {};
    in.read("SELECT Count(*) FROM [Pin_Data] WHERE [Part_def_ID] = ?;",
            "SELECT [Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],[Pin_position],[Equiv_group],"
            "[Part_def_ID],[ID] FROM [Pin_Data] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
            definition, [&](sqlite3_stmt *s) {
                out.row("INSERT INTO Pin_Data (Pin_identifier, Name, Label, Signal, Pin_type, Loading, Pin_position, "
                        "Equiv_group, Part_def_ID, ID) VALUES (?,?,?,?,?,?,?,?,?,?)",
                        s, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
                Bare::text(s, 0, pin, sizeof pin);
                pinKeys[pin] = Bare::number(s, 9);
            });
    std::vector<int> groups;
    in.read("SELECT Count(*) FROM [Pin_Equiv] WHERE [Part_def_ID] = ?;",
            "SELECT [ID],[Part_def_ID] FROM [Pin_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);", definition,
            [&](sqlite3_stmt *s) {
                out.row("INSERT INTO Pin_Equiv (ID, Part_def_ID) VALUES (?,?)", s, {0, 1});
                groups.push_back(Bare::number(s, 0));
            });
    for (int group : groups)
        in.read("SELECT Count(*) FROM [Pin_Data] WHERE [Equiv_group] = ?;",
                "SELECT [Pin_identifier],[Equiv_group] FROM [Pin_Data] WHERE [Equiv_group] = ?;", group, none);
    std::vector<int> gates;
    in.read("SELECT Count(*) FROM [Gate] WHERE [Part_def_ID] = ?",
            "SELECT [ID],[Name],[Alt_name],[Part_def_ID] FROM [Gate] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
            definition, [&](sqlite3_stmt *s) {
                out.row("INSERT INTO Gate (ID, Name, Alt_name, Part_def_ID) VALUES (?,?,?,?)", s, {0, 1, 2, 3});
                gates.push_back(Bare::number(s, 0));
            });
    for (int gate : gates)
        in.read("SELECT Count(*) FROM [Gate_has_Pin_Data] WHERE [Gate_ID] = ?",
                "SELECT [Pin_Data].[Pin_identifier] FROM [Gate_has_Pin_Data],[Pin_Data] WHERE "
                "[Gate_has_Pin_Data].[Pin_data_ID]=[Pin_Data].[ID] AND [Gate_has_Pin_Data].[Gate_ID] = ? "
                "ORDER BY([Gate_has_Pin_Data].[ID]);",
                gate, [&](sqlite3_stmt *s) {
                    Bare::text(s, 0, pin, sizeof pin);
                    out.row("INSERT INTO Gate_has_Pin_Data (ID, Gate_ID, Pin_data_ID) VALUES (?,?,?)", s, {},
                            {++linkKey, gate, pinKeys[pin]});
                });
    std::vector<int> swaps;
    in.read("SELECT Count(*) FROM [Gate_Equiv] WHERE [Part_def_ID] = ?;",
            "SELECT [ID],[Name],[Part_def_ID] FROM [Gate_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);", definition,
            [&](sqlite3_stmt *s) {
                out.row("INSERT INTO Gate_Equiv (ID, Name, Part_def_ID) VALUES (?,?,?)", s, {0, 1, 2});
                swaps.push_back(Bare::number(s, 0));
            });
    for (int swap : swaps) {
        std::vector<int> members;
        in.read("SELECT Count(*) FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ?;",
                "SELECT [ID],[Gate_equiv_ID],[Equiv_type] FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ? "
                "ORDER BY([ID]);",
                swap, [&](sqlite3_stmt *s) {
                    out.row("INSERT INTO Gate_Equiv_Gate (ID, Gate_equiv_ID, Equiv_type) VALUES (?,?,?)", s, {0, 1, 2});
                    members.push_back(Bare::number(s, 0));
                });
        for (int member : members)
            in.read("SELECT Count(*) FROM [Gate_Equiv_has_Pin_Data] WHERE [Gate_equiv_gate_ID] = ?;",
                    "SELECT [Pin_Data].[Pin_identifier] FROM [Gate_Equiv_has_Pin_Data],[Pin_Data] WHERE "
                    "[Gate_Equiv_has_Pin_Data].[Pin_data_ID]=[Pin_Data].[ID] AND "
                    "[Gate_Equiv_has_Pin_Data].[Gate_equiv_gate_ID] = ? ORDER BY([Gate_Equiv_has_Pin_Data].[ID]);",
                    member, [&](sqlite3_stmt *s) {
                        Bare::text(s, 0, pin, sizeof pin);
                        out.row("INSERT INTO Gate_Equiv_has_Pin_Data (ID, Gate_equiv_gate_ID, Pin_data_ID) VALUES "
                                "(?,?,?)",
                                s, {}, {++linkKey, member, pinKeys[pin]});
                    });
    }
    in.read("SELECT Count(*) FROM [Attributes] WHERE [Part_def_ID] = ?;",
            "SELECT [Name],[Attribute_value],[Usage_type],[Read_Only],[Part_def_ID] FROM [Attributes] WHERE "
            "[Part_def_ID] = ? ORDER BY([Name]);",
            definition, [&](sqlite3_stmt *s) {
                out.row("INSERT INTO Attributes (Name, Attribute_value, Usage_type, Read_Only, Part_def_ID) VALUES "
                        "(?,?,?,?,?)",
                        s, {0, 1, 2, 3, 4});
            });
}

double bareCopy(const std::string &sourceFile, const std::string &targetFile) {
    const auto start = std::chrono::steady_clock::now();
    Bare in(sourceFile);
    Bare target(targetFile, SQLITE_OPEN_READWRITE);
    sqlite3_exec(target.handle(), "PRAGMA foreign_keys=ON; BEGIN IMMEDIATE;", nullptr, nullptr, nullptr);
    {
        Inserts out(target.handle());
        std::vector<int> libraries;
        in.run("SELECT Count(*) FROM [Library];", std::initializer_list<int>{}, [](sqlite3_stmt *) {});
        in.run("SELECT [Name],[ID],[Enabled],[Comment] from [Library] ORDER BY([Name]);", std::initializer_list<int>{},
               [&](sqlite3_stmt *s) {
                   out.row("INSERT INTO Library (Name, ID, Enabled, Comment) VALUES (?,?,?,?)", s, {0, 1, 2, 3});
                   libraries.push_back(Bare::number(s, 1));
               });
        int linkKey = 0;
        for (int library : libraries) {
            bareFolders(in, out, library, -1);
            std::vector<int> definitions;
            in.read("SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = ?;",
                    "SELECT [Name],[PCB_component_name],[PCB_alternate_name],[Part_def_value],[Component_name_stem],"
                    "[PSpice_data],[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA],[Library_ID],[ID] "
                    "from [Part_Definition] WHERE [Library_ID] = ? ORDER BY([ID]);",
                    library, [&](sqlite3_stmt *s) {
                        out.row("INSERT INTO Part_Definition (Name, PCB_component_name, PCB_alternate_name, "
                                "Part_def_value, Component_name_stem, PSpice_data, Max_connector_pins, Gate_swapping, "
                                "Pin_num_name, Is_FPGA, Library_ID, ID) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                                s, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
                        definitions.push_back(Bare::number(s, 11));
                    });
            for (int definition : definitions)
                bareDefinition(in, out, definition, linkKey);
            in.read("SELECT Count(*) FROM [Parts] WHERE [Library_ID] = ?;",
                    "SELECT [Name],[Part_number],[Description],[PSpice_data],[Part_Acceptance],[Part_version],"
                    "[Library_ID],[Part_def_ID],[Hierarchy_ID],[ID],[Part_Type] FROM [Parts] WHERE [Library_ID] = ? "
                    "ORDER BY([Name]);",
                    library, [&](sqlite3_stmt *s) {
                        // The folder record each part hands out.
                        in.run("SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [ID] = ?",
                               Bare::number(s, 8), [](sqlite3_stmt *) {});
                        out.row("INSERT INTO Parts (Name, Part_number, Description, PSpice_data, Part_Acceptance, "
                                "Part_version, Library_ID, Part_def_ID, Hierarchy_ID, ID, Part_Type) VALUES "
                                "(?,?,?,?,?,?,?,?,?,?,?)",
                                s, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
                    });
        }
    }
    sqlite3_exec(target.handle(), "COMMIT;", nullptr, nullptr, nullptr);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double floorCopy(const std::string &sourceFile, const std::string &targetFile) {
    const auto start = std::chrono::steady_clock::now();
    Bare target(targetFile, SQLITE_OPEN_READWRITE);
    std::string sql = "ATTACH '" + sourceFile + "' AS src; BEGIN;";
    for (const std::string &table : TABLES)
        sql += "INSERT INTO main.[" + table + "] SELECT * FROM src.[" + table + "];";
    sql += "COMMIT;";
    if (sqlite3_exec(target.handle(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(target.handle()));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of three runs, each into a target made anew by `prepare`.
template <class Prepare, class Run> double bestOfThree(Prepare prepare, Run run) {
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        auto target = prepare();
        best = std::min(best, run(target));
    }
    return best;
}

// ---- The bare ODBC sender ----------------------------------------------------

// The rows of every table of the SQLite file as 1000-row INSERT statements.
std::vector<std::string> insertStatements(const std::string &file) {
    std::vector<std::string> statements;
    Bare in(file);
    for (const std::string &table : TABLES) {
        int rows = 0;
        std::string statement;
        in.run(("SELECT * FROM [" + table + "];").c_str(), std::initializer_list<int>{}, [&](sqlite3_stmt *s) {
            statement += rows++ % 1000 == 0
                             ? (statement.empty() ? "" : ";\n") + std::string("INSERT INTO `") + table + "` VALUES "
                             : ",";
            statement += "(";
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                statement += c ? "," : "";
                if (sqlite3_column_type(s, c) == SQLITE_NULL) {
                    statement += "NULL";
                } else if (sqlite3_column_type(s, c) == SQLITE_INTEGER) {
                    statement += std::to_string(sqlite3_column_int(s, c));
                } else {
                    statement += "'";
                    for (const unsigned char *t = sqlite3_column_text(s, c); *t; ++t)
                        statement += *t == '\'' ? std::string("''") : std::string(1, static_cast<char>(*t));
                    statement += "'";
                }
            }
            statement += ")";
        });
        size_t from = 0;
        for (size_t at; (at = statement.find(";\n", from)) != std::string::npos; from = at + 2)
            statements.push_back(statement.substr(from, at - from));
        if (from < statement.size())
            statements.push_back(statement.substr(from));
    }
    return statements;
}

double bareOdbc(const InitString &init, const std::vector<std::string> &statements) {
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    const std::string connection = odbcConnectionString(init);
    if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, (SQLCHAR *)connection.c_str(), SQL_NTS, nullptr, 0, nullptr,
                                        SQL_DRIVER_NOPROMPT)))
        throw std::runtime_error("cannot connect the bare ODBC program");
    SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, (SQLPOINTER)SQL_AUTOCOMMIT_OFF, 0);
    SQLHSTMT stmt = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    SQLExecDirect(stmt, (SQLCHAR *)"SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES')", SQL_NTS);
    const auto start = std::chrono::steady_clock::now();
    for (const std::string &sql : statements)
        if (!SQL_SUCCEEDED(SQLExecDirect(stmt, (SQLCHAR *)sql.c_str(), SQL_NTS)))
            throw std::runtime_error("the bare ODBC program's INSERT failed");
    SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return seconds;
}

int runBenchmark() {
    std::printf("1. The 10,000-part sample library, SQLite to an empty SQLite file\n");
    const std::string source = newDatabase(10000);
    long rows = 0;
    {
        CTraxDBPath path(sqliteString(source).c_str());
        rows = totalRows(path);
    }
    const double copy =
        bestOfThree([] { return newDatabase(0); },
                    [&](const std::string &target) { return pluginCopy(sqliteString(source), sqliteString(target)); });
    std::string checked = newDatabase(0);
    const double bare = bestOfThree([] { return newDatabase(0); },
                                    [&](const std::string &target) { return bareCopy(source, checked = target); });
    const double floor = bestOfThree([] { return newDatabase(0); },
                                     [&](const std::string &target) { return floorCopy(source, target); });
    {
        CTraxDBPath path(sqliteString(checked).c_str());
        if (totalRows(path) != rows)
            throw std::runtime_error("the bare copy wrote " + std::to_string(totalRows(path)) + " rows, not " +
                                     std::to_string(rows));
    }
    std::printf("   %ld rows\n", rows);
    std::printf("   plug-in copy                          %8.3f s\n", copy);
    std::printf("   bare sqlite3 copy, same statements    %8.3f s\n", bare);
    std::printf("   floor: ATTACH, INSERT ... SELECT      %8.3f s\n", floor);
    std::printf("   ratio copy / bare                     %8.2f (target <= 1.50)\n", copy / bare);
    std::printf("   ratio copy / floor                    %8.2f\n", copy / floor);

    std::printf("2. The copy onto a target that holds the library already (every item changed in place)\n");
    double perPart[3] = {};
    const int sizes[] = {1000, 10000, 50000};
    for (int s = 0; s < 3; ++s) {
        const std::string from = newDatabase(sizes[s]);
        const std::string target = newDatabase(0);
        pluginCopy(sqliteString(from), sqliteString(target));
        double best = 1e30;
        for (int i = 0; i < 3; ++i)
            best = std::min(best, pluginCopy(sqliteString(from), sqliteString(target)));
        perPart[s] = best / sizes[s];
        std::printf("   %6d parts %8.3f s  %8.1f us per part\n", sizes[s], best, perPart[s] * 1e6);
    }
    std::printf("   ratio 50,000 / 1,000 per part         %8.2f (target <= 1.50)\n", perPart[2] / perPart[0]);

    const char *server = std::getenv("TXDB_MARIADB_INITSTRING");
    if (!server || !*server) {
        std::printf("3. SQLite to MariaDB: skipped, TXDB_MARIADB_INITSTRING is not set\n");
        return 0;
    }
    std::printf("3. The 10,000-part sample library, SQLite to MariaDB\n");
    InitString init;
    if (FAILED(InitString::parse(server, init)))
        throw std::runtime_error("cannot parse TXDB_MARIADB_INITSTRING");
    const std::vector<std::string> statements = insertStatements(source);
    const double serverCopy = bestOfThree([&] { return resetServer(server), 0; },
                                          [&](int) { return pluginCopy(sqliteString(source), server); });
    const double serverBare =
        bestOfThree([&] { return resetServer(server), 0; }, [&](int) { return bareOdbc(init, statements); });
    std::printf("   plug-in copy                          %8.0f rows/s (%.3f s)\n", rows / serverCopy, serverCopy);
    std::printf("   bare ODBC, 1000-row INSERTs           %8.0f rows/s (%.3f s)\n", rows / serverBare, serverBare);
    std::printf("   ratio copy / bare (time)              %8.2f (target <= 1.50)\n", serverCopy / serverBare);
    // The copy reads its source as well; the bare sender does not.
    std::printf("   bare sqlite3 copy (1.) + bare ODBC    %8.3f s\n", bare + serverBare);
    std::printf("   ratio copy / (bare read + bare send)  %8.2f\n", serverCopy / (bare + serverBare));
    resetServer(server);
    return 0;
}

} // namespace

int main() {
    char pattern[] = "/tmp/txdb-bench-copy-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    directory = pattern;
    int status = 1;
    try {
        status = runBenchmark();
    } catch (Exception *e) {
        std::fprintf(stderr, "bench_copy: %s\n", e->getMessage().c_str());
        delete e;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_copy: %s\n", e.what());
    }
    std::filesystem::remove_all(pattern);
    return status;
}
