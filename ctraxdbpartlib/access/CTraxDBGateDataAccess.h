#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/GateDataReadAccessor.h"
#include "interface/GateDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a gate.
class CTraxDBGateDataAccess : public CTraxDBDetailRecord<GateDataAccess> {
public:
    CTraxDBGateDataAccess(const GateDataReadAccessor &row, int index);

    void getIndex(int &index) override;
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size, bool &flag) override;

private:
    DBText<11> pinIdentifier;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
