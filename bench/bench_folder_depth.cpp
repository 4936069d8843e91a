// What a deep folder tree costs the commands that walk folder trees.
//
// A library whose folders form one chain of 100 (the deepest tree partlib
// walks), 1,000, 10,000 and 100,000 levels, in SQLite files made with one
// recursive statement each. partlib tree, export, catalogue and copy run on
// each as programs; the 100-level tree is walked whole, the deeper ones are
// measured and refused. Printed side by side: the seconds and the peak
// resident memory of each run, and the ratio of the 100,000-level run to the
// 1,000-level one against the ratio of their folder counts (100). Linear
// cost stays at or below that ratio; the quadratic walk it replaces grew by
// 10,000 (export took 3.8 GB at 10,000 levels). Each figure is the best of
// three runs.
//
//   build/bench_folder_depth            (beside build/partlib)

#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string partlib;
std::filesystem::path directory;

struct Run {
    double seconds = 1e9;
    long peakKiB = 0;
    int status = -1;
};

// Runs partlib with the arguments, output thrown away: its wall time, peak
// resident memory and exit status.
Run runOnce(const std::vector<std::string> &arguments) {
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char *> argv{const_cast<char *>(partlib.c_str())};
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(partlib.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Run best(const std::vector<std::string> &arguments, const std::function<void()> &before) {
    Run found;
    for (int i = 0; i < 3; ++i) {
        before();
        Run run = runOnce(arguments);
        found.status = run.status;
        found.seconds = std::min(found.seconds, run.seconds);
        found.peakKiB = std::max(found.peakKiB, run.peakKiB);
    }
    return found;
}

// A SQLite file with the schema and a library "Deep" of one chain of folders.
std::string chainFile(int levels) {
    const std::string file = (directory / ("chain" + std::to_string(levels) + ".db")).string();
    if (runOnce({"init", file, "--yes"}).status != 0)
        throw std::runtime_error("partlib init failed for " + file);
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    const std::string sql = "INSERT INTO Library VALUES (1,'Deep',1,NULL); WITH RECURSIVE n(i) AS (SELECT 1 UNION "
                            "ALL SELECT i+1 FROM n WHERE i<" +
                            std::to_string(levels) +
                            ") INSERT INTO Hierarchy SELECT i,1,'F'||i,CASE WHEN i=1 THEN NULL ELSE i-1 END FROM n;";
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error(std::string("building the chain failed: ") + (error ? error : ""));
    return file;
}

} // namespace

int main(int, char **argv) {
    partlib = (std::filesystem::absolute(argv[0]).parent_path() / "partlib").string();
    directory = std::filesystem::temp_directory_path() / ("bench-folder-depth-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);

    const std::vector<int> depths{100, 1000, 10000, 100000};
    std::vector<std::string> files;
    for (int levels : depths)
        files.push_back(chainFile(levels));

    struct Command {
        const char *name;
        std::vector<std::string> (*arguments)(const std::string &file, const std::string &out);
    };
    const std::vector<Command> commands{
        {"tree",
         [](const std::string &file, const std::string &) {
             return std::vector<std::string>{"tree", file, "Deep"};
         }},
        {"export",
         [](const std::string &file, const std::string &out) {
             return std::vector<std::string>{"export", file, "-o", out};
         }},
        {"catalogue",
         [](const std::string &file, const std::string &out) {
             return std::vector<std::string>{"catalogue", file, "-o", out};
         }},
        {"copy",
         [](const std::string &file, const std::string &out) {
             return std::vector<std::string>{"copy", file, out, "--yes"};
         }},
    };

    std::printf("%-10s", "levels");
    for (int levels : depths)
        std::printf(" | %8d: s, MiB, exit", levels);
    std::printf(" | 100k/1k time, memory (folders x100)\n");
    for (const Command &command : commands) {
        std::printf("%-10s", command.name);
        std::vector<Run> runs;
        for (const std::string &file : files) {
            const std::string out = (directory / "out").string();
            Run run = best(command.arguments(file, out), [&out] { std::filesystem::remove(out); });
            runs.push_back(run);
            std::printf(" | %8.3f %6.1f %4d   ", run.seconds, run.peakKiB / 1024.0, run.status);
        }
        std::printf(" | %6.2f %6.2f\n", runs[3].seconds / runs[1].seconds,
                    static_cast<double>(runs[3].peakKiB) / static_cast<double>(runs[1].peakKiB));
    }
    std::filesystem::remove_all(directory);
    return 0;
}
