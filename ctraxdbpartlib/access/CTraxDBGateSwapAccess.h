#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/access/CTraxDBNamedMemberRecord.h"
#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "interface/GateSwapAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate-swap group of a part definition, with the reader of its gates.
class CTraxDBGateSwapAccess : public CTraxDBNamedMemberRecord<CTraxDBDetailRecord<GateSwapAccess>> {
public:
    CTraxDBGateSwapAccess(pathHandle_t path, const GateSwapAccessor &row, int index);

    std::shared_ptr<Reader<GateSwapGateAccess>> getGateSwapGateReader() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
