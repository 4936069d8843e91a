// partlib export: libraries of a database written as one library file.

#include "ctraxdbpartlib/TextUtil.h"
#include "interface/CTraxDBPartLib.h"
#include "tools/partlib/CheckedOutput.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryExport.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"

#include <iostream>
#include <memory>
#include <optional>
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

void runExport(const std::string &database, const std::vector<std::string> &libraries,
               const std::optional<std::string> &output, bool strict) {
    SignalGuard signals;
    pathHandle_t path = openExistingDatabase(database);
    OutputFile out(outputTarget(output, "-o"), {databaseFileOf(database)});

    // Each item done is a moment to stop at after Ctrl-C; the bar goes to
    // the terminal only, and not over JSON on that terminal.
    ExportOptions options;
    options.libraries = libraries;
    ExportProgress bar;
    if (::isatty(STDERR_FILENO) && (!out.isStandardOutput() || !::isatty(STDOUT_FILENO)))
        bar = ProgressBar();
    options.progress = [bar](const std::string &library, long done, long total) {
        throwIfCancelled();
        if (bar)
            bar(library, done, total);
    };
    // What the export writes without a warning, an import takes.
    options.longText = [strict](const std::string &message) {
        if (strict)
            fail(DBIMPL::printable(message) + " (--strict exports no such text)");
        std::cerr << "Warning: " << DBIMPL::printable(message)
                  << ": exported whole, but an import refuses it, and so does a copy to a server\n";
    };
    out.fill([&](std::ostream &stream) { exportLibraries(path, stream, options); });
    throwIfCancelled();
    out.commit();
}

} // namespace

void addExportCommand(CLI::App &app) {
    struct Arguments {
        std::string database;
        std::vector<std::string> libraries;
        std::optional<std::string> output;
        bool strict = false;
    };
    auto args = std::make_shared<Arguments>();

    CLI::App *command = app.add_subcommand(
        "export", "Write libraries with their folders, part definitions and parts to a JSON library file");
    command->footer("The library file format is described in docs/library-format.md. The same database always gives\n"
                    "the same bytes, so library files can be kept under version control and compared with diff.\n"
                    "A progress bar is shown on the terminal for large libraries. Every text is exported whole. A\n"
                    "text stored longer than its column (its width counts characters) is exported with a warning\n"
                    "naming it, since an import refuses it; --strict stops the export there instead, leaving an\n"
                    "-o FILE as it was.");
    addDatabaseArgument(*command, args->database);
    command->add_option("LIBRARY", args->libraries, "Names of the libraries to export (default: every library)");
    addOutputOption(*command, args->output, "the export succeeds");
    command->add_flag("--strict", args->strict,
                      "Stop at a text longer than its column instead of exporting it with a warning");
    command->callback([args] { runExport(args->database, args->libraries, args->output, args->strict); });
}

} // namespace partlib
