// The INSERT statements of a library write, byte for byte for every table:
// keys counted on from the table's maximum, quotes doubled, NULL in the
// middle and at the end of a tuple, 1000 rows a statement or one, the pin
// rows that wait for their equivalence group, the multi-row probe, and one
// set of buffers per path.

#include "ctraxdbpartlib/writers/CTraxDBStatementBuffers.h"
#include "ctraxdbpartlib/writers/CTraxDBWriteTransaction.h"
#include "tests/support/PathTestSupport.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

template <size_t N> void setText(char (&field)[N], const std::string &text) {
    ASSERT_LT(text.size(), N);
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size());
}

const DBSTATUS NUL = DBSTATUS_S_ISNULL;

// Every statement a table hands out, up to and including NO_MORE_TO_WRITE.
std::vector<std::string> drain(CTraxDBStatementBuffers &buffers, WriteTable table) {
    std::vector<std::string> statements;
    for (std::string statement; statement != NO_MORE_TO_WRITE;) {
        statement = buffers.nextStatement(table);
        statements.push_back(statement);
    }
    return statements;
}

// One table: its statement head, a builder that adds row 0 or 1 (giving the
// new key, or -1 for a table without key) and the tuple each row must get
// with the key `k`.
struct TableCase {
    const char *name;
    WriteTable table;
    const char *maxQuery; // null for a table without key
    const char *head;
    std::function<int32_t(CTraxDBStatementBuffers &, int)> add;
    std::function<std::string(const std::string &k, int)> tuple;
};

