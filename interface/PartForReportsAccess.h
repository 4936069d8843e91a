#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// A part as a report lists it, with its component and folder names.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class PartForReportsAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getNumber(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getVersion(bool &isNull, int &version) = 0;
    virtual void getHierarchyID(bool &isNull, int &hierarchyID) = 0;
    virtual void getDescription(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPCBCompName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getHierrachyName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    // The folder path, owned by the record: the caller must not free it.
    virtual void getHierrachyFullName(bool &isNull, TCHAR **fullName) = 0;
    virtual hierarchyAccessHandle_t getPartHierarchy() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
