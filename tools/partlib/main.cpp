#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/Exception.h"
#include "tools/partlib/Commands.h"

#include <exception>
#include <iostream>

namespace {

const char *const DESCRIPTION =
    "partlib: the command-line host of CTraxDBPartLib. It creates, upgrades, inspects, reports,\n"
    "exports and copies part-library databases (libraries, folder trees, parts and part\n"
    "definitions) through the part-library database plug-in.";

const char *const FOOTER =
    "A DB argument is either the path of a SQLite file (parts.db), used as\n"
    "\"Provider=SQLite;Data Source=parts.db\", or a full initialisation string, e.g.\n"
    "\"Provider=ODBC;Driver={MariaDB Unicode};Server=127.0.0.1;Port=3306;Initial Catalog=parts;"
    "User ID=u;Password=p\"\n"
    "or \"Provider=ODBC;DSN=name\". Any value containing '=' is taken as an initialisation string.\n"
    "Run 'partlib <command> --help' for the options of a command.\n"
    "Environment: TXDBLOGGER switches the plug-in's log file on; TXDB_AUTOTEST upgrades schemas\n"
    "without asking; TXDB_DEVCHECKS turns on the writers' developer checks.";

} // namespace

int main(int argc, char **argv) {
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
    partlib::addCopyCommand(app);
    partlib::addReadCommands(app);

    try {
        app.parse(argc, argv);
        if (app.get_subcommands().empty()) {
            std::cerr << app.help();
            return 1;
        }
    } catch (const CLI::ParseError &e) {
        return app.exit(e);
    } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
        return partlib::reportFailure(failure);
    } catch (const std::exception &e) {
        std::cerr << "partlib: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
