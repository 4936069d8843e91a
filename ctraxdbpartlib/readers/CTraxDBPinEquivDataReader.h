#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/PinEquivDataAccessor.h"
#include "interface/PinEquivDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPinEquivAccess;

// The pins of one pin-equivalence group, in the database's order.
class CTraxDBPinEquivDataReader : public DBDetailReader<PinEquivDataAccess, PinEquivDataAccessor> {
public:
    CTraxDBPinEquivDataReader(pathHandle_t path, CTraxDBPinEquivAccess &group);

protected:
    std::shared_ptr<PinEquivDataAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
