#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/GateDataReadAccessor.h"
#include "interface/GateDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBGateAccess;

// The pin identifiers of one gate, in the order the pins were linked to it.
// Made from a gate record, or from a gate's ID by records that know the
// gate only by its ID.
class CTraxDBGateDataReader : public DBDetailReader<GateDataAccess, GateDataReadAccessor> {
public:
    CTraxDBGateDataReader(pathHandle_t path, CTraxDBGateAccess &gate);
    CTraxDBGateDataReader(pathHandle_t path, int32_t gateId);

protected:
    std::shared_ptr<GateDataAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
