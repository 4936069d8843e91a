#pragma once

#include "ctraxdbpartlib/connection/Dialect.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// PostgreSQL: NULL sorted first as on the other engines, an index made
// for each foreign key, and the databases of the whole server listed as its
// catalogs.
class PostgreSqlDialect : public Dialect {
public:
    explicit PostgreSqlDialect(char quote) : Dialect(quote) {}

    std::string name() const override { return "PostgreSQL"; }
    std::string adapted(const std::string &sql) const override;
    std::string catalogQuery() const override;
    bool indexesForeignKeys() const override { return false; }
    // Autovacuum gathers them a minute or more after the write.
    std::string statisticsStatement(const std::string &table) const override { return "ANALYZE [" + table + "];"; }
    // The schema's columns take the database's deterministic collation.
    bool comparesTextsExactly() const override { return true; }
    std::string indexNamesQuery() const override {
        // The schema of the part-library tables, as the search path finds them.
        return "SELECT i.indexname FROM pg_indexes i, pg_class c, pg_namespace n WHERE c.oid = "
               "to_regclass('\"Library_version\"') AND n.oid = c.relnamespace AND i.schemaname = n.nspname";
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
