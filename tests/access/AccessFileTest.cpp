// Access part libraries (.mdb, .accdb) read through the Access provider, run
// as the built partlib on the sample library's Access fixtures: what they
// read, what copies of them hold, and the writes and files that are refused.

#include "ctraxdbpartlib/connection/CDataSource.h"
#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using txdbtest::ProgramRun;
using txdbtest::readFile;
using txdbtest::runPartlib;

const char *const REFUSAL = "is only read, never written: copy the library into a SQLite file or a server database";

std::string fixture(const std::string &name) {
    const char *folder = std::getenv("TXDB_ACCESS_FIXTURES");
    return (folder ? std::string(folder) : std::string(TXDB_SOURCE_DIR) + "/../shared/fixtures/access") + "/" + name;
}

// A writable copy of a fixture in the test's temporary directory.
std::string copyOf(const std::string &name, const std::string &suffix) {
    const std::string copy = txdbtest::tempFile(suffix);
    std::filesystem::copy_file(fixture(name), copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    return copy;
}

void writeFile(const std::string &path, const std::string &bytes) {
    FILE *out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

// The Access file with the names of the given tables changed in its catalog
// (the names are kept as UTF-16 there): a file without those tables.
std::string withTablesRenamed(const std::vector<std::string> &tables) {
    std::string bytes = readFile(fixture("demo-1.2.mdb"));
    for (const std::string &table : tables) {
        std::string from, to;
        for (size_t i = 0; i < table.size(); ++i) {
            from += std::string{table[i], '\0'};
            to += std::string{i == 0 ? 'Q' : table[i], '\0'};
        }
        for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1))
            bytes.replace(at, to.size(), to);
    }
    const std::string file = txdbtest::tempFile(".mdb");
    writeFile(file, bytes);
    return file;
}

std::string exported(const std::string &database) {
    ProgramRun run = runPartlib({"export", database});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    return run.output;
}

// demo.db brought back to an old schema version, with the same rows, as a
// SQLite file that partlib upgrade then takes to 1.2.
std::string sqliteAtVersion(int minor) {
    const std::string file = copyOf("demo.db", ".db");
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    std::string sql = "ALTER TABLE Pin_Data RENAME COLUMN Pin_identifier TO Pin_number;";
    if (minor < 1)
        sql += "ALTER TABLE Parts DROP COLUMN Part_Type;";
    sql += "UPDATE Library_version SET Minor=" + std::to_string(minor) + ";";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    ProgramRun upgraded = runPartlib({"upgrade", file, "--yes"});
    EXPECT_EQ(upgraded.status, 0) << upgraded.all();
    return file;
}

// Table by table, the rows one side has and the other lacks.
void expectSameTables(const txdbtest::NaturalTables &actual, const txdbtest::NaturalTables &expected) {
    EXPECT_EQ(actual.size(), expected.size());
    for (const auto &[table, rows] : expected) {
        const auto found = actual.find(table);
        ASSERT_NE(found, actual.end()) << table;
        std::vector<std::string> missing, extra;
        std::set_difference(rows.begin(), rows.end(), found->second.begin(), found->second.end(),
                            std::back_inserter(missing));
        std::set_difference(found->second.begin(), found->second.end(), rows.begin(), rows.end(),
                            std::back_inserter(extra));
        EXPECT_TRUE(missing.empty() && extra.empty())
            << table << ": " << missing.size() << " rows missing, first " << (missing.empty() ? "" : missing[0]) << "; "
            << extra.size() << " rows more, first " << (extra.empty() ? "" : extra[0]);
    }
}

