#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One pin of one pin-equivalence group, read library-wide.
/// LibraryAccess::getAllPinEquivReader and CompletePartAndPartDefAccess::getPinEquivReader
/// hand these records out; no writer reads them.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// Its calls run on the caller's thread and nothing is synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class AllPinEquivAccess : public Access {
public:
    /// Sets `index` to the record's equiv index.
    virtual void getEquivIndex(int &index) = 0;
    /// Sets `partDefID` to the record's part def ID.
    virtual void getPartDefID(int &partDefID) = 0;
    /// Copies the record's pin identifier into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Sets `pinEquivID` to the record's pin equiv ID.
    virtual void getPinEquivID(int &pinEquivID) = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
