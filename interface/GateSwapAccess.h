#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class GateSwapGateAccess;

// One gate-swap group of a part definition.
class GateSwapAccess : public Access {
public:
    virtual void getIndex(int &index) = 0;
    virtual void getName(TCHAR *buffer, size_t size) = 0;
    virtual std::shared_ptr<Reader<GateSwapGateAccess>> getGateSwapGateReader() = 0;
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
