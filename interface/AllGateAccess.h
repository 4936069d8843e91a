#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class GateDataAccess;

// One gate and one of its pins, read library-wide.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class AllGateAccess : public Access {
public:
    virtual void getIndex(int &index) = 0;
    virtual void getName(TCHAR *buffer, size_t size) = 0;
    virtual void getAltName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPartDefID(int &partDefID) = 0;
    // NULL when the gate has no pin.
    virtual void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual int getID() = 0;
    virtual std::shared_ptr<Reader<GateDataAccess>> getGateDataReader() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
