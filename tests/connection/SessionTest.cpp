// The session layer on every test engine: bindings, parameters, moves,
// pending rowset changes, transactions, schema rowsets and result codes.

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"
#include "ctraxdbpartlib/connection/CTables.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/RowTally.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string errorText() {
    std::string text;
    for (const std::string &record : CDBErrorInfo::records())
        text += record + "\n";
    return text;
}

struct RowAccessor {
    int32_t id = 0;
    int16_t small = 0;
    DBSTATUS smallStatus = 99;
    char name[51] = {};
    char guard = '#'; // right after the text field: must survive every fetch
    DBSTATUS nameStatus = 99;
    size_t nameLength = 99;
    int32_t num = 0;
    DBSTATUS numStatus = 99;
    void bind(ColumnMap &map) {
        map.column(1, id);
        map.column(2, small, &smallStatus);
        map.column(3, name, &nameStatus, &nameLength);
        map.column(4, num, &numStatus);
    }
};

struct IdNameAccessor {
    int32_t id = 0;
    char name[61] = {};
    DBSTATUS nameStatus = DBSTATUS_S_OK;
    void bind(ColumnMap &map) {
        map.column(1, id);
        map.column(2, name, &nameStatus);
    }
};

struct NameAccessor {
    char name[61] = {};
    void bind(ColumnMap &map) { map.column(1, name); }
};

struct ParamAccessor {
    int32_t id = 0;
    int32_t minimum = 0;
    char sought[61] = {};
    void bind(ColumnMap &map) {
        map.column(1, id);
        map.param(1, minimum);
        map.param(2, sought);
    }
};

const std::string sixty = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ01234567";

class SessionTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_EQ(dataSource.OpenFromInitializationString(txdbtest::freshDatabase(GetParam())), S_OK) << errorText();
        ASSERT_EQ(session.Open(dataSource), S_OK);
        execute("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, Small SMALLINT, Name VARCHAR(60), Num INTEGER)");
        properties.AddProperty(DBPROP_IRowsetChange, true);
        properties.AddProperty(DBPROP_IRowsetFind, true);
        properties.AddProperty(DBPROP_IRowsetUpdate, true);
        properties.AddProperty(DBPROP_UPDATABILITY, DBPROPVAL_UP_CHANGE | DBPROPVAL_UP_DELETE | DBPROPVAL_UP_INSERT);
    }

    HRESULT tryExecute(const std::string &sql) {
        CCommand<CNoAccessor> command;
        return command.Open(session, sql, &properties);
    }
    void execute(const std::string &sql) { ASSERT_EQ(tryExecute(sql), S_OK) << sql << "\n" << errorText(); }

    // The names in T by ID, read through a second command.
    std::string names() {
        CCommand<CAccessor<IdNameAccessor>> command;
        EXPECT_EQ(command.Open(session, "SELECT ID, Name FROM T ORDER BY ID", &properties), S_OK) << errorText();
        std::string all;
        for (HRESULT result = command.MoveFirst(); result == S_OK; result = command.MoveNext())
            all += std::to_string(command.id) + ":" + command.name + " ";
        return all;
    }

    CDataSource dataSource;
    CSession session;
    CDBPropSet properties{DBPropSet::ROWSET};
};

