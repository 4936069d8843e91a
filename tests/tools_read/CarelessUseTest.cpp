// partlib used as a careless user and an attacker would: odd file names,
// hostile texts in the database, output that cannot be written, broken
// initialisation strings and environment values. Each case ends in a clear
// message and a status that says what happened.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

using txdbtest::ProgramRun;
using txdbtest::readFile;
using txdbtest::shellQuoted;

class CarelessUseTest : public ::testing::Test {
protected:
    CarelessUseTest() {
        folder = txdbtest::tempFile("-careless");
        std::filesystem::create_directory(folder);
        file = folder + "/demo.db";
        EXPECT_EQ(partlib({"init", file}).status, 0);
        CTraxDBPath path(("Provider=SQLite;Data Source=" + file).c_str());
        writeSampleLibrary(path, SampleOptions());
    }
    ~CarelessUseTest() override { std::filesystem::remove_all(folder); }

    // partlib in the test's folder, after `prefix` (environment, redirection).
    ProgramRun partlib(const std::vector<std::string> &arguments, const std::string &prefix = "",
                       const std::string &suffix = "") {
        return txdbtest::runShell("cd " + shellQuoted(folder) + " && " + prefix + " " +
                                  txdbtest::partlibCommand(arguments) + " " + suffix);
    }

