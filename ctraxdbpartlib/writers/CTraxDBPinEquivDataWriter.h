#pragma once

#include "ctraxdbpartlib/readers/PinEquivAccessor.h"
#include "ctraxdbpartlib/writers/CTraxDBPinEquivDataWritable.h"
#include "interface/PinEquivDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of a pin-equivalence group.
class CTraxDBPinEquivDataWriter : public DBChildWriter<PinEquivDataAccess, CTraxDBPinEquivDataWritable> {
public:
    CTraxDBPinEquivDataWriter(pathHandle_t path, PinEquivAccessor &parent);

    std::string getWriteItem(std::shared_ptr<PinEquivDataAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
