#pragma once

// What the tests of the library commands and of the write summaries share:
// sample databases on every engine, their raw tables and row counts, and
// the counts that a write's summary lists.

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace txdbtest {

inline bool contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

inline std::string initialisationOf(const std::string &database) {
    return contains(database, "=") ? database : "Provider=SQLite;Data Source=" + database;
}

// A SQLite file with the sample libraries named, A of 20 parts, B of 10
// (always with the same keys and texts), and with `crossUse` one part of B
// built on a definition of A.
inline std::string sample(const std::vector<std::string> &names, bool crossUse = false) {
    const std::string file = tempFile();
    EXPECT_EQ(runPartlib({"init", file}).status, 0);
    for (const std::string &name : names) {
        ProgramRun written =
            runShell(shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") + " " + file + " --name " + name +
                     (name == "A" ? " --parts 20 --first-id 1" : " --parts 10 --first-id 5000"));
        EXPECT_EQ(written.status, 0) << written.all();
    }
    if (crossUse)
        runSql(file, "UPDATE Parts SET Part_def_ID = (SELECT MIN(ID) FROM Part_Definition WHERE Library_ID = "
                     "(SELECT ID FROM Library WHERE Name = 'A')) WHERE ID = (SELECT MIN(ID) FROM Parts "
                     "WHERE Library_ID = (SELECT ID FROM Library WHERE Name = 'B'));");
    return file;
}

inline std::string twoLibraries(bool crossUse) {
    return sample({"A", "B"}, crossUse);
}

// `file` on the engine: the file itself for SQLite, a copy on a server.
inline std::string onEngine(const std::string &engine, const std::string &file) {
    if (engine == "SQLite")
        return file;
    const std::string database = otherDatabase(engine);
    ProgramRun copied = runPartlib({"copy", file, database, "--yes"});
    EXPECT_EQ(copied.status, 0) << copied.all();
    return database;
}

// The raw tables of a database, a server's read through a copy into SQLite.
inline NaturalTables tablesOf(const std::string &database) {
    if (!contains(database, "="))
        return naturalTables(database);
    const std::string copy = tempFile();
    ProgramRun copied = runPartlib({"copy", database, copy, "--yes"});
    EXPECT_EQ(copied.status, 0) << copied.all();
    return naturalTables(copy);
}

// The tables of a database that holds only the sample library `library`.
inline NaturalTables only(const std::string &library) {
    return naturalTables(sample({library}));
}

inline std::map<std::string, long> rowCounts(const std::string &database) {
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector inspector =
        COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector::openUnchecked(initialisationOf(database));
    std::map<std::string, long> counts;
    for (const std::string &table : COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector::tableNames())
        counts[table] = inspector.rowCount(table);
    return counts;
}

// " Table n, Table n" of a summary list as a map.
inline std::map<std::string, long> listed(const std::string &output, const std::string &list) {
    std::map<std::string, long> counts;
    std::istringstream items(summaryList(output, list));
    std::string table;
    long count = 0;
    while (items >> table >> count) {
        counts[table] = count;
        items.ignore(1, ',');
    }
    return counts;
}

// A table's count in such a map: 0 when the table is not listed.
inline long countOf(const std::map<std::string, long> &counts, const std::string &table) {
    const auto found = counts.find(table);
    return found == counts.end() ? 0 : found->second;
}

} // namespace txdbtest
