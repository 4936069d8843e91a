// Importing every KiCad symbol library of Debian's kicad-symbols package
// (209 files, 107 MB) in one run, as partlib import-kicad does it:
//
// 1. parse: every file read and parsed, on every core as partlib does it;
//    MB/s, and the same on one thread for comparison.  Target: >= 100 MB/s.
// 2. map: the parsed files mapped onto the host model (every core).
// 3. write: one library write into an empty SQLite file; rows per second of
//    the whole import (parse + map + write).            Target: >= 250,000 rows/s.
// 4. With TXDB_MARIADB_INITSTRING: the same write into that catalog, emptied
//    first (every table dropped, the schema created again).
// One run each: the machine is shared. Files given as arguments are imported
// instead of the whole package (a profile of a few files).

#include "bench/ServerReset.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tools/hostmodel/HostRecords.h"
#include "tools/kicad/KicadImport.h"
#include "tools/partlib/Commands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

const char *const SYMBOLS = "/usr/share/kicad/symbols";

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool neverCancel() {
    return false;
}

long totalRows(CTraxDBPath &path) {
    long rows = 0;
    for (const std::string &table : CTraxDBSchema::tableNames())
        if (table != "Library_version")
            rows += runCount(path, "SELECT Count(*) FROM [" + table + "];");
    return rows;
}

std::vector<std::string> symbolFiles() {
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(SYMBOLS))
        if (entry.path().extension() == ".kicad_sym")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Parses and maps every file; returns the seconds of both.
double readAndMap(const std::vector<std::string> &files, kicad::Import &import, bool print) {
    auto start = std::chrono::steady_clock::now();
    const std::vector<kicad::SymbolLibrary> parsed = kicad::readSymbolLibraries(files);
    const double parse = since(start);
    double bytes = 0;
    for (const kicad::SymbolLibrary &file : parsed)
        bytes += static_cast<double>(file.storage->bytes.size());
    double oneThread = 0;
    if (print) {
        start = std::chrono::steady_clock::now();
        kicad::readSymbolLibraries(files, 1);
        oneThread = since(start);
    }
    start = std::chrono::steady_clock::now();
    import = kicad::mapLibraries(parsed, {});
    const double map = since(start);
    if (print) {
        std::printf("parse: %zu files, %.1f MB in %.3f s on %u threads: %.0f MB/s (target >= 100); one thread: %.0f "
                    "MB/s\n",
                    files.size(), bytes / 1e6, parse, std::max(1u, std::thread::hardware_concurrency()),
                    bytes / 1e6 / parse, bytes / 1e6 / oneThread);
        std::printf("map:   %ld symbols onto %ld definitions and %ld parts in %.3f s\n", import.summary.symbols,
                    import.summary.definitions, import.summary.parts, map);
    }
    return parse + map;
}

// Writes the mapped libraries into the database; returns the seconds.
double write(const std::string &initialisation, kicad::Import import, long &rows) {
    std::string init = initialisation;
    {
        CTraxDBPath raw(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
        if (!CTraxDBSchema::isValidPartLibrary(raw.getSession()))
            CTraxDBSchema::createSchema(raw);
    }
    pathHandle_t path = openPath(init.data());
    const long before = totalRows(dbPath(path));
    const auto start = std::chrono::steady_clock::now();
    getLibraryWriter(path)->write(hostmodel::libraryReader(std::move(import.libraries)), neverCancel);
    const double seconds = since(start);
    rows = totalRows(dbPath(path)) - before;
    return seconds;
}

int run(const std::string &directory, std::vector<std::string> files) {
    if (files.empty())
        files = symbolFiles();
    if (files.empty()) {
        std::fprintf(stderr, "bench_kicad_import: no KiCad symbol libraries in %s (install kicad-symbols)\n", SYMBOLS);
        return 1;
    }
    kicad::Import import;
    const double readSeconds = readAndMap(files, import, true);

    long rows = 0;
    const double writeSeconds = write("Provider=SQLite;Data Source=" + directory + "/kicad.db", import, rows);
    std::printf("SQLite:  %ld rows written in %.2f s (%.0f rows/s); whole import %.2f s: %.0f rows/s "
                "(target >= 250000)\n",
                rows, writeSeconds, rows / writeSeconds, readSeconds + writeSeconds,
                rows / (readSeconds + writeSeconds));

    if (const char *mariadb = std::getenv("TXDB_MARIADB_INITSTRING")) {
        resetServer(mariadb);
        const double mariaSeconds = write(mariadb, import, rows);
        std::printf("MariaDB: %ld rows written in %.2f s (%.0f rows/s); whole import %.2f s: %.0f rows/s\n", rows,
                    mariaSeconds, rows / mariaSeconds, readSeconds + mariaSeconds, rows / (readSeconds + mariaSeconds));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    partlib::configureSqlite(); // as partlib does
    char pattern[] = "/tmp/txdb-bench-kicad-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    int status = 1;
    try {
        status = run(pattern, std::vector<std::string>(argv + 1, argv + argc));
    } catch (Exception *e) {
        std::fprintf(stderr, "bench_kicad_import: %s\n", e->getMessage().c_str());
        delete e;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_kicad_import: %s\n", e.what());
    }
    std::filesystem::remove_all(pattern);
    return status;
}
