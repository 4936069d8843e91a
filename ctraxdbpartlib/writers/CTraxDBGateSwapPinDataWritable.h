#pragma once

#include "ctraxdbpartlib/writers/DBGroupPinWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateSwapPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of one gate of a gate-swap group.
class CTraxDBGateSwapPinDataWritable : public DBGroupPinWritable<GateSwapPinDataAccess, SwapGatePinAccessor> {
public:
    CTraxDBGateSwapPinDataWritable(pathHandle_t path, SwapGateWriteAccessor &swapGate);

protected:
    const std::vector<int32_t> &pendingLinks() override;
    void bufferLink(int32_t pinKey) override;
    std::string identifierOf(GateSwapPinDataAccess &item, bool &create) override;

private:
    int32_t swapGateId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