TEST_P(SessionTest, IntegersThatDoNotFitTheirBindingFailNamingTableAndColumn) {
    // Other tools may store what the engine takes: wide numbers and, on
    // SQLite, a text in an integer column.
    execute("CREATE TABLE w (id INTEGER NOT NULL PRIMARY KEY, small BIGINT, name VARCHAR(60), num BIGINT)");
    execute("INSERT INTO w (id, small, name, num) VALUES (1, 32767, 'fits', -2147483648)");
    struct Case {
        const char *values;
        const char *message;
    };
    std::vector<Case> cases = {
        {"(2, 1, 'wide', 99999999999)",
         "Column num of table w holds a value that is not a 32-bit integer: 99999999999"},
        {"(2, 1, 'wide', 1099511627776)",
         "Column num of table w holds a value that is not a 32-bit integer: 1099511627776"},
        {"(2, 1, 'wide', -2147483649)",
         "Column num of table w holds a value that is not a 32-bit integer: -2147483649"},
        {"(2, 32768, 'wide', 1)", "Column small of table w holds a value that is not a 16-bit integer: 32768"},
    };
    if (GetParam() == "SQLite")
        cases.push_back(
            {"(2, 1, 'text', 'abc')", "Column num of table w holds a value that is not a 32-bit integer: abc"});
    for (const Case &each : cases) {
        execute(std::string("INSERT INTO w (id, small, name, num) VALUES ") + each.values);
        CCommand<CAccessor<RowAccessor>> command;
        ASSERT_EQ(command.Open(session, "SELECT id, small, name, num FROM w ORDER BY id", &properties), S_OK)
            << errorText();
        ASSERT_EQ(command.MoveFirst(), S_OK) << errorText();
        EXPECT_EQ(command.num, INT32_MIN);
        EXPECT_EQ(command.small, 32767);
        EXPECT_EQ(command.MoveNext(), DB_E_CANTCONVERTVALUE) << each.values;
        EXPECT_EQ(errorText(), std::string(each.message) + "\n");
        command.Close();
        execute("DELETE FROM w WHERE id = 2");
    }
}

TEST_P(SessionTest, BindingsTakeTextsUpToTheirWidthRefuseLongerOnesAndMarkNulls) {
    const std::string fifty = sixty.substr(0, 50);
    execute("INSERT INTO T (ID, Small, Name, Num) VALUES (1, 7, '" + fifty +
            "', 123456), (2, NULL, NULL, NULL), "
            "(3, -2, 'short', -5), (4, 1, '" +
            sixty + "', 1)");
    CCommand<CAccessor<RowAccessor>> command;
    ASSERT_EQ(command.Open(session, "SELECT ID, Small, Name, Num FROM T ORDER BY ID", &properties), S_OK)
        << errorText();
    struct Row {
        int id, small;
        std::string name;
        size_t nameLength;
        int num;
        DBSTATUS status; // of the three nullable columns
    };
    const Row rows[] = {{1, 7, fifty, 50, 123456, DBSTATUS_S_OK},
                        {2, 0, "", 0, 0, DBSTATUS_S_ISNULL},
                        {3, -2, "short", 5, -5, DBSTATUS_S_OK}};
    for (const Row &row : rows) {
        ASSERT_EQ(row.id == 1 ? command.MoveFirst() : command.MoveNext(), S_OK) << errorText();
        EXPECT_EQ(command.id, row.id);
        EXPECT_EQ(std::string(command.name), row.name) << row.id;
        EXPECT_EQ(command.nameLength, row.nameLength) << row.id;
        EXPECT_EQ(command.guard, '#') << row.id;
        for (DBSTATUS status : {command.smallStatus, command.nameStatus, command.numStatus})
            EXPECT_EQ(status, row.status) << row.id;
        EXPECT_EQ(command.small, row.small) << row.id;
        EXPECT_EQ(command.num, row.num) << row.id;
    }
    // A text longer than its buffer is never handed out cut.
    EXPECT_TRUE(FAILED(command.MoveNext()));
    EXPECT_NE(errorText().find(" holds a text of 60 bytes, longer than the 50 bytes it is read in, and is not read "
                               "cut: abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN..."),
              std::string::npos)
        << errorText();
    EXPECT_EQ(command.guard, '#');
}

// A failed statement raises an Exception that keeps what kind of failure
// it was, on every engine, with the engine's texts as its message.
TEST_P(SessionTest, DatabaseErrorsKeepTheirCause) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'one')");
    const auto failureOf = [&](const std::string &sql) {
        try {
            checkResult(tryExecute(sql));
        } catch (DBException *e) {
            std::unique_ptr<DBException> failure(e);
            EXPECT_FALSE(failure->getMessage().empty()) << sql;
            EXPECT_TRUE(FAILED(failure->result())) << sql;
            return failure->failure();
        } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *e) {
            delete e;
            ADD_FAILURE() << "a plain Exception for " << sql;
        }
        return DBFailure::Other;
    };
    EXPECT_EQ(failureOf("INSERT INTO T (ID, Name) VALUES (1, 'again')"), DBFailure::Constraint);
    EXPECT_EQ(failureOf("SELEKT * FROM T"), DBFailure::Statement);
    EXPECT_EQ(failureOf("SELECT * FROM NoSuchTable"), DBFailure::Statement);
}

