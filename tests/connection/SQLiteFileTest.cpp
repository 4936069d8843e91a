// The SQLite file behind a data source: a rolled back transaction leaves
// the file as it was, and files the engine cannot use fail at open with
// its own message.

#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string bytesOf(const std::string &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string errorText() {
    std::string text;
    for (const std::string &record : CDBErrorInfo::records())
        text += record + "\n";
    return text;
}

struct NameAccessor {
    char name[51] = "";
    void bind(ColumnMap &map) { map.column(1, name); }
};

struct NumberAccessor {
    int32_t number = 0;
    void bind(ColumnMap &map) { map.column(1, number); }
};

struct NameNumberAccessor {
    char name[51] = "";
    DBSTATUS nameStatus = 99;
    int32_t number = 0;
    DBSTATUS numberStatus = 99;
    void bind(ColumnMap &map) {
        map.column(1, name, &nameStatus);
        map.column(2, number, &numberStatus);
    }
};

HRESULT openFile(CDataSource &dataSource, const std::string &file) {
    return dataSource.OpenFromInitializationString("Provider=SQLite;Data Source=" + file);
}

TEST(SQLiteFile, RolledBackTransactionLeavesTheFileAsItWas) {
    const std::string file = txdbtest::tempFile();
    CDataSource dataSource;
    CSession session;
    ASSERT_EQ(openFile(dataSource, file), S_OK) << errorText();
    ASSERT_EQ(session.Open(dataSource), S_OK);
    CCommand<CNoAccessor> command;
    ASSERT_EQ(command.Open(session, "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, Name VARCHAR(50))"), S_OK);
    ASSERT_EQ(command.Open(session, "INSERT INTO T VALUES (1, 'one'), (2, 'two')"), S_OK);
    const std::string before = bytesOf(file);
    ASSERT_FALSE(before.empty());

    ASSERT_EQ(session.StartTransaction(), S_OK);
    ASSERT_EQ(command.Open(session, "INSERT INTO T VALUES (3, 'three')"), S_OK);
    ASSERT_EQ(command.Open(session, "UPDATE T SET Name = 'changed'"), S_OK);
    ASSERT_EQ(command.Open(session, "DELETE FROM T WHERE ID = 1"), S_OK);
    ASSERT_EQ(command.Open(session, "CREATE TABLE U (ID INTEGER)"), S_OK);
    ASSERT_EQ(session.Abort(), S_OK);
    EXPECT_EQ(bytesOf(file), before);
}

// Statement journals stay in memory while a write runs; reads sort with
// SQLite's default temporary storage, whatever way the write ended.
TEST(SQLiteFile, TemporaryStorageIsInMemoryOnlyWhileAWriteRuns) {
    CDataSource dataSource;
    CSession session;
    ASSERT_EQ(openFile(dataSource, txdbtest::tempFile()), S_OK) << errorText();
    ASSERT_EQ(session.Open(dataSource), S_OK);
    const auto tempStore = [&session] {
        CCommand<CAccessor<NumberAccessor>> command;
        EXPECT_EQ(command.Open(session, "PRAGMA temp_store;"), S_OK) << errorText();
        EXPECT_EQ(command.MoveFirst(), S_OK) << errorText();
        return command.number;
    };
    EXPECT_EQ(tempStore(), 0);
    ASSERT_EQ(session.StartWriteTransaction(), S_OK) << errorText();
    EXPECT_EQ(tempStore(), 2);
    ASSERT_EQ(session.Commit(), S_OK);
    EXPECT_EQ(tempStore(), 0);
    ASSERT_EQ(session.StartWriteTransaction(), S_OK);
    EXPECT_EQ(session.StartWriteTransaction(), XACT_E_XTIONEXISTS);
    EXPECT_EQ(tempStore(), 2);
    ASSERT_EQ(session.Abort(), S_OK);
    EXPECT_EQ(tempStore(), 0);
    ASSERT_EQ(session.StartTransaction(), S_OK);
    EXPECT_EQ(tempStore(), 0);
    ASSERT_EQ(session.Commit(), S_OK);

    // A change of the setting would close the temporary database with a
    // client's TEMP tables in it: while one is open, writes leave it be.
    CCommand<CNoAccessor> command;
    ASSERT_EQ(command.Open(session, "CREATE TEMP TABLE Kept (Number INTEGER)"), S_OK) << errorText();
    ASSERT_EQ(command.Open(session, "INSERT INTO Kept VALUES (7)"), S_OK) << errorText();
    ASSERT_EQ(session.StartWriteTransaction(), S_OK) << errorText();
    ASSERT_EQ(session.Commit(), S_OK) << errorText();
    CCommand<CAccessor<NumberAccessor>> kept;
    ASSERT_EQ(kept.Open(session, "SELECT Number FROM Kept"), S_OK) << errorText();
    ASSERT_EQ(kept.MoveFirst(), S_OK) << errorText();
    EXPECT_EQ(kept.number, 7);
}

