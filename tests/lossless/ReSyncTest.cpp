// Copying a library onto a target that already holds it: after every kind
// of change (and none) the target holds what a copy into an empty database
// gives, a copy with nothing changed writes no row, and the observers see
// the same events whether a definition's details are rewritten or left as
// they are.

#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tests/support/NaturalTables.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

namespace {

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// A definition with four pins, two gates, a swap group of two swap gates, a
// pin-equivalence group and two attributes; a second definition without
// details; a part on each.
const char *const BASE =
    "INSERT INTO Library (ID, Name, Enabled) VALUES (1, 'L', 1);"
    "INSERT INTO Hierarchy (ID, Library_ID, Name) VALUES (1, 1, 'F'), (2, 1, 'G');"
    "INSERT INTO Part_Definition (ID, Library_ID, Name, PCB_component_name, Max_connector_pins, Gate_swapping, "
    "Pin_num_name, Is_FPGA) VALUES (1, 1, 'D', 'C', 4, 1, 0, 0), (2, 1, 'E', 'C', 0, 0, 0, 0);"
    "INSERT INTO Pin_Equiv (ID, Part_def_ID) VALUES (1, 1);"
    "INSERT INTO Pin_Data (ID, Part_def_ID, Pin_identifier, Name, Equiv_group) VALUES (1, 1, '1', 'a', 1), "
    "(2, 1, '2', 'b', 1), (3, 1, '3', 'c', NULL), (4, 1, '4', 'd', NULL);"
    "INSERT INTO Gate (ID, Part_def_ID, Name, Alt_name) VALUES (1, 1, 'G1', NULL), (2, 1, 'G2', 'alt');"
    "INSERT INTO Gate_has_Pin_Data (ID, Gate_ID, Pin_data_ID) VALUES (1, 1, 1), (2, 1, 2), (3, 2, 3), (4, 2, 4);"
    "INSERT INTO Gate_Equiv (ID, Part_def_ID, Name) VALUES (1, 1, 'S');"
    "INSERT INTO Gate_Equiv_Gate (ID, Gate_equiv_ID, Equiv_type) VALUES (1, 1, 0), (2, 1, 1);"
    "INSERT INTO Gate_Equiv_has_Pin_Data (ID, Gate_equiv_gate_ID, Pin_data_ID) VALUES (1, 1, 1), (2, 1, 2), "
    "(3, 2, 3), (4, 2, 4);"
    "INSERT INTO Attributes (Part_def_ID, Name, Attribute_value, Usage_type, Read_Only) VALUES "
    "(1, 'a', 'x', 0, 0), (1, 'b', 'y', 1, 1);"
    "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name, Part_Type) VALUES (1, 1, 1, 1, 'P', 1), "
    "(2, 1, 2, 1, 'Q', 1);";

// Each kind of change a source may have had since the last copy.
const std::vector<std::pair<std::string, std::string>> CHANGES = {
    {"nothing", ""},
    {"a gate removed", "DELETE FROM Gate_has_Pin_Data WHERE Gate_ID = 2; DELETE FROM Gate WHERE ID = 2;"},
    {"a gate renamed", "UPDATE Gate SET Name = 'H' WHERE ID = 1;"},
    {"a gate's alternate name dropped", "UPDATE Gate SET Alt_name = NULL WHERE ID = 2;"},
    {"a gate pin moved to another pin", "UPDATE Gate_has_Pin_Data SET Pin_data_ID = 3 WHERE ID = 2;"},
    {"a gate added", "INSERT INTO Gate (ID, Part_def_ID, Name) VALUES (3, 1, 'G3');"
                     "INSERT INTO Gate_has_Pin_Data (ID, Gate_ID, Pin_data_ID) VALUES (5, 3, 4);"},
    {"a swap gate's type changed", "UPDATE Gate_Equiv_Gate SET Equiv_type = 2 WHERE ID = 2;"},
    {"a swap gate's pins swapped", "UPDATE Gate_Equiv_has_Pin_Data SET Pin_data_ID = 7 - Pin_data_ID WHERE "
                                   "Gate_equiv_gate_ID = 2;"},
    {"the swap group removed", "DELETE FROM Gate_Equiv_has_Pin_Data; DELETE FROM Gate_Equiv_Gate; "
                               "DELETE FROM Gate_Equiv;"},
    {"an equivalence group's pins changed", "UPDATE Pin_Data SET Equiv_group = NULL WHERE ID = 2; "
                                            "UPDATE Pin_Data SET Equiv_group = 1 WHERE ID = 3;"},
    {"a second equivalence group", "INSERT INTO Pin_Equiv (ID, Part_def_ID) VALUES (2, 1); "
                                   "UPDATE Pin_Data SET Equiv_group = 2 WHERE ID IN (3, 4);"},
    {"a pin's name changed", "UPDATE Pin_Data SET Name = 'z' WHERE ID = 3;"},
    {"a pin added and used by a gate", "INSERT INTO Pin_Data (ID, Part_def_ID, Pin_identifier) VALUES (5, 1, '5');"
                                       "UPDATE Gate_has_Pin_Data SET Pin_data_ID = 5 WHERE ID = 4;"},
    {"an attribute's value changed", "UPDATE Attributes SET Attribute_value = 'new' WHERE Name = 'a';"},
    {"a definition's field changed", "UPDATE Part_Definition SET PCB_component_name = 'X' WHERE ID = 1;"},
    {"a part moved to another folder", "UPDATE Parts SET Hierarchy_ID = 2 WHERE ID = 2;"},
};

TEST(ReSync, AfterEveryKindOfChangeTheTargetHoldsWhatAFreshCopyGives) {
    const std::string base = txdbtest::partLibraryWith(BASE);
    for (const std::string &engine : txdbtest::testEngines())
        for (const auto &[change, sql] : CHANGES) {
            const std::string target = txdbtest::newTarget(engine);
            ASSERT_EQ(runPartlib({"copy", base, target, "--yes"}).status, 0) << engine;
            const std::string changed = txdbtest::partLibraryWith(std::string(BASE) + sql);
            ProgramRun copied = runPartlib({"copy", changed, target, "--yes"});
            ASSERT_EQ(copied.status, 0) << engine << ", " << change << ": " << copied.all();
            EXPECT_EQ(txdbtest::naturalTablesOf(target), txdbtest::naturalTables(changed)) << engine << ", " << change;
        }
}

// Counts every row that is inserted, changed or deleted in the file's
// tables of part data (not the version row a write touches for its lock).
void logWrites(const std::string &file) {
    std::string sql = "CREATE TABLE Write_log (what TEXT);";
    for (const char *table :
         {"Library", "Hierarchy", "Part_Definition", "Pin_Data", "Attributes", "Gate", "Gate_has_Pin_Data",
          "Gate_Equiv", "Gate_Equiv_Gate", "Gate_Equiv_has_Pin_Data", "Pin_Equiv", "Parts"})
        for (const char *kind : {"INSERT", "UPDATE", "DELETE"})
            sql += std::string("CREATE TRIGGER [log ") + table + " " + kind + "] AFTER " + kind + " ON [" + table +
                   "] BEGIN INSERT INTO Write_log VALUES ('" + kind + " " + table + "'); END;";
    txdbtest::runSql(file, sql);
}

std::vector<std::string> loggedWrites(const std::string &file) {
    std::vector<std::string> writes;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT what FROM Write_log;", -1, &stmt, nullptr) == SQLITE_OK)
        while (sqlite3_step(stmt) == SQLITE_ROW)
            writes.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return writes;
}

TEST(ReSync, ACopyWithNothingChangedWritesNoRow) {
    txdbtest::SampleDatabase source("SQLite", {"Demo", 200, 1, true});
    ASSERT_GT(source.counts.gates, 0);
    ASSERT_GT(source.counts.gateSwaps, 0);
    ASSERT_GT(source.counts.pinEquivs, 0);
    const std::string target = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source.init, target, "--yes"}).status, 0);
    logWrites(target);
    ProgramRun again = runPartlib({"copy", source.init, target, "--yes"});
    ASSERT_EQ(again.status, 0) << again.all();
    EXPECT_EQ(loggedWrites(target), std::vector<std::string>{});
    // The log itself sees writes: a changed gate is rewritten.
    source.exec("UPDATE [Gate] SET [Name] = 'renamed' WHERE [ID] = (SELECT MIN([ID]) FROM [Gate]);");
    ASSERT_EQ(runPartlib({"copy", source.init, target, "--yes"}).status, 0);
    EXPECT_FALSE(loggedWrites(target).empty());
}