    // Runs SQL on the file with SQLite itself, as another tool would.
    void sql(const std::string &statements) {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    std::string folder, file;
};

const char *const PART = "Demo-R1-10k-R0603";

TEST_F(CarelessUseTest, ControlCharactersFromTheDatabaseAreShownEscaped) {
    sql("UPDATE Parts SET Description = char(27) || '[31mred' || char(155) || 'x' WHERE Name = '" + std::string(PART) +
        "';"
        "UPDATE Library SET Comment = 'bell' || char(7) || char(127);"
        "UPDATE Hierarchy SET Name = 'Pass' || char(27) || ']0;title' || char(7) WHERE Name = 'Passives';");
    const std::vector<std::vector<std::string>> commands = {{"libraries", file},
                                                            {"tree", file, "Demo"},
                                                            {"parts", file, "Demo"},
                                                            {"show", file, "Demo", PART},
                                                            {"report", file, "Demo"}};
    for (const auto &command : commands) {
        ProgramRun run = partlib(command);
        EXPECT_EQ(run.status, 0) << command[0] << ": " << run.errors;
        for (char control : {'\x1b', '\x07', '\x7f'})
            EXPECT_EQ(run.output.find(control), std::string::npos) << command[0] << " " << int(control);
        EXPECT_EQ(run.output.find("\xc2\x9b"), std::string::npos) << command[0];
    }
    EXPECT_NE(partlib({"show", file, "Demo", PART}).output.find("\\x1b[31mred\\u009bx"), std::string::npos);
    EXPECT_NE(partlib({"libraries", file}).output.find("bell\\x07\\x7f"), std::string::npos);
    EXPECT_NE(partlib({"tree", file, "Demo"}).output.find("Pass\\x1b]0;title\\x07"), std::string::npos);
}

TEST_F(CarelessUseTest, ADatabaseArgumentNamesExactlyItsFileAndReadCommandsCreateNone) {
    for (const char *name : {" sp.db", "a;b.db", "x=y.db", "it's.db"}) {
        std::filesystem::copy_file(file, folder + "/" + name);
        ProgramRun run = partlib({"libraries", name});
        EXPECT_EQ(run.status, 0) << name << ": " << run.errors;
        EXPECT_NE(run.output.find("Sample library of Demo"), std::string::npos) << name;
    }
    for (const char *command : {"info", "libraries", "catalogs"}) {
        ProgramRun run = partlib({command, "Provider=SQLite;Data Source=missing.db"});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.errors, "No such database file: missing.db\n") << command;
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/missing.db"));
}

TEST_F(CarelessUseTest, OutputThatCannotBeWrittenFailsAndAClosedPipeIsQuiet) {
    const std::vector<std::vector<std::string>> commands = {{"libraries", file},
                                                            {"tree", file, "Demo"},
                                                            {"parts", file, "Demo", "--format", "json"},
                                                            {"info", file},
                                                            {"show", file, "Demo", PART},
                                                            {"report", file, "Demo"},
                                                            {"export", file},
                                                            {"--help"}};
    for (const auto &command : commands) {
        ProgramRun full = partlib(command, "", "> /dev/full");
        EXPECT_EQ(full.status, 1) << command[0];
        EXPECT_EQ(full.errors, "Cannot write standard output: No space left on device\n") << command[0];
    }
    // The export is far larger than a pipe holds; head takes one byte.
    const std::string status = folder + "/status";
    ProgramRun piped = txdbtest::runShell("({ " + txdbtest::partlibCommand({"export", file}) + "; echo $? > " + status +
                                          "; } | head -c 1)");
    EXPECT_EQ(piped.output, "{");
    EXPECT_EQ(piped.errors, "") << "a closed pipe is no news";
    EXPECT_EQ(readFile(status), "1\n");
}

TEST_F(CarelessUseTest, MessagesNameTheDatabaseWithoutRepeatingSecrets) {
    ProgramRun broken = partlib({"libraries", "Provider=ODBC;Password=abc;s3cr3t"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.errors,
              "Invalid initialisation string: an entry after Password has no '=' (quote values that hold ';')\n");

    ProgramRun unknown = partlib({"parts", "Provider=SQLite;Data Source=" + file, "Nonesuch"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.errors, "No library named \"Nonesuch\" in the database (partlib libraries lists them)\n");

    sql("DROP TABLE Parts;");
    ProgramRun missingTable = partlib({"report", file, "Demo"});
    EXPECT_EQ(missingTable.status, 1);
    EXPECT_EQ(missingTable.errors.find("no such table: Parts : no such table: Parts"), std::string::npos)
        << missingTable.errors;
}

TEST_F(CarelessUseTest, ALogLevelThatIsNoLevelNameIsWarnedAboutOnce) {
    for (const char *value : {"1", "ON", "yes", "info"}) {
        ProgramRun run = partlib({"libraries", file}, std::string("TXDBLOGGER=") + value);
        EXPECT_EQ(run.status, 0) << value;
        EXPECT_EQ(run.errors, std::string("partlib: TXDBLOGGER=") + value +
                                  " is not a level name, so nothing is logged; use one of ALL, FINEST, FINER, "
                                  "FINE, CONFIG, INFO, WARNING, SEVERE, OFF\n");
    }
    ProgramRun named = partlib({"libraries", file}, "TXDBLOGGER=SEVERE");
    EXPECT_EQ(named.errors, "");
}

TEST_F(CarelessUseTest, PatternsOnNumbersAndEmptyPatterns) {
    ProgramRun numeric = partlib({"parts", file, "Demo", "--where", "Version like 2", "--format", "csv"});
    EXPECT_EQ(numeric.status, 0) << numeric.errors;
    EXPECT_NE(numeric.output.find(",2,"), std::string::npos) << numeric.output;
    EXPECT_EQ(numeric.output.find(",1,"), std::string::npos) << numeric.output;

    ProgramRun empty = partlib({"parts", file, "Demo", "--where", "Description like"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.errors.find("LIKE and NOT LIKE need a pattern: the filter value is empty"), std::string::npos)
        << empty.errors;
}

TEST_F(CarelessUseTest, FoldersInACycleAndNumbersBeyondTheirFieldFailWithAMessage) {
    sql("UPDATE Hierarchy SET Parent_ID = (SELECT ID FROM Hierarchy WHERE Name = 'Resistors') "
        "WHERE Name = 'Passives';");
    for (const char *command : {"report", "export", "tree", "parts", "show"}) {
        std::vector<std::string> arguments = {command, file, "Demo"};
        if (arguments[0] == "show")
            arguments.push_back(PART);
        ProgramRun run = partlib(arguments, "timeout 20");
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.errors.find("is its own ancestor: the parents of its folders form a cycle"), std::string::npos)
            << command << ": " << run.errors;
    }
    sql("UPDATE Hierarchy SET Parent_ID = (SELECT ID FROM Hierarchy WHERE Name = 'root') WHERE Name = 'Passives';"
        "UPDATE Parts SET Part_version = 99999999999 WHERE Name = '" +
        std::string(PART) + "';");
    for (const char *command : {"report", "parts", "export"}) {
        ProgramRun run = partlib({command, file, "Demo"});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.errors,
                  "Column Part_version of table Parts holds a value that is not a 32-bit integer: 99999999999\n")
            << command;
    }
}

} // namespace
