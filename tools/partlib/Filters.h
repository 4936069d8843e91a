#pragma once

// Filter trees built from the command line, the host's side of the plug-in's
// library and part filters.

#include "interface/Handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace partlib {

// The comparator codes of a filter node.
enum NodeType : int32_t {
    NODE_AND = 0,
    NODE_OR = 1,
    NODE_EQUAL = 2,
    NODE_NOT_EQUAL = 3,
    NODE_GREATER = 4,
    NODE_GREATER_EQUAL = 5,
    NODE_LESS = 6,
    NODE_LESS_EQUAL = 7,
    NODE_LIKE = 8,
    NODE_NOT_LIKE = 9,
    NODE_IGNORE_CASE = 0x100, // added to =, <>, like or notlike: ASCII letters compare without case
};

// One --where clause, "FIELD OP VALUE".
struct WhereClause {
    std::string field; // a display name of the part filter, or attr:NAME
    int32_t nodeType;
    std::string value; // empty: NULL
};

// Splits a clause at its first operator; a clause without one raises an
// Exception naming the operators.
WhereClause parseWhereClause(const std::string &text);

// The part filter of the clauses: an AND group over them, an OR group when
// any is set; an empty handle for no clause. The tree is checked by the
// plug-in's visitor before it is handed out, so an unknown field or a
// non-integer value of a numeric field raises its Exception here, before any
// statement reaches the database. With ignoreCase, =, <>, like and notlike
// compare without regard to the case of the ASCII letters.
COM_ORVEL_TRAX_PLDAIO_INTERFACE::partFilterCompHandle_t partFilterOf(const std::vector<std::string> &clauses, bool any,
                                                                     bool ignoreCase = false);

// A part filter that finds the part of the name.
COM_ORVEL_TRAX_PLDAIO_INTERFACE::partFilterCompHandle_t partNameFilter(const std::string &name);

// A library filter with one comparison of the name.
COM_ORVEL_TRAX_PLDAIO_INTERFACE::libraryFilterCompHandle_t libraryNameFilter(int32_t nodeType, const std::string &value,
                                                                             bool ignoreCase = false);

// The help text of --where: syntax, operators and field names.
std::string whereHelp();

} // namespace partlib
