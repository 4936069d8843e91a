#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using txdbtest::ProgramRun;
using txdbtest::runPartlib;

namespace {

TEST(PartlibCliTest, HelpVersionAndWrongUse) {
    ProgramRun help = runPartlib({"--help"});
    EXPECT_EQ(help.status, 0) << help.all();
    for (const char *text : {"part-library databases", "SQLite file", "initialisation string", "--yes"})
        EXPECT_NE(help.output.find(text), std::string::npos) << text << "\n" << help.output;

    ProgramRun version = runPartlib({"--version"});
    EXPECT_EQ(version.status, 0);
    ASSERT_EQ(version.output.rfind("partlib ", 0), 0u) << version.output;
    EXPECT_TRUE(version.output.size() > 8 && std::isdigit(static_cast<unsigned char>(version.output[8])))
        << version.output;
    EXPECT_EQ(version.output.find('\n'), version.output.size() - 1) << version.output;

    ProgramRun unknown = runPartlib({"--no-such-option"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.all().find("--no-such-option"), std::string::npos) << unknown.all();
    // Every way of getting the command line wrong ends with the one usage
    // status, whatever error code the parser has for it.
    const std::vector<std::vector<std::string>> wrong = {
        {"parts", "x.db", "--no-such-option"}, {"no-such-command"},      {"show", "x.db"},
        {"parts", "x.db", "--format", "yaml"}, {"export", "x.db", "-o"}, {"tree", "x.db", "L", "extra"},
    };
    for (const auto &arguments : wrong) {
        ProgramRun run = runPartlib(arguments);
        EXPECT_EQ(run.status, 2) << arguments[0] << " " << arguments.back() << ": " << run.all();
        EXPECT_EQ(run.output, "") << arguments.back();
    }
    // A command's own help names the options of partlib itself; partlib's
    // help lists the exit statuses.
    for (const char *command : {"init", "copy", "import", "parts"}) {
        ProgramRun commandHelp = runPartlib({command, "--help"});
        EXPECT_EQ(commandHelp.status, 0) << command;
        EXPECT_NE(commandHelp.output.find("--yes    Answer Yes"), std::string::npos) << command << "\n"
                                                                                     << commandHelp.output;
    }
    EXPECT_NE(help.output.find("2 wrong use of the command line"), std::string::npos) << help.output;
    // So does the help of every command that lists its own.
    for (const char *command : {"copy", "import", "import-kicad", "library"}) {
        ProgramRun commandHelp = runPartlib({command, "--help"});
        EXPECT_NE(commandHelp.output.find("2 wrong use of the command line"), std::string::npos) << command << "\n"
                                                                                                 << commandHelp.output;
    }
    // Without a command there is nothing to do: the help is shown and the run fails.
    ProgramRun nothing = runPartlib({});
    EXPECT_EQ(nothing.status, 2);
    EXPECT_NE(nothing.all().find("Usage"), std::string::npos) << nothing.all();
}

} // namespace
