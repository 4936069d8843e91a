// Copying a library onto a target that already holds it (a re-sync),
// against the first copy into an empty target.
//
// The source is the KiCad collection (every library of Debian's
// kicad-symbols, imported with import-kicad). Each target in turn: a SQLite
// file, and the MariaDB and PostgreSQL databases of TXDB_MARIADB_INITSTRING
// and TXDB_POSTGRES_INITSTRING when they are set. Each step runs the built
// partlib program once:
//   first:      partlib copy SRC TARGET into an empty target;
//   unchanged:  the same copy again;
//   1% changed: the copy of a source in which 1% of the definitions changed
//               (in turn a pin renamed, a gate removed, an attribute changed);
//   import:     partlib import TARGET FILE of the unchanged source's export,
//               which takes those changes back;
//   floor:      (SQLite) ATTACH and one INSERT ... SELECT per table into an
//               empty file; (servers) the rows of the two largest tables
//               inserted again inside the server from temporary copies, with
//               the schema's indexes and foreign-key checks, rolled back.
// Targets: unchanged at most 0.5 times the first copy on SQLite and 1 time
// on the servers; 1% changed at most 1.2 times unchanged; the first copy on
// a server within 1.5 times the SQLite one.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/CTraxDBTransaction.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string directory;
std::string partlib;

