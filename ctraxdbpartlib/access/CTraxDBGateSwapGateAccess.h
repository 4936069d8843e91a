#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/GateSwapGateAccessor.h"
#include "interface/GateSwapGateAccess.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate of a gate-swap group, with the reader of its pins.
class CTraxDBGateSwapGateAccess : public CTraxDBDetailRecord<GateSwapGateAccess> {
public:
    CTraxDBGateSwapGateAccess(pathHandle_t path, const GateSwapGateAccessor &row, int index);

    void getIndex(int &index) override;
    void getEquivType(int &equivType) override;
    std::shared_ptr<Reader<GateSwapPinDataAccess>> getGateSwapPinDataReader() override;
    int getID() override;

private:
    pathHandle_t path;
    int32_t id;
    int32_t equivType;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
