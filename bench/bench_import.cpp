// Importing a library file against copying the same library.
//
// The 10,000-part sample library, each way run as the built partlib program
// (so both pay the same start-up):
//   copy:    partlib copy SRC DST, SQLite into an empty SQLite file;
//   import:  partlib import DST FILE of the library's export, into an empty
//            SQLite file (read, checked, planned and written);
//   again:   the same import once more onto the imported library (every
//            item unchanged, only found);
//   check:   partlib import --dry-run of the file into an empty database (the
//            reading and checking alone).
// Target: the import within 1.5 times the copy. Each figure is the best of
// three runs.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "tools/samplelib/SampleLibrary.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string directory;
std::string partlib;
int fileCounter = 0;

std::string newFile(const char *suffix) {
    return directory + "/f" + std::to_string(++fileCounter) + suffix;
}

// Seconds of one shell command; a failure ends the benchmark.
double timed(const std::string &command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system((command + " > /dev/null 2>&1").c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class F> double bestOfThree(F run) {
    double best = run();
    for (int i = 0; i < 2; ++i)
        best = std::min(best, run());
    return best;
}

} // namespace

int main() {
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    partlib = (std::filesystem::path(self).parent_path() / "partlib").string();
    char pattern[] = "/tmp/bench_import-XXXXXX";
    directory = ::mkdtemp(pattern);

    const std::string source = newFile(".db");
    {
        CTraxDBPath path(("Provider=SQLite;Data Source=" + source).c_str(), CTraxDBPath::SchemaCheck::Skip);
        CTraxDBSchema::createSchema(path);
        SampleOptions options;
        options.parts = 10000;
        options.hostileNames = false;
        writeSampleLibrary(path, options);
    }
    const std::string file = newFile(".json");
    timed(partlib + " export " + source + " -o " + file);

    const double copy =
        bestOfThree([&] { return timed(partlib + " copy " + source + " " + newFile(".db") + " --yes"); });
    std::string imported;
    const double import = bestOfThree([&] {
        imported = newFile(".db");
        return timed(partlib + " import " + imported + " " + file + " --yes");
    });
    const double again = bestOfThree([&] { return timed(partlib + " import " + imported + " " + file); });
    const double check =
        bestOfThree([&] { return timed(partlib + " import " + newFile(".db") + " " + file + " --dry-run"); });

    std::printf("10,000 parts, file of %.1f MB\n", std::filesystem::file_size(file) / 1e6);
    std::printf("copy    %.3f s\n", copy);
    std::printf("import  %.3f s  (%.2f x the copy; target 1.5)\n", import, import / copy);
    std::printf("again   %.3f s  (the same file onto the imported library)\n", again);
    std::printf("check   %.3f s  (read and checked only, --dry-run)\n", check);
    std::filesystem::remove_all(directory);
    return import <= 1.5 * copy ? 0 : 2;
}
