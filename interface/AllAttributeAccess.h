#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One attribute, read library-wide with the ID of its part definition.
/// LibraryAccess::getAllAttributeReader hands these records out; no writer reads them.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone; it holds no
/// connection.
/// Its calls run on the caller's thread and nothing is synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class AllAttributeAccess : public Access {
public:
    /// Copies the record's name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    /// Copies the record's value into `buffer` of `size` bytes.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getValue(TCHAR *buffer, size_t size) = 0;
    /// Sets `usageType` to the record's type.
    virtual void getType(int &usageType) = 0;
    /// Sets `partDefID` to the record's part def ID.
    virtual void getPartDefID(int &partDefID) = 0;
    /// Sets `readOnly` to the record's read only.
    virtual void getReadOnly(int &readOnly) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
