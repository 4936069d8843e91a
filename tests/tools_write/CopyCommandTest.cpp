// partlib copy run as the built program: copies that arrive whole, targets
// that are refused before anything is written, Ctrl-C in the middle, two
// copies into one database at once, and the folder-only copy.

#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

std::string samplelib() {
    return txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib");
}

// A database of the engine with the part library and, when `parts` is above
// 0, one sample library of that name.
std::string library(const std::string &engine, const std::string &name, int parts, int firstId = 1) {
    const std::string init = engine == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(engine);
    EXPECT_EQ(runPartlib({"init", init, "--yes"}).status, 0);
    if (parts > 0) {
        ProgramRun written =
            txdbtest::runShell(samplelib() + " " + txdbtest::shellQuoted(init) + " --parts " + std::to_string(parts) +
                               " --name " + name + " --first-id " + std::to_string(firstId));
        EXPECT_EQ(written.status, 0) << written.all();
    }
    return init;
}

std::string exported(const std::string &database, const std::vector<std::string> &libraries = {}) {
    std::vector<std::string> arguments{"export", database};
    arguments.insert(arguments.end(), libraries.begin(), libraries.end());
    ProgramRun run = runPartlib(arguments);
    EXPECT_EQ(run.status, 0) << run.errors;
    return run.output;
}

class CopyCommandTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CopyCommandTest, ACopyArrivesWholeAndIsSummedUp) {
    const std::string source = library("SQLite", "Demo", 300);
    const std::string target = GetParam() == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(GetParam());

    ProgramRun copied = runPartlib({"copy", source, target, "--yes"});
    ASSERT_EQ(copied.status, 0) << copied.all();
    EXPECT_NE(copied.output.find("Copied 1 library (Demo) in "), std::string::npos) << copied.output;
    EXPECT_NE(copied.output.find("Parts 300"), std::string::npos) << copied.output;
    EXPECT_EQ(exported(target), exported(source));

    // Again: everything is there and up to date, so nothing is added or
    // removed, not even the definitions' gates and groups.
    ProgramRun again = runPartlib({"copy", source, target});
    ASSERT_EQ(again.status, 0) << again.all();
    EXPECT_EQ(txdbtest::summaryList(again.output, "rows added"), " none (every item was there and up to date)")
        << again.output;
    EXPECT_EQ(txdbtest::summaryList(again.output, "rows removed"), "") << again.output;
    EXPECT_EQ(exported(target), exported(source));

    // And back, into a SQLite file of its own.
    const std::string back = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", target, back, "--yes"}).status, 0);
    EXPECT_EQ(exported(back), exported(source));
}

