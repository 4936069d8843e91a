// A library whose parts use definitions of another library: copied together
// with it, in whatever order the libraries are named, onto every engine, it
// arrives as stored, also when the two use each other's definitions; named
// alone it is refused before anything is written.

#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// Library A's part P uses definition D of library B, which comes first in
// no order: A sorts before B by name and holds the lower key.
const char *const SHARED_DEFINITION =
    "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'A', 1), (2, 'B', 1);"
    "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F'), (2, 2, 'F');"
    "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, Gate_swapping, "
    "Pin_num_name, Is_FPGA) VALUES (1, 1, 'OWN', 'C', 1, 0, 0, 0), (2, 2, 'D', 'C', 2, 0, 0, 0);"
    "INSERT INTO Pin_Data (ID, Part_def_ID, Pin_identifier, Name) VALUES (1, 2, '1', 'a');"
    "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES (1, 1, 2, 1, 'P', 1), "
    "(2, 1, 1, 1, 'O', 1), (3, 2, 2, 2, 'Q', 2);";

TEST(CrossLibraryCopy, BothLibrariesArriveInEitherOrderOnEveryEngine) {
    const std::string source = txdbtest::partLibraryWith(SHARED_DEFINITION);
    const txdbtest::NaturalTables original = txdbtest::naturalTables(source);
    for (const std::string &engine : txdbtest::testEngines())
        for (const std::vector<std::string> &order :
             {std::vector<std::string>{"A", "B"}, std::vector<std::string>{"B", "A"}, std::vector<std::string>{}}) {
            const std::string target = txdbtest::newTarget(engine);
            std::vector<std::string> arguments{"copy", source, target, "--yes"};
            arguments.insert(arguments.end(), order.begin(), order.end());
            ProgramRun copied = runPartlib(arguments);
            ASSERT_EQ(copied.status, 0) << engine << ": " << copied.all();
            EXPECT_EQ(txdbtest::naturalTablesOf(target), original) << engine;
            // Onto itself again: every part stays on its definition.
            ASSERT_EQ(runPartlib(arguments).status, 0) << engine;
            EXPECT_EQ(txdbtest::naturalTablesOf(target), original) << engine;
        }
}

TEST(CrossLibraryCopy, ALibraryAloneIsRefusedNamingThePartTheDefinitionAndItsLibrary) {
    const std::string source = txdbtest::partLibraryWith(SHARED_DEFINITION);
    for (const std::string &engine : txdbtest::testEngines()) {
        const std::string target = txdbtest::newTarget(engine);
        ASSERT_EQ(runPartlib({"init", target, "--yes"}).status, 0);
        const txdbtest::NaturalTables empty = txdbtest::naturalTablesOf(target);
        ProgramRun alone = runPartlib({"copy", source, target, "A"});
        EXPECT_NE(alone.status, 0) << engine;
        EXPECT_NE(alone.errors.find("Part P of library A uses part definition D of library B"), std::string::npos)
            << alone.errors;
        EXPECT_EQ(txdbtest::naturalTablesOf(target), empty) << engine;
        // B alone needs nothing of A.
        EXPECT_EQ(runPartlib({"copy", source, target, "B"}).status, 0) << engine;
    }
}

// B's part R uses A's definition OWN as A's part P uses B's D, and library
// C uses both: the two are written without those parts first, then whole,
// and C after them, in one write that arrives as stored, named in any order
// and copied again onto itself.
TEST(CrossLibraryCopy, LibrariesThatUseEachOthersDefinitionsArriveWhole) {
    const std::string source = txdbtest::partLibraryWith(
        std::string(SHARED_DEFINITION) +
        "INSERT INTO Library (ID, Name, Enabled) VALUES (3, 'C', 1);"
        "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (3, 3, 'G');"
        "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name) VALUES (4, 2, 1, 2, 'R'), "
        "(5, 3, 1, 3, 'S'), (6, 3, 2, 3, 'T');");
    const txdbtest::NaturalTables original = txdbtest::naturalTables(source);
    for (const std::string &engine : txdbtest::testEngines())
        for (const std::vector<std::string> &order :
             {std::vector<std::string>{}, std::vector<std::string>{"C", "B", "A"}}) {
            const std::string target = txdbtest::newTarget(engine);
            std::vector<std::string> arguments{"copy", source, target, "--yes"};
            arguments.insert(arguments.end(), order.begin(), order.end());
            ProgramRun copied = runPartlib(arguments);
            ASSERT_EQ(copied.status, 0) << engine << ": " << copied.all();
            EXPECT_NE(copied.output.find("Parts 6"), std::string::npos) << copied.output;
            EXPECT_EQ(txdbtest::naturalTablesOf(target), original) << engine;
            ProgramRun again = runPartlib(arguments);
            ASSERT_EQ(again.status, 0) << engine << ": " << again.all();
            EXPECT_EQ(txdbtest::naturalTablesOf(target), original) << engine;
        }
}

} // namespace
