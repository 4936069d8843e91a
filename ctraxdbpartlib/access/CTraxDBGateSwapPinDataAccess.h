#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/GateSwapPinDataReadAccessor.h"
#include "interface/GateSwapPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a gate of a gate-swap group.
class CTraxDBGateSwapPinDataAccess : public CTraxDBDetailRecord<GateSwapPinDataAccess> {
public:
    CTraxDBGateSwapPinDataAccess(const GateSwapPinDataReadAccessor &row, int index);

    void getIndex(int &index) override;
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;

private:
    DBText<11> pinIdentifier;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