// A source pin that differs from its stored row is the one row written,
// wherever it stands among the definition's pins.
TEST(ReSync, AChangedPinIsTheOneRowWritten) {
    txdbtest::SampleDatabase source("SQLite", {"Demo", 200, 1, true});
    const std::string target = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source.init, target, "--yes"}).status, 0);
    logWrites(target);
    // The first pin of one definition with gates and the last of another.
    const std::string withGates = "SELECT [Part_def_ID] FROM [Gate]";
    source.exec("UPDATE [Pin_Data] SET [Name] = 'first' WHERE [ID] = (SELECT MIN([ID]) FROM [Pin_Data] WHERE "
                "[Part_def_ID] = (SELECT MIN([Part_def_ID]) FROM (" +
                withGates + ") AS [g]));");
    source.exec("UPDATE [Pin_Data] SET [Name] = 'last' WHERE [ID] = (SELECT MAX([ID]) FROM [Pin_Data] WHERE "
                "[Part_def_ID] = (SELECT MAX([Part_def_ID]) FROM (" +
                withGates + ") AS [g]));");
    ProgramRun again = runPartlib({"copy", source.init, target, "--yes"});
    ASSERT_EQ(again.status, 0) << again.all();
    EXPECT_EQ(loggedWrites(target), (std::vector<std::string>{"UPDATE Pin_Data", "UPDATE Pin_Data"}));
    EXPECT_EQ(txdbtest::naturalTablesOf(target), txdbtest::naturalTablesOf(source.init));
}