TEST_P(CopyCommandTest, TwoCopiesIntoOneDatabaseAtOnceBothArriveWhole) {
    const std::string first = library("SQLite", "First", 1000);
    const std::string second = library("SQLite", "Second", 1000);
    const std::string target = library(GetParam(), "", 0);
    const std::string firstSummary = txdbtest::tempFile(".txt");
    const std::string secondSummary = txdbtest::tempFile(".txt");
    const std::string both = "(" + txdbtest::partlibCommand({"copy", first, target}) + " > " + firstSummary + " & " +
                             txdbtest::partlibCommand({"copy", second, target}) + " > " + secondSummary +
                             " & wait %1; a=$?; wait %2; echo $a $?)";
    auto summary = [](const std::string &file) {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    for (int round = 0; round < 2; ++round) {
        ProgramRun run = txdbtest::runShell(both);
        EXPECT_EQ(run.output, "0 0\n") << run.errors;
        // Each counts its own rows, not the other's.
        if (round == 0) {
            EXPECT_NE(txdbtest::summaryList(summary(firstSummary), "rows added").find("Parts 1000"), std::string::npos)
                << summary(firstSummary);
            EXPECT_NE(txdbtest::summaryList(summary(secondSummary), "rows added").find("Parts 1000"), std::string::npos)
                << summary(secondSummary);
        }
        EXPECT_TRUE(exported(target, {"First"}) == exported(first)) << "round " << round;
        EXPECT_TRUE(exported(target, {"Second"}) == exported(second)) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, CopyCommandTest, ::testing::ValuesIn(txdbtest::testEngines()));

TEST(CopyCommandRefusals, TargetsThatCannotBeWrittenAreRefusedAndNothingIsLeft) {
    const std::string source = library("SQLite", "Demo", 50);
    const std::string before = exported(source);

    // The source itself, however it is spelt.
    const std::string link = txdbtest::tempFile();
    std::filesystem::create_symlink(source, link);
    for (const std::string &same : {source, link, "Provider=SQLite;Data Source=" + source}) {
        ProgramRun run = runPartlib({"copy", source, same, "--yes"});
        EXPECT_NE(run.status, 0) << same;
        EXPECT_NE(run.errors.find("same database"), std::string::npos) << run.errors;
    }
    EXPECT_EQ(exported(source), before);

    // No terminal to ask on and no --yes: the new file is not left behind.
    const std::string fresh = txdbtest::tempFile();
    ProgramRun unasked = runPartlib({"copy", source, fresh});
    EXPECT_NE(unasked.status, 0);
    EXPECT_NE(unasked.errors.find("pass --yes"), std::string::npos) << unasked.errors;
    EXPECT_FALSE(std::filesystem::exists(fresh));

    // A library the source does not hold; a folder; a database opened
    // read-only (file modes do not stop root, who runs the CI); a missing
    // folder; a missing source.
    const std::string kept = library("SQLite", "Kept", 20);
    const std::string keptBefore = exported(kept);
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::string target = txdbtest::tempFile();
    const Case cases[] = {
        {{"copy", source, target, "Nope", "--yes"}, "The source holds no library named Nope"},
        {{"copy", source, txdbtest::tempDirectory(), "--yes"}, "is a directory"},
        {{"copy", source, "Provider=SQLite;Data Source=" + kept + ";Mode=Read", "--yes"}, "readonly"},
        {{"copy", source, txdbtest::tempDirectory() + "/no/such/folder.db", "--yes"}, "No such file or directory"},
        {{"copy", txdbtest::tempFile(), target, "--yes"}, "No such database file"},
    };
    for (const Case &each : cases) {
        ProgramRun run = runPartlib(each.arguments);
        EXPECT_NE(run.status, 0) << each.arguments[2];
        EXPECT_NE(run.errors.find(each.message), std::string::npos) << run.errors;
        EXPECT_EQ(run.output, "") << each.arguments[2];
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(exported(kept) == keptBefore);
}

TEST(CopyCommandSignals, CtrlCInTheMiddleLeavesTheTargetAsItWas) {
    const std::string source = library("SQLite", "Large", 40000);
    const std::string target = library("SQLite", "Kept", 30);
    const std::string before = exported(target);

    const pid_t child = txdbtest::startPartlib({"copy", source, target});
    ASSERT_GE(child, 0);
    EXPECT_EQ(txdbtest::interruptWhileWriting(child, target), 130);
    EXPECT_EQ(exported(target), before);

    // Into a file the copy created: the file goes again, journal and all.
    // The journal first appears while the schema is made, which takes a
    // fraction of the copy's seconds.
    const std::string created = txdbtest::tempFile();
    const std::string quoted = txdbtest::shellQuoted(created);
    // The signals are sent once the copy's journal has been there a while;
    // then its status and what is left of the file are printed.
    auto interruptedCopy = [&](const std::string &signals) {
        return txdbtest::runShell("{ " + txdbtest::partlibCommand({"copy", source, created, "--yes"}) +
                                  " & pid=$!; until [ -e " + quoted + "-journal ]; do sleep 0.01; done; sleep 0.5; " +
                                  signals + " wait $pid; echo $?; ls " + quoted + "* 2>/dev/null; }");
    };
    ProgramRun run = interruptedCopy("kill -TERM $pid;");
    EXPECT_EQ(run.output, "143\n") << run.all();
    EXPECT_NE(
        run.errors.find("Interrupted: nothing was written; " + created + ", created for this write, is removed again."),
        std::string::npos)
        << run.errors;

    // A second signal ends the copy at once: the created file goes all the same.
    ProgramRun twice = interruptedCopy("kill -TERM $pid; sleep 0.05; kill -TERM $pid;");
    EXPECT_EQ(twice.output, "143\n") << twice.all();
}

// Every row change of the file's part-library tables, counted per table and
// kind by triggers: what a write actually sent, whatever it reports.
std::map<std::string, int> rowChanges(const std::string &database, const std::string &sql) {
    std::string triggers = "CREATE TABLE IF NOT EXISTS change_log (tbl TEXT, op TEXT);";
    for (const char *table :
         {"Library", "Hierarchy", "Part_Definition", "Pin_Data", "Pin_Equiv", "Gate_Equiv", "Gate_Equiv_Gate",
          "Gate_Equiv_has_Pin_Data", "Gate", "Gate_has_Pin_Data", "Attributes", "Parts"})
        for (const char *op : {"INSERT", "UPDATE", "DELETE"})
            triggers += std::string("CREATE TRIGGER IF NOT EXISTS log_") + table + "_" + op + " AFTER " + op + " ON " +
                        table + " BEGIN INSERT INTO change_log VALUES ('" + table + "', '" + op + "'); END;";
    const std::string file = txdbtest::shellQuoted(database);
    EXPECT_EQ(txdbtest::runShell("sqlite3 " + file + " " + txdbtest::shellQuoted(triggers + "DELETE FROM change_log;"))
                  .status,
              0);
    ProgramRun run = txdbtest::runShell(sql);
    EXPECT_EQ(run.status, 0) << run.all();
    ProgramRun log = txdbtest::runShell("sqlite3 -separator ' ' " + file +
                                        " 'SELECT tbl, op, COUNT(*) FROM change_log GROUP BY tbl, op'");
    std::map<std::string, int> changes;
    std::istringstream lines(log.output);
    std::string table, op;
    int count = 0;
    while (lines >> table >> op >> count)
        changes[table + " " + op] = count;
    return changes;
}

TEST(CopyCommandAgain, ACopyOntoAnUnchangedLibraryRewritesNoPartFolderDefinitionOrAttribute) {
    const std::string source = library("SQLite", "Demo", 300);
    const std::string target = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source, target, "--yes"}).status, 0);
    const std::string again = txdbtest::partlibCommand({"copy", source, target});

    std::map<std::string, int> changes = rowChanges(target, again);
    for (const char *table : {"Library", "Hierarchy", "Part_Definition", "Attributes", "Parts"})
        for (const char *op : {"INSERT", "UPDATE", "DELETE"})
            EXPECT_EQ(changes[std::string(table) + " " + op], 0) << table << " " << op;
    EXPECT_EQ(exported(target), exported(source));

    // A part and an attribute changed in the source are the rows written.
    ASSERT_EQ(txdbtest::runShell("sqlite3 " + txdbtest::shellQuoted(source) +
                                 " \"UPDATE Parts SET Description = 'changed' WHERE ID = (SELECT MIN(ID) FROM Parts); "
                                 "UPDATE Attributes SET Attribute_value = 'changed' WHERE rowid = (SELECT MIN(rowid) "
                                 "FROM Attributes);\"")
                  .status,
              0);
    changes = rowChanges(target, again);
    EXPECT_EQ(changes["Parts UPDATE"], 1);
    EXPECT_EQ(changes["Attributes UPDATE"], 1);
    EXPECT_EQ(changes["Part_Definition UPDATE"], 0);
    EXPECT_EQ(exported(target), exported(source));
}

