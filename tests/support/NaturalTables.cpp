#include "tests/support/NaturalTables.h"

#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace txdbtest {

namespace {

// The natural key of every keyed row. Sibling places come from the IDs'
// order; folder paths are followed at most 10,000 levels down, so that a
// damaged tree cannot make the walk endless.
const char *const KEYS = R"(WITH RECURSIVE
klib(id, k) AS (SELECT ID, quote(Name) FROM Library),
kfolder(id, k, depth) AS (
  SELECT h.ID, klib.k || ',' || quote(h.Name), 0 FROM Hierarchy h JOIN klib ON klib.id = h.Library_ID
   WHERE h.Parent_ID IS NULL OR h.Parent_ID = h.ID OR h.Parent_ID NOT IN (SELECT ID FROM Hierarchy)
  UNION ALL
  SELECT h.ID, kfolder.k || '\' || quote(h.Name), kfolder.depth + 1 FROM Hierarchy h JOIN kfolder
   ON h.Parent_ID = kfolder.id AND h.ID <> kfolder.id WHERE kfolder.depth < 10000),
kdef(id, k) AS (SELECT d.ID, klib.k || ',' || quote(d.Name) FROM Part_Definition d JOIN klib ON klib.id = d.Library_ID),
kpin(id, k) AS (SELECT p.ID, kdef.k || ',pin ' || ROW_NUMBER() OVER (PARTITION BY p.Part_def_ID ORDER BY p.ID)
  FROM Pin_Data p JOIN kdef ON kdef.id = p.Part_def_ID),
kgrp(id, k) AS (SELECT e.ID, kdef.k || ',group ' || ROW_NUMBER() OVER (PARTITION BY e.Part_def_ID ORDER BY e.ID)
  FROM Pin_Equiv e JOIN kdef ON kdef.id = e.Part_def_ID),
kgate(id, k) AS (SELECT g.ID, kdef.k || ',gate ' || ROW_NUMBER() OVER (PARTITION BY g.Part_def_ID ORDER BY g.ID)
  FROM Gate g JOIN kdef ON kdef.id = g.Part_def_ID),
kswap(id, k) AS (SELECT s.ID, kdef.k || ',swap ' || ROW_NUMBER() OVER (PARTITION BY s.Part_def_ID ORDER BY s.ID)
  FROM Gate_Equiv s JOIN kdef ON kdef.id = s.Part_def_ID),
kmember(id, k) AS (SELECT m.ID, kswap.k || ',member ' || ROW_NUMBER() OVER (PARTITION BY m.Gate_equiv_ID ORDER BY m.ID)
  FROM Gate_Equiv_Gate m JOIN kswap ON kswap.id = m.Gate_equiv_ID)
)";

