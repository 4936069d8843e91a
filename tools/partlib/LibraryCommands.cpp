// partlib library remove and library rename: one library of a database
// changed as a whole, through the plug-in, in one transaction.

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryRemoval.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/Suggestions.h"
#include "tools/partlib/WriteTarget.h"

#include <iostream>
#include <memory>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector;

const char *const EXIT_STATUS = "Exit status: 0 done, 1 refused or failed, 2 wrong use of the command line, "
                                "130 interrupted.";

void runRemove(const std::string &database, const std::vector<std::string> &names) {
    refuseReadOnlyDatabase(database);
    const LibraryRemoval removal(openExistingDatabase(database), names);
    WriteTarget target(database);
    removal.run(target, "Removed");
}

// A library name that the Library table can hold.
void refuseUnstorableName(const std::string &name) {
    constexpr size_t WIDTH = DBIMPL::columnWidth("Library", "Name");
    if (DBIMPL::trimmed(name).empty())
        usageError("NEW must not be empty or blank");
    if (DBIMPL::characterCount(name) > WIDTH)
        fail("The name " + printable(name) + " is " + std::to_string(DBIMPL::characterCount(name)) +
             " characters long; a library name holds at most " + std::to_string(WIDTH) + ". Nothing was renamed.");
}

void runRename(const std::string &database, const std::string &from, const std::string &to) {
    refuseReadOnlyDatabase(database);
    refuseUnstorableName(to);
    CTraxDBInspector inspector(openExistingDatabase(database));
    if (from == to) {
        std::cout << "Library " << printable(from) << " has that name already: nothing changed" << std::endl;
        return;
    }
    switch (inspector.renameLibrary(from, to)) {
    case CTraxDBInspector::Rename::NoSuchLibrary:
        fail(inspector.displayName() + " holds no library named " + printable(from) +
             didYouMean(from, inspector.libraryNames()) + ". Nothing was renamed.");
    case CTraxDBInspector::Rename::NameTaken:
        fail("Another library of " + inspector.displayName() + " is named " + printable(to) +
             " already (library names are unique in a database). Nothing was renamed.");
    case CTraxDBInspector::Rename::Renamed:
        std::cout << "Renamed library " << printable(from) << " to " << printable(to) << std::endl;
        break;
    }
}

} // namespace

void addLibraryCommands(CLI::App &app) {
    struct Arguments {
        std::string database;
        std::vector<std::string> libraries;
        std::string library, name;
    };
    auto args = std::make_shared<Arguments>();

    CLI::App *library = app.add_subcommand("library", "Remove or rename libraries of a database");
    library->require_subcommand(1);
    library->footer(EXIT_STATUS);

    CLI::App *remove = library->add_subcommand(
        "remove", "Remove libraries with their folders, part definitions and parts, in one transaction");
    remove->footer("The libraries go whole, or (after a failure, or Ctrl-C) the database is left as it was. A library\n"
                   "whose part definitions parts of another library use is refused, naming such a part; remove\n"
                   "that library in the same command, or its parts first. The summary counts the rows removed.\n" +
                   std::string(EXIT_STATUS));
    addDatabaseArgument(*remove, args->database);
    remove->add_option("LIBRARY", args->libraries, "Names of the libraries to remove")->required();
    remove->callback([args] { runRemove(args->database, args->libraries); });

    CLI::App *rename = library->add_subcommand("rename", "Give a library another name");
    rename->footer("A name another library has is refused: library names are unique in a database.\n" +
                   std::string(EXIT_STATUS));
    addDatabaseArgument(*rename, args->database);
    rename->add_option("LIBRARY", args->library, "The library's name")->required();
    rename->add_option("NEW", args->name, "Its new name")->required();
    rename->callback([args] { runRename(args->database, args->library, args->name); });
}

} // namespace partlib
