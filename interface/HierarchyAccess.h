#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class PartAccess;

// One folder of a library's hierarchy.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class HierarchyAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    // The parent folder; an empty handle for a folder at the top.
    virtual hierarchyAccessHandle_t getParent() = 0;
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyChildReader() = 0;
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter) = 0;
    // The folder's position in its source; -1 for database records.
    virtual void getPosition(int &position) = 0;
    virtual void getParentID(bool &isNull, int &parentID) = 0;
    virtual int getID() = 0;
    virtual void getParentName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual int getLibID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
