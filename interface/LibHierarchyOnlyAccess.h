#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class PartAccess;

// A library seen only through its folder tree and the placement of its parts.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class LibHierarchyOnlyAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getEnabled(bool &enabled) = 0;
    virtual void getComment(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() = 0;
    virtual std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() = 0;
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
