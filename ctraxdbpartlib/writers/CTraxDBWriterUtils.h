#pragma once

// Look-ups the writers share: a folder's key by its chain of names, a key
// by a parent key and a name, the pin a gate or swap gate refers to, and
// the texts of the items being written.

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "interface/Handles.h"
#include "interface/HierarchyAccess.h"

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The database key of a folder given by its record: each folder of its
// chain of parents is looked up by name under the one above it (the lowest
// key where names repeat). A name that is not found raises "Failed to find
// item ... in the database" with that name; a chain of parents that loops
// raises too.
int findHierarchyID(pathHandle_t path, hierarchyAccessHandle_t folder, int libraryID);

// The first [ID] of a query with an integer and a text parameter; -1 for
// no row.
int32_t lookupKey(CTraxDBPath &path, const std::string &sql, int32_t first, const std::string &name);

// The key of the definition's pin with this identifier for a gate or swap
// gate: a pin waiting in the buffers, else the stored one. When `create`
// is set and there is none, a pin with only its identifier is buffered.
// No pin raises `notFoundFormat` with the identifier.
int32_t resolvePinKey(CTraxDBPath &path, int32_t partDefId, const std::string &identifier, bool create,
                      const char *notFoundFormat);

// An item's whole text through a getter of width N that fills a buffer:
// Getter(buffer, size).
template <size_t N, class Getter> std::string textOf(Getter getter) {
    TextBuffer<N> buffer = {};
    getter(buffer, sizeof buffer);
    return buffer;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