TEST_P(SessionTest, ParametersComeFromTheBufferAtOpen) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'odd'), (2, 'even'), (3, 'odd'), (4, 'even'), (5, 'odd')");
    CCommand<CAccessor<ParamAccessor>> command;
    command.minimum = 2;
    std::strcpy(command.sought, "odd");
    ASSERT_EQ(command.Open(session, "SELECT ID FROM T WHERE ID >= ? AND Name = ? ORDER BY ID", &properties), S_OK)
        << errorText();
    std::string seen;
    for (HRESULT result = command.MoveFirst(); result == S_OK; result = command.MoveNext())
        seen += std::to_string(command.id);
    EXPECT_EQ(seen, "35");
    // A restart runs the query with the values it was opened with.
    command.minimum = 100;
    ASSERT_EQ(command.MoveFirst(), S_OK);
    EXPECT_EQ(command.id, 3);
}

TEST_P(SessionTest, PendingChangesAreAppliedByUpdateOnly) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'one'), (2, 'two'), (3, 'three')");
    const std::string before = names();
    ASSERT_EQ(before, "1:one 2:two 3:three ");

    CCommand<CAccessor<IdNameAccessor>> rowset;
    ASSERT_EQ(rowset.Open(session, "SELECT ID, Name FROM T ORDER BY ID", &properties), S_OK) << errorText();
    ASSERT_EQ(rowset.MoveFirst(), S_OK);
    std::strcpy(rowset.name, "ONE");
    ASSERT_EQ(rowset.SetData(), S_OK) << errorText();
    ASSERT_EQ(rowset.MoveNext(), S_OK);
    ASSERT_EQ(rowset.Delete(), S_OK) << errorText();
    rowset.id = 9;
    std::strcpy(rowset.name, "nine");
    ASSERT_EQ(rowset.Insert(), S_OK) << errorText();
    rowset.id = 10;
    rowset.nameStatus = DBSTATUS_S_ISNULL;
    ASSERT_EQ(rowset.Insert(), S_OK) << errorText();

    EXPECT_EQ(names(), before);
    ASSERT_EQ(rowset.Update(), S_OK) << errorText();
    EXPECT_EQ(names(), "1:ONE 3:three 9:nine 10: ");
    // Nothing is left pending: a second Update changes nothing.
    ASSERT_EQ(rowset.Update(), S_OK);
    EXPECT_EQ(names(), "1:ONE 3:three 9:nine 10: ");
}

