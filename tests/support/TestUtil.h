#pragma once

// Small helpers every test folder shares: a file's bytes, the message of a
// raised Exception, and running the built partlib as a program.

#include "interface/Exception.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace txdbtest {

inline std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs `action`, expects an Exception and returns its message (deleted).
template <class F> std::string thrownMessage(F action) {
    try {
        action();
    } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *e) {
        std::string message = e->getMessage();
        delete e;
        return message;
    }
    return "<no exception>";
}

inline std::string shellQuoted(const std::string &text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct ProgramRun {
    int status = -1;
    std::string output; // standard output
    std::string errors; // standard error
    std::string all() const { return output + errors; }
};

// Runs a shell command line without input, standard error kept apart.
inline ProgramRun runShell(const std::string &commandLine) {
    char errors[] = "/tmp/txdb-stderr-XXXXXX";
    const int descriptor = mkstemp(errors);
    if (descriptor >= 0)
        close(descriptor);
    ProgramRun run;
    FILE *pipe = ::popen((commandLine + " 2>" + errors + " </dev/null").c_str(), "r");
    if (pipe) {
        char buffer[4096];
        for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.output.append(buffer, count);
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.errors = readFile(errors);
    std::remove(errors);
    return run;
}

// The command line of the built partlib with the arguments, each quoted.
inline std::string partlibCommand(const std::vector<std::string> &arguments) {
    std::string command = shellQuoted(std::string(TXDB_BINARY_DIR) + "/partlib");
    for (const std::string &argument : arguments)
        command += " " + shellQuoted(argument);
    return command;
}

inline ProgramRun runPartlib(const std::vector<std::string> &arguments) {
    return runShell(partlibCommand(arguments));
}

// Starts the built partlib with the arguments, its output thrown away, and
// returns at once with the child's process id (-1 when fork failed).
inline pid_t startPartlib(const std::vector<std::string> &arguments) {
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, STDOUT_FILENO);
    ::dup2(devnull, STDERR_FILENO);
    const std::string program = std::string(TXDB_BINARY_DIR) + "/partlib";
    std::vector<char *> argv{const_cast<char *>("partlib")};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

// Sends SIGINT to a started partlib once its write into the SQLite file
// `database` has begun (SQLite keeps a journal beside the file while a
// transaction writes; files are read and checked before that), and returns
// its exit status: 130 for an interrupted write, -1 for a child that did not
// exit by itself.
inline int interruptWhileWriting(pid_t child, const std::string &database) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(database + "-journal") && !std::filesystem::exists(database + "-wal") &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(child, SIGINT);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Sets an environment variable (unsets it for nullptr) while it lives; a
// change of TZ counts at once.
class ScopedVariable {
public:
    ScopedVariable(const char *name, const char *value) : name(name) {
        if (const char *old = std::getenv(name))
            saved = old;
        set(value);
    }
    ~ScopedVariable() { set(saved ? saved->c_str() : nullptr); }
    void set(const char *value) {
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
        ::tzset();
    }

private:
    const char *name;
    std::optional<std::string> saved;
};

// One list of a write's summary line ("rows added", "rows changed", "rows
// removed"): the text after it up to the next ';' or the line's end; empty
// when the summary has no such list.
inline std::string summaryList(const std::string &output, const std::string &list) {
    const size_t start = output.find(list + ":");
    if (start == std::string::npos)
        return std::string();
    const size_t from = start + list.size() + 1;
    return output.substr(from, output.find_first_of(";\n", from) - from);
}

} // namespace txdbtest
