#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A select whose rows can be changed: a plain list of columns (or *) from
// one table, optionally filtered and ordered.
struct ChangeableSelect {
    std::string table;              // the table's name
    std::string tableText;          // its name as the select writes it, quoted or not
    size_t fromOffset = 0;          // where FROM starts, so that key columns can be added to the list
    std::vector<std::string> items; // the last part of each item of the list, or *
};

// Parses `sql` into `select`; false for a select whose rows cannot be
// changed. The changes name the table as the select writes it, so that they
// name the same table where unquoted names fold.
bool parseChangeableSelect(const std::string &sql, ChangeableSelect &select);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