// Deletions in a row reach the database in statements of many rows, each
// row by its whole key; a change between them keeps its place in the order.
TEST_P(SessionTest, DeletionsInARowGoTogetherInTheirOrder) {
    execute("CREATE TABLE P (A INTEGER NOT NULL, B INTEGER NOT NULL, Name VARCHAR(20), PRIMARY KEY (A, B))");
    std::string rows;
    for (int a = 1; a <= 240; ++a)
        rows += (rows.empty() ? "(" : ",(") + std::to_string(a) + "," + std::to_string(a % 3) + ",'n')";
    execute("INSERT INTO P (A, B, Name) VALUES " + rows);
    // Rows of another B under the same A stay: the key is the pair.
    execute("INSERT INTO P (A, B, Name) VALUES (5, 7, 'kept'), (200, 9, 'kept')");
    const auto deleteStatements = [&] {
        CCommand<CAccessor<IdNameAccessor>> status;
        EXPECT_EQ(status.Open(session,
                              "SELECT 0, VARIABLE_VALUE FROM information_schema.SESSION_STATUS WHERE "
                              "VARIABLE_NAME = 'COM_DELETE'",
                              &properties),
                  S_OK)
            << errorText();
        EXPECT_EQ(status.MoveFirst(), S_OK);
        return std::stoi(status.name);
    };
    const bool counted = GetParam() == "MariaDB";
    const int deletesBefore = counted ? deleteStatements() : 0;
    RowTally &tally = session.getConnection()->rowTally();
    tally.clear();

    CCommand<CAccessor<IdNameAccessor>> rowset;
    ASSERT_EQ(rowset.Open(session, "SELECT A, Name FROM P WHERE B < 3 ORDER BY A", &properties), S_OK) << errorText();
    int a = 0;
    for (HRESULT result = rowset.MoveFirst(); result == S_OK; result = rowset.MoveNext()) {
        ++a;
        if (a == 121) {
            std::strcpy(rowset.name, "changed");
            ASSERT_EQ(rowset.SetData(), S_OK) << errorText();
        } else if (a <= 230) {
            ASSERT_EQ(rowset.Delete(), S_OK) << errorText();
        }
    }
    ASSERT_EQ(a, 240);
    ASSERT_EQ(rowset.Update(), S_OK) << errorText();

    CCommand<CAccessor<IdNameAccessor>> left;
    ASSERT_EQ(left.Open(session, "SELECT A, Name FROM P ORDER BY A, B", &properties), S_OK) << errorText();
    std::string seen;
    for (HRESULT result = left.MoveFirst(); result == S_OK; result = left.MoveNext())
        seen += std::to_string(left.id) + ":" + left.name + " ";
    EXPECT_EQ(seen, "5:kept 121:changed 200:kept 231:n 232:n 233:n 234:n 235:n 236:n 237:n 238:n 239:n 240:n ");
    EXPECT_EQ(tally["P"].removed, 229);
    EXPECT_EQ(tally["P"].changed, 1);
    // 120 before the change, 109 after it: 100 + 20 and 100 + 9.
    if (counted) {
        EXPECT_EQ(deleteStatements() - deletesBefore, 4);
    }
}

TEST_P(SessionTest, FindsAnswerFromTheCopyAndFollowTheRowsetsOwnChanges) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'one'), (2, 'two'), (3, 'two'), (4, 'four')");
    CCommand<CAccessor<IdNameAccessor>> rowset;
    ASSERT_EQ(rowset.Open(session, "SELECT ID, Name FROM T ORDER BY ID", &properties), S_OK) << errorText();
    auto find = [&](const char *name) {
        std::strcpy(rowset.name, name);
        rowset.nameStatus = DBSTATUS_S_OK;
        return rowset.FindFirstRow(2) == S_OK ? rowset.id : -1;
    };
    EXPECT_EQ(find("two"), 2) << "the first row of that name";
    std::strcpy(rowset.name, "zwei");
    ASSERT_EQ(rowset.SetData(), S_OK) << errorText();
    EXPECT_EQ(find("two"), 3);
    EXPECT_EQ(find("zwei"), 2);
    ASSERT_EQ(rowset.Delete(), S_OK) << errorText();
    EXPECT_TRUE(FAILED(rowset.SetData())) << "a deleted row is no current row";
    EXPECT_EQ(find("zwei"), -1);
    EXPECT_EQ(rowset.MoveToRow(1), DB_S_ENDOFROWSET) << "the deleted row keeps its place";
    ASSERT_EQ(rowset.MoveToRow(2), S_OK);
    EXPECT_EQ(rowset.id, 3);
    EXPECT_EQ(find("nobody"), -1);
    ASSERT_EQ(rowset.Update(), S_OK) << errorText();
    EXPECT_EQ(names(), "1:one 3:two 4:four ");
}

TEST_P(SessionTest, ChangesWithTheKeyOutsideTheSelectList) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'same'), (2, 'same'), (3, 'other')");
    CCommand<CAccessor<NameAccessor>> rowset;
    ASSERT_EQ(rowset.Open(session, "SELECT Name FROM T WHERE ID >= 2 ORDER BY ID", &properties), S_OK) << errorText();
    ASSERT_EQ(rowset.MoveFirst(), S_OK);
    EXPECT_STREQ(rowset.name, "same");
    std::strcpy(rowset.name, "changed");
    ASSERT_EQ(rowset.SetData(), S_OK) << errorText();
    ASSERT_EQ(rowset.MoveNext(), S_OK);
    ASSERT_EQ(rowset.Delete(), S_OK) << errorText();
    ASSERT_EQ(rowset.Update(), S_OK) << errorText();
    // Only the rows the rowset stood on changed, by their hidden key.
    EXPECT_EQ(names(), "1:same 2:changed ");
}

