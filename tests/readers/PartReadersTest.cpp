// Libraries, folders and parts read through the plug-in's readers over the
// sample library, on every test engine: the records of each reader against
// the tables (readAll checks every count against the records delivered),
// the orders, paged filter texts, the report view, and the records' getters.

#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/filters/CTraxDBFilterVisitor.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/CompletePartAndPartDefAccess.h"
#include "interface/HierarchyAccess.h"
#include "interface/PartAccess.h"
#include "interface/PartDefAccess.h"
#include "interface/PartForReportsAccess.h"
#include "tests/support/FilterTree.h"
#include "tests/support/SampleDatabase.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <map>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using txdbtest::nameOf;
using txdbtest::namesOf;
using txdbtest::readAll;
using txdbtest::SampleDatabase;

namespace {

class PartReadersTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        db = std::make_unique<SampleDatabase>(GetParam());
        library = db->library();
        ASSERT_TRUE(library);
        libraryId = db->ints("SELECT [ID] FROM [Library] WHERE [Name] = 'Demo'").at(0);
    }

    std::vector<std::string> partNamesBySql(const std::string &condition) {
        return db->texts("SELECT [Name] FROM [Parts] WHERE " + condition + " ORDER BY [Name]");
    }

    std::unique_ptr<SampleDatabase> db;
    std::shared_ptr<LibraryAccess> library;
    int libraryId = 0;
};

TEST_P(PartReadersTest, LibrariesComeByNameWithoutFilterAndByIdWithOne) {
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::SampleOptions second;
    second.libraryName = "Alpha";
    second.parts = 20;
    second.firstId = 100000;
    second.hostileNames = false;
    writeSampleLibrary(static_cast<DBIMPL::CTraxDBPath &>(*db->path), second);

    EXPECT_EQ(namesOf(readAll(getLibraryReader(db->path, nullptr))), (std::vector<std::string>{"Alpha", "Demo"}));
    // Both names match; with a filter the order is by ID, so Demo first.
    EXPECT_EQ(namesOf(readAll(getLibraryReader(db->path, lib(FILTER_LIKE, "%")))),
              (std::vector<std::string>{"Demo", "Alpha"}));
    EXPECT_EQ(namesOf(readAll(getLibraryReader(db->path, lib(FILTER_EQUAL, "Alpha")))),
              std::vector<std::string>{"Alpha"});
}

TEST_P(PartReadersTest, PartsOfALibraryComeByNameAndOfEveryFolderAsTheDatabaseHasThem) {
    const std::string ofLibrary = "[Library_ID] = " + std::to_string(libraryId);
    EXPECT_EQ(namesOf(readAll(library->getPartReader(partFilterCompHandle_t(), 0))), partNamesBySql(ofLibrary));
    EXPECT_EQ(namesOf(readAll(library->getCompletePartAndPartDefReader(nullptr, 0))), partNamesBySql(ofLibrary));
    EXPECT_FALSE(readAll(library->getHierarchyOnlyReader()).empty());

    // The whole tree, with the parts of every folder (readAll checks every
    // count against the records delivered).
    const auto sorted = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };
    int folders = 0;
    std::vector<hierarchyAccessHandle_t> open = readAll(library->getHierarchyReader());
    while (!open.empty()) {
        hierarchyAccessHandle_t folder = open.back();
        open.pop_back();
        ++folders;
        EXPECT_EQ(
            sorted(namesOf(readAll(folder->getPartReader(nullptr)))),
            sorted(db->texts("SELECT [Name] FROM [Parts] WHERE [Hierarchy_ID] = " + std::to_string(folder->getID()))));
        auto children = readAll(folder->getHierarchyChildReader());
        open.insert(open.end(), children.begin(), children.end());
    }
    EXPECT_EQ(folders, db->counts.folders);
}

TEST_P(PartReadersTest, PartFilterSelectsOnPartDefinitionAndAttributeFields) {
    // Parts whose definition has the component R0603 and whose version is 2.
    auto filter =
        partGroup(FILTER_AND, 0, {part("Component", 2, FILTER_EQUAL, "R0603"), part("Version", 0, FILTER_EQUAL, "2")});
    auto records = readAll(library->getPartReader(filter, 0));
    std::vector<std::string> expected =
        partNamesBySql("[Part_version] = 2 AND [Part_def_ID] IN (SELECT [ID] FROM [Part_Definition] WHERE "
                       "[PCB_component_name] = 'R0603')");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(namesOf(records), expected);

    EXPECT_EQ(
        namesOf(readAll(library->getCompletePartAndPartDefReader(part("Manufacturer", 4, FILTER_EQUAL, "Acme"), 0))),
        partNamesBySql("[Part_def_ID] IN (SELECT [Part_def_ID] FROM [Attributes] WHERE [Name] = "
                       "'Manufacturer' AND [Attribute_value] = 'Acme') AND [Library_ID] = " +
                       std::to_string(libraryId)));
}

