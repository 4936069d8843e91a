#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct ProgramRun {
    int status;
    std::string output; // standard output and standard error together
};

ProgramRun runPartlib(const std::string &arguments) {
    std::string command = std::string(TXDB_BINARY_DIR) + "/partlib " + arguments + " 2>&1 </dev/null";
    ProgramRun run{-1, ""};
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, count);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(PartlibCliTest, HelpExplainsTheTool) {
    ProgramRun run = runPartlib("--help");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("part-library databases"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("SQLite file"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("initialisation string"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("--yes"), std::string::npos) << run.output;
}

TEST(PartlibCliTest, VersionLine) {
    ProgramRun run = runPartlib("--version");
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.output.rfind("partlib ", 0), 0u) << run.output;
    EXPECT_TRUE(run.output.size() > 8 && run.output[8] >= '0' && run.output[8] <= '9') << run.output;
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
}

TEST(PartlibCliTest, WrongUseFails) {
    ProgramRun unknown = runPartlib("--no-such-option");
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.output.find("--no-such-option"), std::string::npos) << unknown.output;
    // Without a command there is nothing to do: the help is shown and the run fails.
    ProgramRun nothing = runPartlib("");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.output.find("Usage"), std::string::npos) << nothing.output;
}

} // namespace
