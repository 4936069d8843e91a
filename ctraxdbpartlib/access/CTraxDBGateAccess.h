#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/access/CTraxDBGateRecord.h"
#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "interface/GateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate of a part definition, with the reader of its pins.
class CTraxDBGateAccess : public CTraxDBGateRecord<CTraxDBDetailRecord<GateAccess>> {
public:
    CTraxDBGateAccess(pathHandle_t path, const GateAccessor &row, int index);

    std::shared_ptr<Reader<GateDataAccess>> getGateDataReader() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
