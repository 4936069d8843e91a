#pragma once

// A stored library read into the host model for the import's comparison,
// through the readers the export uses: the folder tree from the
// hierarchy-only reader, the definitions with their details from the
// library-wide readers, the parts with their folder paths and definition
// names. Items and lists come in the order and form the export writes them
// (pins by identifier, attributes by name, a gate without pins as an empty
// list), so a library read back from its own export compares equal; what
// the export refuses (sibling folders of one name, a part of another
// library's folder or definition) is refused here as well.

#include "tools/hostmodel/HostLibrary.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class LibraryAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace partlib {

hostmodel::Library readStoredLibrary(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library);

} // namespace partlib
