// partlib export, run as the built program on a SQLite file.

#include "tests/support/TestDatabase.h"
#include "tests/tools_export/ExportTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace exporttest;

namespace {

struct ProgramRun {
    int status;
    std::string output; // standard output
    std::string errors; // standard error
};

std::string fileContent(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

const std::string PARTLIB = std::string(TXDB_BINARY_DIR) + "/partlib";

// Runs a shell command line without input.
ProgramRun run(const std::string &commandLine) {
    const std::string errors = txdbtest::tempFile(".err");
    const std::string command = commandLine + " 2>" + errors + " </dev/null";
    ProgramRun run{-1, "", ""};
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, count);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = fileContent(errors);
    return run;
}

ProgramRun partlib(const std::string &arguments) {
    return run(PARTLIB + " " + arguments);
}

class ExportCommandTest : public ::testing::Test {
protected:
    ExportCommandTest() : db(sampleOnly("SQLite", 3000)) {
        const std::string prefix = "Provider=SQLite;Data Source=";
        file = db.init.substr(prefix.size());
        folder = std::filesystem::path(file).parent_path().string() + "/export-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directory(folder);
    }
    ~ExportCommandTest() override { std::filesystem::remove_all(folder); }

    std::vector<std::string> filesInFolder() {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    SampleDatabase db;
    std::string file;
    std::string folder;
};

TEST_F(ExportCommandTest, WritesTheLibraryFileToStandardOutputOrAFile) {
    const std::string expected = exportToString(db.path);
    ProgramRun toOutput = partlib("export " + file);
    EXPECT_EQ(toOutput.status, 0) << toOutput.errors;
    EXPECT_EQ(toOutput.output, expected);
    EXPECT_EQ(toOutput.errors, "") << "no progress bar when standard error is no terminal";

    const std::string target = folder + "/demo.json";
    ProgramRun toFile = partlib("export " + file + " Demo -o " + target);
    EXPECT_EQ(toFile.status, 0) << toFile.errors;
    EXPECT_EQ(toFile.output, "");
    EXPECT_EQ(fileContent(target), expected);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"demo.json"}) << "no temporary file left";
}

TEST_F(ExportCommandTest, ShowsProgressOnATerminal) {
    if (!std::filesystem::exists("/usr/bin/script"))
        GTEST_SKIP() << "script(1) is needed to run partlib on a terminal";
    const std::string target = folder + "/demo.json";
    // script runs the program on a new terminal and copies what it shows.
    ProgramRun onTerminal = run("script -qec \"" + PARTLIB + " export " + file + " -o " + target + "\" /dev/null");
    EXPECT_EQ(onTerminal.status, 0) << onTerminal.errors;
    EXPECT_NE(onTerminal.output.find("\rExporting Demo [......"), std::string::npos) << onTerminal.output;
    EXPECT_NE(onTerminal.output.find("\rExporting Demo [##############################] 100% (3300/3300)"),
              std::string::npos)
        << onTerminal.output;
    EXPECT_EQ(fileContent(target), exportToString(db.path));
}

TEST_F(ExportCommandTest, FailureLeavesAnExistingFileAsItWas) {
    const std::string target = folder + "/demo.json";
    std::ofstream(target) << "previous content\n";
    ProgramRun unknown = partlib("export " + file + " Demo Nonesuch -o " + target);
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.errors, "No library named \"Nonesuch\" in the database\n");
    EXPECT_EQ(fileContent(target), "previous content\n");
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"demo.json"}) << "no temporary file left";
}

TEST_F(ExportCommandTest, RefusesWhatItCannotOpen) {
    ProgramRun missing = partlib("export " + folder + "/none.db");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors, "No such database file: " + folder + "/none.db\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/none.db")) << "the file is not created";

    ProgramRun noFolder = partlib("export " + file + " -o " + folder + "/no/such/dir/out.json");
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.errors.find("Cannot create " + folder + "/no/such/dir/out.json: "), std::string::npos)
        << noFolder.errors;

    ProgramRun usage = partlib("export");
    EXPECT_NE(usage.status, 0);
    EXPECT_NE(usage.errors.find("DB is required"), std::string::npos) << usage.errors;
}

} // namespace
