#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class PartDefAccess;

// One part: a library's catalogue entry.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class PartAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getNumber(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getLibraryNumber(int *libraryID) = 0;
    virtual void getVersion(bool &isNull, int &version) = 0;
    virtual void getDescription(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPartAcceptance(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual hierarchyAccessHandle_t getPartHierarchy() = 0;
    virtual std::shared_ptr<PartDefAccess> getPartPartDefn() = 0;
    virtual void getPartDefID(int &partDefID) = 0;
    // Positions of the part's folder and definition in its source; -1 for
    // database records.
    virtual void getHierarchyPosition(int &position) = 0;
    virtual void getPartDefPosition(int &position) = 0;
    virtual void getPartType(bool &isNull, int &partType) = 0;
    virtual void getLibraryPath(int &libraryPath) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
