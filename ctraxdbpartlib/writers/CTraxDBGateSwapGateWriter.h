#pragma once

#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "ctraxdbpartlib/writers/CTraxDBGateSwapGateWritable.h"
#include "interface/GateSwapGateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The gates of a gate-swap group.
class CTraxDBGateSwapGateWriter : public DBChildWriter<GateSwapGateAccess, CTraxDBGateSwapGateWritable> {
public:
    CTraxDBGateSwapGateWriter(pathHandle_t path, GateSwapAccessor &parent);

    std::string getWriteItem(std::shared_ptr<GateSwapGateAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
