// The README's examples, run as written: every command line of every block
// marked <!-- example -->, in README order, in one new folder where build/
// is the build folder. Blocks marked <!-- example: not run: REASON --> are
// listed with their reason; a code block with neither mark fails the test,
// so that no example goes untried.

#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using txdbtest::ProgramRun;
using txdbtest::shellQuoted;

struct Command {
    size_t line; // in README.md
    std::string text;
};

struct Example {
    size_t line;        // of the block's fence in README.md
    std::string reason; // why it is not run; empty: it is run
    std::vector<Command> commands;
};

const char *const RUN_MARK = "<!-- example -->";
const char *const NOT_RUN_MARK = "<!-- example: not run: ";

// The code blocks of the README with the mark above each.
std::vector<Example> examplesOf(const std::string &text) {
    std::vector<Example> examples;
    std::istringstream lines(text);
    std::string line, previous;
    size_t number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (line.rfind("```", 0) != 0) {
            previous = line;
            continue;
        }
        Example example{number, "", {}};
        if (previous.rfind(NOT_RUN_MARK, 0) == 0)
            example.reason = previous.substr(std::string(NOT_RUN_MARK).size(),
                                             previous.size() - std::string(NOT_RUN_MARK).size() - 4);
        else
            EXPECT_EQ(previous, RUN_MARK) << "README.md line " << number << ": a code block without an example mark";
        while (std::getline(lines, line) && line.rfind("```", 0) != 0) {
            ++number;
            if (!line.empty())
                example.commands.push_back({number, line});
        }
        ++number;
        previous.clear();
        examples.push_back(example);
    }
    return examples;
}

TEST(ReadmeExamplesTest, EveryExampleRunsAsWritten) {
    const std::vector<Example> examples = examplesOf(txdbtest::readFile(std::string(TXDB_SOURCE_DIR) + "/README.md"));
    const std::string folder = txdbtest::tempDirectory() + "/readme";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directory_symlink(TXDB_BINARY_DIR, folder + "/build");

    size_t run = 0;
    for (const Example &example : examples) {
        if (!example.reason.empty()) {
            std::cout << "README.md line " << example.line << ": not run (" << example.reason << ")\n";
            continue;
        }
        for (const Command &command : example.commands) {
            // The examples' own environment: nothing of the test's, no terminal.
            ProgramRun result = txdbtest::runShell("cd " + shellQuoted(folder) +
                                                   " && env -u TXDB_PASSWORD -u TXDBLOGGER -u TXDB_AUTOTEST bash -c " +
                                                   shellQuoted("set -o pipefail; " + command.text) + " < /dev/null");
            EXPECT_EQ(result.status, 0) << "README.md line " << command.line << ": " << command.text << "\n"
                                        << result.all();
            ++run;
        }
    }
    // The marks are read: a README without examples would pass unseen.
    EXPECT_GE(run, 20u);
}

} // namespace
