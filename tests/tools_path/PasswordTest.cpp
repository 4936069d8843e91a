// Passwords that never stand on the command line: Password=? answered on a
// terminal (a pseudo-terminal here) or taken from TXDB_PASSWORD, and a
// unixODBC data source that keeps it in odbc.ini, against the MariaDB test
// server.

#include "ctraxdbpartlib/connection/DBProvider.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::InitString;
using txdbtest::ProgramRun;
using txdbtest::runPartlib;

// The MariaDB test server's initialisation string with its password
// replaced by `password`, and the password it had; empty without a server.
struct Server {
    std::string withPassword(const std::string &password) const {
        InitString changed = init;
        for (auto &pair : changed.pairs)
            if (pair.first == "Password")
                pair.second = password;
        return changed.toString(true);
    }
    InitString init;
    std::string password;
};

std::optional<Server> mariadb() {
    const char *text = std::getenv("TXDB_MARIADB_INITSTRING");
    if (!text || !*text)
        return std::nullopt;
    Server server;
    InitString::parse(text, server.init);
    server.password = server.init.get("Password");
    return server;
}

// partlib run on a pseudo-terminal of its own, as a user at a terminal
// runs it; everything it writes to the terminal is kept in `screen`.
class TerminalRun {
public:
    explicit TerminalRun(const std::vector<std::string> &arguments) {
        child = ::forkpty(&master, nullptr, nullptr, nullptr);
        if (child == 0) {
            for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
                std::signal(signal, SIG_DFL); // as a shell at a terminal starts it
            const std::string program = std::string(TXDB_BINARY_DIR) + "/partlib";
            std::vector<char *> argv{const_cast<char *>("partlib")};
            for (const std::string &argument : arguments)
                argv.push_back(const_cast<char *>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~TerminalRun() {
        if (child > 0 && !exited) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        if (master >= 0)
            ::close(master);
    }

    // Reads what the program writes until `text` has appeared; false when
    // it does not within 30 s. Every look at the program also keeps what
    // its command line showed.
    bool waitFor(const std::string &text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (screen.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !readSome())
                return false;
        }
        return true;
    }

    void type(const std::string &keys) { EXPECT_EQ(::write(master, keys.data(), keys.size()), ssize_t(keys.size())); }

    // Reads until the program ends; its exit status, or -1 when it was
    // still waiting after 60 s and had to be killed.
    int finish() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (readSome())
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "partlib still runs after 60 s; its terminal shows: " << screen;
                ::kill(child, SIGKILL);
                break;
            }
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        exited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The terminal's settings as the program left them.
    termios settings() const {
        termios now{};
        EXPECT_EQ(::tcgetattr(master, &now), 0);
        return now;
    }

    pid_t child = -1;
    std::string screen;
    std::vector<std::string> commandLines; // /proc/PID/cmdline at every look

private:
    bool readSome() {
        commandLines.push_back(txdbtest::readFile("/proc/" + std::to_string(child) + "/cmdline"));
        pollfd wanted{master, POLLIN, 0};
        if (::poll(&wanted, 1, 20) == 0)
            return true;
        char buffer[4096];
        const ssize_t count = ::read(master, buffer, sizeof buffer);
        if (count <= 0)
            return false; // the program has closed the terminal
        screen.append(buffer, size_t(count));
        return true;
    }

    int master = -1;
    bool exited = false;
};

// partlib without a controlling terminal, as from cron or CI.
ProgramRun withoutTerminal(const std::string &environment, const std::vector<std::string> &arguments) {
    return txdbtest::runShell(environment + " setsid -w " + txdbtest::partlibCommand(arguments));
}

std::string sampleLibrary() {
    const std::string file = txdbtest::tempFile();
    EXPECT_EQ(runPartlib({"init", file, "--yes"}).status, 0);
    ProgramRun written = txdbtest::runShell(txdbtest::shellQuoted(std::string(TXDB_BINARY_DIR) + "/txdb-samplelib") +
                                            " " + txdbtest::shellQuoted(file) + " --parts 2000 --name Asked");
    EXPECT_EQ(written.status, 0) << written.all();
    return file;
}

class PasswordTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = mariadb();
        if (!server)
            GTEST_SKIP() << "no MariaDB test server (TXDB_MARIADB_INITSTRING)";
        target = txdbtest::otherDatabase("MariaDB");
        InitString parsed;
        InitString::parse(target, parsed);
        catalog = parsed.get("Initial Catalog");
    }
    // The target database with the password asked for.
    std::string asking() const {
        InitString parsed;
        InitString::parse(target, parsed);
        for (auto &pair : parsed.pairs)
            if (pair.first == "Password")
                pair.second = "?";
        return parsed.toString(true);
    }

    std::optional<Server> server;
    std::string target, catalog;
};

