#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One pin of a part definition.
/// PartDefAccess::getPinDataReader and CompletePartAndPartDefAccess::getPinDataReader
/// hand these records out; the writer of getLibraryWriter reads them from a source
/// definition's getPinDataReader.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone; it holds no
/// connection.
/// A host implements it to hand its own records to a writer.
/// Its calls run on the caller's thread and nothing is synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class PinDataAccess : public Access {
public:
    /// Copies the record's pin identifier into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// The same as getPinIdentifier.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPinNumber(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's name into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's label into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getLabel(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Sets `isNull` when the record's position is NULL, else `position` to it.
    virtual void getPosition(bool &isNull, int &position) = 0;
    /// Sets `isNull` when the record's type is NULL, else `type` to it.
    virtual void getType(bool &isNull, int &type) = 0;
    /// Sets `isNull` when the record's loading is NULL, else `loading` to it.
    virtual void getLoading(bool &isNull, int &loading) = 0;
    /// Copies the record's signal into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getSignal(bool &isNull, TCHAR *buffer, size_t size) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
