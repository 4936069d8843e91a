#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// One part definition without readers of its details.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class PartDefDataAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getPCBCompName(TCHAR *buffer, size_t size) = 0;
    virtual void getPCBCompAltName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getValue(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getGateSwapping(bool &gateSwapping) = 0;
    virtual void getPinNumName(bool &pinNumName) = 0;
    virtual void getIsFPGA(bool &isFPGA) = 0;
    virtual void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getMaxConnectorPins(int &maxConnectorPins) = 0;
    virtual void getPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPartDefID(int &partDefID) = 0;
    // The definition's position in its source; -1 for database records.
    virtual void getPosition(int &position) = 0;
    virtual int getLibID() = 0;
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