TEST_P(SessionTest, ChangesNeedAPlainSelectOfOneTable) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'one')");
    CCommand<CAccessor<IdNameAccessor>> rowset;
    ASSERT_EQ(rowset.Open(session, "SELECT MAX(ID), MAX(Name) FROM T", &properties), S_OK) << errorText();
    ASSERT_EQ(rowset.MoveFirst(), S_OK);
    EXPECT_TRUE(FAILED(rowset.SetData()));
    EXPECT_FALSE(CDBErrorInfo::records().empty());
    rowset.Close();
    ASSERT_EQ(rowset.Open(session, "SELECT ID, Name FROM T"), S_OK) << errorText();
    ASSERT_EQ(rowset.MoveFirst(), S_OK);
    EXPECT_TRUE(FAILED(rowset.Delete())) << "opened without change properties";
}

TEST_P(SessionTest, FailedUpdateKeepsTheFailingChange) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'one')");
    CCommand<CAccessor<IdNameAccessor>> rowset;
    ASSERT_EQ(rowset.Open(session, "SELECT ID, Name FROM T", &properties), S_OK) << errorText();
    rowset.id = 2;
    std::strcpy(rowset.name, "two");
    ASSERT_EQ(rowset.Insert(), S_OK);
    rowset.id = 1; // the key exists already
    ASSERT_EQ(rowset.Insert(), S_OK);
    EXPECT_EQ(rowset.Update(), DB_E_INTEGRITYVIOLATION);
    EXPECT_FALSE(CDBErrorInfo::records().empty());
    EXPECT_EQ(names(), "1:one 2:two ");
    EXPECT_EQ(rowset.Update(), DB_E_INTEGRITYVIOLATION) << "the failing insert is still pending";
}

TEST_P(SessionTest, EmptyResultReopenAndFindNextRow) {
    CCommand<CAccessor<IdNameAccessor>> rowset;
    ASSERT_EQ(rowset.Open(session, "SELECT ID, Name FROM T ORDER BY ID", &properties), S_OK) << errorText();
    EXPECT_EQ(rowset.MoveFirst(), DB_S_ENDOFROWSET);
    EXPECT_EQ(rowset.MoveNext(), DB_S_ENDOFROWSET);
    EXPECT_EQ(rowset.MoveFirst(), DB_S_ENDOFROWSET);
    rowset.Close();
    EXPECT_FALSE(rowset.isOpen());

    execute("INSERT INTO T (ID, Name) VALUES (1, 'A'), (2, 'B'), (3, 'C'), (4, 'B')");
    ASSERT_EQ(rowset.Open(session, "SELECT ID, Name FROM T ORDER BY ID", &properties), S_OK) << errorText();
    std::strcpy(rowset.name, "B");
    ASSERT_EQ(rowset.FindNextRow(2), S_OK) << errorText();
    EXPECT_EQ(rowset.id, 2);
    ASSERT_EQ(rowset.FindNextRow(2), S_OK);
    EXPECT_EQ(rowset.id, 4);
    EXPECT_EQ(rowset.FindNextRow(2), DB_S_ENDOFROWSET);
    // Searching by the integer column, from the start again.
    ASSERT_EQ(rowset.MoveFirst(), S_OK);
    rowset.id = 3;
    ASSERT_EQ(rowset.FindNextRow(1), S_OK);
    EXPECT_STREQ(rowset.name, "C");
    EXPECT_TRUE(FAILED(rowset.FindNextRow(7))) << "no binding has ordinal 7";
    // GetData puts the current row back into a buffer the caller changed.
    std::strcpy(rowset.name, "scribbled");
    rowset.id = -1;
    ASSERT_EQ(rowset.GetData(), S_OK);
    EXPECT_EQ(rowset.id, 3);
    EXPECT_STREQ(rowset.name, "C");
}

