#pragma once

// What KiCad does with a .kicad_dbl file, done through unixODBC with the
// file's own connection: every library's table listed whole, each row
// fetched again by its key, and what would go wrong reported: keys empty
// or repeated, rows a key does not give back, references that are not
// Library:Name, symbols missing from the symbol libraries, columns the
// driver does not type as text of a fixed width, and a file that no longer
// matches the database (a table or column gone, a library's view or
// attribute column it does not name).

#include "tools/partlib/KicadDblFile.h"

#include <ostream>
#include <string>
#include <vector>

namespace partlib {

struct DblCheckResult {
    size_t parts = 0, symbolsFound = 0;
    std::vector<std::string> problems;
};

// `symbolFolder` holds the <Library>.kicad_sym files the references name.
// Prints a line per library on `out`, the problems of each (at most
// MAX_SHOWN of a library, and how many more) below it.
DblCheckResult checkDblFile(const DblFile &file, const std::string &symbolFolder, std::ostream &out);

constexpr size_t MAX_SHOWN = 20;

// Whether a reference is Library:Name as KiCad parses one: both parts
// there, no second ':', no control character, no blank at either end.
bool wellFormedReference(const std::string &reference);

} // namespace partlib
