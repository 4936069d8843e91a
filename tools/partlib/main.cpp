#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/Exception.h"
#include "tools/partlib/CheckedOutput.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/Signals.h"

#include <cstdlib>
#include <exception>
#include <iostream>

namespace {

const char *const DESCRIPTION =
    "partlib: the command-line host of CTraxDBPartLib. It creates, upgrades, inspects, reports,\n"
    "exports and copies part-library databases (libraries, folder trees, parts and part\n"
    "definitions) through the part-library database plug-in, writes HTML catalogues of them, and\n"
    "imports KiCad symbol libraries.";

const char *const FOOTER =
    "A DB argument is either the path of a SQLite file (parts.db), used as\n"
    "\"Provider=SQLite;Data Source=parts.db\", or a full initialisation string, e.g.\n"
    "\"Provider=ODBC;Driver={MariaDB Unicode};Server=127.0.0.1;Port=3306;Initial Catalog=parts;"
    "User ID=u;Password=p\"\n"
    "or \"Provider=ODBC;DSN=name\". A value containing '=' that names no existing file is taken as an\n"
    "initialisation string. Password=? in it asks for the password on the terminal (or takes\n"
    "TXDB_PASSWORD), so that it never shows in the list of processes.\n"
    "Run 'partlib <command> --help' for the options of a command.\n"
    "Environment: TXDBLOGGER=LEVEL switches the plug-in's log file on (LEVEL one of ALL, FINEST,\n"
    "FINER, FINE, CONFIG, INFO, WARNING, SEVERE, OFF); TXDB_PASSWORD answers Password=?;\n"
    "TXDB_AUTOTEST upgrades schemas without asking; TXDB_DEVCHECKS turns on the writers' developer\n"
    "checks.\n"
    "Exit status: 0 done, 1 refused or failed, 2 wrong use of the command line (an unknown option\n"
    "or command, a missing or wrong argument), 128 + N ended by signal N (130 for Ctrl-C).";

// TXDBLOGGER with a value that names no level switches logging on with
// nothing written: say so once.
void warnAboutLogLevel() {
    using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
    const char *value = std::getenv("TXDBLOGGER");
    if (!value || !*value || CLogger::levelFromName(value) != LOG_UNKNOWN)
        return;
    std::string names;
    for (LogLevel level = LOG_ALL; level <= LOG_OFF; ++level)
        names += std::string(names.empty() ? "" : ", ") + CLogger::levelName(level);
    std::cerr << "partlib: TXDBLOGGER=" << partlib::printable(value)
              << " is not a level name, so nothing is logged; use one of " << names << std::endl;
}

// The status of a command that a signal ended: 128 + its number.
int exitStatus(int status) {
    return partlib::caughtSignal() ? 128 + partlib::caughtSignal() : status;
}

// The status of a command line that cannot be run (an unknown option or
// command, a missing or wrong argument): one status for all of them, not
// the parser's own code of each error.
const int USAGE_STATUS = 2;

// The options of partlib itself, shown in every command's help (after the
// footer of partlib's own, which CLI11 shows there too), since a command
// accepts them as well.
const char *const COMMON_OPTIONS = "Options of partlib itself, accepted by every command:\n"
                                   "  --yes    Answer Yes to every question (creating or upgrading a schema, "
                                   "writing a script)";

} // namespace

int main(int argc, char **argv) {
    partlib::configureSqlite();
    partlib::useCheckedStandardOutput();
    warnAboutLogLevel();
    hostCallbacks().unaskedHint = "--yes answers Yes";
    CLI::App app(DESCRIPTION, "partlib");
    app.footer(FOOTER);
    app.set_version_flag("--version", "partlib " PARTLIB_VERSION);
    // Options of the application are accepted after a command name as well.
    app.fallthrough();
    app.add_flag_callback(
        "--yes", [] { hostCallbacks().defaultAnswer = IDYES; },
        "Answer Yes to every question (creating or upgrading a schema, writing a script)");
    partlib::addDatabaseCommands(app);
    partlib::addExportCommand(app);
    partlib::addCatalogueCommand(app);
    partlib::addCopyCommand(app);
    partlib::addImportCommand(app);
    partlib::addLibraryCommands(app);
    partlib::addImportKicadCommand(app);
    partlib::addKicadDblCommand(app);
    partlib::addReadCommands(app);
    partlib::addPartCommands(app);
    partlib::addFolderCommands(app);
    partlib::addDefinitionCommands(app);
    for (CLI::App *command : app.get_subcommands({}))
        command->footer(command->get_footer() + (command->get_footer().empty() ? "" : "\n\n") + COMMON_OPTIONS);

    try {
        app.parse(argc, argv);
        if (app.get_subcommands().empty()) {
            std::cerr << app.help();
            return USAGE_STATUS;
        }
        partlib::finishStandardOutput();
    } catch (const CLI::ParseError &e) {
        int status = app.exit(e); // --help and --version print here
        // A command's own status (CLI::RuntimeError) stays; the parser's go to one.
        if (status != 0 && !dynamic_cast<const CLI::RuntimeError *>(&e))
            status = USAGE_STATUS;
        try {
            partlib::finishStandardOutput();
        } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
            return partlib::reportFailure(failure);
        }
        return status;
    } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
        return exitStatus(partlib::reportFailure(failure));
    } catch (const std::exception &e) {
        std::cerr << "partlib: " << e.what() << std::endl;
        return 1;
    }
    return exitStatus(0);
}
