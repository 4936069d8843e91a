// partlib import run as the built program on every engine: the round trip
// of an exported library, a repeated import that changes nothing, an edited
// file with and without --prune (and its --dry-run counts), invalid files
// that leave the database exactly as it was, Ctrl-C in the middle, and the
// export's report of texts it cannot carry whole; two imports of one
// library at once.

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "interface/CTraxDBPartLib.h"
#include "tests/support/DatabaseState.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using json = nlohmann::ordered_json;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// A SQLite database with one sample library of that name.
std::string sampleDatabase(const std::string &name, int parts) {
    const std::string database = txdbtest::tempFile();
    EXPECT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
    ProgramRun written =
        txdbtest::runShell(txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") + " " +
                           txdbtest::shellQuoted(database) + " --parts " + std::to_string(parts) + " --name " + name);
    EXPECT_EQ(written.status, 0) << written.all();
    return database;
}

std::string emptyDatabase(const std::string &engine) {
    return engine == "SQLite" ? txdbtest::tempFile() : txdbtest::otherDatabase(engine);
}

std::string exported(const std::string &database) {
    ProgramRun run = runPartlib({"export", database});
    EXPECT_EQ(run.status, 0) << run.errors;
    return run.output;
}

std::string fileWith(const std::string &text) {
    const std::string name = txdbtest::tempFile(".json");
    std::ofstream(name, std::ios::binary) << text;
    return name;
}

// The layout of the export, as nlohmann's dump(2) writes it (the keys in
// the order they were read).
std::string dumped(const json &document) {
    return document.dump(2) + "\n";
}

json *findFolder(json &folders, const std::string &name) {
    for (json &folder : folders)
        if (folder["name"] == name)
            return &folder;
    return nullptr;
}

using txdbtest::databaseState;

class ImportCommandTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        if (!sample)
            sample = new std::string(sampleDatabase("Demo", 300));
    }
    static std::string *sample;
};
std::string *ImportCommandTest::sample = nullptr;

TEST_P(ImportCommandTest, AnExportedLibraryComesBackByteForByteAndASecondImportChangesNothing) {
    const std::string file = fileWith(exported(*sample));
    const std::string target = emptyDatabase(GetParam());

    ProgramRun imported = runPartlib({"import", target, file, "--yes"});
    ASSERT_EQ(imported.status, 0) << imported.all();
    EXPECT_NE(imported.output.find("Imported 1 library (Demo) in "), std::string::npos) << imported.output;
    EXPECT_NE(imported.output.find("parts: 300 inserted, 0 updated, 0 removed"), std::string::npos) << imported.output;
    EXPECT_TRUE(exported(target) == txdbtest::readFile(file));

    const std::string before = databaseState(GetParam(), target);
    ProgramRun again = runPartlib({"import", target, file, "--prune"});
    ASSERT_EQ(again.status, 0) << again.all();
    EXPECT_NE(again.output.find("rows added: none"), std::string::npos) << again.output;
    EXPECT_NE(again.output.find("nothing to change"), std::string::npos) << again.output;
    EXPECT_TRUE(exported(target) == txdbtest::readFile(file));
    if (GetParam() != "SQLite") { // a SQLite file's bytes change with any committed transaction
        EXPECT_TRUE(databaseState(GetParam(), target) == before);
    }
}

