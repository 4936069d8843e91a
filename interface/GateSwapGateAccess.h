#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class GateSwapPinDataAccess;

// One gate of a gate-swap group.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class GateSwapGateAccess : public Access {
public:
    virtual void getIndex(int &index) = 0;
    virtual void getEquivType(int &equivType) = 0;
    virtual std::shared_ptr<Reader<GateSwapPinDataAccess>> getGateSwapPinDataReader() = 0;
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
