// txdb-samplelib given wrong arguments and a missing file: each is refused
// with a message that says what is wrong, and nothing is written.

#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using txdbtest::ProgramRun;

ProgramRun samplelib(const std::vector<std::string> &arguments) {
    std::string command = txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib");
    for (const std::string &argument : arguments)
        command += " " + txdbtest::shellQuoted(argument);
    return txdbtest::runShell(command);
}

TEST(SampleLibCli, WrongArgumentsAndMissingFilesAreRefused) {
    const std::string file = txdbtest::tempFile();
    ASSERT_EQ(txdbtest::runPartlib({"init", file}).status, 0);
    const std::string parts = "txdb-samplelib: --parts needs a whole number from 0 to 10000000, not ";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--parts", "abc"}, parts + "\"abc\"\n"},
        {{"--parts", "-1"}, parts + "\"-1\"\n"},
        {{"--parts", "2147483648"}, parts + "\"2147483648\"\n"},
        {{"--parts", "12x"}, parts + "\"12x\"\n"},
        {{"--first-id", "0"}, "txdb-samplelib: --first-id needs a whole number from 1 to 1000000000, not \"0\"\n"},
        {{"--parts"}, "txdb-samplelib: --parts needs a value\n"},
        {{"--name", ""}, "txdb-samplelib: --name needs 1 to 50 characters\n"},
    };
    for (const auto &[options, message] : cases) {
        std::vector<std::string> arguments = {file};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ProgramRun run = samplelib(arguments);
        EXPECT_EQ(run.status, 2) << options[0];
        EXPECT_EQ(run.errors, message);
    }
    ProgramRun unknown = samplelib({file, "--bogus", "1"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.errors.rfind("txdb-samplelib: unknown option \"--bogus\"\nusage: ", 0), 0u) << unknown.errors;
    EXPECT_NE(txdbtest::runPartlib({"info", file}).output.find("  Parts                     0\n"), std::string::npos)
        << "nothing written";

    const std::string missing = txdbtest::tempFile();
    ProgramRun run = samplelib({missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "txdb-samplelib: no such database file: " + missing + " (partlib init creates one)\n");
    EXPECT_FALSE(std::filesystem::exists(missing));

    ProgramRun written = samplelib({file, "--parts", "12", "--name", "Small"});
    EXPECT_EQ(written.status, 0) << written.errors;
    EXPECT_NE(written.output.find("library Small: "), std::string::npos) << written.output;
}

} // namespace
