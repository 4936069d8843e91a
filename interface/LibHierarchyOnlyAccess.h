#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class PartAccess;

/// A library seen only through its folder tree and the placement of its parts.
/// It is the source record of getLibHierarchyOnlyWriter, which reads the library's
/// row, its folders (getHierarchyReader) and its parts (getHierarchyElementReader).
/// No reader of the plug-in hands it out: the host implements it and hands it to
/// the writer from a Reader of its own, in std::shared_ptr. The writer uses it only
/// during write, on the caller's thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class LibHierarchyOnlyAccess : public Access {
public:
    /// Copies the record's name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    /// Sets `enabled` to the record's enabled.
    virtual void getEnabled(bool &enabled) = 0;
    /// Copies the record's comment into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getComment(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// @return a new reader of the hierarchy records of this lib hierarchy only; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() = 0;
    /// @return a new reader of the part records of this lib hierarchy only; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
