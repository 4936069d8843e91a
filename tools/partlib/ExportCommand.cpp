// partlib export: libraries of a database written as one library file.

#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryExport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

// Libraries with fewer items than this export too fast to need a bar.
constexpr long PROGRESS_THRESHOLD = 2000;

// A progress bar on standard error, redrawn when its percentage changes.
class ProgressBar {
public:
    void operator()(const std::string &library, long done, long total) {
        if (total < PROGRESS_THRESHOLD)
            return;
        const int percent = static_cast<int>(done * 100 / total);
        if (percent == shown && library == shownLibrary)
            return;
        shown = percent;
        shownLibrary = library;
        const int filled = percent * WIDTH / 100;
        std::cerr << "\rExporting " << library << " [" << std::string(filled, '#') << std::string(WIDTH - filled, '.')
                  << "] " << percent << "% (" << done << "/" << total << ")";
        if (done == total)
            std::cerr << "\n";
        std::cerr << std::flush;
    }

private:
    static constexpr int WIDTH = 30;
    int shown = -1;
    std::string shownLibrary;
};

// Writes through a temporary file next to `target` that replaces it only
// when the export has succeeded.
void exportToFile(const pathHandle_t &path, const std::string &target, const ExportOptions &options) {
    std::string temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        fail("Cannot create " + target + ": " + std::strerror(errno));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
    ::close(descriptor);
    try {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        exportLibraries(path, out, options);
        out.close();
        if (!out)
            fail("Cannot write " + target);
        if (std::rename(temporary.c_str(), target.c_str()) != 0)
            fail("Cannot replace " + target + ": " + std::strerror(errno));
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
}

void runExport(const std::string &database, const std::vector<std::string> &libraries, const std::string &output) {
    pathHandle_t path = openExistingDatabase(database);

    ExportOptions options;
    options.libraries = libraries;
    // The bar goes to the terminal only, and not over JSON on that terminal.
    if (::isatty(STDERR_FILENO) && (!output.empty() || !::isatty(STDOUT_FILENO)))
        options.progress = ProgressBar();
    if (output.empty()) {
        exportLibraries(path, std::cout, options);
        std::cout.flush();
    } else {
        exportToFile(path, output, options);
    }
}

} // namespace

void addExportCommand(CLI::App &app) {
    struct Arguments {
        std::string database;
        std::vector<std::string> libraries;
        std::string output;
    };
    auto args = std::make_shared<Arguments>();

    CLI::App *command = app.add_subcommand(
        "export", "Write libraries with their folders, part definitions and parts to a JSON library file");
    command->footer("The library file format is described in docs/library-format.md. The same database always gives\n"
                    "the same bytes, so library files can be kept under version control and compared with diff.\n"
                    "A progress bar is shown on the terminal for large libraries.");
    addDatabaseArgument(*command, args->database);
    command->add_option("LIBRARY", args->libraries, "Names of the libraries to export (default: every library)");
    command
        ->add_option("-o,--output", args->output,
                     "Write to FILE instead of standard output; FILE is replaced only when the export succeeds")
        ->type_name("FILE");
    command->callback([args] { runExport(args->database, args->libraries, args->output); });
}

} // namespace partlib
