#pragma once

#include "ctraxdbpartlib/writers/CTraxDBGateSwapWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateSwapAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The gate-swap groups of a part definition.
class CTraxDBGateSwapWriter : public DBChildWriter<GateSwapAccess, CTraxDBGateSwapWritable> {
public:
    CTraxDBGateSwapWriter(pathHandle_t path, PartDefAccessor &parent);

    std::string getWriteItem(std::shared_ptr<GateSwapAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
