#include "tools/partlib/SameDatabase.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/AccessProvider.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "tools/partlib/Commands.h"

#include <sys/stat.h>

namespace partlib {

namespace {

using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::equalsNoCase;
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::InitString;

InitString parsed(const std::string &database) {
    InitString init;
    InitString::parse(initialisationStringOf(database), init);
    return init;
}

// A database in a file of its own: SQLite, or Access.
bool isFile(const InitString &init) {
    const std::string provider = init.get("Provider");
    return provider.empty() || equalsNoCase(provider, "SQLite") ||
           COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::isAccessProvider(provider);
}

} // namespace

std::string databaseFileOf(const std::string &database) {
    const InitString init = parsed(database);
    return isFile(init) ? init.get("Data Source") : std::string();
}

bool sameFile(const std::string &a, const std::string &b) {
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool sameDatabase(const std::string &a, const std::string &b) {
    const InitString first = parsed(a), second = parsed(b);
    if (isFile(first) || isFile(second))
        return isFile(first) && isFile(second) && sameFile(first.get("Data Source"), second.get("Data Source"));
    for (const char *key : {"Driver", "DSN", "Server", "Port", "Initial Catalog", "Database"})
        if (!equalsNoCase(first.get(key), second.get(key)))
            return false;
    return true;
}

} // namespace partlib
