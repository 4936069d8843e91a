// A library read ahead: every per-parent query answers as the database
// would, in few statements, and what a write changes is asked of the
// database again.

#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

struct PerParent {
    const char *sql;
    const char *parents; // the keys to run it for
};

const char *const DEFINITIONS = "SELECT [ID] FROM [Part_Definition] ORDER BY([ID]);";
const char *const GATES = "SELECT [ID] FROM [Gate] ORDER BY([ID]);";
const char *const SWAPS = "SELECT [ID] FROM [Gate_Equiv] ORDER BY([ID]);";
const char *const SWAP_GATES = "SELECT [ID] FROM [Gate_Equiv_Gate] ORDER BY([ID]);";
const char *const GROUPS = "SELECT [ID] FROM [Pin_Equiv] ORDER BY([ID]);";

const PerParent queries[] = {
    {"SELECT [Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],[Pin_position],[Equiv_group],"
     "[Part_def_ID],[ID] FROM [Pin_Data] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
     DEFINITIONS},
    {"SELECT Count(*) FROM [Pin_Data] WHERE [Part_def_ID] = ?;", DEFINITIONS},
    {"SELECT [Name],[Attribute_value],[Usage_type],[Read_Only],[Part_def_ID] FROM [Attributes] WHERE "
     "[Part_def_ID] = ? ORDER BY([Name]);",
     DEFINITIONS},
    {"SELECT [ID],[Name],[Alt_name],[Part_def_ID] FROM [Gate] WHERE [Part_def_ID] = ? ORDER BY([ID]);", DEFINITIONS},
    {"SELECT [Pin_Data].[Pin_identifier] FROM [Gate_has_Pin_Data],[Pin_Data] WHERE "
     "[Gate_has_Pin_Data].[Pin_data_ID]=[Pin_Data].[ID] AND [Gate_has_Pin_Data].[Gate_ID] = ? "
     "ORDER BY([Gate_has_Pin_Data].[ID]);",
     GATES},
    {"SELECT Count(*) FROM [Gate_has_Pin_Data] WHERE [Gate_ID] = ?", GATES},
    {"SELECT [ID],[Gate_equiv_ID],[Equiv_type] FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ? ORDER BY([ID]);",
     SWAPS},
    {"SELECT [Pin_data_ID],[Gate_equiv_gate_ID],[ID] FROM [Gate_Equiv_has_Pin_Data] WHERE [Gate_equiv_gate_ID] = ? "
     "ORDER BY([ID]);",
     SWAP_GATES},
    {"SELECT [Pin_identifier],[Equiv_group],[ID] FROM [Pin_Data] WHERE [Equiv_group] = ? ORDER BY([ID]);", GROUPS},
};

