// partlib part, folder and definition run as the built program on every
// engine: each edit leaves the raw tables an import of the same change
// leaves, refusals and Ctrl-C leave the database as it was, --dry-run
// writes nothing.

#include "tests/support/DatabaseState.h"
#include "tests/support/NaturalTables.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>

namespace {

using json = nlohmann::ordered_json;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;

std::string sampleDatabase(int parts) {
    const std::string database = txdbtest::tempFile();
    EXPECT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    ProgramRun written =
        txdbtest::runShell(txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") + " " +
                           txdbtest::shellQuoted(database) + " --parts " + std::to_string(parts) + " --name Demo");
    EXPECT_EQ(written.status, 0) << written.all();
    return database;
}

// A copy of the SQLite file on the engine.
std::string copyOn(const std::string &engine, const std::string &sqlite) {
    const std::string target = engine == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(engine);
    ProgramRun copied = runPartlib({"copy", sqlite, target, "--yes"});
    EXPECT_EQ(copied.status, 0) << copied.all();
    return target;
}

// The raw tables of a database of any engine, read from a SQLite copy.
txdbtest::NaturalTables tablesOf(const std::string &engine, const std::string &database) {
    return txdbtest::naturalTables(engine == "SQLite" ? database : copyOn("SQLite", database));
}

json exported(const std::string &database) {
    ProgramRun run = runPartlib({"export", database});
    EXPECT_EQ(run.status, 0) << run.errors;
    return json::parse(run.output);
}

std::string fileWith(const json &document) {
    const std::string name = txdbtest::tempFile(".json");
    std::ofstream(name, std::ios::binary) << document.dump(2);
    return name;
}

json &folderAt(json &library, const std::vector<std::string> &path) {
    json *level = &library["folders"];
    json *found = nullptr;
    for (const std::string &name : path) {
        found = nullptr;
        for (json &folder : *level)
            if (folder["name"] == name)
                found = &folder;
        if (!found)
            throw std::runtime_error("no folder " + name);
        level = &(*found)["folders"];
    }
    return *found;
}

json &partNamed(json &library, const std::string &name) {
    for (json &part : library["parts"])
        if (part["name"] == name)
            return part;
    throw std::runtime_error("no part " + name);
}

void eraseNamed(json &list, const std::string &name) {
    for (auto it = list.begin(); it != list.end(); ++it)
        if ((*it)["name"] == name) {
            list.erase(it);
            return;
        }
    throw std::runtime_error("nothing named " + name);
}

// The parts whose folder starts with `from` filed under `to` instead.
void refile(json &library, const std::vector<std::string> &from, const std::vector<std::string> &to) {
    for (json &part : library["parts"]) {
        std::vector<std::string> folder = part["folder"];
        if (folder.size() < from.size() || !std::equal(from.begin(), from.end(), folder.begin()))
            continue;
        std::vector<std::string> moved = to;
        moved.insert(moved.end(), folder.begin() + static_cast<std::ptrdiff_t>(from.size()), folder.end());
        part["folder"] = moved;
    }
}

// One edit: the command's arguments after DB and LIBRARY, and the same
// change made to the library of an exported file.
struct Edit {
    std::vector<std::string> arguments;
    std::function<void(json &library)> change;
};

class EditCommandTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        if (!sample)
            sample = new std::string(sampleDatabase(60));
    }
    static std::string *sample;
};
std::string *EditCommandTest::sample = nullptr;