TEST_P(PartReadersTest, HostileFilterValuesFindExactlyTheMatchingRowsAndChangeNothing) {
    const int before = db->ints("SELECT Count(*) FROM [Parts]").at(0);
    const std::string hostileName = "Demo-R [SMD] 'Ohm' \\ test";
    EXPECT_EQ(namesOf(readAll(library->getPartReader(part("Part Name", 0, FILTER_EQUAL, hostileName), 0))),
              std::vector<std::string>{hostileName});

    for (const std::string &value : {std::string("'; DROP TABLE [Parts]; --"), std::string("x' OR '1'='1"),
                                     std::string("\\'"), std::string("[Parts]")}) {
        EXPECT_TRUE(readAll(library->getPartReader(part("Description", 0, FILTER_EQUAL, value), 0)).empty()) << value;
    }
    auto described = library->getPartReader(part("Description", 0, FILTER_LIKE, "'; DROP TABLE [Parts]; -- 100%"), 0);
    EXPECT_EQ(readAll(described).size(), 1u);
    EXPECT_EQ(db->ints("SELECT Count(*) FROM [Parts]").at(0), before);
}

TEST_P(PartReadersTest, BadFieldsAndNumbersAreRefusedBeforeAnyStatement) {
    EXPECT_NE(thrownMessage([&] { library->getPartReader(part("Colour", 0, FILTER_EQUAL, "red"), 0); }).find("Colour"),
              std::string::npos);
    EXPECT_NE(thrownMessage([&] { library->getPartReader(part("Version", 0, FILTER_EQUAL, "2 OR 1=1"), 0); }),
              "<no exception>");
}

TEST_P(PartReadersTest, FilterTextListsArePagedAndCountedPieceByPiece) {
    const std::vector<int> ids =
        db->ints("SELECT [ID] FROM [Parts] WHERE [Library_ID] = " + std::to_string(libraryId) + " ORDER BY [ID]");
    std::string three =
        "[ID] IN (" + std::to_string(ids[0]) + "," + std::to_string(ids[1]) + "," + std::to_string(ids[2]) + ")";
    EXPECT_EQ(namesOf(readAll(library->getPartReader(three.c_str(), 0))), partNamesBySql(three));

    // A list of every part, padded to more than twice the host's statement
    // length: read in three statements, one reader.
    std::string list;
    for (int id : ids)
        list += (list.empty() ? "" : ",") + std::to_string(id) + std::string(500, ' ');
    const std::string all = "[ID] IN (" + list + ")";
    ASSERT_GT(all.size(), static_cast<size_t>(2 * DEFAULT_COMMAND_LIMIT));
    std::vector<std::string> names = namesOf(readAll(library->getPartReader(all.c_str(), 0)));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, db->texts("SELECT [Name] FROM [Parts] WHERE " + all + " ORDER BY [Name]"));
    EXPECT_EQ(names.size(), ids.size());
    EXPECT_TRUE(readAll(library->getPartReader("[ID] IN (-1,-2)", 0)).empty());
}

TEST_P(PartReadersTest, ReportViewSortsByFolderPathThenHostNameOrder) {
    auto unsorted = readAll(library->getPartReaderForReports(0));
    std::vector<std::string> byStatement = db->texts(
        "SELECT [Parts].[Name] FROM [Parts] INNER JOIN [Hierarchy] ON [Parts].[Hierarchy_ID]=[Hierarchy].[ID] "
        "WHERE [Parts].[Library_ID] = " +
        std::to_string(libraryId) + " ORDER BY [Hierarchy].[Name],[Parts].[Name]");
    EXPECT_EQ(namesOf(unsorted), byStatement);

    auto sorted = readAll(library->getPartReaderForReports(1));
    ASSERT_EQ(sorted.size(), unsorted.size());
    std::string previousPath, previousName;
    int resistors = 0;
    for (const auto &record : sorted) {
        bool isNull = true;
        TCHAR *path = nullptr;
        record->getHierrachyFullName(isNull, &path);
        ASSERT_FALSE(isNull);
        const std::string name = nameOf(record);
        ASSERT_GE(std::string(path), previousPath);
        if (path == previousPath) {
            EXPECT_FALSE(isFirstNameBeforeSecond(name.c_str(), previousName.c_str())) << previousName << " / " << name;
        }
        previousPath = path;
        previousName = name;
        // The path leaves out root and ends with the own folder; asked again
        // it is the same text.
        TCHAR *again = nullptr;
        record->getHierrachyFullName(isNull, &again);
        EXPECT_EQ(again, path);
        if (name == "Demo-R1-10k-R0603") {
            EXPECT_STREQ(path, "Passives\\Resistors\\SMD");
            ++resistors;
        }
    }
    EXPECT_EQ(resistors, 1);
}

