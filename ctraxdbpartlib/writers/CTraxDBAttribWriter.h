#pragma once

#include "ctraxdbpartlib/writers/CTraxDBAttribWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/AttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The attributes of a part definition.
class CTraxDBAttribWriter : public DBChildWriter<AttributeAccess, CTraxDBAttribWritable> {
public:
    CTraxDBAttribWriter(pathHandle_t path, PartDefAccessor &parent);

    std::string getWriteItem(std::shared_ptr<AttributeAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