// SQLite keeps any value in any column (Num has no type, so none is
// converted): each storage class reads as its binding takes it, an empty
// text and an empty BLOB as empty texts, not as NULL.
TEST(SQLiteFile, ValuesOfEveryStorageClassReadAsTheirBindingsTakeThem) {
    CDataSource dataSource;
    CSession session;
    ASSERT_EQ(openFile(dataSource, txdbtest::tempFile()), S_OK) << errorText();
    ASSERT_EQ(session.Open(dataSource), S_OK);
    CCommand<CNoAccessor> command;
    ASSERT_EQ(command.Open(session, "CREATE TABLE T (ID INTEGER PRIMARY KEY, Name VARCHAR(50), Num)"), S_OK);
    ASSERT_EQ(command.Open(session, "INSERT INTO T VALUES (1, '', 3.0), (2, X'', '42'), (3, NULL, NULL), "
                                    "(4, 7, ' -8'), (5, X'4142', 2147483647.0)"),
              S_OK)
        << errorText();
    struct Row {
        std::string name;
        DBSTATUS nameStatus;
        int number;
        DBSTATUS numberStatus;
    };
    const Row rows[] = {{"", DBSTATUS_S_OK, 3, DBSTATUS_S_OK},
                        {"", DBSTATUS_S_OK, 42, DBSTATUS_S_OK},
                        {"", DBSTATUS_S_ISNULL, 0, DBSTATUS_S_ISNULL},
                        {"7", DBSTATUS_S_OK, -8, DBSTATUS_S_OK},
                        {"AB", DBSTATUS_S_OK, 2147483647, DBSTATUS_S_OK}};
    CCommand<CAccessor<NameNumberAccessor>> read;
    ASSERT_EQ(read.Open(session, "SELECT Name, Num FROM T ORDER BY ID"), S_OK) << errorText();
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::strcpy(read.name, "stale");
        read.number = -99;
        ASSERT_EQ(i == 0 ? read.MoveFirst() : read.MoveNext(), S_OK) << i << errorText();
        EXPECT_EQ(std::string(read.name), rows[i].name) << i;
        EXPECT_EQ(read.nameStatus, rows[i].nameStatus) << i;
        EXPECT_EQ(read.number, rows[i].number) << i;
        EXPECT_EQ(read.numberStatus, rows[i].numberStatus) << i;
    }
    EXPECT_EQ(read.MoveNext(), DB_S_ENDOFROWSET);

    for (const std::string value : {"3.5", "2147483648.0", "'4x'", "X'3478'"}) {
        ASSERT_EQ(command.Open(session, "UPDATE T SET Num = " + value + " WHERE ID = 1"), S_OK) << errorText();
        CCommand<CAccessor<NameNumberAccessor>> misfit;
        ASSERT_EQ(misfit.Open(session, "SELECT Name, Num FROM T ORDER BY ID"), S_OK) << errorText();
        EXPECT_EQ(misfit.MoveFirst(), DB_E_CANTCONVERTVALUE) << value;
        EXPECT_NE(errorText().find("Column Num of table T holds a value that is not a 32-bit integer"),
                  std::string::npos)
            << value << ": " << errorText();
    }
}

TEST(SQLiteFile, UnusableFilesFailWithTheEnginesMessage) {
    const std::string notADatabase = txdbtest::tempFile();
    {
        std::ofstream out(notADatabase, std::ios::binary);
        out << "This text file is no part library, however long it is. " << std::string(4096, 'x');
    }
    CDataSource dataSource;
    EXPECT_EQ(openFile(dataSource, notADatabase), E_FAIL);
    EXPECT_EQ(errorText(), "file is not a database: " + notADatabase + "\n");

    CDataSource missing;
    EXPECT_EQ(openFile(missing, txdbtest::tempDirectory() + "/no/such/folder/parts.db"), E_FAIL);
    EXPECT_NE(errorText().find("unable to open"), std::string::npos) << errorText();

    CDataSource unnamed;
    EXPECT_TRUE(FAILED(unnamed.OpenFromInitializationString("Provider=SQLite")));
    EXPECT_FALSE(errorText().empty());
}

TEST(SQLiteFile, AReaderWaitsForAnotherConnectionsWriteToEnd) {
    // An exclusive lock, as a writer holds it while it commits or once it
    // spills its cache into the file, shuts readers out until it ends.
    const std::string file = txdbtest::tempFile();
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE T (ID INTEGER); BEGIN EXCLUSIVE; INSERT INTO T VALUES (1);", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    std::thread writer([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        sqlite3_exec(other, "COMMIT;", nullptr, nullptr, nullptr);
    });
    CDataSource dataSource;
    const HRESULT opened = openFile(dataSource, file);
    writer.join();
    sqlite3_close(other);
    EXPECT_EQ(opened, S_OK) << errorText();
}

TEST(SQLiteFile, StatementFailuresAreReportedOnceWithoutTheFile) {
    const std::string file = txdbtest::tempFile();
    CDataSource dataSource;
    CSession session;
    ASSERT_EQ(openFile(dataSource, file), S_OK) << errorText();
    ASSERT_EQ(session.Open(dataSource), S_OK);
    CCommand<CAccessor<NameAccessor>> command;
    EXPECT_TRUE(FAILED(command.Open(session, "SELECT Name FROM Parts")));
    EXPECT_EQ(errorText(), "no such table: Parts\n");
}

} // namespace
