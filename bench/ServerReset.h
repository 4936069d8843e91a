#pragma once

// Gives a benchmark an empty server database: every table dropped, the
// schema created again.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"

#include <string>

inline void resetServer(const std::string &serverInit) {
    using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
    std::string init = serverInit;
    CTraxDBPath path(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    path.execute("SET FOREIGN_KEY_CHECKS=0;");
    for (const std::string &table : CTraxDBSchema::presentTables(path.getSession()))
        path.execute("DROP TABLE [" + table + "];");
    path.execute("SET FOREIGN_KEY_CHECKS=1;");
    CTraxDBSchema::createSchema(path);
}
