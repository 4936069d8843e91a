#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "interface/GateSwapAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPartDefAccess;

// The gate-swap groups of one part definition, by ID.
class CTraxDBGateSwapReader : public DBDetailReader<GateSwapAccess, GateSwapAccessor> {
public:
    CTraxDBGateSwapReader(pathHandle_t path, CTraxDBPartDefAccess &definition);

protected:
    std::shared_ptr<GateSwapAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
