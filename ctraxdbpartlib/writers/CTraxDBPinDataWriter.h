#pragma once

#include "ctraxdbpartlib/writers/CTraxDBPinDataWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/PinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of a part definition.
class CTraxDBPinDataWriter : public DBChildWriter<PinDataAccess, CTraxDBPinDataWritable> {
public:
    CTraxDBPinDataWriter(pathHandle_t path, PartDefAccessor &parent, StoredPins *stored = nullptr);

    std::string getWriteItem(std::shared_ptr<PinDataAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
