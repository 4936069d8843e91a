#pragma once

#include "ctraxdbpartlib/connection/CTraxDBPath.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The texts of one row about to be written, held to their columns' widths
// in characters. A SQLite target keeps a longer text whole (another
// program may have stored one in the source); every other engine would
// refuse it with a message that names neither the library nor the record,
// or cut it, so the row is refused first:
//
//   Library "L", part "P": Name of table Parts holds 60 characters, more
//   than the 50 that MariaDB/MySQL keeps
class TextWidthCheck {
public:
    // The row is named in messages by its library, its kind and name
    // (`part "P"`) and, for the rows of a part definition, that definition's
    // name (none when null).
    TextWidthCheck(CTraxDBPath &path, const std::string &library, const char *table, const char *kind, const char *name,
                   const std::string *definition = nullptr);

    // The value, once it is known to fit the column (a NULL always does).
    const char *operator()(const char *column, const char *value, DBSTATUS status = DBSTATUS_S_OK) const;

private:
    std::string record() const;

    const std::string &library;
    const char *table;
    const char *kind;
    const char *name;
    const std::string *definition;
    const Dialect *checked; // null where the engine keeps every text whole
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
