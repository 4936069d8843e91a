#pragma once

// A query over the rows that belong to one parent row: its first parameter
// is the key of a part definition, a gate, a swap group, a swap gate or a
// pin-equivalence group, in a condition "<column> = ?" on a column that
// refers to that parent. The rows of such a query can be read for every
// parent of a library at once: the library-wide form selects the parent
// key first and then the same list, for all parents in the library,
// ordered by parent and then in the query's own order (a count counts per
// parent). Its one parameter is the library's key.

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

enum class ParentKind { Definition, Gate, Swap, SwapGate, Group };
constexpr int PARENT_KINDS = 5;

struct ParentQuery {
    ParentKind parent = ParentKind::Definition;
    std::string table; // of the parent column, as the schema names it
    // True when the whole query is a plain per-parent query: the parent
    // condition is its only parameter and nothing but an order follows it.
    bool libraryWidePossible = false;
    bool count = false;      // the query is "SELECT Count(*) ..."
    std::string libraryWide; // the library-wide form, in the query's quoting; empty when not possible
    // The query from FROM up to its parent condition: a count and a query of
    // rows with the same one count those rows.
    std::string rowsCounted;
};

// Parses `sql`, quoted with the engine's `open` and `close`; false when its
// first parameter is no parent condition.
bool parseParentQuery(const std::string &sql, char open, char close, ParentQuery &query);

// A query whose first column gives every parent of the kind in a library
// and its second the part definition the parent belongs to; one parameter,
// the library's key. In the engine's quoting.
std::string parentsQuery(ParentKind kind, char open, char close);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
