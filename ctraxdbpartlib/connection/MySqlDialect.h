#pragma once

#include "ctraxdbpartlib/connection/Dialect.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// MariaDB and MySQL: tables with the exact comparison rule of the other
// engines, backslashes as ordinary characters, the key read from the
// server's own view, the MySQL form of the upgrade script.
class MySqlDialect : public Dialect {
public:
    // `mariaDb`: MariaDB rather than MySQL (they name the collation apart).
    MySqlDialect(bool mariaDb, char quote) : Dialect(quote), mariaDb(mariaDb) {}

    std::string name() const override { return mariaDb ? "MariaDB" : "MySQL"; }
    std::string adapted(const std::string &sql) const override;
    std::vector<std::string> sessionStatements() const override;
    std::string primaryKeyQuery() const override;
    int upgradeScriptHeading() const override;
    bool upgradeScriptUsesMySqlForm() const override { return true; }

private:
    bool mariaDb;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
