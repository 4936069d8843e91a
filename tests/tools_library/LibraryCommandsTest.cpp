// partlib library remove, library rename and copy --move run as the built
// program on every test engine: the raw tables of both databases before and
// after, the refusals that leave everything as it was, and a move whose
// second step fails.

#include "tests/tools_library/LibraryTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace txdbtest;

class LibraryCommandsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(LibraryCommandsTest, RemoveTakesTheWholeLibraryAndOnlyIt) {
    const std::string database = onEngine(GetParam(), twoLibraries(false));
    const NaturalTables before = tablesOf(database);
    const std::map<std::string, long> counted = rowCounts(database);

    ProgramRun removed = runPartlib({"library", "remove", database, "A"});
    ASSERT_EQ(removed.status, 0) << removed.all();
    EXPECT_TRUE(contains(removed.output, "Removed 1 library (A)")) << removed.output;
    EXPECT_EQ(tablesOf(database), only("B"));
    // The summary's counts are the rows that went.
    const std::map<std::string, long> after = rowCounts(database), gone = listed(removed.output, "rows removed");
    for (const auto &[table, count] : counted)
        EXPECT_EQ(countOf(gone, table), count - after.at(table)) << table;
    EXPECT_EQ(gone.at("Library"), 1);

    // The last library leaves an empty part library that takes new ones.
    ASSERT_EQ(runPartlib({"library", "remove", database, "B"}).status, 0);
    for (const auto &[table, count] : rowCounts(database))
        EXPECT_EQ(count, table == "Library_version" ? 1 : 0) << table;
    EXPECT_EQ(runPartlib({"info", database}).status, 0);
    ProgramRun again = runPartlib({"copy", twoLibraries(false), database});
    EXPECT_EQ(again.status, 0) << again.all();
    EXPECT_EQ(tablesOf(database), before);
}

TEST_P(LibraryCommandsTest, RemoveRefusesWhatItCannotTakeAndChangesNothing) {
    const std::string database = onEngine(GetParam(), twoLibraries(true));
    const NaturalTables before = tablesOf(database);

    ProgramRun used = runPartlib({"library", "remove", database, "A"});
    EXPECT_EQ(used.status, 1);
    EXPECT_TRUE(contains(used.errors, "of library B uses part definition")) << used.errors;
    EXPECT_TRUE(contains(used.errors, "of library A")) << used.errors;
    EXPECT_TRUE(contains(used.errors, "Nothing was removed")) << used.errors;

    ProgramRun unknown = runPartlib({"library", "remove", database, "B", "Q"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(contains(unknown.errors, "holds no library named Q")) << unknown.errors;
    EXPECT_EQ(runPartlib({"library", "remove", database}).status, 2);
    EXPECT_EQ(tablesOf(database), before);

    // Named together, the user of the definitions goes first, whatever the order.
    ProgramRun both = runPartlib({"library", "remove", database, "A", "B"});
    ASSERT_EQ(both.status, 0) << both.all();
    EXPECT_TRUE(contains(both.output, "Removed 2 libraries (B, A)")) << both.output;
    EXPECT_EQ(rowCounts(database).at("Parts"), 0);
}

TEST_P(LibraryCommandsTest, RenameChangesTheNameAloneAndRefusesATakenOne) {
    const std::string database = onEngine(GetParam(), twoLibraries(true));
    const NaturalTables before = tablesOf(database);

    ProgramRun taken = runPartlib({"library", "rename", database, "A", "B"});
    EXPECT_EQ(taken.status, 1);
    EXPECT_TRUE(contains(taken.errors, "is named B already")) << taken.errors;
    ProgramRun unknown = runPartlib({"library", "rename", database, "Q", "R"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(contains(unknown.errors, "holds no library named Q")) << unknown.errors;
    ProgramRun tooLong = runPartlib({"library", "rename", database, "A", std::string(51, 'x')});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_TRUE(contains(tooLong.errors, "at most 50")) << tooLong.errors;
    EXPECT_EQ(runPartlib({"library", "rename", database, "A", " "}).status, 2);
    EXPECT_EQ(tablesOf(database), before);

    const std::string hostile = "O'Brien [x] \\ \"y\" ; --";
    ProgramRun renamed = runPartlib({"library", "rename", database, "A", hostile});
    ASSERT_EQ(renamed.status, 0) << renamed.all();
    EXPECT_TRUE(contains(renamed.output, "Renamed library A to")) << renamed.output;
    ProgramRun libraries = runPartlib({"libraries", database});
    EXPECT_TRUE(contains(libraries.output, hostile)) << libraries.output;
    // Back again: every row as it was.
    ASSERT_EQ(runPartlib({"library", "rename", database, hostile, "A"}).status, 0);
    EXPECT_EQ(tablesOf(database), before);
}

TEST_P(LibraryCommandsTest, MoveRemovesFromTheSourceOnlyWhatTheTargetHolds) {
    const std::string source = onEngine(GetParam(), twoLibraries(false));
    const NaturalTables before = tablesOf(source);
    const std::string target = txdbtest::tempFile();

    ProgramRun moved = runPartlib({"copy", "--move", source, target, "A", "--yes"});
    ASSERT_EQ(moved.status, 0) << moved.all();
    EXPECT_TRUE(contains(moved.output, "Copied 1 library (A)")) << moved.output;
    EXPECT_TRUE(contains(moved.output, "Removed from SRC: 1 library (A)")) << moved.output;
    EXPECT_EQ(tablesOf(source), only("B"));
    EXPECT_EQ(tablesOf(target), only("A"));
}

TEST_P(LibraryCommandsTest, AMoveRefusedBeforehandWritesNothing) {
    const std::string source = onEngine(GetParam(), twoLibraries(true));
    const NaturalTables before = tablesOf(source);
    const std::string target = txdbtest::tempFile();

    ProgramRun used = runPartlib({"copy", "--move", source, target, "A", "--yes"});
    EXPECT_EQ(used.status, 1);
    EXPECT_TRUE(contains(used.errors, "stays in SRC")) << used.errors;
    EXPECT_EQ(runPartlib({"copy", "--move", "--hierarchy-only", source, target}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(tablesOf(source), before);
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryCommandsTest, ::testing::ValuesIn(txdbtest::testEngines()));

TEST(LibraryMove, ASecondStepThatFailsLeavesBothWholeAndSaysSo) {
    // The source refuses the removal of a library row: the copy has
    // committed by then, the removal is undone whole.
    const std::string source = twoLibraries(false);
    txdbtest::runSql(source, "CREATE TRIGGER KeepLibraries BEFORE DELETE ON Library BEGIN SELECT RAISE(ABORT, "
                             "'libraries stay'); END;");
    const NaturalTables before = txdbtest::naturalTables(source);
    const std::string target = txdbtest::tempFile();

    ProgramRun moved = runPartlib({"copy", "--move", source, target, "A", "--yes"});
    EXPECT_EQ(moved.status, 1);
    EXPECT_TRUE(contains(moved.output, "Copied 1 library (A)")) << moved.output;
    EXPECT_TRUE(contains(moved.errors, "libraries stay")) << moved.errors;
    EXPECT_TRUE(contains(moved.errors, "The copy into DST is complete and committed; SRC still holds the libraries"))
        << moved.errors;
    EXPECT_EQ(txdbtest::naturalTables(source), before);
    EXPECT_EQ(txdbtest::naturalTables(target), only("A"));
}

} // namespace