std::vector<TableCase> tableCases() {
    return {
        {"Hierarchy", WriteTable::Hierarchy, "SELECT MAX([ID]) FROM [Hierarchy];",
         "INSERT INTO [Hierarchy] ([Name], [ID], [Library_ID], [Parent_ID]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) {
             HierarchyAccessor folder;
             setText(folder.name, row == 0 ? "O'Brien's" : "''");
             folder.libraryId = 3;
             folder.parentId = 5;
             folder.parentIdStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             return buffers.bufferHierarchyRow(folder, row == 0 ? 4 : -1);
         },
         [](const std::string &k, int row) {
             return row == 0 ? " ('O''Brien''s', " + k + ", 3, 5)" : " ('''''', " + k + ", 3, NULL)";
         }},
        {"Part_Definition", WriteTable::PartDefinition, "SELECT MAX([ID]) FROM [Part_Definition];",
         "INSERT INTO [Part_Definition] ([ID], [Library_ID], [Name], [PCB_component_name], [PCB_alternate_name], "
         "[Part_def_value], [Component_name_stem], [PSpice_data], [Max_connector_pins], [Gate_swapping], "
         "[Pin_num_name], [Is_FPGA]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) {
             PartDefAccessor definition;
             definition.libraryId = 3;
             setText(definition.name, row == 0 ? "R'1" : "D");
             setText(definition.pcbCompName, row == 0 ? "RES" : "P");
             setText(definition.pcbAltName, "ALT");
             definition.pcbAltNameStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             setText(definition.value, row == 0 ? "10k" : "");
             setText(definition.compNameStem, "R");
             definition.compNameStemStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             setText(definition.pSpice, "x");
             definition.pSpiceStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             definition.maxConnectorPins = row == 0 ? 2 : -1;
             definition.gateSwapping = row == 0 ? 1 : 0;
             definition.isFPGA = row == 0 ? 1 : 0;
             return buffers.bufferPartDefRow(definition, row == 0 ? 7 : -1);
         },
         [](const std::string &k, int row) {
             return row == 0 ? " (" + k + ", 3, 'R''1', 'RES', 'ALT', '10k', 'R', 'x', 2, 1, 0, 1)"
                             : " (" + k + ", 3, 'D', 'P', NULL, '', NULL, NULL, -1, 0, 0, 0)";
         }},
        {"Attributes", WriteTable::Attributes, nullptr,
         "INSERT INTO [Attributes] ([Part_def_ID], [Name], [Attribute_value], [Usage_type], [Read_Only]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) {
             AttributeAccessor attribute;
             attribute.partDefId = 9;
             setText(attribute.name, row == 0 ? "Tol" : "'");
             setText(attribute.value, row == 0 ? "5'%" : "");
             attribute.usageType = row;
             attribute.readOnly = 1 - row;
             buffers.bufferAttributeRow(attribute);
             return -1;
         },
         [](const std::string &, int row) { return row == 0 ? " (9, 'Tol', '5''%', 0, 1)" : " (9, '''', '', 1, 0)"; }},
        {"Gate", WriteTable::Gate, "SELECT MAX([ID]) FROM [Gate];",
         "INSERT INTO [Gate] ([ID], [Part_def_ID], [Name], [Alt_name]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) {
             GateAccessor gate;
             gate.partDefId = 9;
             setText(gate.name, row == 0 ? "A" : "C");
             setText(gate.altName, "B'");
             gate.altNameStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             return buffers.bufferGateRow(gate);
         },
         [](const std::string &k, int row) {
             return row == 0 ? " (" + k + ", 9, 'A', 'B''')" : " (" + k + ", 9, 'C', NULL)";
         }},
        {"Gate_has_Pin_Data", WriteTable::GateHasPinData, "SELECT MAX([ID]) FROM [Gate_has_Pin_Data];",
         "INSERT INTO [Gate_has_Pin_Data] ([ID], [Gate_ID], [Pin_data_ID]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) { return buffers.bufferGatePinRow(4, 11 + row); },
         [](const std::string &k, int row) { return " (" + k + ", 4, " + std::to_string(11 + row) + ")"; }},
        {"Gate_Equiv", WriteTable::GateEquiv, "SELECT MAX([ID]) FROM [Gate_Equiv];",
         "INSERT INTO [Gate_Equiv] ([ID], [Part_def_ID], [Name]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) {
             GateSwapAccessor group;
             group.partDefId = 9;
             setText(group.name, row == 0 ? "S'w" : "");
             return buffers.bufferGateSwapRow(group);
         },
         [](const std::string &k, int row) { return " (" + k + ", 9, " + (row == 0 ? "'S''w')" : "'')"); }},
        {"Gate_Equiv_Gate", WriteTable::GateEquivGate, "SELECT MAX([ID]) FROM [Gate_Equiv_Gate];",
         "INSERT INTO [Gate_Equiv_Gate] ([ID], [Gate_equiv_ID], [Equiv_type]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) {
             GateSwapGateAccessor gate;
             gate.gateEquivId = 6;
             gate.equivType = row == 0 ? 2 : -3;
             return buffers.bufferGateSwapGateRow(gate);
         },
         [](const std::string &k, int row) { return " (" + k + ", 6, " + (row == 0 ? "2)" : "-3)"); }},
        {"Gate_Equiv_has_Pin_Data", WriteTable::GateEquivHasPinData, "SELECT MAX([ID]) FROM [Gate_Equiv_has_Pin_Data];",
         "INSERT INTO [Gate_Equiv_has_Pin_Data] ([ID], [Gate_equiv_gate_ID], [Pin_data_ID]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) { return buffers.bufferGateSwapPinRow(8, 11 + row); },
         [](const std::string &k, int row) { return " (" + k + ", 8, " + std::to_string(11 + row) + ")"; }},
        {"Pin_Equiv", WriteTable::PinEquiv, "SELECT MAX([ID]) FROM [Pin_Equiv];",
         "INSERT INTO [Pin_Equiv] ([ID], [Part_def_ID]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) { return buffers.bufferPinEquivRow(9 + row); },
         [](const std::string &k, int row) { return " (" + k + ", " + std::to_string(9 + row) + ")"; }},
        {"Parts", WriteTable::Parts, "SELECT MAX([ID]) FROM [Parts];",
         "INSERT INTO [Parts] ([ID], [Library_ID], [Part_def_ID], [Hierarchy_ID], [Name], [Part_number], "
         "[Description], [PSpice_data], [Part_version], [Part_Acceptance], [Part_Type]) VALUES",
         [](CTraxDBStatementBuffers &buffers, int row) {
             PartAccessor part;
             part.libraryId = 3;
             part.partDefId = 9;
             part.hierarchyId = 5;
             setText(part.name, row == 0 ? "P'1" : "Q");
             setText(part.number, "N");
             part.numberStatus = row == 0 ? NUL : DBSTATUS_S_OK;
             setText(part.description, "D");
             part.descriptionStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             setText(part.pSpice, "");
             part.pSpiceStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             part.version = 2;
             part.versionStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             setText(part.acceptance, "ok");
             part.acceptanceStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             part.partType = 2;
             part.partTypeStatus = row == 0 ? DBSTATUS_S_OK : NUL;
             return buffers.bufferPartRow(part);
         },
         [](const std::string &k, int row) {
             return row == 0 ? " (" + k + ", 3, 9, 5, 'P''1', NULL, 'D', '', 2, 'ok', 2)"
                             : " (" + k + ", 3, 9, 5, 'Q', 'N', NULL, NULL, NULL, NULL, NULL)";
         }},
    };
}

