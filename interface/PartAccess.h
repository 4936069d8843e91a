#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class PartDefAccess;

/// One part: a library's catalogue entry, placed in a folder and built on a part
/// definition.
/// LibraryAccess::getPartReader, HierarchyAccess::getPartReader and
/// PartDefAccess::getPartReader hand these records out. The writers read parts from
/// a source library's getPartReader (getLibraryWriter) or getHierarchyElementReader
/// (getLibHierarchyOnlyWriter).
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// A host implements it to hand its own records to a writer.
/// getPartHierarchy and getPartPartDefn query the database when called, on the
/// caller's thread; nothing is synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class PartAccess : public Access {
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
    /// Sets `libraryID` to the record's library number.
    virtual void getLibraryNumber(int *libraryID) = 0;
    /// Sets `isNull` when the record's version is NULL, else `version` to it.
    virtual void getVersion(bool &isNull, int &version) = 0;
    /// Copies the record's description into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getDescription(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's p spice into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's part acceptance into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPartAcceptance(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// @return the folder, read when asked; an empty handle when there is none.
    virtual hierarchyAccessHandle_t getPartHierarchy() = 0;
    /// @return the part definition the part is built on, read when asked.
    virtual std::shared_ptr<PartDefAccess> getPartPartDefn() = 0;
    /// Sets `partDefID` to the record's part def ID.
    virtual void getPartDefID(int &partDefID) = 0;
    /// Positions of the part's folder and definition in its source; -1 for
    /// database records.
    virtual void getHierarchyPosition(int &position) = 0;
    /// Sets `position` to the record's part def position.
    virtual void getPartDefPosition(int &position) = 0;
    /// Sets `isNull` when the record's part type is NULL, else `partType` to it.
    virtual void getPartType(bool &isNull, int &partType) = 0;
    /// Sets `libraryPath` to the record's library path.
    virtual void getLibraryPath(int &libraryPath) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
