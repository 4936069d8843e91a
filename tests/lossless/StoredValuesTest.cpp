// A copy carries every value as it is stored, NULL included, through every
// engine and back, comparing the raw tables by their natural keys.

#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

using txdbtest::runSql;

// A library whose flags hold numbers other than 0 and 1 and whose nullable
// numbers are NULL, beside plain values.
const char *const UNUSUAL_VALUES =
    "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'L', 2), (2, 'M', -1);"
    "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F'), (2, 2, 'F');"
    "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, Gate_swapping, "
    "Pin_num_name, Is_FPGA) VALUES (1, 1, 'D', 'C', NULL, 2, -1, 7), (2, 1, 'E', 'C', 3, 0, 1, 0), "
    "(3, 2, 'N', 'C', -4, 1, 0, 255);"
    "INSERT INTO Pin_Data (ID, Part_def_ID, Pin_identifier, Name) VALUES (1, 1, '1', 'a');"
    "INSERT INTO Gate (ID, Part_def_ID, Name) VALUES (1, 1, 'G');"
    "INSERT INTO Gate_has_Pin_Data (ID, Gate_ID, Pin_data_ID) VALUES (1, 1, 1);"
    "INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, Usage_type, Read_Only) VALUES "
    "(1, 'a', 'x', 0, NULL), (1, 'b', 'y', 1, 2), (2, 'c', 'z', 2, 0), (3, 'd', 'w', 0, 1);"
    "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES (1, 1, 1, 1, 'P', 1), "
    "(2, 1, 2, 1, 'Q', NULL), (3, 2, 3, 2, 'R', 4);";

TEST(StoredValues, PinsWithoutIdentifierStayWithoutOne) {
    // Two pins of one definition without identifier (the unique key of
    // definition and identifier allows any number of NULLs), one with an
    // empty identifier, one with a plain one in a gate.
    const std::string file = txdbtest::partLibraryWith(
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

TEST(StoredValues, FlagsAndNullNumbersArriveAsStored) {
    const std::string file = txdbtest::partLibraryWith(UNUSUAL_VALUES);
    const txdbtest::NaturalTables original = txdbtest::naturalTables(file);
    EXPECT_EQ(txdbtest::copiedThroughEveryEngine(file), original);
}

TEST(StoredValues, ACopyOntoAStaleLibraryBringsEveryValueUpToIt) {
    const std::string file = txdbtest::partLibraryWith(UNUSUAL_VALUES);
    const txdbtest::NaturalTables original = txdbtest::naturalTables(file);
    // The same libraries, every value that a copy replaces changed.
    const std::string stale = txdbtest::partLibraryWith(UNUSUAL_VALUES);
    runSql(stale, "UPDATE Library SET Enabled = 0;"
                  "UPDATE Part_Definition SET Max_connector_pins = 9, Gate_swapping = 0, Pin_num_name = 0, "
                  "Is_FPGA = 1;"
                  "UPDATE Attributes SET Read_Only = 5;"
                  "UPDATE Parts SET Part_Type = 16;");
    ASSERT_NE(txdbtest::naturalTables(stale), original);
    for (const std::string &engine : txdbtest::testEngines()) {
        const std::string target = engine == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(engine);
        ASSERT_EQ(runPartlib({"copy", stale, target, "--yes"}).status, 0) << engine;
        ProgramRun onto = runPartlib({"copy", file, target});
        ASSERT_EQ(onto.status, 0) << engine << ": " << onto.all();
        const std::string back = txdbtest::tempFile();
        ASSERT_EQ(runPartlib({"copy", target, back, "--yes"}).status, 0) << engine;
        EXPECT_EQ(txdbtest::naturalTables(back), original) << engine;
    }
}

} // namespace
