// Copying the sample library from an Access file against the same copy from
// its SQLite file: the fixture demo-1.2.accdb (and .mdb) and demo.db, each
// copied into a new SQLite file many times over (the rounds together hold
// about as many parts as the KiCad symbol libraries give). A round is timed
// from opening the source, so the Access figure holds reading the whole file
// through libmdb, through writing the copy. Target: the Access copy within 2
// times the SQLite one. The fixtures' folder is TXDB_ACCESS_FIXTURES, by
// default ../shared/fixtures/access beside the source tree.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr int ROUNDS = 60; // 60 x 300 parts

std::string directory;
int fileCounter = 0;

std::string fixture(const std::string &name) {
    const char *folder = std::getenv("TXDB_ACCESS_FIXTURES");
    return (folder ? std::string(folder) : std::string(TXDB_SOURCE_DIR) + "/../shared/fixtures/access") + "/" + name;
}

bool neverCancel() {
    return false;
}

// A new SQLite file with the schema; its initialisation string.
std::string newTarget() {
    const std::string init = "Provider=SQLite;Data Source=" + directory + "/t" + std::to_string(++fileCounter) + ".db";
    CTraxDBPath path(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    CTraxDBSchema::createSchema(path);
    return init;
}

// Seconds for ROUNDS copies of the source's libraries, each into a new file.
double copies(const std::string &sourceInit) {
    double seconds = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        std::string target = newTarget(), source = sourceInit;
        const auto start = std::chrono::steady_clock::now();
        pathHandle_t from = openPath(source.data());
        pathHandle_t to = openPath(target.data());
        getLibraryWriter(to)->write(getLibraryReader(from, nullptr), neverCancel);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return seconds;
}

int runBenchmark() {
    doPromptValidationMsg(false);
    const double sqlite = copies("Provider=SQLite;Data Source=" + fixture("demo.db"));
    const double mdb = copies("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + fixture("demo-1.2.mdb"));
    const double accdb = copies("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + fixture("demo-1.2.accdb"));
    std::printf("copy of %d x 300 parts into new SQLite files\n", ROUNDS);
    std::printf("%-22s %10s %10s\n", "source", "seconds", "ratio");
    std::printf("%-22s %10.3f %10.2f\n", "demo.db (SQLite)", sqlite, 1.0);
    std::printf("%-22s %10.3f %10.2f\n", "demo-1.2.mdb (Jet 4)", mdb, mdb / sqlite);
    std::printf("%-22s %10.3f %10.2f\n", "demo-1.2.accdb (ACE)", accdb, accdb / sqlite);
    const bool met = mdb <= 2 * sqlite && accdb <= 2 * sqlite;
    std::printf("target: Access within 2 times SQLite: %s\n", met ? "met" : "NOT met");
    return 0;
}

} // namespace

int main() {
    char pattern[] = "/tmp/txdb-bench-access-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    directory = pattern;
    int status = 1;
    try {
        status = runBenchmark();
    } catch (Exception *e) {
        std::fprintf(stderr, "bench_access_copy: %s\n", e->getMessage().c_str());
        delete e;
    }
    std::filesystem::remove_all(pattern);
    return status;
}
