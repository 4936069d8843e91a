#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/PinEquivAccessor.h"
#include "interface/PinEquivAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPartDefAccess;

// The pin-equivalence groups of one part definition, by ID.
class CTraxDBPinEquivReader : public DBDetailReader<PinEquivAccess, PinEquivAccessor> {
public:
    CTraxDBPinEquivReader(pathHandle_t path, CTraxDBPartDefAccess &definition);

protected:
    std::shared_ptr<PinEquivAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