// Every row of the query (in the engine's quoting) for the parent on the
// connection: each value as text and kind.
std::vector<std::string> rowsOn(ProviderConnection &connection, const std::string &sql, int32_t parent) {
    std::unique_ptr<ProviderStatement> statement;
    EXPECT_EQ(prepareQuery(connection, sql, statement), S_OK) << sql;
    EXPECT_EQ(statement->execute({DBParam::fromInt(parent)}), S_OK) << sql;
    std::vector<std::string> rows;
    while (statement->fetch() == S_OK) {
        std::string row;
        for (int ordinal = 1; ordinal <= statement->columnCount(); ++ordinal) {
            size_t length = 0;
            const char *text = statement->getText(ordinal, length);
            const DBParam value = statement->value(ordinal);
            int64_t whole = 0;
            const bool isWhole = statement->getInteger(ordinal, whole);
            EXPECT_EQ(statement->kind(ordinal), value.kind) << sql;
            row += statement->columnName(ordinal) + "=" +
                   (statement->isNull(ordinal) ? "NULL" : std::string(text, length)) + ":" +
                   std::to_string(value.kind) + ":" + std::to_string(value.intVal) + ":" +
                   std::to_string(statement->getInt(ordinal)) + ":" + (isWhole ? std::to_string(whole) : "-") + " ";
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> rowsOf(CTraxDBPath &path, const std::string &sql, int32_t parent) {
    return rowsOn(*path.getSession().getConnection(), path.fixTcEnc(sql), parent);
}

class LibraryPrefetchTest : public ::testing::TestWithParam<std::string> {
protected:
    LibraryPrefetchTest() : db(GetParam(), {"Demo", 600, 1, true}) {
        // A second library, whose parents the prefetch of the first does not know.
        writeSampleLibrary(db.dbPath(), {"Other", 60, 100000, false});
        library = db.ints("SELECT [ID] FROM [Library] WHERE [Name] = 'Demo';").at(0);
        // SQLite keeps what it is given: texts, fractions and numbers beyond
        // 32 bits in integer columns are read ahead as the engine reads them.
        if (GetParam() == "SQLite")
            db.exec("UPDATE [Pin_Data] SET [Pin_type] = CASE [ID] % 4 WHEN 0 THEN '12abc' WHEN 1 THEN 2.5 WHEN 2 "
                    "THEN 1099511627781 ELSE -7 END, [Loading] = CASE [ID] % 3 WHEN 0 THEN ' 42' WHEN 1 THEN "
                    "'x' ELSE NULL END WHERE [ID] % 5 = 0;");
    }

    ProviderConnection &connection() { return *db.dbPath().getSession().getConnection(); }
    std::vector<std::string> pinsOf(int32_t definition) { return rowsOf(db.dbPath(), queries[0].sql, definition); }

    txdbtest::SampleDatabase db;
    int32_t library = 0;
};

TEST_P(LibraryPrefetchTest, AnswersEveryQueryAsTheDatabaseDoesInFewStatements) {
    std::vector<std::vector<std::string>> expected;
    for (const PerParent &query : queries)
        for (int parent : db.ints(query.parents))
            expected.push_back(rowsOf(db.dbPath(), query.sql, parent));
    long executions = 0;
    LibraryPrefetch::Scope scope(connection(), library);
    size_t at = 0;
    for (const PerParent &query : queries)
        for (int parent : db.ints(query.parents)) {
            ASSERT_EQ(rowsOf(db.dbPath(), query.sql, parent), expected.at(at++)) << query.sql << " for " << parent;
            ++executions;
        }
    // One read per query and one per kind of parent, whatever the size of
    // the library; the parents of the other library go to the database.
    // The count of the pins is taken from the pins read, with no read of
    // its own; the count of a gate's links counts other rows than the gate
    // pins' query reads.
    EXPECT_EQ(scope.prefetch().readsRun(), static_cast<long>(std::size(queries)) - 1 + PARENT_KINDS);
    EXPECT_GT(scope.prefetch().executionsAnswered(), executions / 2);
    EXPECT_LT(scope.prefetch().executionsAnswered(), executions);
}

TEST_P(LibraryPrefetchTest, WhatARowsetChangesIsAskedOfTheDatabaseAgain) {
    const std::vector<int> definitions = db.ints(
        "SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = " + std::to_string(library) + " ORDER BY([ID]);");
    ASSERT_GT(definitions.size(), 12u);
    // A definition with a gate, whose pins the gate query reads along with
    // the gate's links.
    int32_t changed = 0;
    std::vector<int> gates;
    for (size_t i = 10; i < definitions.size() && gates.empty(); ++i) {
        changed = definitions[i];
        gates = db.ints("SELECT [ID] FROM [Gate] WHERE [Part_def_ID] = " + std::to_string(changed) + ";");
    }
    ASSERT_FALSE(gates.empty());
    LibraryPrefetch::Scope scope(connection(), library);
    for (int definition : definitions) {
        pinsOf(definition);
        rowsOf(db.dbPath(), queries[2].sql, definition);
    }
    for (int gate : db.ints(GATES))
        rowsOf(db.dbPath(), queries[4].sql, gate);
    const long answeredBefore = scope.prefetch().executionsAnswered();
    rowsOf(db.dbPath(), queries[4].sql, gates.at(0));
    ASSERT_EQ(scope.prefetch().executionsAnswered(), answeredBefore + 1) << "the gate's pins are read ahead";
    CCommand<CAccessor<PinDataAccessor>> rowset;
    rowset.parentId = changed;
    db.dbPath().open(rowset, queries[0].sql);
    ASSERT_EQ(rowset.MoveToRow(0), S_OK);
    std::snprintf(rowset.name, sizeof rowset.name, "%s", "renamed");
    ASSERT_EQ(rowset.SetData(), S_OK);
    ASSERT_EQ(rowset.Update(), S_OK);
    EXPECT_NE(pinsOf(changed).at(0).find("Name=renamed:"), std::string::npos);
    // The queries that read the changed table go to the database for the
    // definition: the gate's pins too, as they are read with the pins'
    // identifiers. Its other tables and the other definitions are still
    // answered from what was read.
    const long answered = scope.prefetch().executionsAnswered();
    rowsOf(db.dbPath(), queries[4].sql, gates.at(0));
    EXPECT_EQ(scope.prefetch().executionsAnswered(), answered);
    rowsOf(db.dbPath(), queries[2].sql, changed);
    pinsOf(changed == definitions.at(11) ? definitions.at(12) : definitions.at(11));
    EXPECT_EQ(scope.prefetch().executionsAnswered(), answered + 2);
}

// A count of one parent's rows is taken from the rows read ahead, and asked
// of the database again once a rowset changed them; the other library's
// parents are counted by the database.
TEST_P(LibraryPrefetchTest, CountsAreTheDatabasesBeforeAndAfterARowsetChangesTheirRows) {
    const char *const count = queries[1].sql;
    const std::vector<int> definitions = db.ints(DEFINITIONS);
    std::vector<int> expected;
    for (int definition : definitions)
        expected.push_back(runCount(db.dbPath(), count, definition));
    const int32_t changed =
        db.ints("SELECT MIN([Part_def_ID]) FROM [Pin_Data] WHERE [Part_def_ID] IN (SELECT [ID] FROM "
                "[Part_Definition] WHERE [Library_ID] = " +
                std::to_string(library) + ");")
            .at(0);
    LibraryPrefetch::Scope scope(connection(), library);
    pinsOf(changed);
    runCount(db.dbPath(), count, changed); // names the count's column
    const long answered = scope.prefetch().executionsAnswered();
    for (size_t i = 0; i < definitions.size(); ++i)
        ASSERT_EQ(runCount(db.dbPath(), count, definitions[i]), expected[i]) << "definition " << definitions[i];
    const int own =
        db.ints("SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = " + std::to_string(library) + ";").at(0);
    EXPECT_EQ(scope.prefetch().executionsAnswered(), answered + own);

    CCommand<CAccessor<PinDataAccessor>> rowset;
    rowset.parentId = changed;
    db.dbPath().open(rowset, queries[0].sql);
    rowset.partDefId = changed;
    rowset.id = db.ints("SELECT MAX([ID]) FROM [Pin_Data];").at(0) + 1;
    std::snprintf(rowset.pinIdentifier, sizeof rowset.pinIdentifier, "%s", "added");
    rowset.equivGroupStatus = DBSTATUS_S_ISNULL;
    ASSERT_EQ(rowset.Insert(), S_OK);
    ASSERT_EQ(rowset.Update(), S_OK);
    const size_t at =
        static_cast<size_t>(std::find(definitions.begin(), definitions.end(), changed) - definitions.begin());
    EXPECT_EQ(runCount(db.dbPath(), count, changed), expected.at(at) + 1);
    EXPECT_EQ(runCount(db.dbPath(), count, definitions.back()), expected.back());
}

TEST_P(LibraryPrefetchTest, StatementsWithoutResultAndOtherChangesDropWhatWasRead) {
    const std::vector<int> definitions = db.ints(
        "SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = " + std::to_string(library) + " ORDER BY([ID]);");
    LibraryPrefetch::Scope scope(connection(), library);
    for (int definition : definitions)
        pinsOf(definition);
    const int32_t first = definitions.at(0);
    db.exec("UPDATE [Pin_Data] SET [Name] = 'direct' WHERE [Part_def_ID] = " + std::to_string(first) + ";");
    EXPECT_NE(pinsOf(first).at(0).find("Name=direct:"), std::string::npos);

    for (int definition : definitions)
        pinsOf(definition);
    // A rowset over a query of no parent changes a pin: nothing read is trusted.
    CCommand<CAccessor<PinDataAccessor>> rowset;
    rowset.parentId =
        db.ints("SELECT MIN([ID]) FROM [Pin_Data] WHERE [Part_def_ID] = " + std::to_string(definitions.at(5)) + ";")
            .at(0);
    db.dbPath().open(rowset, "SELECT [Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],[Pin_position],"
                             "[Equiv_group],[Part_def_ID],[ID] FROM [Pin_Data] WHERE [ID] = ?;");
    ASSERT_EQ(rowset.MoveToRow(0), S_OK);
    std::snprintf(rowset.name, sizeof rowset.name, "%s", "other");
    ASSERT_EQ(rowset.SetData(), S_OK);
    ASSERT_EQ(rowset.Update(), S_OK);
    EXPECT_NE(pinsOf(definitions.at(5)).at(0).find("Name=other:"), std::string::npos);
}

// The queries the first library was read ahead by are read for the next at
// once: on SQLite on a second connection, beside the first one's work.
TEST_P(LibraryPrefetchTest, TheNextLibraryIsReadByTheQueriesOfTheLastAndAnswersAlike) {
    const int32_t other = db.ints("SELECT [ID] FROM [Library] WHERE [Name] = 'Other';").at(0);
    std::vector<std::vector<std::string>> expected;
    for (const PerParent &query : queries)
        for (int parent : db.ints(query.parents))
            expected.push_back(rowsOf(db.dbPath(), query.sql, parent));
    LibraryPrefetch::ReadOrder order;
    {
        // A count runs on the engine before it is read ahead.
        LibraryPrefetch::Scope scope(connection(), library, &order);
        for (const PerParent &query : queries)
            for (int time = 0; time < 2; ++time)
                rowsOf(db.dbPath(), query.sql, db.ints(query.parents).at(0));
    }
    // The pins' count is taken from the pins read: it is no read of its own.
    ASSERT_EQ(order.reads.size(), std::size(queries) - 1);

    LibraryPrefetch::Scope scope(connection(), other, &order);
    size_t at = 0;
    long executions = 0;
    for (const PerParent &query : queries)
        for (int parent : db.ints(query.parents)) {
            ASSERT_EQ(rowsOf(db.dbPath(), query.sql, parent), expected.at(at++)) << query.sql << " for " << parent;
            ++executions;
        }
    // The other library's parents are a part of all: what is answered is
    // answered from the rows read ahead.
    EXPECT_GT(scope.prefetch().executionsAnswered(), 0);
    EXPECT_LT(scope.prefetch().executionsAnswered(), executions);
    // Besides the parents of each kind, every read is one of the first
    // library's, taken from the second connection where there is one. The
    // other library has no swap groups to read.
    const long reads = scope.prefetch().readsRun() - PARENT_KINDS;
    EXPECT_GT(reads, 0);
    EXPECT_LE(reads, static_cast<long>(order.reads.size()));
    EXPECT_EQ(scope.prefetch().readsInParallel(), GetParam() == "SQLite" ? reads : 0);
}

// A connection that runs a transaction sees its own changes; another
// connection would not: the reads stay on it.
TEST_P(LibraryPrefetchTest, ATransactionsOwnChangesAreReadAhead) {
    const int32_t other = db.ints("SELECT [ID] FROM [Library] WHERE [Name] = 'Other';").at(0);
    const int32_t definition =
        db.ints("SELECT MIN([ID]) FROM [Part_Definition] WHERE [Library_ID] = " + std::to_string(other) + ";").at(0);
    const std::string pin = std::to_string(
        db.ints("SELECT MIN([ID]) FROM [Pin_Data] WHERE [Part_def_ID] = " + std::to_string(definition) + ";").at(0));
    LibraryPrefetch::ReadOrder order;
    {
        LibraryPrefetch::Scope scope(connection(), library, &order);
        pinsOf(db.ints(DEFINITIONS).at(0));
    }
    ASSERT_EQ(connection().begin(), S_OK);
    ASSERT_EQ(
        connection().execute(db.dbPath().fixTcEnc("UPDATE [Pin_Data] SET [Name] = 'unco' WHERE [ID] = " + pin + ";")),
        S_OK)
        << (CDBErrorInfo::records().empty() ? "" : CDBErrorInfo::records().back());
    {
        LibraryPrefetch::Scope scope(connection(), other, &order);
        const std::vector<std::string> pins = pinsOf(definition);
        ASSERT_FALSE(pins.empty());
        EXPECT_NE(pins.at(0).find("Name=unco:"), std::string::npos) << pins.at(0);
        EXPECT_EQ(scope.prefetch().readsInParallel(), 0);
    }
    EXPECT_EQ(connection().rollback(), S_OK);
}

// A TEMP table of the connection hides the file's table of its name from
// the connection's reads: a second connection would read the file's.
TEST_P(LibraryPrefetchTest, ATemporaryTableIsReadWhereItHidesTheFilesTable) {
    if (GetParam() != "SQLite")
        GTEST_SKIP() << "TEMP tables that hide a table of the database are SQLite's";
    const int32_t other = db.ints("SELECT [ID] FROM [Library] WHERE [Name] = 'Other';").at(0);
    const int32_t definition =
        db.ints("SELECT MIN([ID]) FROM [Part_Definition] WHERE [Library_ID] = " + std::to_string(other) + ";").at(0);
    LibraryPrefetch::ReadOrder order;
    {
        LibraryPrefetch::Scope scope(connection(), library, &order);
        pinsOf(db.ints(DEFINITIONS).at(0));
    }
    db.exec("CREATE TEMP TABLE [Pin_Data] AS SELECT * FROM main.[Pin_Data];");
    db.exec("UPDATE temp.[Pin_Data] SET [Name] = 'temp';");
    LibraryPrefetch::Scope scope(connection(), other, &order);
    const std::vector<std::string> pins = pinsOf(definition);
    ASSERT_FALSE(pins.empty());
    EXPECT_NE(pins.at(0).find("Name=temp:"), std::string::npos) << pins.at(0);
    EXPECT_EQ(scope.prefetch().readsInParallel(), 0);
}

// A read order serves the connection it was read on alone: not one opened
// later where that one was, which may hold another database or engine.
TEST_P(LibraryPrefetchTest, AReadOrderServesOnlyTheConnectionItWasReadOn) {
    if (GetParam() != "SQLite")
        GTEST_SKIP() << "only SQLite's reads on a second connection tell that an order was used";
    const int32_t other = db.ints("SELECT [ID] FROM [Library] WHERE [Name] = 'Other';").at(0);
    const int32_t definition =
        db.ints("SELECT MIN([ID]) FROM [Part_Definition] WHERE [Library_ID] = " + std::to_string(other) + ";").at(0);
    const std::string pins = db.dbPath().fixTcEnc(queries[0].sql);
    InitString init;
    ASSERT_EQ(InitString::parse(db.init, init), S_OK);
    LibraryPrefetch::ReadOrder order;
    std::unique_ptr<ProviderConnection> first;
    ASSERT_EQ(openProvider(init, first), S_OK);
    {
        LibraryPrefetch::Scope scope(*first, library, &order);
        rowsOn(*first, pins, db.ints(DEFINITIONS).at(0));
    }
    ASSERT_FALSE(order.reads.empty());
    const ProviderConnection *closed = first.get();
    first.reset();
    std::unique_ptr<ProviderConnection> next;
    for (int attempt = 0; attempt < 100 && next.get() != closed; ++attempt) {
        next.reset();
        ASSERT_EQ(openProvider(init, next), S_OK);
    }
    if (next.get() != closed)
        GTEST_SKIP() << "no connection was opened where the closed one was";
    LibraryPrefetch::Scope scope(*next, other, &order);
    EXPECT_FALSE(rowsOn(*next, pins, definition).empty());
    EXPECT_EQ(scope.prefetch().readsInParallel(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryPrefetchTest, ::testing::ValuesIn(txdbtest::testEngines()));

} // namespace
