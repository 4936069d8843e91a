#pragma once

#include "ctraxdbpartlib/writers/CTraxDBPinEquivWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/PinEquivAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pin-equivalence groups of a part definition.
class CTraxDBPinEquivWriter : public DBChildWriter<PinEquivAccess, CTraxDBPinEquivWritable> {
public:
    CTraxDBPinEquivWriter(pathHandle_t path, PartDefAccessor &parent);

    std::string getWriteItem(std::shared_ptr<PinEquivAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