TEST(CopyCommandFolders, TheFolderOnlyCopyMovesExistingPartsIntoNewFolders) {
    const std::string source = library("SQLite", "Demo", 100);
    const std::string target = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source, target, "--yes"}).status, 0);

    // A new folder in the source, and one part moved into it.
    ProgramRun moved = txdbtest::runShell(
        "sqlite3 " + txdbtest::shellQuoted(source) +
        " \"INSERT INTO Hierarchy VALUES (9000, 1, 'Moved here', NULL); UPDATE Parts SET Hierarchy_ID = 9000 WHERE ID "
        "= (SELECT MIN(ID) FROM Parts); UPDATE Part_Definition SET PCB_component_name = 'CHANGED';\"");
    ASSERT_EQ(moved.status, 0) << moved.errors;

    ProgramRun run = runPartlib({"copy", source, target, "--hierarchy-only"});
    ASSERT_EQ(run.status, 0) << run.all();
    ProgramRun placed = txdbtest::runShell(
        "sqlite3 " + txdbtest::shellQuoted(target) +
        " \"SELECT h.Name FROM Parts p JOIN Hierarchy h ON h.ID = p.Hierarchy_ID WHERE p.Name = (SELECT MIN(Name) "
        "FROM Parts WHERE Hierarchy_ID = (SELECT ID FROM Hierarchy WHERE Name = 'Moved here')); SELECT COUNT(*) FROM "
        "Part_Definition WHERE PCB_component_name = 'CHANGED';\"");
    EXPECT_EQ(placed.output, "Moved here\n0\n") << placed.errors;
}

