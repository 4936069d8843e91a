#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class GateSwapGateAccess;

// One pin of one gate of one gate-swap group, read library-wide.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class AllGateSwapAccess : public Access {
public:
    virtual void getIndex(int &index) = 0;
    virtual void getName(TCHAR *buffer, size_t size) = 0;
    virtual void getPartDefID(int &partDefID) = 0;
    virtual void getEquivType(int &equivType) = 0;
    virtual void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual int getID() = 0;
    virtual void getGateEquivGateID(int &gateEquivGateID) = 0;
    virtual std::shared_ptr<Reader<GateSwapGateAccess>> getGateSwapGateReader() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
