// The transaction and savepoint guards and the engine's dialect, on a path
// opened on each engine: what a guard leaves behind when it goes, and that
// the connection knows the engine it reached.

#include "tests/support/PathTestSupport.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include "ctraxdbpartlib/connection/CTraxDBSavepoint.h"
#include "ctraxdbpartlib/connection/CTraxDBTransaction.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <gtest/gtest.h>

using namespace pathtest;

namespace {

class TransactionGuardTest : public ::testing::TestWithParam<std::string> {
protected:
    TransactionGuardTest() : init(txdbtest::freshDatabase(GetParam())) {
        RawDb(init).exec("CREATE TABLE [Guarded] ([ID] INTEGER NOT NULL PRIMARY KEY, [Name] VARCHAR(20));");
        path = std::make_unique<CTraxDBPath>(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    }

    void insert(int id) {
        path->execute("INSERT INTO [Guarded] ([ID],[Name]) VALUES (" + std::to_string(id) + ",'x');");
    }
    // The keys as another connection sees them: committed rows only.
    std::vector<int> committed() { return RawDb(init).ints("SELECT [ID] FROM [Guarded] ORDER BY [ID];"); }
    bool inTransaction() { return path->getSession().getConnection()->inTransaction(); }

    std::string init;
    std::unique_ptr<CTraxDBPath> path;
};

TEST_P(TransactionGuardTest, ATransactionIsAbortedWhenItGoesUnlessCommitted) {
    {
        CTraxDBTransaction transaction(*path);
        insert(1);
    }
    EXPECT_FALSE(inTransaction());
    EXPECT_EQ(committed(), std::vector<int>{});
    // An exception on the way out aborts as well.
    EXPECT_NE(thrownMessage([&] {
                  CTraxDBTransaction transaction(*path, CTraxDBTransaction::Kind::Write);
                  insert(2);
                  insert(2);
              }),
              "<no exception>");
    EXPECT_FALSE(inTransaction());
    EXPECT_EQ(committed(), std::vector<int>{});
    {
        CTraxDBTransaction transaction(*path);
        insert(3);
        transaction.commit();
    }
    EXPECT_EQ(committed(), std::vector<int>{3});
}

TEST_P(TransactionGuardTest, OneThatCannotBeginLeavesTheRunningTransactionAlone) {
    CTraxDBTransaction outer(*path);
    insert(1);
    {
        CTraxDBTransaction inner(*path, CTraxDBTransaction::Kind::IfPossible);
        insert(2);
    }
    ASSERT_TRUE(inTransaction()) << "the inner guard must not abort what it did not begin";
    outer.commit();
    EXPECT_EQ(committed(), (std::vector<int>{1, 2}));
}

TEST_P(TransactionGuardTest, ASavepointUndoesOnlyWhatFollowedItAndTheTransactionGoesOn) {
    CTraxDBTransaction transaction(*path);
    insert(1);
    {
        CTraxDBSavepoint savepoint(*path, "txdb_guard");
        ASSERT_TRUE(savepoint.active());
        insert(2);
        // A failed statement: PostgreSQL refuses every further one of the
        // transaction until the savepoint is rolled back to.
        EXPECT_NE(thrownMessage([&] { insert(2); }), "<no exception>");
    }
    insert(3);
    {
        CTraxDBSavepoint savepoint(*path, "txdb_guard");
        insert(4);
        savepoint.release();
    }
    transaction.commit();
    EXPECT_EQ(committed(), (std::vector<int>{1, 3, 4}));
}

TEST_P(TransactionGuardTest, OutsideATransactionThereIsNoSavepoint) {
    CTraxDBSavepoint savepoint(*path, "txdb_guard");
    EXPECT_FALSE(savepoint.active());
    insert(1);
    savepoint.rollBack();
    EXPECT_EQ(committed(), std::vector<int>{1});
}

TEST_P(TransactionGuardTest, TheConnectionNamesTheEngineItReached) {
    const Dialect &dialect = path->getSession().getConnection()->dialect();
    EXPECT_EQ(dialect.name(), GetParam());
    char open = 0, close = 0;
    dialect.quoteChars(open, close);
    EXPECT_EQ(std::string(1, open) + close, GetParam() == "MariaDB" ? "``" : "\"\"");
    // The statements the engine is handed: table options on MariaDB, NULL
    // first on PostgreSQL, the rest as written.
    const std::string create = "CREATE TABLE t (a INTEGER);";
    const std::string query = "SELECT a FROM t ORDER BY a, b;";
    EXPECT_EQ(dialect.adapted(create) != create, GetParam() == "MariaDB");
    EXPECT_EQ(dialect.adapted(query) != query, GetParam() == "PostgreSQL");
}

INSTANTIATE_TEST_SUITE_P(Engines, TransactionGuardTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &engine) { return engine.param; });

} // namespace
