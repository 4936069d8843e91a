#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/access/CTraxDBPinRecord.h"
#include "interface/PinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a part definition.
class CTraxDBPinDataAccess : public CTraxDBPinRecord<CTraxDBDetailRecord<PinDataAccess>> {
public:
    explicit CTraxDBPinDataAccess(const PinDataAccessor &row);

    void getPinNumber(bool &isNull, TCHAR *buffer, size_t size) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