TEST_P(EditCommandTest, EveryEditLeavesTheTablesThatAnImportOfTheSameChangeLeaves) {
    const std::string engine = GetParam();
    const std::string edited = copyOn(engine, *sample);
    const std::string imported = copyOn(engine, *sample);
    json document = exported(*sample);
    json &library = document["libraries"][0];
    const std::string p0 = library["parts"][0]["name"], p1 = library["parts"][1]["name"];
    const std::string p2 = library["parts"][2]["name"], p3 = library["parts"][3]["name"];
    const std::string definition = library["partDefinitions"][0]["name"];
    const std::string attribute = library["partDefinitions"][0]["attributes"][0]["name"];

    const std::vector<Edit> edits = {
        {{"part", "set", p0, "--description", "Edited", "--number", ""},
         [&](json &l) {
             partNamed(l, p0)["description"] = "Edited";
             partNamed(l, p0)["number"] = nullptr;
         }},
        {{"part", "move", p1, "root/Mechanical/Jumpers"},
         [&](json &l) {
             partNamed(l, p1)["folder"] = {"root", "Mechanical", "Jumpers"};
         }},
        {{"part", "rename", p2, "Renamed-part"}, [&](json &l) { partNamed(l, p2)["name"] = "Renamed-part"; }},
        {{"part", "add", "Added-part", "--folder", "Obsolete", "--definition", definition, "--version", "3"},
         [&](json &l) {
             l["parts"].push_back(
                 {{"name", "Added-part"}, {"version", 3}, {"folder", {"Obsolete"}}, {"definition", definition}});
         }},
        {{"part", "remove", p3}, [&](json &l) { eraseNamed(l["parts"], p3); }},
        {{"folder", "add", "root/New/Below"},
         [&](json &l) {
             folderAt(l, {"root"})["folders"].push_back(
                 {{"name", "New"}, {"folders", json::array({{{"name", "Below"}, {"folders", json::array()}}})}});
         }},
        {{"folder", "rename", "root/Passives/Capacitors", "Caps"},
         [&](json &l) {
             folderAt(l, {"root", "Passives", "Capacitors"})["name"] = "Caps";
             refile(l, {"root", "Passives", "Capacitors"}, {"root", "Passives", "Caps"});
         }},
        {{"folder", "move", "root/Logic/74HC", "root/Semiconductors"},
         [&](json &l) {
             folderAt(l, {"root", "Semiconductors"})["folders"].push_back(folderAt(l, {"root", "Logic", "74HC"}));
             eraseNamed(folderAt(l, {"root", "Logic"})["folders"], "74HC");
             refile(l, {"root", "Logic", "74HC"}, {"root", "Semiconductors", "74HC"});
         }},
        {{"folder", "move", "root/New", "/"},
         [&](json &l) {
             l["folders"].push_back(folderAt(l, {"root", "New"}));
             eraseNamed(folderAt(l, {"root"})["folders"], "New");
         }},
        {{"folder", "remove", "root/Mechanical/Test points", "--recursive"},
         [&](json &l) {
             eraseNamed(folderAt(l, {"root", "Mechanical"})["folders"], "Test points");
             json kept = json::array();
             for (json &part : l["parts"])
                 if (part["folder"] != json{"root", "Mechanical", "Test points"})
                     kept.push_back(part);
             l["parts"] = kept;
         }},
        {{"folder", "remove", "New"}, [&](json &l) { eraseNamed(l["folders"], "New"); }},
        {{"definition", "set", definition, "--value", "", "--stem", "RX", "--fpga", "true", "--attribute",
          attribute + "=changed", "--attribute", "Zz-added=1"},
         [&](json &l) {
             json &d = l["partDefinitions"][0];
             d["value"] = nullptr;
             d["componentNameStem"] = "RX";
             d["isFPGA"] = true;
             d["attributes"][0]["value"] = "changed";
             d["attributes"].push_back({{"name", "Zz-added"}, {"value", "1"}, {"usageType", 0}, {"readOnly", 0}});
         }},
        {{"definition", "set", definition, "--remove-attribute", "Zz-added"},
         [&](json &l) {
             l["partDefinitions"][0]["attributes"].erase(l["partDefinitions"][0]["attributes"].size() - 1);
         }},
    };
    for (const Edit &edit : edits) {
        SCOPED_TRACE(edit.arguments[0] + " " + edit.arguments[1]);
        std::vector<std::string> command{edit.arguments[0], edit.arguments[1], edited, "Demo"};
        command.insert(command.end(), edit.arguments.begin() + 2, edit.arguments.end());
        ProgramRun run = runPartlib(command);
        ASSERT_EQ(run.status, 0) << run.all();
        EXPECT_NE(run.output.find("Wrote 1 library (Demo)"), std::string::npos) << run.output;
        edit.change(library);
        ProgramRun import = runPartlib({"import", imported, fileWith(document), "--prune"});
        ASSERT_EQ(import.status, 0) << import.all();
        EXPECT_TRUE(tablesOf(engine, edited) == tablesOf(engine, imported));
    }
    EXPECT_TRUE(exported(edited) == exported(imported));
}

// A definition that no part uses goes; its details with it.
TEST_P(EditCommandTest, AnUnusedDefinitionIsRemovedAsAnImportWithPruneRemovesIt) {
    const std::string engine = GetParam();
    const std::string edited = copyOn(engine, *sample);
    const std::string imported = copyOn(engine, *sample);
    json document = exported(*sample);
    json &library = document["libraries"][0];
    const std::string definition = library["partDefinitions"][1]["name"];
    json kept = json::array();
    for (json &part : library["parts"])
        if (part["definition"] == definition)
            ASSERT_EQ(runPartlib({"part", "remove", edited, "Demo", part["name"]}).status, 0);
        else
            kept.push_back(part);
    library["parts"] = kept;
    ProgramRun run = runPartlib({"definition", "remove", edited, "Demo", definition});
    ASSERT_EQ(run.status, 0) << run.all();
    EXPECT_NE(run.output.find("part definitions: 0 inserted, 0 updated, 1 removed"), std::string::npos) << run.output;
    eraseNamed(library["partDefinitions"], definition);
    ASSERT_EQ(runPartlib({"import", imported, fileWith(document), "--prune"}).status, 0);
    EXPECT_TRUE(tablesOf(engine, edited) == tablesOf(engine, imported));
}