const std::pair<const char *, const char *> TABLES[] = {
    {"Library_version", "SELECT quote(Major) || ',' || quote(Minor) FROM Library_version"},
    {"Library",
     "SELECT klib.k || ',' || quote(Enabled) || ',' || quote(Comment) FROM Library JOIN klib ON klib.id = Library.ID"},
    {"Hierarchy", "SELECT k FROM kfolder"},
    {"Part_Definition",
     "SELECT kdef.k || ',' || quote(PCB_component_name) || ',' || quote(PCB_alternate_name) || ',' || "
     "quote(Part_def_value) || ',' || quote(Component_name_stem) || ',' || quote(PSpice_data) || ',' || "
     "quote(Max_connector_pins) || ',' || quote(Gate_swapping) || ',' || quote(Pin_num_name) || ',' || "
     "quote(Is_FPGA) FROM Part_Definition JOIN kdef ON kdef.id = Part_Definition.ID"},
    {"Pin_Data",
     "SELECT kpin.k || ',' || quote(Pin_identifier) || ',' || quote(Pin_Data.Name) || ',' || quote(Label) || ',' || "
     "quote(Pin_position) || ',' || quote(Pin_type) || ',' || quote(Loading) || ',' || quote(Signal) || "
     "',' || COALESCE(kgrp.k, quote(Equiv_group)) FROM Pin_Data JOIN kpin ON kpin.id = Pin_Data.ID "
     "LEFT JOIN kgrp ON kgrp.id = Equiv_group"},
    {"Pin_Equiv", "SELECT k FROM kgrp"},
    {"Gate",
     "SELECT kgate.k || ',' || quote(Gate.Name) || ',' || quote(Alt_name) FROM Gate JOIN kgate ON kgate.id = Gate.ID"},
    {"Gate_has_Pin_Data", "SELECT kgate.k || ',link ' || ROW_NUMBER() OVER (PARTITION BY Gate_ID ORDER BY l.ID) || "
                          "',' || COALESCE(kpin.k, 'pin ' || quote(Pin_data_ID)) FROM Gate_has_Pin_Data l "
                          "JOIN kgate ON kgate.id = Gate_ID LEFT JOIN kpin ON kpin.id = Pin_data_ID"},
    {"Gate_Equiv",
     "SELECT kswap.k || ',' || quote(Gate_Equiv.Name) FROM Gate_Equiv JOIN kswap ON kswap.id = Gate_Equiv.ID"},
    {"Gate_Equiv_Gate", "SELECT kmember.k || ',' || quote(Equiv_type) FROM Gate_Equiv_Gate JOIN kmember ON kmember.id "
                        "= Gate_Equiv_Gate.ID"},
    {"Gate_Equiv_has_Pin_Data",
     "SELECT kmember.k || ',link ' || ROW_NUMBER() OVER (PARTITION BY Gate_equiv_gate_ID ORDER BY l.ID) || ',' || "
     "COALESCE(kpin.k, 'pin ' || quote(Pin_data_ID)) FROM Gate_Equiv_has_Pin_Data l "
     "JOIN kmember ON kmember.id = Gate_equiv_gate_ID LEFT JOIN kpin ON kpin.id = Pin_data_ID"},
    {"Attributes",
     "SELECT kdef.k || ',' || quote(Attributes.Name) || ',' || quote(Attribute_value) || ',' || quote(Usage_type) || "
     "',' || quote(Read_Only) FROM Attributes JOIN kdef ON kdef.id = Part_def_ID"},
    {"Parts", "SELECT klib.k || ',' || quote(Parts.Name) || ',' || quote(Part_number) || ',' || quote(Description) || "
              "',' || quote(PSpice_data) || ',' || quote(Part_version) || ',' || quote(Part_Acceptance) || ',' || "
              "quote(Part_Type) || ',' || COALESCE(kfolder.k, 'folder ' || quote(Hierarchy_ID)) || ',' || "
              "COALESCE(kdef.k, 'definition ' || quote(Part_def_ID)) FROM Parts JOIN klib ON klib.id = Library_ID "
              "LEFT JOIN kfolder ON kfolder.id = Hierarchy_ID LEFT JOIN kdef ON kdef.id = Part_def_ID"},
};

} // namespace

NaturalTables naturalTables(const std::string &sqliteFile) {
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(sqliteFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + sqliteFile);
    }
    NaturalTables tables;
    for (const auto &[table, select] : TABLES) {
        const std::string sql = std::string(KEYS) + select;
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw std::runtime_error(std::string(table) + ": " + message);
        }
        std::vector<std::string> &rows = tables[table];
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
            rows.push_back(text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, 0)))
                                : std::string("<NULL>"));
        }
        sqlite3_finalize(statement);
        if (step != SQLITE_DONE) {
            const std::string message = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw std::runtime_error(std::string(table) + ": " + message);
        }
        std::sort(rows.begin(), rows.end());
    }
    sqlite3_close(db);
    return tables;
}

void runSql(const std::string &sqliteFile, const std::string &sql) {
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(sqliteFile.c_str(), &db), SQLITE_OK);
    char *error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

NaturalTables naturalTablesOf(const std::string &database) {
    const std::string back = tempFile();
    ProgramRun copied = runPartlib({"copy", database, back, "--yes"});
    EXPECT_EQ(copied.status, 0) << copied.all();
    return naturalTables(back);
}

std::string newTarget(const std::string &engine) {
    return engine == "SQLite" ? tempFile() : otherDatabase(engine);
}

std::string partLibraryWith(const std::string &sql) {
    const std::string file = tempFile();
    ProgramRun init = runPartlib({"init", file, "--yes"});
    EXPECT_EQ(init.status, 0) << init.all();
    runSql(file, sql);
    return file;
}

NaturalTables copiedThroughEveryEngine(const std::string &first) {
    std::vector<std::string> chain{first};
    for (const std::string &engine : testEngines())
        if (engine != "SQLite")
            chain.push_back(otherDatabase(engine));
    chain.push_back(tempFile());
    for (size_t i = 1; i < chain.size(); ++i) {
        ProgramRun copied = runPartlib({"copy", chain[i - 1], chain[i], "--yes"});
        EXPECT_EQ(copied.status, 0) << "step " << i << ": " << copied.all();
        EXPECT_EQ(copied.errors, "") << "step " << i;
        if (copied.status != 0)
            return {}; // the copies after it have nothing to copy
    }
    return naturalTables(chain.back());
}

} // namespace txdbtest
