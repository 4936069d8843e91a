#pragma once

#include "ctraxdbpartlib/writers/CTraxDBGateSwapPinDataWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateSwapPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of a gate of a gate-swap group.
class CTraxDBGateSwapPinDataWriter : public DBChildWriter<GateSwapPinDataAccess, CTraxDBGateSwapPinDataWritable> {
public:
    CTraxDBGateSwapPinDataWriter(pathHandle_t path, SwapGateWriteAccessor &parent);

    std::string getWriteItem(std::shared_ptr<GateSwapPinDataAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
