// The ALTER TABLE forms the SQLite provider carries out itself: the rows,
// the indexes and the other constraints of a table survive its rebuild,
// and every constraint added is enforced.

#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

struct TextAccessor {
    char text[256] = {};
    void bind(ColumnMap &map) { map.column(1, text); }
};

class SQLiteDdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(dataSource.OpenFromInitializationString(txdbtest::freshDatabase("SQLite")), S_OK);
        ASSERT_EQ(session.Open(dataSource), S_OK);
        run("CREATE TABLE \"Parent\" (\"ID\" INTEGER NOT NULL PRIMARY KEY, \"Name\" VARCHAR(20))");
        run("CREATE TABLE \"Child\" (\"ID\" INTEGER NOT NULL, \"Parent_ID\" INTEGER, \"Name\" VARCHAR(20))");
        run("INSERT INTO \"Parent\" VALUES (1, 'one')");
        run("INSERT INTO \"Child\" VALUES (10, 1, 'a'), (11, 1, 'b')");
    }

    HRESULT tryRun(const std::string &sql) {
        CCommand<CNoAccessor> command;
        return command.Open(session, sql);
    }
    void run(const std::string &sql) {
        HRESULT result = tryRun(sql);
        ASSERT_EQ(result, S_OK) << sql << ": " << (CDBErrorInfo::records().empty() ? "" : CDBErrorInfo::records()[0]);
    }
    // The first column of every row, joined with spaces.
    std::string column(const std::string &sql) {
        CCommand<CAccessor<TextAccessor>> command;
        EXPECT_EQ(command.Open(session, sql), S_OK) << sql;
        std::string all;
        for (HRESULT result = command.MoveFirst(); result == S_OK; result = command.MoveNext())
            all += std::string(all.empty() ? "" : " ") + command.text;
        return all;
    }

    CDataSource dataSource;
    CSession session;
};

TEST_F(SQLiteDdlTest, UniqueConstraintBecomesAnIndexOfItsName) {
    run("ALTER TABLE [Child] ADD CONSTRAINT [ChildUnique] UNIQUE ([Parent_ID],[Name]);");
    EXPECT_EQ(column("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='Child'"), "ChildUnique");
    EXPECT_EQ(tryRun("INSERT INTO Child VALUES (12, 1, 'a')"), DB_E_INTEGRITYVIOLATION);
    run("ALTER TABLE [Child] DROP CONSTRAINT [ChildUnique];");
    run("INSERT INTO Child VALUES (12, 1, 'a')");
}

TEST_F(SQLiteDdlTest, RebuildsKeepRowsIndexesAndEarlierConstraints) {
    run("ALTER TABLE [Child] ADD CONSTRAINT [ChildUnique] UNIQUE ([Parent_ID],[Name]);");
    run("ALTER TABLE [Child] ADD CONSTRAINT [ChildParent] FOREIGN KEY([Parent_ID]) REFERENCES [Parent]([ID]);");
    run("ALTER TABLE [Child] ADD CONSTRAINT [ChildPK] PRIMARY KEY([ID]);");
    EXPECT_EQ(column("SELECT Name FROM Child ORDER BY ID"), "a b");
    EXPECT_EQ(column("SELECT name FROM sqlite_master WHERE type='index' AND name='ChildUnique'"), "ChildUnique");
    EXPECT_EQ(tryRun("INSERT INTO Child VALUES (12, 2, 'c')"), DB_E_INTEGRITYVIOLATION); // no parent 2
    EXPECT_EQ(tryRun("INSERT INTO Child VALUES (10, 1, 'c')"), DB_E_INTEGRITYVIOLATION); // key taken
    EXPECT_EQ(tryRun("INSERT INTO Child VALUES (12, 1, 'b')"), DB_E_INTEGRITYVIOLATION); // not unique
    // Dropping the foreign key keeps the key and the index.
    run("ALTER TABLE [Child] DROP FOREIGN KEY [ChildParent];");
    run("INSERT INTO Child VALUES (12, 2, 'c')");
    EXPECT_EQ(tryRun("INSERT INTO Child VALUES (10, 1, 'd')"), DB_E_INTEGRITYVIOLATION);
    EXPECT_EQ(column("SELECT name FROM sqlite_master WHERE type='index' AND name='ChildUnique'"), "ChildUnique");
}

TEST_F(SQLiteDdlTest, RebuildInsideATransactionRollsBackWithIt) {
    ASSERT_EQ(session.StartTransaction(), S_OK);
    run("ALTER TABLE [Child] ADD CONSTRAINT [ChildParent] FOREIGN KEY([Parent_ID]) REFERENCES [Parent]([ID]);");
    ASSERT_EQ(session.Abort(), S_OK);
    run("INSERT INTO Child VALUES (12, 2, 'c')");
    EXPECT_EQ(column("SELECT Name FROM Child ORDER BY ID"), "a b c");
}

TEST_F(SQLiteDdlTest, ForeignKeyTheRowsBreakIsRefusedAndTheTableStays) {
    run("INSERT INTO Child VALUES (12, 7, 'orphan')");
    EXPECT_EQ(tryRun("ALTER TABLE [Child] ADD CONSTRAINT [ChildParent] FOREIGN KEY([Parent_ID]) REFERENCES "
                     "[Parent]([ID]);"),
              DB_E_INTEGRITYVIOLATION);
    EXPECT_EQ(column("SELECT Name FROM Child ORDER BY ID"), "a b orphan");
    EXPECT_EQ(column("SELECT sql FROM sqlite_master WHERE name='Child'").find("ChildParent"), std::string::npos);
}

TEST_F(SQLiteDdlTest, UnknownNamesAreCommandErrors) {
    EXPECT_EQ(tryRun("ALTER TABLE [Child] DROP CONSTRAINT [Nothing];"), DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(tryRun("ALTER TABLE [Child] DROP INDEX [Nothing];"), DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(tryRun("ALTER TABLE [Nowhere] ADD CONSTRAINT [P] PRIMARY KEY([ID]);"), DB_E_ERRORSINCOMMAND);
    // Forms SQLite knows itself still reach it.
    run("ALTER TABLE [Child] ADD [Extra] INTEGER;");
    run("ALTER TABLE [Child] DROP COLUMN [Extra];");
}

} // namespace
