// txdb-samplelib: fills a part-library database with a sample library.
//
//   txdb-samplelib DB [--parts N] [--name NAME] [--first-id N]
//
// DB is a SQLite file or a full initialisation string; the database must
// already hold the part-library schema (partlib init).

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "interface/Exception.h"
#include "tools/samplelib/SampleLibrary.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

const char *const USAGE = "usage: txdb-samplelib DB [--parts N] [--name NAME] [--first-id N]\n"
                          "Writes a sample part library into DB (a SQLite file or an initialisation string)\n"
                          "that already holds the part-library tables (partlib init creates them).\n"
                          "  --parts N     number of parts, 0 to 10000000 (default 300)\n"
                          "  --name NAME   name of the library, 1 to 50 characters (default Demo)\n"
                          "  --first-id N  first key of every table, 1 to 1000000000 (default 1)\n";

// A whole decimal number in [low, high], else a message saying what is wrong.
bool numberIn(const std::string &flag, const char *text, long low, long high, int &value) {
    char *end = nullptr;
    errno = 0;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || number < low || number > high) {
        std::fprintf(stderr, "txdb-samplelib: %s needs a whole number from %ld to %ld, not \"%s\"\n", flag.c_str(), low,
                     high, text);
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// Reads the options after DB; false (with a message) for a wrong one.
bool readOptions(int argc, char **argv, SampleOptions &options) {
    for (int i = 2; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag != "--parts" && flag != "--name" && flag != "--first-id") {
            std::fprintf(stderr, "txdb-samplelib: unknown option \"%s\"\n%s", argv[i], USAGE);
            return false;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "txdb-samplelib: %s needs a value\n", flag.c_str());
            return false;
        }
        const char *value = argv[i + 1];
        if (flag == "--parts" && !numberIn(flag, value, 0, 10000000, options.parts))
            return false;
        if (flag == "--first-id" && !numberIn(flag, value, 1, 1000000000, options.firstId))
            return false;
        if (flag == "--name") {
            options.libraryName = value;
            if (options.libraryName.empty() || options.libraryName.size() > 50) {
                std::fprintf(stderr, "txdb-samplelib: --name needs 1 to 50 characters\n");
                return false;
            }
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help")) {
        std::fputs(USAGE, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    SampleOptions options;
    if (!readOptions(argc, argv, options))
        return 2;
    std::string db = argv[1];
    struct stat info {};
    const bool isFile = ::stat(db.c_str(), &info) == 0;
    if (db.find('=') == std::string::npos || isFile) {
        if (!isFile) {
            std::fprintf(stderr, "txdb-samplelib: no such database file: %s (partlib init creates one)\n", db.c_str());
            return 1;
        }
        db = InitString{{{"Provider", "SQLite"}, {"Data Source", db}}}.toString(true);
    }
    try {
        CTraxDBPath path(db.c_str());
        SampleCounts counts = writeSampleLibrary(path, options);
        std::printf("library %s: %d folders, %d part definitions, %d pins, %d gates, %d parts\n",
                    options.libraryName.c_str(), counts.folders, counts.partDefinitions, counts.pins, counts.gates,
                    counts.parts);
    } catch (Exception *e) {
        std::fprintf(stderr, "txdb-samplelib: %s\n",
                     e->getMessage().empty() ? "the database holds no part library of the current version"
                                             : e->getMessage().c_str());
        delete e;
        return 1;
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "txdb-samplelib: cannot write standard output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
