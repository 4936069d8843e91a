// partlib init, info, upgrade and catalogs, run as the built program on
// SQLite files in a temporary folder.

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "tests/support/PathTestSupport.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

using txdbtest::ProgramRun;

// partlib with the words of `arguments`, standard error after the output.
ProgramRun partlib(const std::string &arguments) {
    ProgramRun run = txdbtest::runShell(std::string(TXDB_BINARY_DIR) + "/partlib " + arguments);
    run.output += run.errors;
    return run;
}

class DatabaseCommandsTest : public ::testing::Test {
protected:
    DatabaseCommandsTest() {
        char pattern[] = "/tmp/txdb-tools-path-XXXXXX";
        folder = mkdtemp(pattern);
        file = folder + "/parts.db";
    }
    ~DatabaseCommandsTest() override { std::filesystem::remove_all(folder); }

    // Runs statements on the file without the plug-in's opening checks.
    void exec(const std::vector<std::string> &statements) {
        std::string init = "Provider=SQLite;Data Source=" + file;
        CTraxDBSource source(init.c_str());
        for (const std::string &sql : statements) {
            CCommand<CNoAccessor> command;
            checkResult(command.Open(source.getSession(), source.fixTcEnc(sql)));
        }
    }

    std::string folder;
    std::string file;
};