const char *const PIN_HEAD = "INSERT INTO [Pin_Data] ([ID], [Part_def_ID], [Pin_identifier], [Name], [Label], "
                             "[Pin_position], [Pin_type], [Loading], [Signal], [Equiv_group]) VALUES";

// A pin of definition `partDefId` with only its identifier, or with every
// column set when `full`.
int32_t addPin(CTraxDBStatementBuffers &buffers, int32_t partDefId, const std::string &identifier, bool full = false) {
    PinDataAccessor pin;
    pin.partDefId = partDefId;
    setText(pin.pinIdentifier, identifier);
    setText(pin.name, "N'");
    setText(pin.label, "");
    setText(pin.signal, "S");
    pin.pinPosition = 1;
    pin.pinType = 2;
    pin.loading = -3;
    if (!full)
        pin.nameStatus = pin.pinPositionStatus = pin.loadingStatus = pin.signalStatus = NUL;
    return buffers.bufferPinRow(pin);
}

class StatementBuffersTest : public ::testing::TestWithParam<std::string> {
protected:
    // The sample library fills every table, so each key counts on from a
    // maximum of its own.
    StatementBuffersTest() : db(GetParam(), {"Demo", 20, 1, false}) {}
    void SetUp() override { lease.emplace(db.dbPath()); }
    CTraxDBStatementBuffers &buffers() { return *lease; }

    int32_t maxOf(const char *query) {
        const int max = db.ints(query).at(0);
        return max < 0 ? 0 : max;
    }

    txdbtest::SampleDatabase db;
    std::optional<CTraxDBStatementBuffers> lease;
};

TEST_P(StatementBuffersTest, EveryTableGivesItsHeadAndTuplesByteForByte) {
    for (bool multiRow : {true, false}) {
        for (const TableCase &table : tableCases()) {
            buffers().initStatementBuffers(multiRow);
            const int32_t first = table.maxQuery ? maxOf(table.maxQuery) + 1 : -1;
            EXPECT_EQ(table.add(buffers(), 0), first) << table.name;
            EXPECT_EQ(table.add(buffers(), 1), table.maxQuery ? first + 1 : -1) << table.name;
            const std::string row0 = table.tuple(std::to_string(first), 0);
            const std::string row1 = table.tuple(std::to_string(first + 1), 1);
            const std::vector<std::string> expected =
                multiRow ? std::vector<std::string>{table.head + row0 + "," + row1 + ";", NO_MORE_TO_WRITE}
                         : std::vector<std::string>{table.head + row0 + ";", table.head + row1 + ";", NO_MORE_TO_WRITE};
            EXPECT_EQ(drain(buffers(), table.table), expected)
                << table.name << (multiRow ? " multi-row" : " single-row");
            EXPECT_EQ(buffers().nextStatement(table.table), NO_MORE_TO_WRITE)
                << table.name << ": the end stays the end";
        }
    }
}