// Library A's part P stands on B's definition D: a folder-only copy moves
// it, named in either order, since neither library's definitions are
// written; a library that DST does not hold is refused before any write.
TEST(CopyCommandFolders, TheFolderOnlyCopyMovesPartsOnAnotherLibrarysDefinition) {
    const std::string source = txdbtest::partLibraryWith(
        "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'A', 1), (2, 'B', 1);"
        "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F'), (2, 2, 'F');"
        "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, Gate_swapping, "
        "Pin_num_name, Is_FPGA) VALUES (1, 1, 'OWN', 'C', 1, 0, 0, 0), (2, 2, 'D', 'C', 2, 0, 0, 0);"
        "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES (1, 1, 2, 1, 'P', 1), "
        "(2, 1, 1, 1, 'O', 1), (3, 2, 2, 2, 'Q', 2);");
    const std::string onlyB = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source, onlyB, "B", "--yes"}).status, 0);
    const txdbtest::NaturalTables heldB = txdbtest::naturalTables(onlyB);
    ProgramRun refused = runPartlib({"copy", source, onlyB, "--hierarchy-only", "B", "A"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.errors.find("DST holds no library A: --hierarchy-only places the parts of libraries that DST "
                                  "holds already; copy it without --hierarchy-only first"),
              std::string::npos)
        << refused.errors;
    EXPECT_EQ(txdbtest::naturalTables(onlyB), heldB);
    const std::string missing = txdbtest::tempFile();
    ProgramRun intoNew = runPartlib({"copy", source, missing, "--hierarchy-only", "--yes"});
    EXPECT_EQ(intoNew.status, 1);
    EXPECT_NE(intoNew.errors.find("DST holds no library A"), std::string::npos) << intoNew.errors;
    EXPECT_FALSE(std::filesystem::exists(missing)) << "the file made for the write is gone again";

    const std::string target = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source, target, "--yes"}).status, 0);
    txdbtest::runSql(source, "INSERT INTO Hierarchy VALUES (3, 1, 'G', 1); UPDATE Parts SET Hierarchy_ID = 3 WHERE "
                             "ID = 1;");
    // A target of the schema before is brought up to date first, then checked.
    const std::string older = txdbtest::tempFile();
    std::filesystem::copy_file(target, older);
    txdbtest::runSql(older, "ALTER TABLE Pin_Data RENAME COLUMN Pin_identifier TO Pin_number; UPDATE "
                            "Library_version SET Minor = 1;");
    ProgramRun upgraded = runPartlib({"copy", source, older, "--hierarchy-only", "--yes"});
    EXPECT_EQ(upgraded.status, 0) << upgraded.all();
    for (const std::vector<std::string> &order : {std::vector<std::string>{"B", "A"}, std::vector<std::string>{}}) {
        std::vector<std::string> arguments{"copy", source, target, "--hierarchy-only"};
        arguments.insert(arguments.end(), order.begin(), order.end());
        ProgramRun moved = runPartlib(arguments);
        ASSERT_EQ(moved.status, 0) << moved.all();
        EXPECT_EQ(txdbtest::naturalTables(target), txdbtest::naturalTables(source));
    }
}

} // namespace
