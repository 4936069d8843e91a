#pragma once

#include "ctraxdbpartlib/connection/Dialect.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// SQLite: the scripts in the form the sqlite3 shell runs them, with the
// constraints written as SQLite holds them (the provider carries out the
// ALTER TABLE forms that SQLite lacks, see SQLiteDdl).
class SQLiteDialect : public Dialect {
public:
    SQLiteDialect() : Dialect('"') {}

    std::string name() const override { return "SQLite"; }
    int upgradeScriptHeading() const override { return 0; }
    bool keepsTextsBeyondWidth() const override { return true; }
    // The schema's texts compare by SQLite's binary collation.
    bool comparesTextsExactly() const override { return true; }
    // The statements run on an empty in-memory database, and the schema
    // that SQLite then holds: tables with their keys and constraints, then
    // the unique indexes.
    std::vector<std::string> scriptCreationStatements(const std::vector<std::string> &statements) const override;
    std::string scriptStatement(const std::string &statement) const override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
