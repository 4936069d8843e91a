#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/PinEquivDataAccessor.h"
#include "interface/PinEquivDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a pin-equivalence group.
class CTraxDBPinEquivDataAccess : public CTraxDBDetailRecord<PinEquivDataAccess> {
public:
    CTraxDBPinEquivDataAccess(const PinEquivDataAccessor &row, int index);

    void getEquivIndex(int &index) override;
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;

private:
    DBText<11> pinIdentifier;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