// Stored pins whose identifiers differ only in case, which an engine that
// compares without case takes for one another: the definition's details are
// written anew, as they are when a pin is not stored. Without them nothing
// is written.
TEST(ReSync, DetailsOfPinsThatDifferOnlyInCaseAreWrittenAnew) {
    for (const bool twins : {false, true}) {
        // Two more pins, which no gate, swap gate or group names.
        const std::string source = txdbtest::partLibraryWith(
            std::string(BASE) + "INSERT INTO Pin_Data (ID, Part_def_ID, Pin_identifier) VALUES (5, 1, 'q'), (6, 1, " +
            (twins ? "'Q'" : "'r'") + ");");
        const std::string target = txdbtest::tempFile();
        ASSERT_EQ(runPartlib({"copy", source, target, "--yes"}).status, 0);
        logWrites(target);
        ProgramRun again = runPartlib({"copy", source, target, "--yes"});
        ASSERT_EQ(again.status, 0) << again.all();
        EXPECT_EQ(loggedWrites(target).empty(), !twins) << "twins: " << twins;
        EXPECT_EQ(txdbtest::naturalTablesOf(target), txdbtest::naturalTables(source)) << "twins: " << twins;
    }
}

// Pins whose identifiers differ only in case, each named by a gate and a
// swap gate: a copy links each member to the pin of its exact identifier,
// and so does a copy again.
TEST(ReSync, MembersNamingPinsThatDifferOnlyInCaseAreLinkedToTheirOwn) {
    const std::string source =
        txdbtest::partLibraryWith(std::string(BASE) + "UPDATE Pin_Data SET Pin_identifier = 'p' WHERE ID = 3; "
                                                      "UPDATE Pin_Data SET Pin_identifier = 'P' WHERE ID = 4;");
    const std::string target = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source, target, "--yes"}).status, 0);
    EXPECT_EQ(txdbtest::naturalTables(target), txdbtest::naturalTables(source));
    ASSERT_EQ(runPartlib({"copy", source, target, "--yes"}).status, 0);
    EXPECT_EQ(txdbtest::naturalTables(target), txdbtest::naturalTables(source));
}

