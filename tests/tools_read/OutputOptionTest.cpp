// -o FILE on the commands that print tables and reports: the file gets
// exactly what standard output would, is replaced only when the command
// succeeds, and is never the database being read.

#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using txdbtest::ProgramRun;
using txdbtest::readFile;
using txdbtest::runPartlib;
using Arguments = std::vector<std::string>;

class OutputOptionTest : public ::testing::Test {
protected:
    OutputOptionTest() {
        folder = txdbtest::tempFile("-output");
        std::filesystem::create_directory(folder);
        database = folder + "/demo.db";
        EXPECT_EQ(runPartlib({"init", database, "--yes"}).status, 0);
        ProgramRun written =
            txdbtest::runShell(txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") + " " +
                               txdbtest::shellQuoted(database) + " --parts 60");
        EXPECT_EQ(written.status, 0) << written.all();
    }
    ~OutputOptionTest() override { std::filesystem::remove_all(folder); }

    // The names in the folder, so that a leftover temporary file shows.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder, database;
};

TEST_F(OutputOptionTest, TheFileGetsWhatStandardOutputWould) {
    const std::vector<Arguments> commands{
        {"libraries", database, "--format", "csv"},
        {"tree", database, "Demo"},
        {"tree", database, "Demo", "--format", "json"},
        {"parts", database, "Demo", "--where", "Version >= 1"},
        {"show", database, "Demo", "Demo-C10-47u-CP_RADIAL", "--format", "json"},
        {"report", database, "Demo", "--sorted", "--format", "html"},
    };
    for (const Arguments &command : commands) {
        ProgramRun shown = runPartlib(command);
        ASSERT_EQ(shown.status, 0) << command[0] << ": " << shown.all();
        ASSERT_FALSE(shown.output.empty()) << command[0];

        const std::string file = folder + "/out-" + command[0] + ".txt";
        Arguments toFile = command;
        toFile.insert(toFile.end(), {"-o", file});
        ProgramRun written = runPartlib(toFile);
        EXPECT_EQ(written.status, 0) << command[0] << ": " << written.all();
        EXPECT_EQ(written.output, "") << command[0];
        EXPECT_EQ(readFile(file), shown.output) << command[0];
    }
}

TEST_F(OutputOptionTest, AFailedCommandLeavesTheFileAsItWas) {
    const std::string file = folder + "/report.html";
    std::ofstream(file) << "the old report\n";
    const std::vector<std::string> before = files();

    ProgramRun missing = runPartlib({"report", database, "Nowhere", "-o", file});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.errors.find("No library named \"Nowhere\""), std::string::npos) << missing.errors;
    EXPECT_EQ(readFile(file), "the old report\n");
    EXPECT_EQ(files(), before);

    const std::string databaseBytes = readFile(database);
    for (const std::string &target : {database, folder + "/./demo.db"}) {
        ProgramRun itself = runPartlib({"parts", database, "Demo", "-o", target});
        EXPECT_EQ(itself.status, 1);
        EXPECT_NE(itself.errors.find("it is the database being read"), std::string::npos) << itself.errors;
    }
    EXPECT_EQ(readFile(database), databaseBytes);

    ProgramRun nowhere = runPartlib({"tree", database, "Demo", "-o", folder + "/no/such/folder.txt"});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.errors.find("Cannot create"), std::string::npos) << nowhere.errors;

    ProgramRun empty = runPartlib({"libraries", database, "-o", ""});
    EXPECT_EQ(empty.status, 1) << empty.all();
    EXPECT_EQ(files(), before);
}

} // namespace