TEST_F(DatabaseCommandsTest, InitCreatesANewFileAndInfoDescribesIt) {
    ProgramRun init = partlib("init " + file);
    EXPECT_EQ(init.status, 0) << init.output;
    EXPECT_NE(init.output.find("Created the TRAXEL Part Library"), std::string::npos) << init.output;

    ProgramRun info = partlib("info " + file);
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("Schema version: 1.2\n"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("Read-only:      no\n"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("  Library_version           1\n"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("  Parts                     0\n"), std::string::npos) << info.output;
    EXPECT_EQ(info.output.find("(missing)"), std::string::npos) << info.output;

    ProgramRun again = partlib("init " + file);
    EXPECT_EQ(again.status, 0) << again.output;
    EXPECT_NE(again.output.find("already holds the TRAXEL Part Library (version 1.2)"), std::string::npos)
        << again.output;
}

TEST_F(DatabaseCommandsTest, InitOnAnExistingDatabaseAsksFirst) {
    exec({"CREATE TABLE [Other] ([ID] INTEGER);"});
    // Without a terminal the question cannot be asked: it is shown with the
    // answer given and the way to give the other one.
    ProgramRun declined = partlib("init " + file);
    EXPECT_NE(declined.status, 0);
    EXPECT_EQ(declined.output, "Warning: " + formatPrintf(loadMessage(IDS_CREATE_PROMPT), file) +
                                   "No terminal to ask this question on: answered No (--yes answers Yes)\n");
    ProgramRun info = partlib("info " + file);
    EXPECT_NE(info.output.find("Schema version: none"), std::string::npos) << info.output;

    ProgramRun accepted = partlib("init --yes " + file);
    EXPECT_EQ(accepted.status, 0) << accepted.output;
    EXPECT_NE(partlib("info " + file).output.find("Schema version: 1.2"), std::string::npos);
}

TEST_F(DatabaseCommandsTest, InitOnAHalfBuiltDatabaseSaysSo) {
    const std::vector<std::string> &statements = CTraxDBSchema::creationStatements();
    exec({statements[1], statements[3]}); // Library and Hierarchy, nothing else
    ProgramRun init = partlib("init --yes " + file);
    EXPECT_NE(init.status, 0);
    EXPECT_NE(init.output.find("incomplete TRAXEL Part Library"), std::string::npos) << init.output;
    EXPECT_NE(init.output.find("Tables present: Library, Hierarchy"), std::string::npos) << init.output;

    ProgramRun info = partlib("info " + file);
    EXPECT_NE(info.output.find("Incomplete:     2 of 13 tables"), std::string::npos) << info.output;
}

TEST_F(DatabaseCommandsTest, UpgradeWritesTheScriptOrUpgrades) {
    {
        pathtest::RawDb raw("Provider=SQLite;Data Source=" + file);
        pathtest::buildSchema(raw, 1, 1);
    }
    EXPECT_NE(partlib("info " + file).output.find("Schema version: 1.1 (run partlib upgrade)"), std::string::npos);

    std::string script = folder + "/upgrade.sql";
    ProgramRun written = partlib("upgrade " + file + " --script " + script);
    EXPECT_EQ(written.status, 0) << written.output;
    const std::string content = txdbtest::readFile(script);
    EXPECT_EQ(content.rfind("-- Update TRAXEL Parts Database from version 1.1 to 1.2\n", 0), 0u) << content;
    EXPECT_NE(partlib("info " + file).output.find("Schema version: 1.1"), std::string::npos) << "unchanged";

    ProgramRun declined = partlib("upgrade " + file);
    EXPECT_NE(declined.status, 0);
    ProgramRun upgraded = partlib("upgrade --yes " + file);
    EXPECT_EQ(upgraded.status, 0) << upgraded.output;
    EXPECT_NE(upgraded.output.find("from version 1.1 to 1.2"), std::string::npos) << upgraded.output;
    EXPECT_NE(partlib("info " + file).output.find("Schema version: 1.2\n"), std::string::npos);
}

// A PostgreSQL database at the current version made before the indexes of
// its foreign keys were part of the schema: info tells, upgrade asks and
// adds them (or writes their script), and nothing is left to add after.
TEST_F(DatabaseCommandsTest, UpgradeAddsTheIndexesThatAnOlderServerDatabaseLacks) {
    const std::vector<std::string> engines = txdbtest::testEngines();
    if (std::find(engines.begin(), engines.end(), "PostgreSQL") == engines.end())
        GTEST_SKIP() << "no PostgreSQL server";
    const std::string init = txdbtest::freshDatabase("PostgreSQL");
    {
        pathtest::RawDb raw(init);
        pathtest::buildSchema(raw, 1, 2);
    }
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin() + 1, init);
        ProgramRun result = txdbtest::runPartlib(arguments);
        result.output += result.errors;
        return result;
    };
    EXPECT_NE(run({"info"}).output.find("Indexes:        16 of the indexes of foreign keys missing (run partlib "
                                        "upgrade)\n"),
              std::string::npos);

    ProgramRun script = run({"upgrade", "--script", "-"});
    EXPECT_EQ(script.status, 0) << script.output;
    EXPECT_NE(script.output.find("CREATE INDEX IF NOT EXISTS \"GateHasPinsGateIndex\" ON \"Gate_has_Pin_Data\" "
                                 "(\"Gate_ID\");\n"),
              std::string::npos)
        << script.output;

    ProgramRun declined = run({"upgrade"});
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.output.find("Nothing changed: adding the indexes of 16 foreign keys ("), std::string::npos)
        << declined.output;
    EXPECT_NE(run({"info"}).output.find("16 of the indexes"), std::string::npos) << "nothing added";

    ProgramRun added = run({"upgrade", "--yes"});
    EXPECT_EQ(added.status, 0) << added.output;
    EXPECT_EQ(added.output.rfind("Added the indexes of 16 foreign keys (", 0), 0u) << added.output;
    EXPECT_EQ(run({"info"}).output.find("Indexes:"), std::string::npos);
    EXPECT_NE(run({"upgrade"}).output.find("is at version 1.2: nothing to upgrade"), std::string::npos);
}

TEST_F(DatabaseCommandsTest, ScriptTargetsAreCheckedLikeEveryOutput) {
    {
        pathtest::RawDb raw("Provider=SQLite;Data Source=" + file);
        pathtest::buildSchema(raw, 1, 1);
    }
    const std::pair<std::string, std::string> cases[] = {
        {"''", "--script needs a file name (- for standard output)\n"},
        {"/dev/full", "Cannot write /dev/full: No space left on device\n"},
        {folder, "Cannot write " + folder + ": it is a directory\n"},
        {file, "Refusing to write " + file + ": it is the database being read\n"},
    };
    for (const auto &[target, message] : cases) {
        ProgramRun run = partlib("upgrade " + file + " --script " + target);
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_EQ(run.output, message);
    }
    ProgramRun toOutput = partlib("upgrade " + file + " --script -");
    EXPECT_EQ(toOutput.status, 0) << toOutput.output;
    EXPECT_EQ(toOutput.output.rfind("-- Update TRAXEL Parts Database from version 1.1 to 1.2\n", 0), 0u);
    EXPECT_NE(partlib("info " + file).output.find("Schema version: 1.1 (run partlib upgrade)"), std::string::npos);
}