// A target whose pins have no key: a pin cannot be changed there, and a
// pin that equals its row is refused as a change would be.
TEST(ReSync, PinsOfATableWithoutKeyAreRefusedEvenWhenUnchanged) {
    const std::string source = txdbtest::partLibraryWith(BASE);
    const std::string target = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"copy", source, target, "--yes"}).status, 0);
    txdbtest::runSql(target,
                     "PRAGMA legacy_alter_table = ON; ALTER TABLE Pin_Data RENAME TO Pin_Data_keyed;"
                     "CREATE TABLE Pin_Data (ID INTEGER, Part_def_ID INTEGER NOT NULL, Pin_identifier VARCHAR(10), "
                     "Name VARCHAR(10), Label VARCHAR(50), Pin_position INTEGER, Pin_type INTEGER, Loading INTEGER, "
                     "Signal VARCHAR(50), Equiv_group INTEGER);"
                     "INSERT INTO Pin_Data SELECT * FROM Pin_Data_keyed; DROP TABLE Pin_Data_keyed;"
                     "CREATE UNIQUE INDEX PinDataIds ON Pin_Data (ID);"
                     "CREATE INDEX PinDataPartDefIndex ON Pin_Data (Part_def_ID);"
                     "CREATE UNIQUE INDEX PinDataUnique ON Pin_Data (Part_def_ID, Pin_identifier);"
                     "CREATE INDEX PinDataEquivGroup ON Pin_Data (Equiv_group);");
    ProgramRun again = runPartlib({"copy", source, target, "--yes"});
    EXPECT_NE(again.status, 0);
    EXPECT_NE(again.all().find("has no primary key"), std::string::npos) << again.all();
}

struct Recorder : Observer<WriterEvent> {
    void update(const WriterEvent &event) override {
        events.push_back(std::to_string(event.writeType) + " " + event.text + " " + std::to_string(event.index) + "/" +
                         std::to_string(event.total));
    }
    std::vector<std::string> events;
};

bool neverCancel() {
    return false;
}

std::vector<std::string> eventsOfCopy(const pathHandle_t &source, const pathHandle_t &target) {
    auto recorder = std::make_shared<Recorder>();
    std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target);
    writer->attach(recorder);
    EXPECT_EQ(txdbtest::thrownMessage([&] { writer->write(getLibraryReader(source, nullptr), neverCancel); }),
              "<no exception>");
    return recorder->events;
}

class ReSyncEvents : public ::testing::TestWithParam<std::string> {};

TEST_P(ReSyncEvents, AreTheSameWhetherTheDetailsAreLeftOrRewritten) {
    txdbtest::SampleDatabase source(GetParam(), {"Demo", 200, 1, false});
    txdbtest::SampleDatabase kept = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    txdbtest::SampleDatabase rewritten = txdbtest::SampleDatabase::other(GetParam(), {"", 0});
    eventsOfCopy(source.path, kept.path);
    eventsOfCopy(source.path, rewritten.path);
    // A stored pin of each definition renamed (one in no equivalence group,
    // whose identifier no event shows) makes the definition's details be
    // rewritten: the source's pin is not stored under its identifier.
    rewritten.exec("UPDATE [Pin_Data] SET [Pin_identifier] = [ID] + 900000 WHERE [ID] IN (SELECT [m] FROM (SELECT "
                   "MIN([ID]) AS [m] FROM [Pin_Data] WHERE [Equiv_group] IS NULL GROUP BY [Part_def_ID]) AS [x]);");
    const int keptGates = kept.ints("SELECT MAX([ID]) FROM [Gate];").at(0);
    const int rewrittenGates = rewritten.ints("SELECT MAX([ID]) FROM [Gate];").at(0);

    const std::vector<std::string> leftAlone = eventsOfCopy(source.path, kept.path);
    const std::vector<std::string> written = eventsOfCopy(source.path, rewritten.path);
    EXPECT_EQ(kept.ints("SELECT MAX([ID]) FROM [Gate];").at(0), keptGates) << "the gates stayed";
    EXPECT_GT(rewritten.ints("SELECT MAX([ID]) FROM [Gate];").at(0), rewrittenGates) << "the gates were rewritten";
    ASSERT_GT(leftAlone.size(), 1000u);
    EXPECT_EQ(leftAlone.size(), written.size());
    for (size_t i = 0; i < std::min(leftAlone.size(), written.size()); ++i)
        if (leftAlone[i] != written[i]) {
            ADD_FAILURE() << "event " << i << ": " << leftAlone[i] << " against " << written[i] << " after "
                          << (i > 0 ? leftAlone[i - 1] : std::string());
            break;
        }
}

INSTANTIATE_TEST_SUITE_P(Engines, ReSyncEvents, ::testing::ValuesIn(txdbtest::testEngines()));

} // namespace
