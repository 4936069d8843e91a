// partlib import-kicad: KiCad symbol libraries read, mapped onto the host
// model and written into a database in one transaction. Everything is read
// and mapped before the database is opened for writing, so a bad file
// leaves the database as it was.

#include "interface/CTraxDBPartLib.h"
#include "tools/hostmodel/HostRecords.h"
#include "tools/kicad/KicadImport.h"
#include "tools/libraryfile/LibraryFile.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/InputFile.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"
#include "tools/partlib/StoredNames.h"
#include "tools/partlib/WriteCommands.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

// Refuses a FILE argument that is missing, a folder, the database itself
// or given twice, and two files that would make one library.
void checkFiles(const std::string &database, const std::vector<std::string> &files, bool oneLibrary) {
    std::map<std::string, std::string> stems;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string &file = files[i];
        checkInputFile(file, database, "KiCad symbol library");
        for (size_t j = 0; j < i; ++j)
            if (sameFile(file, files[j]))
                fail(printable(file) + " is given twice");
        const std::string stem = kicad::libraryNameOf(file);
        const auto known = stems.emplace(stem, file);
        if (!known.second)
            fail(printable(file) + " and " + printable(known.first->second) + " would both make the " +
                 (oneLibrary ? "folder " : "library ") + printable(stem) + ": import them one at a time");
    }
}

// Threads to read the files on (0: one per core). A file that is not a
// regular file (a named pipe) can keep its reader waiting, and a signal
// reaches a waiting reader only when it is the process's one thread.
unsigned readingThreads(const std::vector<std::string> &files) {
    std::error_code error;
    return std::all_of(files.begin(), files.end(),
                       [&](const std::string &file) { return std::filesystem::is_regular_file(file, error); })
               ? 0
               : 1;
}

// The stored names as the mapping takes them: each name with the library
// of every part or definition of that name.
std::multimap<std::string, std::string> namesByLibrary(const libraryfile::StoredNames &stored) {
    std::multimap<std::string, std::string> names;
    for (const auto &definition : stored.definitions)
        names.emplace(definition.first, definition.second);
    for (const auto &part : stored.parts)
        names.emplace(part.first, part.second.library);
    return names;
}

// The checks of an imported library file, on the mapped libraries: names
// unique across them and the database, every part's folder in its tree.
void checkMapped(std::vector<hostmodel::Library> &libraries, const libraryfile::StoredNames &stored) {
    libraryfile::LibraryFile mapped{std::move(libraries), {}, {}};
    libraryfile::checkNames(mapped);
    libraryfile::checkAgainstDatabase(mapped, stored, {}, false);
    libraries = std::move(mapped.libraries);
    if (mapped.problems.empty())
        return;
    // The problems are placed as in a library file ("libraries[2].parts[7].name"):
    // named here by the library instead.
    libraryfile::Problem &first = mapped.problems.front();
    const std::string prefix = "libraries[";
    if (first.place.rfind(prefix, 0) == 0) {
        const size_t index = std::stoul(first.place.substr(prefix.size()));
        if (index < libraries.size())
            first.place = "library " + libraries[index].name;
    }
    fail("The mapped symbols cannot be written: " + printable(libraryfile::summary(mapped.problems)) +
         "; nothing was written");
}

void printSummary(const kicad::ImportSummary &summary, double parseSeconds, double megabytes) {
    std::ostringstream out;
    out << "Read " << summary.files << (summary.files == 1 ? " file" : " files") << " (" << std::fixed
        << std::setprecision(1) << megabytes << " MB) in " << std::setprecision(2) << parseSeconds << " s\n"
        << "Mapped " << summary.symbols << " symbols (" << summary.derived << " derived, " << summary.power
        << " power): " << summary.definitions << " part definitions, " << summary.parts << " parts, " << summary.pins
        << " pins, " << summary.gates << " gates with " << summary.gatePins << " pins, " << summary.swapGroups
        << " swap groups, " << summary.equivalenceGroups << " pin equivalence groups, " << summary.attributes
        << " attributes\n";
    if (!summary.rules.empty())
        out << "Rules applied:\n";
    for (const auto &rule : summary.rules)
        out << "  " << std::setw(7) << rule.second << "  " << rule.first << "\n";
    std::cout << out.str() << std::flush;
}