TEST_P(ImportCommandTest, AnEditedFileIsMergedAndWithPruneTheLibraryEqualsIt) {
    const std::string original = exported(*sample);
    json document = json::parse(original);
    json &library = document["libraries"][0];
    // A part renamed (its place in the name order kept), a pin's type, an
    // attribute added at the end of the name order, and a folder moved with
    // its parts into a sibling of its parent.
    const std::string oldName = library["parts"][0]["name"];
    library["parts"][0]["name"] = oldName + "-X";
    library["partDefinitions"][0]["pins"][0]["type"] = 77;
    library["partDefinitions"][0]["attributes"].push_back(
        {{"name", "Zeta"}, {"value", "new"}, {"usageType", 1}, {"readOnly", 0}});
    json *root = findFolder(library["folders"], "root");
    ASSERT_NE(root, nullptr);
    json *semiconductors = findFolder((*root)["folders"], "Semiconductors");
    json *passives = findFolder((*root)["folders"], "Passives");
    ASSERT_TRUE(semiconductors && passives);
    json *transistors = findFolder((*semiconductors)["folders"], "Transistors");
    ASSERT_NE(transistors, nullptr);
    (*passives)["folders"].push_back(*transistors);
    (*semiconductors)["folders"].erase((*semiconductors)["folders"].end() - 1);
    ASSERT_EQ(findFolder((*semiconductors)["folders"], "Transistors"), nullptr) << "Transistors sorts last";
    int moved = 0;
    for (json &part : library["parts"])
        if (part["folder"] == json({"root", "Semiconductors", "Transistors"})) {
            part["folder"] = {"root", "Passives", "Transistors"};
            ++moved;
        }
    ASSERT_GT(moved, 0);
    const std::string edited = fileWith(dumped(document));

    const std::string kept = emptyDatabase(GetParam());
    ASSERT_EQ(runPartlib({"import", kept, fileWith(original), "--yes"}).status, 0);
    const std::string pruned = emptyDatabase(GetParam());
    ASSERT_EQ(runPartlib({"import", pruned, fileWith(original), "--yes"}).status, 0);

    ProgramRun dryRun = runPartlib({"import", pruned, edited, "--prune", "--dry-run"});
    ASSERT_EQ(dryRun.status, 0) << dryRun.all();
    EXPECT_EQ(dryRun.output, "Would import 1 library; nothing was written:\n"
                             "  folders: 1 inserted, 0 updated, 1 removed\n"
                             "  part definitions: 0 inserted, 1 updated, 0 removed\n"
                             "  pins: 0 inserted, 1 updated, 0 removed\n"
                             "  attributes: 1 inserted, 0 updated, 0 removed\n"
                             "  parts: 1 inserted, " +
                                 std::to_string(moved) + " updated, 1 removed\n");
    EXPECT_TRUE(exported(pruned) == original) << "a dry run writes nothing";

    ProgramRun withPrune = runPartlib({"import", pruned, edited, "--prune"});
    ASSERT_EQ(withPrune.status, 0) << withPrune.all();
    const std::string afterPrune = exported(pruned);
    EXPECT_TRUE(afterPrune == txdbtest::readFile(edited));

    ProgramRun withoutPrune = runPartlib({"import", kept, edited});
    ASSERT_EQ(withoutPrune.status, 0) << withoutPrune.all();
    json keptDocument = json::parse(exported(kept));
    json &keptLibrary = keptDocument["libraries"][0];
    EXPECT_EQ(keptLibrary["parts"].size(), library["parts"].size() + 1);
    EXPECT_EQ(keptLibrary["parts"][0]["name"], oldName) << "the part's old name is kept";
    EXPECT_EQ(keptLibrary["parts"][1]["name"], oldName + "-X");
    EXPECT_EQ(keptLibrary["partDefinitions"][0], library["partDefinitions"][0]);
    json *keptSemiconductors = findFolder((*findFolder(keptLibrary["folders"], "root"))["folders"], "Semiconductors");
    ASSERT_NE(keptSemiconductors, nullptr);
    EXPECT_NE(findFolder((*keptSemiconductors)["folders"], "Transistors"), nullptr) << "the old folder is kept";
}

