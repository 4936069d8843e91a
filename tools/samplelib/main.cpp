// txdb-samplelib: fills a part-library database with a sample library.
//
//   txdb-samplelib DB [--parts N] [--name NAME] [--first-id N]
//
// DB is a SQLite file or a full initialisation string; the database must
// already hold the part-library schema (partlib init).

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "interface/Exception.h"
#include "tools/samplelib/SampleLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

int main(int argc, char **argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help")) {
        std::fprintf(stderr,
                     "usage: %s DB [--parts N] [--name NAME] [--first-id N]\n"
                     "Writes a sample part library into DB (a SQLite file or an initialisation string)\n"
                     "that already holds the part-library tables.\n",
                     argv[0]);
        return argc < 2 ? 2 : 0;
    }
    std::string db = argv[1];
    if (db.find('=') == std::string::npos)
        db = "Provider=SQLite;Data Source=" + db;
    SampleOptions options;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string flag = argv[i];
        if (flag == "--parts")
            options.parts = std::atoi(argv[i + 1]);
        else if (flag == "--name")
            options.libraryName = argv[i + 1];
        else if (flag == "--first-id")
            options.firstId = std::atoi(argv[i + 1]);
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    try {
        CTraxDBPath path(db.c_str());
        SampleCounts counts = writeSampleLibrary(path, options);
        std::printf("library %s: %d folders, %d part definitions, %d pins, %d gates, %d parts\n",
                    options.libraryName.c_str(), counts.folders, counts.partDefinitions, counts.pins, counts.gates,
                    counts.parts);
    } catch (Exception *e) {
        if (!e->getMessage().empty())
            std::fprintf(stderr, "%s\n", e->getMessage().c_str());
        delete e;
        return 1;
    }
    return 0;
}