TEST_P(EditCommandTest, RefusalsAndDryRunsLeaveTheDatabaseAsItWasAndSayWhatToDo) {
    const std::string engine = GetParam();
    const std::string database = copyOn(engine, *sample);
    json library = exported(*sample)["libraries"][0];
    const std::string part = library["parts"][0]["name"], other = library["parts"][1]["name"];
    const std::string used = library["parts"][0]["definition"];
    const std::string before = txdbtest::databaseState(engine, database);
    const struct {
        std::vector<std::string> arguments;
        const char *says;
    } refusals[] = {
        {{"part", "remove", "Demo", part + "x"}, "did you mean"},
        {{"part", "remove", "Nope", part}, "No library named \"Nope\""},
        {{"part", "add", "Demo", other, "--folder", "Obsolete", "--definition", used}, "choose another name"},
        {{"part", "add", "Demo", "New", "--folder", "Nowhere", "--definition", used}, "partlib tree shows them"},
        {{"part", "add", "Demo", "New", "--folder", "Obsolete", "--definition", used + "x"}, "No part definition"},
        {{"part", "set", "Demo", part}, "give at least one"},
        {{"part", "set", "Demo", part, "--version", "1.5"}, "no whole number"},
        {{"part", "set", "Demo", part, "--folder", "root//Logic"}, "empty folder"},
        {{"part", "set", "Demo", part, "--description", std::string(256, 'd')}, "holds at most 255"},
        {{"part", "rename", "Demo", part, other}, "choose another name"},
        {{"folder", "remove", "Demo", "root/Passives"}, "--recursive"},
        {{"folder", "move", "Demo", "root/Passives", "root/Passives/Resistors"}, "into itself"},
        {{"folder", "rename", "Demo", "root/Passives", "Logic"}, "has a folder named \"Logic\" already"},
        {{"folder", "rename", "Demo", "root/Passives", "a/b"}, "partlib folder move"},
        {{"folder", "add", "Demo", "root/Logic"}, "already"},
        {{"definition", "remove", "Demo", used}, "Give them another definition"},
        {{"definition", "set", "Demo", used, "--remove-attribute", "Nope"}, "no attribute named"},
        {{"definition", "set", "Demo", used, "--attribute", "novalue"}, "NAME=VALUE"},
        {{"definition", "set", "Demo", used, "--pcb-component", ""}, "cannot be empty"},
    };
    for (const auto &refusal : refusals) {
        std::vector<std::string> command{refusal.arguments[0], refusal.arguments[1], database};
        command.insert(command.end(), refusal.arguments.begin() + 2, refusal.arguments.end());
        SCOPED_TRACE(txdbtest::partlibCommand(command));
        ProgramRun run = runPartlib(command);
        EXPECT_EQ(run.status, 1) << run.all();
        EXPECT_NE(run.errors.find(refusal.says), std::string::npos) << run.errors;
    }
    ProgramRun dry = runPartlib({"folder", "remove", database, "Demo", "root/Passives", "--recursive", "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.all();
    EXPECT_NE(dry.output.find("Would change library Demo: folder root/Passives removed with what it held; nothing "
                              "was written:"),
              std::string::npos)
        << dry.output;
    EXPECT_NE(dry.output.find(" removed\n"), std::string::npos) << dry.output;
    EXPECT_TRUE(txdbtest::databaseState(engine, database) == before);
}

INSTANTIATE_TEST_SUITE_P(Engines, EditCommandTest, ::testing::ValuesIn(txdbtest::testEngines()));

TEST(EditCommandUse, WrongArgumentsAndMissingFilesEndWithAMessageAndCreateNothing) {
    const std::string missing = txdbtest::tempFile();
    ProgramRun run = runPartlib({"part", "remove", missing, "Demo", "R1"});
    EXPECT_EQ(run.status, 1) << run.all();
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(runPartlib({"part"}).status, 2);
    EXPECT_EQ(runPartlib({"folder", "remove", missing}).status, 2);
    EXPECT_EQ(runPartlib({"part", "add", missing, "Demo", "R1"}).status, 2) << "--folder and --definition required";
    ProgramRun help = runPartlib({"definition", "set", "--help"});
    EXPECT_NE(help.output.find("--attribute"), std::string::npos) << help.output;
}

TEST(EditCommandSignals, CtrlCInTheMiddleLeavesTheDatabaseAsItWas) {
    const std::string database = sampleDatabase(30000);
    const std::string before = txdbtest::readFile(database);
    // Renaming the top folder moves every part: a write long enough to be
    // interrupted in its middle (one part's change is written too fast).
    const pid_t child = txdbtest::startPartlib({"folder", "rename", database, "Demo", "root", "top"});
    ASSERT_GE(child, 0);
    EXPECT_EQ(txdbtest::interruptWhileWriting(child, database), 130);
    EXPECT_TRUE(txdbtest::readFile(database) == before);
}

} // namespace
