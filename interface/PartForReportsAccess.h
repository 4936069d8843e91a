#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// A part as a report lists it, with its component and folder names.
/// LibraryAccess::getPartReaderForReports hands these records out; no writer reads them.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// getPartHierarchy, and the first call of getHierrachyFullName, query the database
/// on the caller's thread; nothing is synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class PartForReportsAccess : public Access {
public:
    /// Copies the record's name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    /// Copies the record's number into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getNumber(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Sets `isNull` when the record's version is NULL, else `version` to it.
    virtual void getVersion(bool &isNull, int &version) = 0;
    /// Sets `isNull` when the record's hierarchy ID is NULL, else `hierarchyID` to it.
    virtual void getHierarchyID(bool &isNull, int &hierarchyID) = 0;
    /// Copies the record's description into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getDescription(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's PCB comp name into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPCBCompName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's hierrachy name into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getHierrachyName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// The folder path, owned by the record: the caller must not free it.
    virtual void getHierrachyFullName(bool &isNull, TCHAR **fullName) = 0;
    /// @return the folder, read when asked; an empty handle when there is none.
    virtual hierarchyAccessHandle_t getPartHierarchy() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