TEST_P(StatementBuffersTest, PinRowsWaitForTheirGroupAndAreJoinedAcrossDefinitions) {
    buffers().initStatementBuffers(true);
    const int32_t first = maxOf("SELECT MAX([ID]) FROM [Pin_Data];") + 1;
    const std::string k0 = std::to_string(first), k1 = std::to_string(first + 1), k2 = std::to_string(first + 2);
    EXPECT_EQ(addPin(buffers(), 9, "A'1", true), first);
    EXPECT_EQ(addPin(buffers(), 9, "B2"), first + 1);
    EXPECT_EQ(addPin(buffers(), 10, "A'1"), first + 2);

    // Found while pending, whatever the case, only in its own definition.
    EXPECT_EQ(buffers().findPendingPinID(9, "a'1"), first);
    EXPECT_EQ(buffers().findPendingPinID(9, "b2"), first + 1);
    EXPECT_EQ(buffers().findPendingPinID(10, "A'1"), first + 2);
    EXPECT_EQ(buffers().findPendingPinID(10, "B2"), -1);
    EXPECT_EQ(buffers().findPendingPinID(11, "A'1"), -1);

    // The group goes into the waiting row, once.
    EXPECT_TRUE(buffers().setPendingPinEquivGroup(9, "b2", 42));
    EXPECT_FALSE(buffers().setPendingPinEquivGroup(9, "B2", 43));
    EXPECT_FALSE(buffers().setPendingPinEquivGroup(9, "C3", 43));
    EXPECT_FALSE(buffers().setPendingPinEquivGroup(11, "A'1", 43));

    EXPECT_EQ(
        drain(buffers(), WriteTable::PinData),
        (std::vector<std::string>{std::string(PIN_HEAD) + " (" + k0 + ", 9, 'A''1', 'N''', '', 1, 2, -3, 'S', NULL)," +
                                      " (" + k1 + ", 9, 'B2', NULL, '', NULL, 2, NULL, NULL, 42)," + " (" + k2 +
                                      ", 10, 'A''1', NULL, '', NULL, 2, NULL, NULL, NULL)",
                                  NO_MORE_TO_WRITE}));

    // One row a statement: each pin its own.
    buffers().initStatementBuffers(false);
    addPin(buffers(), 9, "X");
    addPin(buffers(), 10, "Y");
    EXPECT_EQ(
        drain(buffers(), WriteTable::PinData),
        (std::vector<std::string>{std::string(PIN_HEAD) + " (" + k0 + ", 9, 'X', NULL, '', NULL, 2, NULL, NULL, NULL)",
                                  std::string(PIN_HEAD) + " (" + k1 + ", 10, 'Y', NULL, '', NULL, 2, NULL, NULL, NULL)",
                                  NO_MORE_TO_WRITE}));
}

TEST_P(StatementBuffersTest, TheThousandAndFirstRowOpensTheNextStatement) {
    buffers().initStatementBuffers(true);
    const int32_t first = maxOf("SELECT MAX([ID]) FROM [Gate_Equiv_has_Pin_Data];") + 1;
    for (int row = 0; row < 1001; ++row)
        buffers().bufferGateSwapPinRow(8, row);
    for (int row = 0; row < 1001; ++row)
        addPin(buffers(), 9, "P" + std::to_string(row));

    for (WriteTable table : {WriteTable::GateEquivHasPinData, WriteTable::PinData}) {
        const std::vector<std::string> statements = drain(buffers(), table);
        ASSERT_EQ(statements.size(), 3u);
        EXPECT_EQ(std::count(statements[0].begin(), statements[0].end(), '('), 1 + 1000);
        EXPECT_EQ(statements[2], NO_MORE_TO_WRITE);
        if (table == WriteTable::GateEquivHasPinData)
            EXPECT_EQ(statements[1], "INSERT INTO [Gate_Equiv_has_Pin_Data] ([ID], [Gate_equiv_gate_ID], "
                                     "[Pin_data_ID]) VALUES (" +
                                         std::to_string(first + 1000) + ", 8, 1000);");
        else
            EXPECT_NE(statements[1].find("'P1000', NULL, '', NULL, 2, NULL, NULL, NULL)"), std::string::npos)
                << statements[1];
    }
}

