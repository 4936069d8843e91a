#pragma once

// Queries of a command that are no reader's business (names across the
// whole database, stored lengths), run through the plug-in's own session:
// every column read as a text of up to 255 bytes, NULL as an empty optional.

#include "interface/Handles.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/libraryfile/LibraryFile.h"

#include <string>
#include <vector>

namespace partlib {

// The bytes a column is read with: a longer text arrives cut to this many.
constexpr size_t QUERY_TEXT_WIDTH = 255;

// The rows of `sql`, `columns` (1 to 4) text columns each.
std::vector<std::vector<hostmodel::Text>> queryTexts(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path,
                                                     const std::string &sql, int columns);

// The part-definition and part names the database holds, with their
// libraries (and each part's definition).
libraryfile::StoredNames storedNames(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path);

} // namespace partlib
