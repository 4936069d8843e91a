// What the tools read through CTraxDBInspector: the schema's state on a
// database in any state, and the counts and names of a database holding
// two libraries.

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"

#include "interface/Exception.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

class InspectorTest : public ::testing::TestWithParam<std::string> {};

TEST_P(InspectorTest, ADatabaseWithoutTheSchemaIsSeenAsItIs) {
    CTraxDBInspector empty = CTraxDBInspector::openUnchecked(txdbtest::freshDatabase(GetParam()));
    EXPECT_FALSE(empty.isPartLibrary());
    EXPECT_TRUE(empty.presentTables().empty());
    EXPECT_FALSE(empty.displayName().empty());
}

TEST_P(InspectorTest, ASampleDatabaseShowsItsSchemaCountsAndNamesPerLibrary) {
    txdbtest::SampleDatabase db(GetParam(), {"Demo", 40});
    SampleOptions second;
    second.libraryName = "Second";
    second.parts = 20;
    second.firstId = 100000;
    second.hostileNames = false;
    const SampleCounts added = writeSampleLibrary(db.dbPath(), second);

    CTraxDBInspector database(db.path);
    EXPECT_TRUE(database.isPartLibrary());
    EXPECT_EQ(database.presentTables(), CTraxDBInspector::tableNames());
    EXPECT_EQ(database.version().major, CTraxDBInspector::currentVersion().major);
    EXPECT_EQ(database.version().minor, CTraxDBInspector::currentVersion().minor);
    EXPECT_EQ(database.rowCount("Library"), 2);
    EXPECT_EQ(database.rowCount("Parts"), db.counts.parts + added.parts);
    EXPECT_EQ(database.rowCount("Pin_Data"), db.counts.pins + added.pins);
    EXPECT_EQ(database.rowCount("Library_version"), 1);

    const std::vector<std::string> libraries = database.libraryNames();
    EXPECT_EQ(std::set<std::string>(libraries.begin(), libraries.end()), (std::set<std::string>{"Demo", "Second"}));

    std::map<std::string, std::string> libraryOf;
    std::map<std::string, int> definitionsIn;
    for (const auto &name : database.definitionNames()) {
        libraryOf[name.definition] = name.library;
        ++definitionsIn[name.library];
    }
    EXPECT_EQ(definitionsIn["Demo"], db.counts.partDefinitions);
    EXPECT_EQ(definitionsIn["Second"], added.partDefinitions);
    const auto parts = database.partNames();
    EXPECT_EQ(static_cast<int>(parts.size()), db.counts.parts + added.parts);
    for (const auto &part : parts)
        EXPECT_EQ(libraryOf[part.definition], part.library) << part.part;
}

TEST_P(InspectorTest, FolderCountTakesInFoldersOutOfTheTree) {
    txdbtest::SampleDatabase db(GetParam(), {"Demo", 10});
    CTraxDBInspector database(db.path);
    std::shared_ptr<LibraryAccess> library = db.library();
    ASSERT_TRUE(library);
    const int inTree = database.folderCount(library->getID());
    EXPECT_EQ(inTree, db.counts.folders);
    // Two folders each other's parent: no walk from the top reaches them.
    const std::string id = std::to_string(library->getID());
    db.exec("INSERT INTO [Hierarchy] ([ID],[Library_ID],[Name],[Parent_ID]) VALUES (90000," + id + ",'A',NULL);");
    db.exec("INSERT INTO [Hierarchy] ([ID],[Library_ID],[Name],[Parent_ID]) VALUES (90001," + id + ",'B',90000);");
    db.exec("UPDATE [Hierarchy] SET [Parent_ID] = 90001 WHERE [ID] = 90000;");
    EXPECT_EQ(database.folderCount(library->getID()), inTree + 2);
    EXPECT_EQ(database.folderCount(library->getID() + 1000), 0);
}

TEST_P(InspectorTest, QueryTextsGivesNullsAsEmptyAndFullWidthTextsWhole) {
    txdbtest::SampleDatabase db(GetParam(), {"Demo", 0});
    db.exec("INSERT INTO [Library] ([ID],[Name],[Enabled],[Comment]) VALUES (7,'Plain',1,NULL);");
    db.exec("INSERT INTO [Library] ([ID],[Name],[Enabled],[Comment]) VALUES (8,'Long',1,'" + std::string(255, 'c') +
            "');");
    CTraxDBInspector database(db.path);
    const auto rows = database.queryTexts("SELECT [Name], [Comment] FROM [Library] ORDER BY [ID];", 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "Plain");
    EXPECT_EQ(rows[0][1], std::nullopt);
    EXPECT_EQ(rows[1][1], std::string(CTraxDBInspector::QUERY_TEXT_WIDTH, 'c'));
    EXPECT_THROW(database.queryTexts("SELECT [Name] FROM [Library];", 0), std::invalid_argument);
    EXPECT_THROW(database.queryTexts("SELECT [Name] FROM [Library];", 5), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(Engines, InspectorTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const auto &engine) { return engine.param; });

} // namespace
