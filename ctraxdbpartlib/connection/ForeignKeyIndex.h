#pragma once

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The index that a foreign key needs on engines that do not make one with
// the key (SQLite, PostgreSQL): without it every lookup of a definition's,
// gate's or group's rows, and every check of a deleted parent row, scans
// the whole child table, so that reading or writing a library takes time
// that grows with the size of the whole database.
class ForeignKeyIndex {
public:
    // For "ALTER TABLE t ADD CONSTRAINT c FOREIGN KEY (columns) ...": the
    // statement that indexes those columns, named c followed by "Index",
    // with identifiers quoted by `open` and `close`; `name`, when given,
    // gets the index's name. Empty for any other statement.
    static std::string statementFor(const std::string &sql, char open, char close, std::string *name = nullptr);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