TEST_F(DatabaseCommandsTest, InitNamesMissingTablesAndInfoANewerVersion) {
    const std::vector<std::string> &statements = CTraxDBSchema::creationStatements();
    exec({statements[0], statements[1], "INSERT INTO [Library_version] ([Major],[Minor]) VALUES (1,2);"});
    ProgramRun init = partlib("init --yes " + file);
    EXPECT_EQ(init.status, 1);
    EXPECT_EQ(init.output, "The TRAXEL Part Library in " + file +
                               " is incomplete: the tables Hierarchy, Part_Definition, Pin_Data, Pin_Equiv, "
                               "Gate_Equiv, Gate_Equiv_Gate, Gate_Equiv_has_Pin_Data, Gate, Gate_has_Pin_Data, "
                               "Attributes, Parts are missing (partlib info lists the tables)\n");

    exec({"UPDATE [Library_version] SET [Minor]=3;"});
    ProgramRun info = partlib("info " + file);
    EXPECT_NE(info.output.find("Schema version: 1.3 (newer than this build of partlib supports, 1.2)\n"),
              std::string::npos)
        << info.output;
    ProgramRun upgrade = partlib("upgrade --yes " + file);
    EXPECT_EQ(upgrade.status, 1);
    EXPECT_EQ(upgrade.output, loadMessage(IDS_DATABASE_TOO_NEW) + "\n");
}

TEST_F(DatabaseCommandsTest, AFailedCreationTellsItsCauseAndKeepsTheScript) {
    exec({"CREATE TABLE [Other] ([ID] INTEGER);"});
    ProgramRun run = txdbtest::runShell("cd " + folder + " && " + std::string(TXDB_BINARY_DIR) +
                                        "/partlib init --yes 'Provider=SQLite;Mode=Read;Data Source=" + file + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("Error: attempt to write a readonly database: " + file + "\n"), std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("SQL script kept at ./partlib-report-1.sql\n"), std::string::npos) << run.errors;
    EXPECT_EQ(txdbtest::readFile(folder + "/partlib-report-1.sql").rfind("CREATE TABLE ", 0), 0u);
}

TEST_F(DatabaseCommandsTest, AFailedInitLeavesNoNewFileBehind) {
    // The empty schema needs some 160 KiB; a process allowed 40 cannot write it.
    const std::string limited =
        "cd " + folder + " && trap '' XFSZ; ulimit -f 40; " + TXDB_BINARY_DIR + "/partlib init ";
    ProgramRun run = txdbtest::runShell(limited + file);
    EXPECT_EQ(run.status, 1) << run.all();
    EXPECT_FALSE(std::filesystem::exists(file)) << run.all();
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));

    // A file that was there is not init's to remove, and keeps its bytes.
    exec({"CREATE TABLE [Other] ([ID] INTEGER);"});
    const std::string before = txdbtest::readFile(file);
    EXPECT_EQ(txdbtest::runShell(limited + "--yes " + file).status, 1);
    EXPECT_EQ(txdbtest::readFile(file), before);
}

TEST_F(DatabaseCommandsTest, UpgradeRefusesADatabaseWithoutThePartLibrary) {
    exec({"CREATE TABLE [Other] ([ID] INTEGER);"});
    ProgramRun run = partlib("upgrade --yes " + file);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("does not contain TRAXEL Part Library information"), std::string::npos) << run.output;
}

TEST_F(DatabaseCommandsTest, OnlyInitCreatesAFile) {
    for (const char *command : {"info ", "upgrade ", "catalogs "}) {
        ProgramRun run = partlib(command + file);
        EXPECT_NE(run.status, 0) << command;
        EXPECT_NE(run.output.find("No such database file"), std::string::npos) << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(DatabaseCommandsTest, CatalogsListTheFile) {
    ASSERT_EQ(partlib("init " + file).status, 0);
    ProgramRun run = partlib("catalogs \"Provider=SQLite;Data Source=" + file + "\"");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
}

} // namespace