void runImportKicad(const std::string &database, const std::vector<std::string> &files, const std::string &library) {
    checkFiles(database, files, !library.empty());
    const size_t width = libraryfile::columnWidth("Library", "Name");
    if (DBIMPL::characterCount(library) > width)
        fail("--library " + printable(library) + " does not fit the database's " + std::to_string(width) +
             " characters");

    // Ctrl-C while the files are read and mapped ends the command before
    // anything is written.
    kicad::Import import;
    double parseSeconds = 0, bytes = 0;
    {
        SignalGuard signals;
        const auto started = std::chrono::steady_clock::now();
        std::vector<kicad::SymbolLibrary> parsed;
        try {
            parsed = kicad::readSymbolLibraries(files, readingThreads(files), cancelRequested);
        } catch (const std::exception &error) {
            throwIfCancelled(); // a signal that ended a wait for a file
            fail(printable(error.what()) + "; nothing was written");
        }
        throwIfCancelled();
        for (const kicad::SymbolLibrary &file : parsed)
            bytes += static_cast<double>(file.storage->bytes.size());
        parseSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

        kicad::ImportOptions options;
        options.library = library;
        libraryfile::StoredNames stored;
        if (const std::optional<pathHandle_t> path = openIfPartLibrary(database))
            stored = storedNames(*path);
        options.storedNames = namesByLibrary(stored);
        try {
            import = kicad::mapLibraries(parsed, options);
        } catch (const std::runtime_error &error) {
            fail(printable(error.what()) + "; nothing was written");
        }
        checkMapped(import.libraries, stored);
        throwIfCancelled();
    }

    std::vector<std::string> names;
    for (const hostmodel::Library &mapped : import.libraries)
        names.push_back(mapped.name);
    // Opened (and created) only now that nothing can refuse the files.
    WriteTarget target(database);
    WriteSession session(target, "Importing");
    std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target.path());
    session.run<LibraryAccess>(*writer, hostmodel::libraryReader(std::move(import.libraries)));
    session.summarise("Imported", names);
    printSummary(import.summary, parseSeconds, bytes / 1e6);
}

} // namespace

void addImportKicadCommand(CLI::App &app) {
    struct Arguments {
        std::string database;
        std::vector<std::string> files;
        std::string library;
    };
    auto args = std::make_shared<Arguments>();

    CLI::App *command = app.add_subcommand(
        "import-kicad", "Import KiCad 6 symbol libraries (.kicad_sym) as libraries of part definitions and parts");
    command->footer(
        "Each FILE becomes a library named after the file (Device.kicad_sym: Device) with one folder of the\n"
        "same name; with --library NAME every file goes into that one library, a folder per file. Each symbol\n"
        "becomes a part; each root symbol, and each derived symbol that changes more than its value and\n"
        "description, a part definition with its pins, one gate per unit, swap groups of units that match, pin\n"
        "equivalence groups of stacked and hidden power pins, and attributes (footprint, datasheet, keywords,\n"
        "filters, alternates, and whatever did not fit a column). A symbol name that another imported file or\n"
        "another library of DB holds as well is stored as FILE:NAME. docs/kicad-mapping.md gives every rule;\n"
        "the summary counts how often each was applied.\n"
        "Every file is read and mapped before anything is written; a file that is no KiCad 6 symbol library or\n"
        "is broken is named with its line and column and nothing is written; so is a mapped name that another\n"
        "library of DB holds already. The libraries are written in one transaction (Ctrl-C leaves DB as it\n"
        "was); a library DB holds already is brought up to the files.\n"
        "Exit status: 0 imported, 1 failed, 2 wrong use of the command line, 130 interrupted.");
    addDatabaseArgument(*command, args->database);
    command->add_option("FILE", args->files, "KiCad symbol library files (.kicad_sym)")->required();
    command->add_option("--library", args->library, "Import every file into this one library, a folder per file");
    command->callback([args, command] {
        // An empty name would silently make a library per file instead.
        if (command->count("--library") > 0 && args->library.empty())
            fail("--library needs a library name");
        runImportKicad(args->database, args->files, args->library);
    });
}

} // namespace partlib
