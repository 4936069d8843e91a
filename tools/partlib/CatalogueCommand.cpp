// partlib catalogue: libraries of a database written as one HTML page with
// a drawing of every part definition.

#include "tools/partlib/Catalogue.h"
#include "tools/partlib/CheckedOutput.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

struct CatalogueArguments {
    std::string database;
    std::vector<std::string> libraries;
    std::optional<std::string> output;
    std::optional<std::string> title;
};

// "Part catalogue of demo.db": the file's name, never an initialisation
// string, which may hold a password.
std::string defaultTitle(const std::string &database) {
    const std::string file = databaseFileOf(database);
    if (file.empty())
        return "Part catalogue";
    return "Part catalogue of " + std::filesystem::path(file).filename().string();
}

void runCatalogue(const CatalogueArguments &args) {
    SignalGuard signals;
    pathHandle_t path = openExistingDatabase(args.database);
    OutputFile out(outputTarget(args.output, "-o"), {databaseFileOf(args.database)});
    CatalogueOptions options;
    options.libraries = args.libraries;
    options.title = args.title.value_or(defaultTitle(args.database));
    options.progress = throwIfCancelled;
    out.fill([&](std::ostream &stream) { writeCatalogue(path, stream, options); });
    throwIfCancelled();
    out.commit();
}

} // namespace

void addCatalogueCommand(CLI::App &app) {
    auto args = std::make_shared<CatalogueArguments>();
    CLI::App *command = app.add_subcommand(
        "catalogue", "Write libraries as one HTML page to look at: folders, a search, and a drawing of every part");
    command->footer(
        "The page is one file that needs nothing else (no network, no fonts, no scripts from outside) and\n"
        "opens in any current browser. It shows the folder tree of each library with its part counts and a\n"
        "search box that filters the parts by name, number, description and attribute values as you type.\n"
        "A part opens the section of its definition: its fields, attributes, parts and pin table, and a\n"
        "drawing of each gate: inputs on the left, outputs on the right, power pins at the top (ground at\n"
        "the bottom), pins in their stored order on each side, a mark for each pin type, hidden pins in a\n"
        "dashed box apart, gate-swap groups and pin-equivalence groups marked by colour.\n"
        "Links can be shared: FILE.html#part=NAME opens a part, FILE.html#search=TEXT a search\n"
        "(NAME and TEXT as in a URL, %-encoded where needed). FILE is replaced only when the\n"
        "catalogue is complete.");
    addDatabaseArgument(*command, args->database);
    command->add_option("LIBRARY", args->libraries, "Names of the libraries to show (default: every library)");
    addOutputOption(*command, args->output, "the catalogue succeeds");
    command->add_option("--title", args->title, "The page's title (default: Part catalogue of DB's file name)")
        ->type_name("TEXT");
    command->callback([args] { runCatalogue(*args); });
}

} // namespace partlib