TEST_F(PasswordTest, AnsweredOnTheTerminalItNeverShowsInTheCommandLine) {
    const std::string source = sampleLibrary();
    TerminalRun copy({"copy", source, asking(), "--yes"});
    ASSERT_TRUE(copy.waitFor("Password for partlib at ")) << copy.screen;
    EXPECT_NE(copy.screen.find("database " + catalog + ": "), std::string::npos) << copy.screen;
    copy.type(server->password + "\n");
    EXPECT_EQ(copy.finish(), 0) << copy.screen;

    // Typed without echo, so not on the screen either.
    EXPECT_EQ(copy.screen.find(server->password), std::string::npos) << copy.screen;
    ASSERT_GT(copy.commandLines.size(), 2u);
    for (const std::string &line : copy.commandLines)
        EXPECT_EQ(line.find(server->password), std::string::npos) << line;
    EXPECT_TRUE(copy.settings().c_lflag & ECHO) << "the terminal's echo is restored";

    ProgramRun libraries = runPartlib({"libraries", target});
    EXPECT_EQ(libraries.status, 0) << libraries.all();
    EXPECT_NE(libraries.output.find("Asked"), std::string::npos) << libraries.output;
}

TEST_F(PasswordTest, AWrongOrMissingAnswerEndsWithAMessage) {
    {
        TerminalRun info({"info", asking()});
        ASSERT_TRUE(info.waitFor("Password for "));
        info.type("not-" + server->password + "\n");
        EXPECT_EQ(info.finish(), 1) << info.screen;
        EXPECT_EQ(info.screen.find("not-" + server->password), std::string::npos) << info.screen;
    }
    {
        TerminalRun info({"info", asking()});
        ASSERT_TRUE(info.waitFor("Password for "));
        info.type("\x04"); // Ctrl-D: the end of input
        EXPECT_EQ(info.finish(), 1) << info.screen;
        EXPECT_NE(info.screen.find("No password was given for partlib at "), std::string::npos) << info.screen;
    }
    {
        TerminalRun info({"info", asking()});
        ASSERT_TRUE(info.waitFor("Password for "));
        info.type("half");
        info.type("\x03"); // Ctrl-C
        EXPECT_EQ(info.finish(), 130) << info.screen;
        EXPECT_NE(info.screen.find("Interrupted"), std::string::npos) << info.screen;
        EXPECT_TRUE(info.settings().c_lflag & ECHO) << "the terminal's echo is restored";
    }
}

TEST_F(PasswordTest, ScriptsGiveItInTheEnvironment) {
    ProgramRun info = withoutTerminal("TXDB_PASSWORD=" + txdbtest::shellQuoted(server->password), {"info", asking()});
    EXPECT_EQ(info.status, 0) << info.all();
    EXPECT_NE(info.output.find("Schema version:"), std::string::npos) << info.output;

    ProgramRun wrong = withoutTerminal("TXDB_PASSWORD=wrong", {"info", asking()});
    EXPECT_EQ(wrong.status, 1) << wrong.all();

    ProgramRun nobody = withoutTerminal("env -u TXDB_PASSWORD", {"info", asking()});
    EXPECT_EQ(nobody.status, 1) << nobody.all();
    EXPECT_NE(nobody.errors.find("there is no terminal to ask on: set TXDB_PASSWORD or use a DSN"), std::string::npos)
        << nobody.errors;

    // A password written out in the string is taken as it stands.
    ProgramRun plain = withoutTerminal("env -u TXDB_PASSWORD", {"info", server->withPassword(server->password)});
    EXPECT_EQ(plain.status, 0) << plain.all();
}

TEST_F(PasswordTest, ADataSourceKeepsItInOdbcIni) {
    // The user's data sources, where ODBCINI says (~/.odbc.ini without it).
    const std::string file = txdbtest::tempFile(".odbc.ini");
    {
        std::ofstream ini(file);
        ini << "[partlib_team]\n"
            << "Driver = " << server->init.get("Driver") << "\n"
            << "Server = " << server->init.get("Server") << "\n"
            << "Port = " << server->init.get("Port") << "\n"
            << "Database = " << catalog << "\n"
            << "User = " << server->init.get("User ID") << "\n"
            << "Password = " << server->password << "\n";
    }
    const std::string dsn = "Provider=ODBC;DSN=partlib_team";
    const std::string environment = "ODBCINI=" + txdbtest::shellQuoted(file);
    ProgramRun init = withoutTerminal(environment, {"init", dsn, "--yes"});
    EXPECT_EQ(init.status, 0) << init.all();
    ProgramRun info = withoutTerminal(environment, {"info", dsn});
    EXPECT_EQ(info.status, 0) << info.all();
    EXPECT_NE(info.output.find("Schema version: 1.2"), std::string::npos) << info.output;
}

} // namespace
