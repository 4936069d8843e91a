// A copy carries every value as it is stored, NULL included, through every
// engine and back, comparing the raw tables by their natural keys.

#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// A new part-library file with the rows that `sql` inserts.
std::string databaseWith(const std::string &sql) {
    const std::string file = txdbtest::tempFile();
    ProgramRun init = runPartlib({"init", file, "--yes"});
    EXPECT_EQ(init.status, 0) << init.all();
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char *error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    return file;
}

TEST(StoredValues, PinsWithoutIdentifierStayWithoutOne) {
    // Two pins of one definition without identifier (the unique key of
    // definition and identifier allows any number of NULLs), one with an
    // empty identifier, one with a plain one in a gate.
    const std::string file = databaseWith(
        "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'L', 1);"
        "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F');"
        "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, Gate_swapping, "
        "Pin_num_name, Is_FPGA) VALUES (1, 1, 'D', 'C', 4, 0, 0, 0);"
        "INSERT INTO Pin_Data (ID, Part_def_ID, Pin_identifier, Name) VALUES (1, 1, NULL, 'a'), (2, 1, NULL, 'b'), "
        "(3, 1, '', 'c'), (4, 1, '4', 'd');"
        "INSERT INTO Gate (ID, Part_def_ID, Name) VALUES (1, 1, 'G');"
        "INSERT INTO Gate_has_Pin_Data (ID, Gate_ID, Pin_data_ID) VALUES (1, 1, 4);"
        "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES (1, 1, 1, 1, 'P', 1);");
    const txdbtest::NaturalTables original = txdbtest::naturalTables(file);
    ASSERT_EQ(original.at("Pin_Data").size(), 4u);
    EXPECT_EQ(txdbtest::copiedThroughEveryEngine(file), original);
}

} // namespace
