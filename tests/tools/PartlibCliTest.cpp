#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

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
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.all().find("--no-such-option"), std::string::npos) << unknown.all();
    // Without a command there is nothing to do: the help is shown and the run fails.
    ProgramRun nothing = runPartlib({});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.all().find("Usage"), std::string::npos) << nothing.all();
}

} // namespace