TEST_P(ImportCommandTest, AnInvalidFileLeavesTheDatabaseAsItWasAndNamesThePlace) {
    const std::string target = emptyDatabase(GetParam());
    ASSERT_EQ(runPartlib({"import", target, fileWith(exported(*sample)), "--yes"}).status, 0);
    const json valid = json::parse(exported(*sample));
    json other = valid;
    other["libraries"][0]["name"] = "Other";
    other["libraries"][0]["partDefinitions"] = json::array();
    other["libraries"][0]["parts"] = json::array({valid["libraries"][0]["parts"][3]});
    const std::string storedPart = valid["libraries"][0]["parts"][3]["name"];

    struct Case {
        const char *what;
        std::function<std::string()> text;
        std::string fragment;
    };
    const auto edit = [&](const std::function<void(json &)> &change) {
        json document = valid;
        change(document["libraries"][0]);
        return dumped(document);
    };
    const Case cases[] = {
        {"broken JSON", [&] { return dumped(valid).substr(0, 500); }, "syntax error"},
        {"a wrong type", [&] { return edit([](json &l) { l["parts"][2]["version"] = "two"; }); },
         "libraries[0].parts[2].version: must be a whole number"},
        {"a name one character over",
         [&] { return edit([](json &l) { l["partDefinitions"][1]["name"] = std::string(51, 'd'); }); },
         "libraries[0].partDefinitions[1].name: is 51 characters long"},
        {"multi-byte characters one over the width",
         [&] {
             std::string number;
             for (int i = 0; i < 51; ++i)
                 number += "\xE2\x82\xAC";
             return edit([&](json &l) { l["parts"][4]["number"] = number; });
         },
         "libraries[0].parts[4].number: is 51 characters long"},
        {"a part name another library holds",
         [&] {
             json document = other;
             document["libraries"][0]["parts"][0]["definition"] = "none";
             document["libraries"][0]["partDefinitions"] = valid["libraries"][0]["partDefinitions"];
             for (json &definition : document["libraries"][0]["partDefinitions"])
                 definition["name"] = "Other_" + definition["name"].get<std::string>();
             document["libraries"][0]["parts"][0]["definition"] =
                 document["libraries"][0]["partDefinitions"][0]["name"];
             return dumped(document);
         },
         "libraries[0].parts[0].name: part name \"" + storedPart + "\" is taken by library \"Demo\""},
        {"a part in a missing folder",
         [&] { return edit([](json &l) {
                   l["parts"][7]["folder"] = {"root", "Nope"};
               }); },
         "libraries[0].parts[7].folder: names folder \"root/Nope\""},
        {"a gate naming a missing pin",
         [&] { return edit([](json &l) { l["partDefinitions"][0]["gates"][0]["pins"][0] = "Z9"; }); },
         "libraries[0].partDefinitions[0].gates[0].pins[0]: names pin \"Z9\""},
    };
    const std::string before = databaseState(GetParam(), target);
    for (const Case &each : cases) {
        ProgramRun run = runPartlib({"import", target, fileWith(each.text()), "--prune"});
        EXPECT_EQ(run.status, 1) << each.what;
        EXPECT_NE(run.errors.find(each.fragment), std::string::npos) << each.what << ": " << run.errors;
        EXPECT_NE(run.errors.find("Nothing was written"), std::string::npos) << each.what << ": " << run.errors;
        EXPECT_EQ(run.output, "") << each.what;
        EXPECT_TRUE(databaseState(GetParam(), target) == before) << each.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ImportCommandTest, ::testing::ValuesIn(txdbtest::testEngines()));

TEST(ImportCommandRefusals, CarelessArgumentsEndWithAMessageAndCreateNothing) {
    const std::string database = sampleDatabase("Demo", 20);
    const std::string file = fileWith(exported(database));
    const std::string missing = txdbtest::tempFile();
    const std::string notADatabase = fileWith("not a database");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"import", missing, txdbtest::tempFile(".json"), "--yes"}, "No such library file"},
        {{"import", missing, txdbtest::tempDirectory(), "--yes"}, "is a directory"},
        {{"import", database, database}, "is the database itself"},
        // No size limit: an endless input is refused at its first byte that is no JSON.
        {{"import", missing, "/dev/zero", "--yes"}, "/dev/zero: line 1, column 1: syntax error"},
        {{"import", missing, file, "Nope", "--yes"}, "holds no library named Nope"},
        {{"import", missing, fileWith(std::string("\x00\x01\x02", 3)), "--yes"}, "line 1, column 1"},
        // The database is read while the file is: still a file's problem
        // is told first, and the database's failure only for a sound file.
        {{"import", notADatabase, fileWith("{\"format\": 2, \"libraries\": []}"), "--yes"}, "format: must be 1"},
        {{"import", notADatabase, file, "--yes"}, "file is not a database"},
    };
    for (const Case &each : cases) {
        ProgramRun run = runPartlib(each.arguments);
        EXPECT_EQ(run.status, 1) << each.arguments[2];
        EXPECT_NE(run.errors.find(each.message), std::string::npos) << each.arguments[2] << ": " << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(txdbtest::readFile(notADatabase), "not a database");

    // A dry run into a database that does not exist creates nothing.
    ProgramRun dryRun = runPartlib({"import", missing, file, "--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.all();
    EXPECT_NE(dryRun.output.find("parts: 20 inserted"), std::string::npos) << dryRun.output;
    EXPECT_FALSE(std::filesystem::exists(missing));

    // Standard input, and a read-only database.
    const std::string copy = txdbtest::tempFile();
    ProgramRun piped = txdbtest::runShell("(cat " + txdbtest::shellQuoted(file) + " | " +
                                          txdbtest::partlibCommand({"import", copy, "-", "--yes"}) + ")");
    EXPECT_EQ(piped.status, 0) << piped.all();
    EXPECT_TRUE(exported(copy) == txdbtest::readFile(file));
    const std::string other = txdbtest::tempFile();
    ASSERT_EQ(runPartlib({"init", other, "--yes"}).status, 0);
    const std::string bytes = txdbtest::readFile(other);
    ProgramRun readOnly = runPartlib({"import", "Provider=SQLite;Data Source=" + other + ";Mode=Read", file});
    EXPECT_EQ(readOnly.status, 1) << readOnly.all();
    EXPECT_NE(readOnly.errors.find("readonly"), std::string::npos) << readOnly.errors;
    EXPECT_EQ(txdbtest::readFile(other), bytes);
}

TEST(ImportCommandRefusals, PruneRefusesADefinitionThatAPartOfAnotherLibraryUses) {
    const std::string database = sampleDatabase("Demo", 30);
    // A part of library Other built on a definition of Demo.
    ProgramRun linked = txdbtest::runShell(
        "sqlite3 " + txdbtest::shellQuoted(database) +
        " \"INSERT INTO Library VALUES (900, 'Other', 1, NULL); INSERT INTO Hierarchy VALUES (900, 900, 'F', NULL); "
        "INSERT INTO Parts (ID, Library_ID, Part_def_ID, Hierarchy_ID, Name) SELECT 9000, 900, MIN(ID), 900, "
        "'Borrower' "
        "FROM Part_Definition; SELECT Name FROM Part_Definition WHERE ID = (SELECT MIN(ID) FROM Part_Definition);\"");
    ASSERT_EQ(linked.status, 0) << linked.errors;
    const std::string borrowed = linked.output.substr(0, linked.output.size() - 1);
    json document = json::parse(runPartlib({"export", database, "Demo"}).output);
    json &definitions = document["libraries"][0]["partDefinitions"];
    for (auto it = definitions.begin(); it != definitions.end(); ++it)
        if ((*it)["name"] == borrowed) {
            definitions.erase(it);
            break;
        }
    json &parts = document["libraries"][0]["parts"];
    json kept = json::array();
    for (json &part : parts)
        if (part["definition"] != borrowed)
            kept.push_back(part);
    parts = kept;
    const std::string bytes = txdbtest::readFile(database);
    ProgramRun run = runPartlib({"import", database, fileWith(dumped(document)), "--prune"});
    EXPECT_EQ(run.status, 1) << run.all();
    EXPECT_NE(run.errors.find("is used by part Borrower of library Other"), std::string::npos) << run.errors;
    EXPECT_EQ(txdbtest::readFile(database), bytes);
    // Without --prune the definition stays, and the import goes through.
    EXPECT_EQ(runPartlib({"import", database, fileWith(dumped(document))}).status, 0);
}

TEST(ImportCommandSummary, RowsThatPruneRemovesAreSummedUpApartFromTheAddedOnes) {
    const std::string database = sampleDatabase("Demo", 30);
    json document = json::parse(runPartlib({"export", database}).output);
    json &parts = document["libraries"][0]["parts"];
    parts.erase(parts.begin(), parts.begin() + 2);
    ProgramRun removing = runPartlib({"import", database, fileWith(dumped(document)), "--prune"});
    ASSERT_EQ(removing.status, 0) << removing.all();
    EXPECT_NE(removing.output.find(" s; rows added: none; rows removed: Parts 2\n"), std::string::npos)
        << removing.output;
    EXPECT_NE(removing.output.find("parts: 0 inserted, 0 updated, 2 removed"), std::string::npos) << removing.output;
}

TEST_P(ImportCommandTest, AnItemRemovedByAnotherWriterMeanwhileIsNamedWithItsLibraryAndTheCause) {
    namespace api = COM_ORVEL_TRAX_PLDAIO_INTERFACE;
    const std::string engine = GetParam();
    std::string database = sampleDatabase("Demo", 30);
    if (engine != "SQLite") {
        const std::string server = emptyDatabase(engine);
        ASSERT_EQ(runPartlib({"copy", database, server, "--yes"}).status, 0);
        database = server;
    }
    json document = json::parse(exported(database));
    document["libraries"][0]["parts"][0]["description"] = "changed";
    const std::string file = fileWith(dumped(document));

    // Another writer holds the write lock while the import reads and plans,
    // then removes a part that the plan expects unchanged.
    api::doPromptValidationMsg(false);
    std::string init = engine == "SQLite" ? "Provider=SQLite;Data Source=" + database : database;
    api::pathHandle_t other = api::openPath(init.data());
    ASSERT_TRUE(other);
    auto &otherPath = static_cast<api::DBIMPL::CTraxDBPath &>(*other);
    other->startTransaction();
    otherPath.execute("UPDATE [Library_version] SET [Major] = [Major];");
    ProgramRun imported;
    std::thread import([&] { imported = runPartlib({"import", database, file}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    otherPath.execute("DELETE FROM [Parts] WHERE [Name] = '" +
                      document["libraries"][0]["parts"].back()["name"].get<std::string>() + "';");
    other->commitTransation();
    import.join();

    EXPECT_EQ(imported.status, 1) << imported.all();
    EXPECT_NE(imported.errors.find("Library Demo was changed by another writer after this import read it; nothing "
                                   "was written"),
              std::string::npos)
        << imported.errors;
    // Nothing of the import was kept.
    EXPECT_EQ(exported(database).find("changed"), std::string::npos);
}

TEST_P(ImportCommandTest, OfTwoImportsOfDifferentEditsAtOnceTheSecondStopsWithNothingWritten) {
    namespace api = COM_ORVEL_TRAX_PLDAIO_INTERFACE;
    const std::string engine = GetParam();
    std::string database = sampleDatabase("Demo", 30);
    if (engine != "SQLite") {
        const std::string server = emptyDatabase(engine);
        ASSERT_EQ(runPartlib({"copy", database, server, "--yes"}).status, 0);
        database = server;
    }
    const json document = json::parse(exported(database));
    std::string files[2];
    for (int i = 0; i < 2; ++i) {
        json edited = document;
        edited["libraries"][0]["parts"][i]["description"] = "edit " + std::to_string(i);
        files[i] = fileWith(dumped(edited));
    }

    // Both read the library while a third holds the write lock; once it lets
    // go, one import writes, and the other finds the library changed.
    api::doPromptValidationMsg(false);
    std::string init = engine == "SQLite" ? "Provider=SQLite;Data Source=" + database : database;
    api::pathHandle_t lock = api::openPath(init.data());
    ASSERT_TRUE(lock);
    lock->startTransaction();
    static_cast<api::DBIMPL::CTraxDBPath &>(*lock).execute("UPDATE [Library_version] SET [Major] = [Major];");
    ProgramRun runs[2];
    std::thread first([&] { runs[0] = runPartlib({"import", database, files[0]}); });
    std::thread second([&] { runs[1] = runPartlib({"import", database, files[1]}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    lock->commitTransation();
    first.join();
    second.join();

    ASSERT_EQ(runs[0].status + runs[1].status, 1) << runs[0].all() << runs[1].all();
    const int winner = runs[0].status == 0 ? 0 : 1;
    EXPECT_NE(runs[1 - winner].errors.find("Library Demo was changed by another writer after this import read it; "
                                           "nothing was written. Import the file again"),
              std::string::npos)
        << runs[1 - winner].errors;
    const std::string now = exported(database);
    EXPECT_NE(now.find("edit " + std::to_string(winner)), std::string::npos);
    EXPECT_EQ(now.find("edit " + std::to_string(1 - winner)), std::string::npos);
    // Run again, the refused import applies its edit over the other's.
    EXPECT_EQ(runPartlib({"import", database, files[1 - winner]}).status, 0);
    EXPECT_NE(exported(database).find("edit " + std::to_string(1 - winner)), std::string::npos);
}

TEST(ImportCommandSignals, ASignalWhileWaitingForStandardInputInterruptsTheImport) {
    const std::string database = sampleDatabase("Demo", 3);
    const std::string before = txdbtest::readFile(database);
    // Standard input a pipe that stays open; SIGTERM, which a shell's
    // background job does not ignore as it does SIGINT.
    ProgramRun run = txdbtest::runShell("{ sleep 2 | " + txdbtest::partlibCommand({"import", database, "-"}) +
                                        " & pid=$!; sleep 0.5; kill -TERM $pid; wait $pid; echo $?; }");
    EXPECT_EQ(run.output, "143\n") << run.all();
    EXPECT_EQ(run.errors, "Interrupted\n") << "no syntax error of an input cut short";
    EXPECT_TRUE(txdbtest::readFile(database) == before);
}

TEST(ImportCommandSignals, CtrlCInTheMiddleLeavesTheDatabaseAsItWas) {
    const std::string file = fileWith(exported(sampleDatabase("Large", 40000)));
    const std::string target = sampleDatabase("Kept", 30);
    const std::string before = txdbtest::readFile(target);

    const pid_t child = txdbtest::startPartlib({"import", target, file});
    ASSERT_GE(child, 0);
    EXPECT_EQ(txdbtest::interruptWhileWriting(child, target), 130);
    EXPECT_TRUE(txdbtest::readFile(target) == before);
}

} // namespace