TEST_P(PartReadersTest, FolderParentsInACycleEndTheReportPathWithAnExceptionNamingTheFolder) {
    // Passives and Resistors made each other's parent, as another tool could.
    const auto idOf = [&](const std::string &name) {
        return std::to_string(db->ints("SELECT [ID] FROM [Hierarchy] WHERE [Name] = '" + name +
                                       "' AND [Library_ID] = " + std::to_string(libraryId))
                                  .at(0));
    };
    db->exec("UPDATE [Hierarchy] SET [Parent_ID] = " + idOf("Resistors") + " WHERE [ID] = " + idOf("Passives"));
    auto reader = library->getPartReaderForReports(0);
    int cycles = 0;
    while (auto record = reader->getNext()) {
        bool isNull = true;
        TCHAR *path = nullptr;
        const std::string message = txdbtest::thrownMessage([&] { record->getHierrachyFullName(isNull, &path); });
        if (message != "<no exception>") {
            // The walk stops at the first folder of the cycle that it meets again.
            const auto cycleAt = [&](const std::string &name) {
                return "The folder \"" + name + "\" (ID " + idOf(name) +
                       ") is its own ancestor: the parents of its folders form a cycle";
            };
            EXPECT_TRUE(message == cycleAt("Resistors") || message == cycleAt("Passives")) << message;
            ++cycles;
        }
    }
    EXPECT_GT(cycles, 0);
}

TEST_P(PartReadersTest, PartGettersKeepNullApartFromEmptyAndRefuseSmallBuffers) {
    // The hostile part, given a NULL number, an empty acceptance and NULL
    // version and type.
    db->exec("UPDATE [Parts] SET [Part_number] = NULL, [Part_Acceptance] = '', [Part_version] = NULL, "
             "[Part_Type] = NULL WHERE [Name] = 'Demo-R [SMD] ''Ohm'' \\ test'");
    auto records = readAll(library->getPartReader(part("Part Name", 0, FILTER_EQUAL, "Demo-R [SMD] 'Ohm' \\ test"), 0));
    ASSERT_EQ(records.size(), 1u);
    auto record = records[0];

    txdbtest::expectAtWidth(TEXT_OF(record, getNumber), 51, "<NULL>");
    TCHAR buffer[256] = "unchanged";
    bool isNull = false;
    record->getNumber(isNull, buffer, 51);
    EXPECT_STREQ(buffer, "unchanged");
    EXPECT_EQ(txdbtest::nullable(TEXT_OF(record, getPartAcceptance)), "");

    int version = 77;
    record->getVersion(isNull, version);
    EXPECT_TRUE(isNull);
    EXPECT_EQ(version, 77);
    int type = 5;
    record->getPartType(isNull, type);
    EXPECT_TRUE(isNull);
    EXPECT_EQ(type, -1);

    txdbtest::expectAtWidth(TEXT_OF(record, getPSpice), 81, txdbtest::nullable(TEXT_OF(record, getPSpice)));
    EXPECT_NE(thrownMessage([&] { record->getPSpice(isNull, nullptr, 81); }), "<no exception>");

    // A description longer than the buffer is cut to it, never past it.
    const std::string longText(200, 'd');
    db->exec("UPDATE [Parts] SET [Description] = '" + longText + "'");
    record = library->getPartReader(partFilterCompHandle_t(), 0)->getNext();
    ASSERT_TRUE(record);
    txdbtest::expectAtWidth(TEXT_OF(record, getDescription), 51, longText.substr(0, 50));
    EXPECT_EQ(txdbtest::nullable(TEXT_OF(record, getDescription)), longText);
    std::memset(buffer, '#', sizeof buffer);
    record->getDescription(isNull, buffer, 51);
    EXPECT_EQ(buffer[51], '#');
}

