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
// three runs. Then the KiCad collection's export (kicadCollection below),
// each run once, with its peak memory, and a file of that collection six
// times over (about 1 GB, sixfoldFile below).

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "tools/samplelib/SampleLibrary.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

std::string directory;
std::string partlib;
int fileCounter = 0;

std::string newFile(const char *suffix) {
    return directory + "/f" + std::to_string(++fileCounter) + suffix;
}

// One run of a shell command: its seconds and its peak resident memory.
struct Run {
    double seconds = 0;
    double peakMB = 0;
};

// Runs the command through the shell as a child of its own, so that
// wait4 reports that child's peak memory alone; a failure ends the
// benchmark.
Run measured(const std::string &command) {
    const std::string quiet = command + " > /dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", quiet.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), usage.ru_maxrss / 1024.0};
}

double timed(const std::string &command) {
    return measured(command).seconds;
}

template <class F> double bestOfThree(F run) {
    double best = run();
    for (int i = 0; i < 2; ++i)
        best = std::min(best, run());
    return best;
}

const int COPIES = 6;

// A database of the collection `source` holds, COPIES times over: the
// libraries, definitions and parts of each copy renamed ("~2", ... as their
// names are unique in a database) and every key and reference of the copy
// moved past those of the copies before it.
std::string sixfold(const std::string &source) {
    const std::string target = newFile(".db");
    {
        CTraxDBPath path(("Provider=SQLite;Data Source=" + target).c_str(), CTraxDBPath::SchemaCheck::Skip);
        CTraxDBSchema::createSchema(path);
    }
    constexpr long KEYS_PER_COPY = 100000000;
    std::string script = "ATTACH DATABASE '" + source + "' AS source; BEGIN;";
    for (int copy = 0; copy < COPIES; ++copy) {
        const std::string shift = " + " + std::to_string(copy * KEYS_PER_COPY);
        for (size_t first = 0; first < COLUMN_COUNT;) {
            const std::string table(COLUMN_CATALOGUE[first].table);
            std::string columns;
            size_t next = first;
            for (; next < COLUMN_COUNT && COLUMN_CATALOGUE[next].table == table; ++next) {
                const std::string name(COLUMN_CATALOGUE[next].name);
                const bool key = name == "ID" || (name.size() > 3 && name.compare(name.size() - 3, 3, "_ID") == 0) ||
                                 name == "Equiv_group";
                const bool unique =
                    name == "Name" && (table == "Library" || table == "Part_Definition" || table == "Parts");
                columns += (next == first ? "" : ", ") + std::string("[") + name + "]" +
                           (key                  ? shift
                            : unique && copy > 0 ? " || '~" + std::to_string(copy + 1) + "'"
                                                 : "");
            }
            if (table != "Library_version")
                script += "INSERT INTO [" + table + "] SELECT " + columns + " FROM source.[" + table + "];";
            first = next;
        }
    }
    script += "COMMIT;";
    sqlite3 *database = nullptr;
    char *error = nullptr;
    if (sqlite3_open(target.c_str(), &database) != SQLITE_OK ||
        sqlite3_exec(database, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "sixfold copy failed: %s\n", error ? error : sqlite3_errmsg(database));
        std::exit(1);
    }
    sqlite3_close(database);
    return target;
}

// The library file of COPIES times the collection, imported into an empty
// file: its time and peak memory against the file's size.
void sixfoldFile(const std::string &collection) {
    const std::string file = newFile(".json");
    measured(partlib + " export " + sixfold(collection) + " -o " + file);
    const Run import = measured(partlib + " import " + newFile(".db") + " " + file + " --yes");
    const double fileMB = std::filesystem::file_size(file) / (1024.0 * 1024.0);
    std::printf("KiCad collection %d times over, file of %.1f MiB\n", COPIES, fileMB);
    std::printf("  import        %7.3f s  %7.1f MiB peak  (%.2f x the file)\n", import.seconds, import.peakMB,
                import.peakMB / fileMB);
    std::filesystem::remove(file);
}

// The KiCad collection, when it is installed: imported with import-kicad,
// exported, and the export imported into an empty file and again onto it.
// Targets: the first import within 1.2 times import-kicad, the import with
// nothing to change at most 0.4 times the first, peak memory at most 2.5
// times the file's size. Returns whether they are met.
bool kicadCollection() {
    const std::string symbols = "/usr/share/kicad/symbols";
    if (!std::filesystem::is_directory(symbols)) {
        std::printf("KiCad collection: %s is not installed, skipped\n", symbols.c_str());
        return true;
    }
    const std::string all = symbols + "/*.kicad_sym";
    const std::string source = newFile(".db"), file = newFile(".json");
    measured(partlib + " import-kicad " + source + " " + all + " --yes");
    measured(partlib + " export " + source + " -o " + file);
    const std::string target = newFile(".db");
    const Run first = measured(partlib + " import " + target + " " + file + " --yes");
    const Run again = measured(partlib + " import " + target + " " + file);
    const Run kicad = measured(partlib + " import-kicad " + newFile(".db") + " " + all + " --yes");
    const double fileMB = std::filesystem::file_size(file) / (1024.0 * 1024.0);
    std::printf("KiCad collection, file of %.1f MiB\n", fileMB);
    std::printf("  import-kicad  %7.3f s  %7.1f MiB peak\n", kicad.seconds, kicad.peakMB);
    std::printf("  import        %7.3f s  %7.1f MiB peak  (%.2f x import-kicad, target 1.2; %.2f x the file, target "
                "2.5)\n",
                first.seconds, first.peakMB, first.seconds / kicad.seconds, first.peakMB / fileMB);
    std::printf("  again         %7.3f s  %7.1f MiB peak  (%.2f x the first import, target 0.4; %.2f x the file)\n",
                again.seconds, again.peakMB, again.seconds / first.seconds, again.peakMB / fileMB);
    sixfoldFile(source);
    return first.seconds <= 1.2 * kicad.seconds && again.seconds <= 0.4 * first.seconds &&
           std::max(first.peakMB, again.peakMB) <= 2.5 * fileMB;
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
    const bool kicadMet = kicadCollection();
    std::filesystem::remove_all(directory);
    return import <= 1.5 * copy && kicadMet ? 0 : 2;
}
