// The summary of an import counts what the write did: for each kind of
// change of an edited export (a part added, changed, removed or moved, a
// folder renamed, a definition pruned with its parts), the rows it lists as
// added and removed are the change of the raw tables' row counts, and the
// rows it lists as changed are the ones edited.

#include "tests/tools_library/LibraryTestSupport.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>

namespace {

using namespace txdbtest;
using nlohmann::json;

class SummaryCountsTest : public ::testing::TestWithParam<std::string> {
protected:
    SummaryCountsTest() : database(onEngine(GetParam(), sample({"A"}))) {}

    struct Summary {
        std::string output;
        std::map<std::string, long> added, changed, removed;
    };

    // Imports the export of the database after `edit` of its library; checks
    // the listed rows added and removed against the tables' row counts.
    Summary importEdited(const std::function<void(json &)> &edit, bool prune) {
        ProgramRun exported = runPartlib({"export", database});
        EXPECT_EQ(exported.status, 0) << exported.errors;
        json file = json::parse(exported.output);
        edit(file["libraries"][0]);
        const std::string path = tempFile(".json");
        std::ofstream(path) << file.dump(2);

        const std::map<std::string, long> before = rowCounts(database);
        std::vector<std::string> arguments{"import", database, path};
        if (prune)
            arguments.push_back("--prune");
        ProgramRun imported = runPartlib(arguments);
        EXPECT_EQ(imported.status, 0) << imported.all();
        const std::map<std::string, long> after = rowCounts(database);
        Summary summary{imported.output, listed(imported.output, "rows added"), listed(imported.output, "rows changed"),
                        listed(imported.output, "rows removed")};
        for (const auto &[table, count] : before)
            EXPECT_EQ(countOf(summary.added, table) - countOf(summary.removed, table), after.at(table) - count)
                << table << ": " << imported.output;
        EXPECT_FALSE(contains(imported.output, "up to date")) << imported.output;
        return summary;
    }

    std::string database;
};

TEST_P(SummaryCountsTest, APartAddedIsOneRowAdded) {
    const Summary summary = importEdited(
        [](json &library) {
            json part = library["parts"][0];
            part["name"] = "Added part";
            library["parts"].push_back(part);
        },
        false);
    EXPECT_EQ(summary.added, (std::map<std::string, long>{{"Parts", 1}})) << summary.output;
    EXPECT_TRUE(summary.changed.empty() && summary.removed.empty()) << summary.output;
}

TEST_P(SummaryCountsTest, APartChangedOrMovedIsOneRowChanged) {
    for (const auto &change : std::vector<std::function<void(json &)>>{
             [](json &library) { library["parts"][0]["description"] = "Changed"; },
             [](json &library) {
                 library["parts"][1]["folder"] = json::array({"root", "Logic", "74HC"});
             }}) {
        const Summary summary = importEdited(change, false);
        EXPECT_EQ(summary.changed, (std::map<std::string, long>{{"Parts", 1}})) << summary.output;
        EXPECT_TRUE(summary.added.empty() && summary.removed.empty()) << summary.output;
    }
}

TEST_P(SummaryCountsTest, APartPrunedIsOneRowRemoved) {
    const Summary summary =
        importEdited([](json &library) { library["parts"].erase(library["parts"].size() - 1); }, true);
    EXPECT_EQ(summary.removed, (std::map<std::string, long>{{"Parts", 1}})) << summary.output;
    EXPECT_TRUE(summary.added.empty() && summary.changed.empty()) << summary.output;
}

TEST_P(SummaryCountsTest, AFolderRenamedIsAFolderAddedAndOneRemoved) {
    // The folder of the library's first part, with the parts filed in it.
    std::string renamed;
    long filed = 0;
    const Summary summary = importEdited(
        [&](json &library) {
            json path = library["parts"][0]["folder"];
            renamed = path.back().get<std::string>();
            json *folders = &library["folders"];
            for (size_t depth = 0; depth < path.size(); ++depth)
                for (json &folder : *folders)
                    if (folder["name"] == path[depth]) {
                        if (depth + 1 == path.size())
                            folder["name"] = renamed + " (renamed)";
                        folders = &folder["folders"];
                        break;
                    }
            json moved = path;
            moved.back() = renamed + " (renamed)";
            for (json &part : library["parts"])
                if (part["folder"] == path) {
                    part["folder"] = moved;
                    ++filed;
                }
        },
        true);
    EXPECT_EQ(countOf(summary.added, "Hierarchy"), 1) << summary.output;
    EXPECT_EQ(countOf(summary.removed, "Hierarchy"), 1) << summary.output;
    EXPECT_EQ(countOf(summary.changed, "Parts"), filed) << summary.output;
    EXPECT_GT(filed, 0);
}

TEST_P(SummaryCountsTest, ADefinitionPrunedGoesWithItsDetailsAndParts) {
    long parts = 0;
    const Summary summary = importEdited(
        [&](json &library) {
            const json name = library["partDefinitions"][0]["name"];
            library["partDefinitions"].erase(0);
            json &all = library["parts"];
            for (size_t i = all.size(); i-- > 0;)
                if (all[i]["definition"] == name) {
                    all.erase(i);
                    ++parts;
                }
        },
        true);
    EXPECT_EQ(countOf(summary.removed, "Part_Definition"), 1) << summary.output;
    EXPECT_EQ(countOf(summary.removed, "Parts"), parts) << summary.output;
    EXPECT_GT(countOf(summary.removed, "Pin_Data"), 0) << summary.output;
    EXPECT_TRUE(summary.added.empty()) << summary.output;
}

INSTANTIATE_TEST_SUITE_P(Engines, SummaryCountsTest, ::testing::ValuesIn(testEngines()));

} // namespace