TEST(AccessFile, EveryFormatExportsTheBytesOfTheSQLiteLibrary) {
    const std::string expected = exported(fixture("demo.db"));
    ASSERT_NE(expected.find("\"Demo\""), std::string::npos);
    EXPECT_EQ(exported(fixture("demo-1.2.mdb")), expected);
    EXPECT_EQ(exported(fixture("demo-1.2.accdb")), expected);
    // The Jet provider's initialisation string as a host writes it.
    EXPECT_EQ(exported("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + fixture("demo-1.2.mdb")), expected);
}

TEST(AccessFile, TheReadCommandsPrintWhatTheyPrintForTheSQLiteLibrary) {
    const std::vector<std::vector<std::string>> commands{
        {"libraries"}, {"tree", "Demo"}, {"parts", "Demo"}, {"show", "Demo", "Demo-R1-10k-R0603"}, {"report", "Demo"}};
    for (const auto &command : commands) {
        SCOPED_TRACE(command[0]);
        auto run = [&](const std::string &database) {
            std::vector<std::string> arguments{command[0], database};
            arguments.insert(arguments.end(), command.begin() + 1, command.end());
            return runPartlib(arguments);
        };
        const ProgramRun expected = run(fixture("demo.db"));
        ASSERT_EQ(expected.status, 0) << expected.all();
        ASSERT_NE(expected.output, "");
        for (const char *file : {"demo-1.2.mdb", "demo-1.2.accdb"}) {
            const ProgramRun actual = run(fixture(file));
            EXPECT_EQ(actual.status, 0) << file << ": " << actual.errors;
            EXPECT_EQ(actual.output, expected.output) << file;
        }
    }
}

TEST(AccessFile, InfoLibrariesAndCatalogsShowTheFile) {
    ProgramRun info = runPartlib({"info", fixture("demo-1.2.accdb")});
    ASSERT_EQ(info.status, 0) << info.all();
    EXPECT_NE(info.output.find("Schema version: 1.2\n"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("Read-only:      yes"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("  Parts                     300\n"), std::string::npos) << info.output;

    ProgramRun libraries = runPartlib({"libraries", fixture("demo-1.2.mdb")});
    ASSERT_EQ(libraries.status, 0) << libraries.all();
    EXPECT_NE(libraries.output.find("Demo"), std::string::npos) << libraries.output;

    ProgramRun catalogs = runPartlib({"catalogs", fixture("demo-1.2.accdb")});
    ASSERT_EQ(catalogs.status, 0) << catalogs.all();
    EXPECT_EQ(catalogs.output, fixture("demo-1.2.accdb") + "\n");
}

// The raw tables of a copy of demo.db: the writers store an attribute's
// NULL Read_Only as 0 (the record says only true or false), whatever the
// source, so a copy is compared with a copy.
txdbtest::NaturalTables copiedSampleTables() {
    const std::string copy = txdbtest::tempFile();
    EXPECT_EQ(runPartlib({"copy", fixture("demo.db"), copy, "--yes"}).status, 0);
    return txdbtest::naturalTables(copy);
}

TEST(AccessFile, ACopyHoldsTheRawTablesOfTheSQLiteLibraryOnEveryEngine) {
    const txdbtest::NaturalTables original = copiedSampleTables();
    for (const std::string &engine : txdbtest::testEngines()) {
        SCOPED_TRACE(engine);
        const std::string target = engine == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(engine);
        ProgramRun copied = runPartlib({"copy", fixture("demo-1.2.accdb"), target, "--yes"});
        ASSERT_EQ(copied.status, 0) << copied.all();
        EXPECT_NE(copied.output.find("Parts 300"), std::string::npos) << copied.output;
        // A server's tables are seen through a SQLite copy of them.
        std::string file = target;
        if (engine != "SQLite") {
            file = txdbtest::tempFile();
            ASSERT_EQ(runPartlib({"copy", target, file, "--yes"}).status, 0);
        }
        expectSameTables(txdbtest::naturalTables(file), original);
    }
}

TEST(AccessFile, AHierarchyOnlyCopyBringsTheFoldersAndPlacement) {
    // Onto a copy of the library whose parts all stand in its top folder.
    const std::string target = copyOf("demo.db", ".db");
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(target.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "UPDATE Parts SET Hierarchy_ID = (SELECT ID FROM Hierarchy WHERE Name = 'root');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ProgramRun copied = runPartlib({"copy", fixture("demo-1.2.mdb"), target, "--hierarchy-only", "--yes"});
    ASSERT_EQ(copied.status, 0) << copied.all();
    expectSameTables(txdbtest::naturalTables(target), txdbtest::naturalTables(fixture("demo.db")));
}

TEST(AccessFile, OldVersionsReadAsTheSameSQLiteLibraryUpgraded) {
    for (int minor : {1, 0}) {
        SCOPED_TRACE(minor);
        const std::string name = "demo-1." + std::to_string(minor) + ".mdb";
        const std::string copy = copyOf(name, ".mdb");
        const std::string before = readFile(copy);
        EXPECT_EQ(exported(copy), exported(sqliteAtVersion(minor)));

        ProgramRun info = runPartlib({"info", copy});
        ASSERT_EQ(info.status, 0) << info.all();
        EXPECT_NE(info.output.find("Schema version: 1." + std::to_string(minor) +
                                   " in the file, read as 1.2 (the file is not changed)"),
                  std::string::npos)
            << info.output;
        const std::string target = txdbtest::tempFile();
        ASSERT_EQ(runPartlib({"copy", copy, target, "--yes"}).status, 0);
        const std::string upgradedCopy = txdbtest::tempFile();
        ASSERT_EQ(runPartlib({"copy", sqliteAtVersion(minor), upgradedCopy, "--yes"}).status, 0);
        expectSameTables(txdbtest::naturalTables(target), txdbtest::naturalTables(upgradedCopy));
        EXPECT_EQ(readFile(copy), before) << "the file is only read";
    }
}

TEST(AccessFile, EveryWriteIsRefusedAndTheFileStaysAsItWas) {
    const std::string file = copyOf("demo-1.1.mdb", ".mdb");
    const std::string before = readFile(file);
    const std::string json = txdbtest::tempFile(".json");
    ASSERT_EQ(runPartlib({"export", fixture("demo.db"), "-o", json}).status, 0);
    const std::vector<std::vector<std::string>> writes{{"init", file, "--yes"},
                                                       {"upgrade", file, "--yes"},
                                                       {"upgrade", file, "--script", "-"},
                                                       {"copy", fixture("demo.db"), file, "--yes"},
                                                       {"import", file, json, "--yes"}};
    for (const auto &write : writes) {
        SCOPED_TRACE(write[0]);
        ProgramRun run = runPartlib(write);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.errors, "The Access file " + file + " " + REFUSAL + " and work on it there\n");
        EXPECT_EQ(run.output, "");
    }
    // A new file of that name is not made either.
    const std::string missing = txdbtest::tempFile(".accdb");
    EXPECT_EQ(runPartlib({"copy", fixture("demo.db"), missing, "--yes"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(readFile(file), before);
}

TEST(AccessFile, TheProviderRefusesEveryChangeOfItsOwn) {
    CDataSource source;
    ASSERT_EQ(source.OpenFromInitializationString("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" +
                                                  fixture("demo-1.2.accdb")),
              S_OK);
    ProviderConnection &connection = *source.getConnection();
    std::unique_ptr<ProviderStatement> statement;
    EXPECT_TRUE(FAILED(connection.execute("DELETE FROM [Parts];")));
    EXPECT_TRUE(FAILED(connection.prepare("UPDATE [Parts] SET [Name]='x';", statement)));
    EXPECT_TRUE(FAILED(connection.beginWrite()));
    ASSERT_EQ(connection.prepare("SELECT Count(*) FROM [Parts];", statement), S_OK);
    ASSERT_EQ(statement->execute({}), S_OK);
    ASSERT_EQ(statement->fetch(), S_OK);
    EXPECT_EQ(statement->getInt(1), 300) << "nothing was deleted";
}

TEST(AccessFile, FilesThatHoldNoReadableLibraryEachGetTheirMessage) {
    const std::string text = txdbtest::tempFile(".mdb");
    writeFile(text, "not a database\n");
    const std::string cut = txdbtest::tempFile(".mdb");
    writeFile(cut, readFile(fixture("demo-1.2.mdb")).substr(0, 100000));
    const std::string sqlite = txdbtest::tempFile(".accdb");
    writeFile(sqlite, readFile(fixture("demo.db")));
    struct Case {
        std::string file, message;
    };
    const std::vector<Case> cases{
        {text, text + " is not an Access file (.mdb or .accdb)\n"},
        {sqlite, sqlite + " is not an Access file (.mdb or .accdb)\n"},
        {cut, "The Access file " + cut + " is damaged: its table Library_version cannot be read"},
        {withTablesRenamed({"Library_version", "Library", "Hierarchy", "Part_Definition", "Pin_Data", "Pin_Equiv",
                            "Gate_Equiv", "Gate", "Attributes", "Parts"}),
         " holds no part library: it has none of the part-library tables"},
        {withTablesRenamed({"Parts"}), " holds an incomplete part library: the tables Parts are missing\n"},
        {txdbtest::tempFile(".mdb"), "No such database file: "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        for (const char *command : {"info", "export"}) {
            ProgramRun run = runPartlib({command, c.file});
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
            EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1)
                << "one line, libmdb's own kept out: " << run.errors;
        }
    }
}

} // namespace