std::string quoted(const std::string &text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Seconds of one shell command; a failure ends the benchmark.
double timed(const std::string &command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system((command + " > /dev/null 2>" + directory + "/last.err").c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::system(("cat " + directory + "/last.err >&2").c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void sql(sqlite3 *db, const std::string &text) {
    char *error = nullptr;
    if (sqlite3_exec(db, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", text.c_str(), error ? error : "");
        std::exit(1);
    }
}

// Changes 1% of the definitions of a SQLite library file: of every 100th
// definition in turn the first pin renamed, the last gate removed, the
// first attribute's value changed.
void changeOnePercent(const std::string &file) {
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    std::vector<int> ids;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT ID FROM Part_Definition ORDER BY ID;", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int(stmt, 0));
    sqlite3_finalize(stmt);
    sql(db, "BEGIN;");
    for (size_t i = 0; i < ids.size(); i += 100) {
        const std::string id = std::to_string(ids[i]);
        switch ((i / 100) % 3) {
        case 0:
            sql(db, "UPDATE Pin_Data SET Pin_identifier = 'zz' || (ID % 100000) WHERE ID = (SELECT MIN(ID) FROM "
                    "Pin_Data WHERE Part_def_ID = " +
                        id + ");");
            break;
        case 1:
            sql(db,
                "DELETE FROM Gate_has_Pin_Data WHERE Gate_ID = (SELECT MAX(ID) FROM Gate WHERE Part_def_ID = " + id +
                    "); DELETE FROM Gate WHERE ID = (SELECT MAX(ID) FROM Gate WHERE Part_def_ID = " + id + ");");
            break;
        default:
            sql(db, "UPDATE Attributes SET Attribute_value = 'changed' WHERE Part_def_ID = " + id +
                        " AND Name = (SELECT MIN(Name) FROM Attributes WHERE Part_def_ID = " + id + ");");
        }
    }
    sql(db, "COMMIT;");
    sqlite3_close(db);
}

// ATTACH and one INSERT ... SELECT per table into an empty file.
double floorCopy(const std::string &source) {
    const std::string target = directory + "/floor.db";
    {
        CTraxDBPath path(("Provider=SQLite;Data Source=" + target).c_str(), CTraxDBPath::SchemaCheck::Skip);
        CTraxDBSchema::createSchema(path);
    }
    const auto start = std::chrono::steady_clock::now();
    sqlite3 *db = nullptr;
    sqlite3_open(target.c_str(), &db);
    sql(db, "ATTACH " + quoted(source) + " AS src; BEGIN;");
    const std::vector<std::string> &tables = CTraxDBSchema::tableNames();
    for (size_t i = 1; i < tables.size(); ++i)
        sql(db, "INSERT INTO main.[" + tables[i] + "] SELECT * FROM src.[" + tables[i] + "];");
    sql(db, "COMMIT;");
    sqlite3_close(db);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The server's own floor for the two largest tables of the collection,
// which the copies left in it: their rows inserted again from temporary
// copies by INSERT ... SELECT, inside the server, with every index and
// foreign-key check of the schema; rolled back.
double serverFloor(const std::string &init) {
    CTraxDBPath path(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    const char *const tables[][2] = {{"Pin_Data", "FloorPins"}, {"Gate_has_Pin_Data", "FloorGatePins"}};
    for (const auto &table : tables)
        path.execute(std::string("CREATE TEMPORARY TABLE [") + table[1] + "] AS SELECT * FROM [" + table[0] + "];");
    CTraxDBTransaction transaction(path, CTraxDBTransaction::Kind::Write);
    for (const char *table : {"Gate_Equiv_has_Pin_Data", "Gate_has_Pin_Data", "Pin_Data"})
        path.execute(std::string("DELETE FROM [") + table + "];");
    const auto start = std::chrono::steady_clock::now();
    for (const auto &table : tables)
        path.execute(std::string("INSERT INTO [") + table[0] + "] SELECT * FROM [" + table[1] + "];");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    transaction.abort();
    return seconds;
}

// An empty database with the schema: a new SQLite file, or a server's
// tables dropped (children first) and created again.
std::string emptyTarget(const std::string &engine, const std::string &init) {
    if (init.empty()) {
        const std::string file = directory + "/target.db";
        std::filesystem::remove(file);
        CTraxDBPath path(("Provider=SQLite;Data Source=" + file).c_str(), CTraxDBPath::SchemaCheck::Skip);
        CTraxDBSchema::createSchema(path);
        return file;
    }
    CTraxDBPath path(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    const std::vector<std::string> present = CTraxDBSchema::presentTables(path.getSession());
    const std::vector<std::string> &tables = CTraxDBSchema::tableNames();
    for (auto table = tables.rbegin(); table != tables.rend(); ++table)
        for (const std::string &name : present)
            if (strcasecmp(name.c_str(), table->c_str()) == 0)
                path.execute("DROP TABLE [" + name + "];");
    CTraxDBSchema::createSchema(path);
    (void)engine;
    return init;
}

struct Figures {
    std::string engine;
    double first = 0, unchanged = 0, changed = 0, import = 0;
};

Figures syncOnto(const std::string &engine, const std::string &init, const std::string &source,
                 const std::string &changedSource, const std::string &file) {
    Figures f;
    f.engine = engine;
    const std::string target = quoted(emptyTarget(engine, init));
    f.first = timed(partlib + " copy " + quoted(source) + " " + target + " --yes");
    f.unchanged = timed(partlib + " copy " + quoted(source) + " " + target + " --yes");
    f.changed = timed(partlib + " copy " + quoted(changedSource) + " " + target + " --yes");
    f.import = timed(partlib + " import " + target + " " + quoted(file) + " --yes");
    return f;
}

} // namespace

int main() {
    const std::string symbols = "/usr/share/kicad/symbols";
    if (!std::filesystem::is_directory(symbols)) {
        std::printf("bench_sync: %s is not installed (kicad-symbols), nothing measured\n", symbols.c_str());
        return 0;
    }
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    partlib = (std::filesystem::path(self).parent_path() / "partlib").string();
    char pattern[] = "/tmp/bench_sync-XXXXXX";
    directory = ::mkdtemp(pattern);

    const std::string source = directory + "/kall.db", changed = directory + "/kall-changed.db";
    const std::string file = directory + "/kall.json";
    timed(partlib + " import-kicad " + quoted(source) + " " + symbols + "/*.kicad_sym --yes");
    std::filesystem::copy_file(source, changed);
    changeOnePercent(changed);
    timed(partlib + " export " + quoted(source) + " -o " + quoted(file));

    std::vector<Figures> all;
    std::vector<std::pair<std::string, double>> serverFloors;
    all.push_back(syncOnto("SQLite", "", source, changed, file));
    const double floor = floorCopy(source);
    for (const auto &[engine, variable] : {std::pair<const char *, const char *>{"MariaDB", "TXDB_MARIADB_INITSTRING"},
                                           {"PostgreSQL", "TXDB_POSTGRES_INITSTRING"}})
        if (const char *init = std::getenv(variable); init && *init) {
            all.push_back(syncOnto(engine, init, source, changed, file));
            serverFloors.emplace_back(engine, serverFloor(init));
        }

    std::printf("KiCad collection, %.1f MB source; seconds, and ratios to the first copy / to unchanged\n",
                std::filesystem::file_size(source) / 1e6);
    std::printf("%-11s %9s %9s %9s %9s   %-12s %-12s %-12s\n", "target", "first", "unchanged", "1% changed", "import",
                "unch/first", "1%/unch", "first/SQLite");
    bool met = true;
    for (const Figures &f : all) {
        const bool server = f.engine != "SQLite";
        const double unchangedRatio = f.unchanged / f.first, changedRatio = f.changed / f.unchanged;
        const double firstRatio = f.first / all.front().first;
        std::printf("%-11s %9.2f %9.2f %9.2f %9.2f   %5.2f (%.1f)   %5.2f (1.2)   %5.2f (%s)\n", f.engine.c_str(),
                    f.first, f.unchanged, f.changed, f.import, unchangedRatio, server ? 1.0 : 0.5, changedRatio,
                    firstRatio, server ? "1.5" : "-");
        met = met && unchangedRatio <= (server ? 1.0 : 0.5) && changedRatio <= 1.2 && (!server || firstRatio <= 1.5);
    }
    std::printf("floor (SQLite, ATTACH + INSERT ... SELECT): %.2f s; first copy %.1f times it\n", floor,
                all.front().first / floor);
    for (const auto &[engine, seconds] : serverFloors)
        std::printf("floor (%s, INSERT ... SELECT of Pin_Data and Gate_has_Pin_Data in the server): %.2f s, %.2f times "
                    "the SQLite first copy\n",
                    engine.c_str(), seconds, seconds / all.front().first);
    std::filesystem::remove_all(directory);
    return met ? 0 : 2;
}
