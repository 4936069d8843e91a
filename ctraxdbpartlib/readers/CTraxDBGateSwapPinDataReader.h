#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/GateSwapPinDataReadAccessor.h"
#include "interface/GateSwapPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBGateSwapGateAccess;

// The pin identifiers of one gate of a gate-swap group, in the order the
// pins were linked to it.
class CTraxDBGateSwapPinDataReader : public DBDetailReader<GateSwapPinDataAccess, GateSwapPinDataReadAccessor> {
public:
    CTraxDBGateSwapPinDataReader(pathHandle_t path, CTraxDBGateSwapGateAccess &swapGate);

protected:
    std::shared_ptr<GateSwapPinDataAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
