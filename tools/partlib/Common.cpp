#include "tools/partlib/Commands.h"

#include "interface/Exception.h"

#include <iostream>

namespace partlib {

std::string initialisationStringOf(const std::string &database) {
    if (database.find('=') != std::string::npos)
        return database;
    return "Provider=SQLite;Data Source=" + database;
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
