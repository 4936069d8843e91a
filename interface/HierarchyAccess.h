#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class PartAccess;

/// One folder of a library's hierarchy, with the readers of its sub-folders and
/// its parts.
/// LibraryAccess::getHierarchyReader (the top folders), getHierarchyChildReader,
/// getParent and the parts' getPartHierarchy hand these records out.
/// LibraryAccess::getHierarchyOnlyReader gives every folder of a library once per
/// part it holds, with the part's name as getParentName, and once with a NULL
/// getParentName when it holds none; from the other calls getParentName is NULL.
/// The writers read folders from a source library's getHierarchyReader and each
/// folder's getHierarchyChildReader.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// A host implements it to hand its own records to a writer.
/// Its reader calls run their queries on the caller's thread and nothing is
/// synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class HierarchyAccess : public Access {
public:
    /// Copies the record's name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    /// The parent folder; an empty handle for a folder at the top.
    virtual hierarchyAccessHandle_t getParent() = 0;
    /// @return a new reader of the hierarchy records of this hierarchy; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyChildReader() = 0;
    /// @return a new reader of the part records of this hierarchy; its query runs
    ///         now.
    /// @param filter a part filter tree; empty reads them all.
    /// @throws Exception* the database's message, or 32971 / 32972 for a malformed filter tree.
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter) = 0;
    /// The folder's position in its source; -1 for database records.
    virtual void getPosition(int &position) = 0;
    /// Sets `isNull` when the record's parent ID is NULL, else `parentID` to it.
    virtual void getParentID(bool &isNull, int &parentID) = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
    /// Copies the record's parent name into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getParentName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// @return the key of the record's library.
    virtual int getLibID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
