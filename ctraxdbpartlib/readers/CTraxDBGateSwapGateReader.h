#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/GateSwapGateAccessor.h"
#include "interface/GateSwapGateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBGateSwapAccess;

// The gates of one gate-swap group, by ID. Made from a swap-group record,
// or from a group's ID by records that know the group only by its ID.
class CTraxDBGateSwapGateReader : public DBDetailReader<GateSwapGateAccess, GateSwapGateAccessor> {
public:
    CTraxDBGateSwapGateReader(pathHandle_t path, CTraxDBGateSwapAccess &group);
    CTraxDBGateSwapGateReader(pathHandle_t path, int32_t gateSwapId);

protected:
    std::shared_ptr<GateSwapGateAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