TEST_P(StatementBuffersTest, AnEmptyTableHasNoStatementAndFreeingStartsAgain) {
    buffers().initStatementBuffers(true);
    for (const TableCase &table : tableCases())
        EXPECT_EQ(buffers().nextStatement(table.table), NO_MORE_TO_WRITE) << table.name;
    EXPECT_EQ(buffers().nextStatement(WriteTable::PinData), NO_MORE_TO_WRITE);

    // Freeing drops the rows, the key maps and the pending pins.
    for (const TableCase &table : tableCases())
        table.add(buffers(), 0);
    addPin(buffers(), 9, "A1");
    EXPECT_EQ(buffers().folderKey(4), maxOf("SELECT MAX([ID]) FROM [Hierarchy];") + 1);
    EXPECT_EQ(buffers().partDefKey(7), maxOf("SELECT MAX([ID]) FROM [Part_Definition];") + 1);
    EXPECT_EQ(buffers().gatePins(4), std::vector<int32_t>{11});
    EXPECT_EQ(buffers().swapGatePins(8),
              std::vector<int32_t>{maxOf("SELECT MAX([ID]) FROM [Gate_Equiv_has_Pin_Data];") + 1});
    buffers().freeStatementBuffers();
    for (const TableCase &table : tableCases())
        EXPECT_EQ(buffers().nextStatement(table.table), NO_MORE_TO_WRITE) << table.name;
    EXPECT_EQ(buffers().nextStatement(WriteTable::PinData), NO_MORE_TO_WRITE);
    EXPECT_EQ(buffers().findPendingPinID(9, "A1"), -1);
    EXPECT_EQ(buffers().folderKey(4), -1);
    EXPECT_EQ(buffers().partDefKey(7), -1);
    EXPECT_TRUE(buffers().gatePins(4).empty());
    EXPECT_TRUE(buffers().swapGatePins(8).empty());
    // Lookups outside the maps and unset positions give -1.
    EXPECT_EQ(buffers().folderKey(-1), -1);
    EXPECT_EQ(buffers().partDefKey(100000), -1);
}

TEST_P(StatementBuffersTest, AnEmptyTableCountsFromOneAndReadsItsMaximumOncePerWrite) {
    txdbtest::SampleDatabase empty = txdbtest::SampleDatabase::other(GetParam(), {"Demo", 0});
    empty.exec("INSERT INTO [Library] ([ID], [Name], [Enabled]) VALUES (1, 'L', 1);");
    empty.exec("INSERT INTO [Part_Definition] ([ID], [Library_ID], [Name], [PCB_component_name], [Max_connector_pins], "
               "[Gate_swapping], [Pin_num_name], [Is_FPGA]) VALUES (1, 1, 'D', 'P', 0, 0, 0, 0);");
    GateAccessor gate;
    gate.partDefId = 1;
    setText(gate.name, "G");
    CTraxDBStatementBuffers emptyBuffers(empty.dbPath());
    emptyBuffers.initStatementBuffers(true);
    EXPECT_EQ(emptyBuffers.bufferGateRow(gate), 1);
    // A row stored behind the counter's back is not seen: no second query.
    empty.exec("INSERT INTO [Gate] ([ID], [Part_def_ID], [Name]) VALUES (7, 1, 'Behind');");
    EXPECT_EQ(emptyBuffers.bufferGateRow(gate), 2);
    // The next write reads the maximum again.
    emptyBuffers.initStatementBuffers(true);
    EXPECT_EQ(emptyBuffers.bufferGateRow(gate), 8);
    emptyBuffers.freeStatementBuffers();
    EXPECT_EQ(emptyBuffers.bufferGateRow(gate), 8);
}

TEST_P(StatementBuffersTest, TheProbeAnswersTrueAndLeavesNoRowBehind) {
    const std::vector<int> before = db.ints("SELECT COUNT(*) FROM [Attributes];");
    ASSERT_GT(before.at(0), 0);
    EXPECT_TRUE(probeMultiRowInsert(db.dbPath()));
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Attributes];"), before);
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Attributes] WHERE [Name] LIKE '<TEST_INSERT%';"), std::vector<int>{0});
}

// The engine is asked once per connection, not in every library write.
TEST_P(StatementBuffersTest, TheProbeAsksTheEngineOncePerConnection) {
    pathtest::TraceCapture trace;
    EXPECT_TRUE(probeMultiRowInsert(db.dbPath()));
    EXPECT_TRUE(probeMultiRowInsert(db.dbPath()));
    EXPECT_EQ(trace.messagesStartingWith("probeMultiRowInsert: asking").size(), 1u);
    CTraxDBPath other(db.init.c_str());
    EXPECT_TRUE(probeMultiRowInsert(other));
    EXPECT_EQ(trace.messagesStartingWith("probeMultiRowInsert: asking").size(), 2u);
}

