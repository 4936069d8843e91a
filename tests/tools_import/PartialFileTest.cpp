// Library files that name only what they change: the defaults of the keys
// left out, the keys that stay required, and a partial file imported onto
// the sample library changing exactly what it names.

#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/libraryfile/LibraryFile.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>

namespace {

using json = nlohmann::ordered_json;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;

TEST(PartialLibraryFile, KeysLeftOutTakeTheirDefaultsAndTheNamingKeysStayRequired) {
    libraryfile::LibraryFile file = libraryfile::readLibraryFile(R"({"libraries": [{"name": "L",
        "folders": [{"name": "F"}],
        "partDefinitions": [{"name": "D", "pcbComponentName": "C", "pins": [{"identifier": "1"}],
                             "gates": [{"name": "A"}], "attributes": [{"name": "Tol"}]}],
        "parts": [{"name": "P", "folder": ["F"], "definition": "D"}]}]})");
    ASSERT_TRUE(file.problems.empty()) << libraryfile::summary(file.problems);
    const hostmodel::Library &library = file.libraries.at(0);
    EXPECT_TRUE(library.enabled);
    EXPECT_FALSE(library.comment);
    ASSERT_EQ(file.leftOut.size(), 1u);
    EXPECT_TRUE(file.leftOut[0].enabled && file.leftOut[0].comment);
    const hostmodel::PartDefinition &definition = library.definitions.at(0);
    EXPECT_FALSE(definition.value);
    EXPECT_EQ(definition.maxConnectorPins, 0);
    EXPECT_FALSE(definition.pins.at(0).name);
    EXPECT_TRUE(definition.gates.at(0).pins.empty());
    EXPECT_EQ(definition.attributes.at(0).value, "");
    EXPECT_FALSE(library.parts.at(0).description);

    const struct {
        const char *document, *place, *message;
    } missing[] = {
        {R"({"libraries": [{"enabled": true}]})", "libraries[0]", "lacks the key \"name\""},
        {R"({"libraries": [{"name": "L", "partDefinitions": [{"name": "D"}]}]})", "libraries[0].partDefinitions[0]",
         "lacks the key \"pcbComponentName\""},
        {R"({"libraries": [{"name": "L", "folders": [{"name": "F"}], "parts": [{"name": "P", "folder": ["F"]}]}]})",
         "libraries[0].parts[0]", "lacks the key \"definition\""},
        {R"({"libraries": [{"name": "L", "folders": [{"folders": []}]}]})", "libraries[0].folders[0]",
         "lacks the key \"name\""},
        {R"({"format": 1})", "the document", "lacks the key \"libraries\""},
        {R"({"libraries": [{"name": "L", "colour": "red"}]})", "libraries[0].colour", "no key"},
    };
    for (const auto &check : missing) {
        libraryfile::LibraryFile read = libraryfile::readLibraryFile(check.document);
        ASSERT_FALSE(read.problems.empty()) << check.document;
        EXPECT_EQ(read.problems[0].place, check.place) << check.document;
        EXPECT_NE(read.problems[0].message.find(check.message), std::string::npos) << read.problems[0].message;
    }
}

std::string sampleDatabase() {
    const std::string database = txdbtest::tempFile();
    EXPECT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    ProgramRun written = txdbtest::runShell(txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") +
                                            " " + txdbtest::shellQuoted(database) + " --parts 80 --name Demo");
    EXPECT_EQ(written.status, 0) << written.all();
    return database;
}

std::string fileWith(const json &document) {
    const std::string name = txdbtest::tempFile(".json");
    std::ofstream(name, std::ios::binary) << document.dump(2);
    return name;
}

TEST(PartialLibraryFile, AnImportOntoTheSampleLibraryChangesExactlyWhatItNames) {
    const std::string database = sampleDatabase();
    const std::string expected = txdbtest::tempFile();
    std::filesystem::copy_file(database, expected);
    const txdbtest::NaturalTables before = txdbtest::naturalTables(database);
    ProgramRun run = runPartlib({"export", database});
    ASSERT_EQ(run.status, 0) << run.errors;
    json whole = json::parse(run.output);
    json &library = whole["libraries"][0];
    json &changed = library["parts"][5];
    const std::string definition = library["parts"][0]["definition"];

    // A new folder below the stored top folder "root", a part added there,
    // one part's description: the library's own keys and every other item
    // left out. The folders the parts are filed in must be in the file's
    // tree: their paths of names, the rest of the tree left out.
    json tree = json::array();
    json *level = &tree;
    for (const std::string name : changed["folder"]) {
        level->push_back({{"name", name}, {"folders", json::array()}});
        level = &(*level)[level->size() - 1]["folders"];
    }
    if (tree[0]["name"] == "root")
        tree[0]["folders"].push_back({{"name", "Added"}});
    else
        tree.push_back({{"name", "root"}, {"folders", {{{"name", "Added"}}}}});
    const json file = {{"libraries",
                        {{{"name", "Demo"},
                          {"folders", tree},
                          {"parts",
                           {{{"name", "Partial-new"}, {"folder", {"root", "Added"}}, {"definition", definition}},
                            {{"name", changed["name"]},
                             {"folder", changed["folder"]},
                             {"definition", changed["definition"]},
                             {"description", "Partially changed"}}}}}}}};

    ProgramRun dry = runPartlib({"import", database, fileWith(file), "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.all();
    EXPECT_NE(dry.output.find("folders: 1 inserted, 0 updated, 0 removed"), std::string::npos) << dry.output;
    EXPECT_NE(dry.output.find("parts: 1 inserted, 1 updated, 0 removed"), std::string::npos) << dry.output;
    EXPECT_EQ(dry.output.find("libraries:"), std::string::npos) << "the library's comment is kept\n" << dry.output;

    ProgramRun imported = runPartlib({"import", database, fileWith(file)});
    ASSERT_EQ(imported.status, 0) << imported.all();

    // The same change made to the whole file: the keys the partial file left
    // out of the changed part take their defaults.
    for (json &top : library["folders"])
        if (top["name"] == "root")
            top["folders"].push_back({{"name", "Added"}, {"folders", json::array()}});
    for (const char *key : {"number", "pspiceData", "version", "acceptance", "type"})
        changed[key] = nullptr;
    changed["description"] = "Partially changed";
    library["parts"].push_back({{"name", "Partial-new"}, {"folder", {"root", "Added"}}, {"definition", definition}});
    ASSERT_EQ(runPartlib({"import", expected, fileWith(whole), "--prune"}).status, 0);

    const txdbtest::NaturalTables after = txdbtest::naturalTables(database);
    EXPECT_TRUE(after == txdbtest::naturalTables(expected));
    for (const auto &[table, rows] : before) {
        if (table != "Parts" && table != "Hierarchy") {
            EXPECT_TRUE(after.at(table) == rows) << table;
        }
    }
    EXPECT_EQ(after.at("Parts").size(), before.at("Parts").size() + 1);
}

} // namespace