TEST_P(PartReadersTest, RecordsOutliveTheirReaderAndThePathHandle) {
    std::shared_ptr<CompletePartAndPartDefAccess> record;
    std::shared_ptr<PartAccess> part;
    {
        auto reader = library->getCompletePartAndPartDefReader(nullptr, 0);
        record = reader->getNext();
        part = library->getPartReader(partFilterCompHandle_t(), 0)->getNext();
    }
    library.reset();
    db->path.reset();
    ASSERT_TRUE(record && part);
    TCHAR text[51];
    record->getPartDefName(text, sizeof text, false);
    EXPECT_GT(std::strlen(text), 0u);
    // The database stays open while a record needs it.
    hierarchyAccessHandle_t folder = part->getPartHierarchy();
    ASSERT_TRUE(folder);
    EXPECT_FALSE(nameOf(folder).empty());
    EXPECT_TRUE(record->getPartHierarchy());
}

// A reader's records are let go in any order, some at once, some later on
// another thread, while others are kept: a kept record keeps its own
// values, whatever the reader makes in the memory of those let go.
TEST_P(PartReadersTest, KeptRecordsKeepTheirValuesWhateverIsLetGoAroundThem) {
    const std::vector<std::string> expected = partNamesBySql("[Library_ID] = " + std::to_string(libraryId));
    ASSERT_GE(expected.size(), 30u);
    std::vector<std::shared_ptr<PartAccess>> kept, later;
    size_t read = 0;
    auto reader = library->getPartReader(partFilterCompHandle_t(), 0);
    while (std::shared_ptr<PartAccess> part = reader->getNext()) {
        if (read % 3 == 0)
            kept.push_back(part);
        else if (read % 3 == 1)
            later.push_back(part);
        ++read;
        if (later.size() == 5)
            std::thread([batch = std::exchange(later, {})]() mutable { batch.clear(); }).join();
    }
    later.clear();
    ASSERT_EQ(read, expected.size());
    for (size_t k = 0; k < kept.size(); ++k)
        EXPECT_EQ(nameOf(kept[k]), expected[3 * k]) << k;
}

TEST_P(PartReadersTest, MissingFolderRowGivesAnEmptyHandle) {
    auto part = library->getPartReader(partFilterCompHandle_t(), 0)->getNext();
    ASSERT_TRUE(part);
    const std::map<std::string, std::string> foreignKeysOff = {
        {"SQLite", "PRAGMA foreign_keys=OFF"},
        {"MariaDB", "SET FOREIGN_KEY_CHECKS=0"},
        {"PostgreSQL", "ALTER TABLE [Parts] DROP CONSTRAINT [PartsHierarchy]"}};
    db->exec(foreignKeysOff.at(GetParam()));
    db->exec("UPDATE [Parts] SET [Hierarchy_ID] = -5 WHERE [Library_ID] = " + std::to_string(libraryId));
    // The record keeps its snapshot; a fresh record of the changed row finds no folder.
    EXPECT_TRUE(part->getPartHierarchy());
    auto changed = library->getPartReader(partFilterCompHandle_t(), 0)->getNext();
    EXPECT_FALSE(changed->getPartHierarchy());
}

TEST_P(PartReadersTest, PartsOfADefinitionComeByNameAndPartsReachTheirDefinition) {
    auto definitions = readAll(library->getPartDefReader(0));
    ASSERT_FALSE(definitions.empty());
    for (const auto &definition : definitions) {
        EXPECT_EQ(namesOf(readAll(definition->getPartReader(nullptr))),
                  partNamesBySql("[Part_def_ID] = " + std::to_string(definition->getID())));
    }

    for (const auto &record : readAll(library->getCompletePartAndPartDefReader(nullptr, 0))) {
        const int definitionId = record->getPartDefID();
        std::shared_ptr<PartDefAccess> definition = record->getPartPartDefn();
        ASSERT_TRUE(definition);
        EXPECT_EQ(definition->getID(), definitionId);
        TCHAR joined[51];
        record->getPartDefName(joined, sizeof joined, false);
        EXPECT_EQ(nameOf(definition), joined);
        const std::string ofDefinition = " WHERE [Part_def_ID] = " + std::to_string(definitionId);
        EXPECT_EQ(static_cast<int>(readAll(record->getPinDataReader()).size()),
                  db->ints("SELECT Count(*) FROM [Pin_Data]" + ofDefinition).at(0));
        EXPECT_EQ(static_cast<int>(readAll(record->getAttributesReader()).size()),
                  db->ints("SELECT Count(*) FROM [Attributes]" + ofDefinition).at(0));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, PartReadersTest, ::testing::ValuesIn(txdbtest::testEngines()),
                         [](const auto &engine) { return engine.param; });

} // namespace
