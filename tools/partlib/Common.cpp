#include "tools/partlib/Commands.h"

#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"

#include <filesystem>
#include <iostream>

namespace partlib {

std::string initialisationStringOf(const std::string &database) {
    if (database.find('=') != std::string::npos)
        return database;
    return "Provider=SQLite;Data Source=" + database;
}

void fail(const std::string &text) {
    throw new COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception(text);
}

std::string databaseName(const std::string &database) {
    return initialisationStringOf(database) == database ? std::string("The database") : database;
}

std::string existingDatabase(const std::string &database) {
    std::string initialisation = initialisationStringOf(database);
    if (initialisation != database && !std::filesystem::exists(database))
        fail("No such database file: " + database);
    return initialisation;
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
        fail(databaseName(database) + " holds no part library of the current version (see partlib info)");
    }
}

CLI::Option *addDatabaseArgument(CLI::App &command, std::string &database) {
    return command.add_option("DB", database, "SQLite file path or full initialisation string")->required();
}

int reportFailure(COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *failure) {
    if (failure && !failure->getMessage().empty())
        std::cerr << failure->getMessage() << std::endl;
    delete failure;
    return 1;
}

} // namespace partlib