// The probe's names are no reserved words: an attribute a user named so
// survives the probe, inside a write's transaction and outside one.
TEST_P(StatementBuffersTest, TheProbeLeavesAttributesOfItsNamesAlone) {
    const int definition = db.ints("SELECT MIN([ID]) FROM [Part_Definition];").at(0);
    db.exec("INSERT INTO [Attributes] ([Part_def_ID], [Name], [Attribute_value], [Usage_type], [Read_Only]) VALUES (" +
            std::to_string(definition) + ", '<TEST_INSERT1>', 'kept', 0, 0), (" + std::to_string(definition) +
            ", 'Mine', '<TEST_INSERT2>', 0, 0);");
    const std::vector<int> before = db.ints("SELECT COUNT(*) FROM [Attributes];");
    EXPECT_TRUE(probeMultiRowInsert(db.dbPath()));
    {
        CTraxDBWriteTransaction transaction(db.dbPath());
        // The connection knows the answer now: it is asked again here.
        db.dbPath().getSession().getConnection()->multiRowInsert().reset();
        EXPECT_TRUE(probeMultiRowInsert(db.dbPath()));
        transaction.commit();
    }
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Attributes];"), before);
    EXPECT_EQ(db.ints("SELECT COUNT(*) FROM [Attributes] WHERE [Name] = '<TEST_INSERT1>' AND [Attribute_value] = "
                      "'kept';"),
              std::vector<int>{1});
}

// Each path has the buffers of its own write: a second set on a path is
// refused while the first lives, a set on another path counts its keys from
// its own database and holds its own rows, and the path is free again once
// its buffers are gone.
TEST_P(StatementBuffersTest, EachPathHoldsOneSetOfBuffersOfItsOwn) {
    const std::string message = txdbtest::thrownMessage([this] { CTraxDBStatementBuffers second(db.dbPath()); });
    EXPECT_NE(message.find("Another library write is running on this database"), std::string::npos) << message;
    EXPECT_EQ(&CTraxDBStatementBuffers::of(db.dbPath()), &buffers());

    txdbtest::SampleDatabase other = txdbtest::SampleDatabase::other(GetParam(), {"Demo", 0});
    const std::string none = txdbtest::thrownMessage([&] { CTraxDBStatementBuffers::of(other.dbPath()); });
    EXPECT_EQ(none, "No library write is running on this database");
    {
        CTraxDBStatementBuffers otherBuffers(other.dbPath());
        EXPECT_EQ(&CTraxDBStatementBuffers::of(other.dbPath()), &otherBuffers);
        buffers().initStatementBuffers(true);
        otherBuffers.initStatementBuffers(true);
        const int32_t first = maxOf("SELECT MAX([ID]) FROM [Pin_Data];") + 1;
        EXPECT_EQ(addPin(buffers(), 9, "A1"), first);
        EXPECT_EQ(addPin(otherBuffers, 9, "B1"), 1);
        EXPECT_EQ(buffers().findPendingPinID(9, "B1"), -1);
        EXPECT_EQ(otherBuffers.findPendingPinID(9, "A1"), -1);
        EXPECT_EQ(otherBuffers.findPendingPinID(9, "B1"), 1);
        EXPECT_TRUE(buffers().isNewKey(WriteTable::PinData, first));
        EXPECT_FALSE(otherBuffers.isNewKey(WriteTable::PinData, first));
        EXPECT_EQ(drain(otherBuffers, WriteTable::PinData),
                  (std::vector<std::string>{
                      std::string(PIN_HEAD) + " (1, 9, 'B1', NULL, '', NULL, 2, NULL, NULL, NULL)", NO_MORE_TO_WRITE}));
        // The first set's row is still waiting.
        EXPECT_EQ(buffers().findPendingPinID(9, "A1"), first);
    }
    EXPECT_EQ(txdbtest::thrownMessage([&] { CTraxDBStatementBuffers::of(other.dbPath()); }), none);
    lease.reset();
    EXPECT_EQ(txdbtest::thrownMessage([this] { CTraxDBStatementBuffers again(db.dbPath()); }), "<no exception>");
}

INSTANTIATE_TEST_SUITE_P(Engines, StatementBuffersTest, ::testing::ValuesIn(txdbtest::testEngines()));

} // namespace
