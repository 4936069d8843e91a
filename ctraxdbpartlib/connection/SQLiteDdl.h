#pragma once

#include "ctraxdbpartlib/connection/DBProvider.h"

#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The ALTER TABLE forms of the part-library schema that SQLite lacks,
// carried out with SQLite's own means:
//   ADD CONSTRAINT c UNIQUE (cols)        -> CREATE UNIQUE INDEX c
//   ADD CONSTRAINT c PRIMARY KEY (cols)   -> rebuild of the table with the key
//   ADD CONSTRAINT c FOREIGN KEY ...      -> rebuild of the table with the constraint
//   DROP CONSTRAINT c                     -> DROP INDEX c, or a rebuild without c
//   DROP FOREIGN KEY c                    -> rebuild without c
//   DROP INDEX c                          -> DROP INDEX c
// Every other statement (ADD column and DROP COLUMN included) is left to
// the engine.
class SQLiteDdl {
public:
    explicit SQLiteDdl(ProviderConnection &connection) : connection(connection) {}

    // Carries out `sql` when it is one of the forms above (`handled` true);
    // otherwise leaves it and sets `handled` false.
    HRESULT run(const std::string &sql, bool &handled);

    // The statement as SQLite's own shell runs it, for the forms that need no
    // rebuild: ADD CONSTRAINT ... UNIQUE as CREATE UNIQUE INDEX, DROP
    // CONSTRAINT / DROP INDEX of a unique constraint as DROP INDEX. Any other
    // statement is given back as it is.
    static std::string indexForm(const std::string &sql);

private:
    // Runs one native statement / collects the first column of a query
    // (both provided by the SQLite connection).
    HRESULT run(const std::string &sql);
    HRESULT column(const std::string &sql, std::vector<std::string> &values);
    // The CREATE TABLE text the engine holds for the table.
    HRESULT createText(const std::string &table, std::string &create);
    HRESULT rebuild(const std::string &table, const std::string &create);
    // An index on the columns of a foreign key just added (ForeignKeyIndex).
    HRESULT indexForeignKey(const std::string &sql);

    ProviderConnection &connection;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
