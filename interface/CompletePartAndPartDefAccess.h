#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class AllGateAccess;
class AllGateSwapAccess;
class AllPinEquivAccess;
class AttributeAccess;
class PartDefAccess;
class PinDataAccess;

// One part together with its part definition.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class CompletePartAndPartDefAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getNumber(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getLibraryNumber(int *libraryID) = 0;
    virtual void getVersion(bool &isNull, int &version) = 0;
    virtual void getDescription(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPartAcceptance(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPartDefName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getPCBCompName(TCHAR *buffer, size_t size) = 0;
    virtual void getPCBCompAltName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getValue(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getGateSwapping(bool &gateSwapping) = 0;
    virtual void getPinNumName(bool &pinNumName) = 0;
    virtual void getIsFPGA(bool &isFPGA) = 0;
    virtual void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getMaxConnectorPins(int &maxConnectorPins) = 0;
    virtual void getPartDefPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual hierarchyAccessHandle_t getPartHierarchy() = 0;
    virtual std::shared_ptr<PartDefAccess> getPartPartDefn() = 0;
    // Positions in the source; -1 for database records.
    virtual void getHierarchyPosition(int &position) = 0;
    virtual void getPartDefPosition(int &position) = 0;
    virtual std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() = 0;
    virtual std::shared_ptr<Reader<AllPinEquivAccess>> getPinEquivReader() = 0;
    virtual std::shared_ptr<Reader<AllGateSwapAccess>> getGateSwapReader() = 0;
    virtual std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() = 0;
    virtual std::shared_ptr<Reader<AllGateAccess>> getGateReader() = 0;
    virtual void getPosition(int &position) = 0;
    virtual int getPartDefID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