TEST_P(SessionTest, AbortedTransactionLeavesTheDataUnchanged) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'kept')");
    ASSERT_EQ(session.StartTransaction(), S_OK) << errorText();
    EXPECT_EQ(session.StartTransaction(), XACT_E_XTIONEXISTS);
    execute("INSERT INTO T (ID, Name) VALUES (2, 'dropped')");
    execute("UPDATE T SET Name = 'changed' WHERE ID = 1");
    ASSERT_EQ(session.Abort(), S_OK) << errorText();
    EXPECT_EQ(names(), "1:kept ");
    EXPECT_EQ(session.Commit(), XACT_E_NOTRANSACTION);

    ASSERT_EQ(session.StartTransaction(), S_OK);
    execute("INSERT INTO T (ID, Name) VALUES (3, 'committed')");
    ASSERT_EQ(session.Commit(), S_OK) << errorText();
    EXPECT_EQ(names(), "1:kept 3:committed ");
}

TEST_P(SessionTest, ResultCodesTellTheKindOfFailure) {
    execute("INSERT INTO T (ID, Name) VALUES (1, 'one')");
    EXPECT_EQ(tryExecute("SELEC 1"), DB_E_ERRORSINCOMMAND);
    ASSERT_FALSE(CDBErrorInfo::records().empty());
    EXPECT_FALSE(CDBErrorInfo::records()[0].empty());
    EXPECT_EQ(tryExecute("SELECT * FROM NoSuchTable"), DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(tryExecute("INSERT INTO T (ID, Name) VALUES (1, 'again')"), DB_E_INTEGRITYVIOLATION);
    EXPECT_FALSE(CDBErrorInfo::records().empty());
    execute("CREATE TABLE R (ID INTEGER NOT NULL, Label VARCHAR(10) NOT NULL)");
    EXPECT_EQ(tryExecute("INSERT INTO R (ID) VALUES (1)"), DB_E_INTEGRITYVIOLATION);
    // A success clears the records of the failure before it.
    EXPECT_EQ(tryExecute("INSERT INTO T (ID, Name) VALUES (2, 'two')"), S_OK);
    EXPECT_TRUE(CDBErrorInfo::records().empty());
    CCommand<CAccessor<IdNameAccessor>> command;
    EXPECT_EQ(command.Open(session, "SELECT ID, Nope FROM T", &properties), DB_E_ERRORSINCOMMAND);
    EXPECT_FALSE(command.isOpen());
    EXPECT_FALSE(CDBErrorInfo::records().empty());
}

// Listed through a second source opened by the first one's full string.
TEST_P(SessionTest, FullInitialisationStringReopensTheDatabaseAndSchemaRowsetsListIt) {
    execute("CREATE TABLE Library_version (Major INTEGER, Minor INTEGER)");
    std::string initialisation;
    ASSERT_EQ(dataSource.GetInitializationString(initialisation, true), S_OK);
    CDataSource again;
    ASSERT_EQ(again.OpenFromInitializationString(initialisation), S_OK) << errorText();
    CSession second;
    ASSERT_EQ(second.Open(again), S_OK);

    CTables tables;
    ASSERT_EQ(tables.Open(second), S_OK) << errorText();
    // Unquoted names: PostgreSQL keeps them in lower case.
    std::string seen;
    for (HRESULT result = tables.MoveFirst(); result == S_OK; result = tables.MoveNext())
        seen += std::string(tables.m_szName) + " ";
    EXPECT_EQ(seen, GetParam() == "PostgreSQL" ? "library_version t " : "Library_version T ");
    EXPECT_EQ(tables.MoveNext(), DB_S_ENDOFROWSET);
    EXPECT_EQ(tables.MoveNext(), DB_S_ENDOFROWSET);
    ASSERT_EQ(tables.MoveFirst(), S_OK);

    CCatalogs catalogs;
    ASSERT_EQ(catalogs.Open(second), S_OK) << errorText();
    ASSERT_EQ(catalogs.MoveFirst(), S_OK);
    EXPECT_STRNE(catalogs.catalogName(), "");
}

INSTANTIATE_TEST_SUITE_P(Engines, SessionTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const ::testing::TestParamInfo<std::string> &engine) { return engine.param; });

} // namespace
