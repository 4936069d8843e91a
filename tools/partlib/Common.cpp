#include "tools/partlib/Commands.h"
#include "tools/partlib/Password.h"
#include "tools/partlib/SameDatabase.h"

#include "ctraxdbpartlib/connection/AccessProvider.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"

#include <sqlite3.h>

#include <filesystem>
#include <iostream>

namespace partlib {

namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

void configureSqlite() {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
}

std::string initialisationStringOf(const std::string &database) {
    std::error_code ignored;
    if (database.find('=') != std::string::npos && !std::filesystem::exists(database, ignored))
        return database;
    const std::string access = DBIMPL::accessProviderFor(database);
    // Quoted where needed, so that blanks, ';' and '=' stay part of the path.
    return DBIMPL::InitString{{{"Provider", access.empty() ? "SQLite" : access}, {"Data Source", database}}}.toString(
        true);
}

void fail(const std::string &text) {
    throw new COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception(text);
}

void usageError(const std::string &text) {
    throw CLI::ValidationError(text);
}

std::string databaseName(const std::string &database, bool startsSentence) {
    if (initialisationStringOf(database) != database)
        return database;
    return startsSentence ? "The database" : "the database";
}

std::string existingDatabase(const std::string &database) {
    const std::string file = databaseFileOf(database);
    std::error_code ignored;
    if (!file.empty() && !std::filesystem::exists(file, ignored))
        fail("No such database file: " + file);
    return initialisationStringOf(database);
}

void refuseReadOnlyDatabase(const std::string &database) {
    DBIMPL::InitString init;
    DBIMPL::InitString::parse(initialisationStringOf(database), init);
    if (DBIMPL::isAccessProvider(init.get("Provider")))
        fail(DBIMPL::accessWriteRefusal(init.get("Data Source")));
}

COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t openExistingDatabase(const std::string &database) {
    using COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception;
    std::string initialisation = existingDatabase(database);
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::doPromptValidationMsg(false);
    try {
        return COM_ORVEL_TRAX_PLDAIO_INTERFACE::openPath(initialisation.data());
    } catch (Exception *failure) { // refused without a question: say why
        if (!failure->getMessage().empty())
            throw;
        delete failure;
        fail(databaseName(database, true) + " holds no part library of the current version (see partlib info)");
    }
}

CLI::Option *addDatabaseArgument(CLI::App &command, std::string &database) {
    return askingForPassword(
               command.add_option("DB", database,
                                  "SQLite file path, Access file (.mdb, .accdb) or full initialisation string"))
        ->required();
}

int reportFailure(COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
    if (failure && !failure->getMessage().empty())
        std::cerr << failure->getMessage() << std::endl;
    delete failure;
    return 1;
}

} // namespace partlib
