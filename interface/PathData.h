#pragma once

#include "interface/Access.h"
#include "interface/Path.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One database (catalog) that a data source offers.
/// The reader of getPathDataReader hands these records out, in std::shared_ptr; that
/// reader's getCount answers 0. A record shares the source's data source, so it stays
/// usable after its reader is gone. Open its catalog by passing
/// getPathInitialisationStr to openPath(TCHAR *).
/// Its calls run on the caller's thread and nothing is synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class PathData : public Access {
public:
    /// Copies the catalog's name into `buffer` of `size` bytes (at least 129).
    /// @throws Exception* "Invalid NULL buffer passed" (32964), "Buffer too
    ///         small" (32963) below 129 bytes.
    virtual void getPathStr(TCHAR *buffer, size_t size) = 0;
    /// Copies the initialisation string that opens this catalog with
    /// openPath(TCHAR *), its password included, into `buffer` of `size` bytes.
    /// @throws Exception* 32964 for a null buffer, 32963 when the buffer cannot
    ///         hold the whole string, or the provider's message.
    virtual void getPathInitialisationStr(TCHAR *buffer, size_t size) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
