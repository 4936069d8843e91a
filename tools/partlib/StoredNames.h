#pragma once

// The names a database holds across all its libraries, as the checks of an
// import take them.

#include "interface/Handles.h"
#include "tools/libraryfile/LibraryFile.h"

namespace partlib {

// The part-definition and part names the database holds, with their
// libraries (and each part's definition).
libraryfile::StoredNames storedNames(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path);

} // namespace partlib
