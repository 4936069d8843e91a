#include "ctraxdbpartlib/CTraxDBError.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "interface/Exception.h"
#include "tests/core/LogTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

using txdbtest::thrownMessage;

TEST(MessageTable, TextsAsTheUserSeesThem) {
    EXPECT_EQ(loadMessage(IDS_NULL_SOURCE_HANDLE), "Invalid NULL source handle passed");
    EXPECT_EQ(loadMessage(IDS_INVALID_PATH_HANDLE), "Invalid path handle passed");
    EXPECT_EQ(loadMessage(IDS_NULL_OBSERVER), "Invalid Null observer passed");
    EXPECT_EQ(loadMessage(IDS_DATABASE_TOO_NEW), "The Parts Database is from a more recent version of TRAXEL and is "
                                                 "not supported by this version of the software");
    EXPECT_EQ(loadMessage(IDS_UPDATE_FAILED_SCRIPT),
              "Automatic updating of the TRAXEL Parts Database failed.\n\nDo you wish to create an SQL script that "
              "can be used to manually update the database?\n");
    EXPECT_EQ(loadMessage(IDS_SCRIPT_HEADING_MYSQL), "\n{For MySQL databases}\n\n");
}

TEST(MessageTable, EveryNumberOfTheRangeHasATextAndOthersNone) {
    for (int number = IDS_NULL_SOURCE_HANDLE; number <= IDS_SCRIPT_HEADING_MYSQL; ++number)
        EXPECT_FALSE(loadMessage(number).empty()) << number;
    EXPECT_EQ(loadMessage(IDS_NULL_SOURCE_HANDLE - 1), "");
    EXPECT_EQ(loadMessage(IDS_SCRIPT_HEADING_MYSQL + 1), "");
}

TEST(MessageInserts, NumberedInsertsTakeTheirArguments) {
    EXPECT_EQ(formatNumbered(loadMessage(IDS_ITEM_NOT_FOUND), {"R1"}), "Failed to find item R1  in the database");
    EXPECT_EQ(formatNumbered(loadMessage(IDS_MODIFIED_PARENT_NOT_FOUND), {"Resistors", "Passives"}),
              "Failed to find modified parent (Resistors) of hierarchy Passives");
    // Order in the text need not be the order of the arguments.
    EXPECT_EQ(formatNumbered("%2!s!-%1!s!", {"a", "b"}), "b-a");
    // A missing argument becomes empty; a percent sign of the argument stays as it is.
    EXPECT_EQ(formatNumbered("[%1!s!|%2!s!]", {"50%s"}), "[50%s|]");
    // Text that only looks like an insert is kept.
    EXPECT_EQ(formatNumbered("100% %1!d! %1!s", {"x"}), "100% %1!d! %1!s");
}

TEST(MessageInserts, PrintfInsertTakesTheDisplayName) {
    EXPECT_EQ(formatPrintf(loadMessage(IDS_UPDATE_PROMPT), "parts.db"),
              "The TRAXEL Parts Library Database 'parts.db' is out of date and will not be usable until a succesful "
              "update has been performed.\n\nDo you wish to update it now?");
    EXPECT_EQ(formatPrintf(loadMessage(IDS_CREATE_PROMPT), "Parts"),
              "The database \"Parts\" does not contain TRAXEL Part Library information.\n\nDo you wish to create the "
              "TRAXEL Part Library in this database?\n");
    // The name is never read as a format itself.
    EXPECT_EQ(formatPrintf("'%s'", "100%s %d"), "'100%s %d'");
}

TEST(Raising, MessageNumberThrowsItsText) {
    EXPECT_EQ(thrownMessage([] { TXDB_RAISE(IDS_BUFFER_TOO_SMALL); }), "Buffer too small");
    EXPECT_EQ(thrownMessage([] { TXDB_RAISE_TEXT("own text"); }), "own text");
}

TEST(Raising, WritesASevereRecordFromTheRaisingUnitWhenLoggingIsOn) {
    txdbtest::TempDir dir;
    int line = 0;
    {
        txdbtest::LoggingOn on(LOG_SEVERE, dir.base());
        EXPECT_EQ(thrownMessage([&line] {
                      line = __LINE__ + 1;
                      TXDB_RAISE(IDS_NULL_BUFFER);
                  }),
                  "Invalid NULL buffer passed");
    }
    const std::string log = txdbtest::readFile(txdbtest::todaysLogFile(dir.base(), 0));
    EXPECT_EQ(txdbtest::fieldValues(log, "Level: "), std::vector<std::string>{"SEVERE"});
    EXPECT_EQ(txdbtest::fieldValues(log, "Source file: "), std::vector<std::string>{"CTraxDBErrorTest"});
    EXPECT_EQ(txdbtest::fieldValues(log, "Source line: "), std::vector<std::string>{std::to_string(line)});
    EXPECT_EQ(txdbtest::fieldValues(log, "Message: "), std::vector<std::string>{"Invalid NULL buffer passed"});
}

class CheckResult : public ::testing::Test {
protected:
    void SetUp() override { CDBErrorInfo::clear(); }
    void TearDown() override { CDBErrorInfo::clear(); }
};

TEST_F(CheckResult, SuccessCodesPassAndAFailureJoinsTheRecordsLeft) {
    CDBErrorInfo::add("no such table: Part");
    for (HRESULT success : {S_OK, S_FALSE, DB_S_ENDOFROWSET})
        checkResult(success);
    CDBErrorInfo::add("statement could not be prepared");
    EXPECT_EQ(thrownMessage([] { checkResult(DB_E_ERRORSINCOMMAND); }),
              "no such table: Part : statement could not be prepared");
}

TEST_F(CheckResult, NoRecordsGiveAnEmptyMessageAfterAnEmptySevereRecord) {
    txdbtest::TempDir dir;
    {
        txdbtest::LoggingOn on(LOG_ALL, dir.base());
        EXPECT_EQ(thrownMessage([] { checkResult(E_FAIL); }), "");
    }
    const std::string log = txdbtest::readFile(txdbtest::todaysLogFile(dir.base(), 0));
    EXPECT_EQ(txdbtest::fieldValues(log, "Level: "), std::vector<std::string>{"SEVERE"});
    EXPECT_EQ(txdbtest::fieldValues(log, "Source file: "), std::vector<std::string>{"CTraxDBError"});
    EXPECT_EQ(txdbtest::fieldValues(log, "Message: "), std::vector<std::string>{""});
}

TEST_F(CheckResult, RecordsBelongToTheThreadThatLeftThem) {
    CDBErrorInfo::add("this thread");
    std::thread other([] {
        CDBErrorInfo::add("other thread");
        EXPECT_EQ(thrownMessage([] { checkResult(E_FAIL); }), "other thread");
    });
    other.join();
    EXPECT_EQ(thrownMessage([] { checkResult(E_FAIL); }), "this thread");
}

TEST(ExceptionType, NullPointerGivesAnEmptyMessage) {
    Exception e(static_cast<const char *>(nullptr));
    EXPECT_EQ(e.getMessage(), "");
}

} // namespace
