#pragma once

#include "ctraxdbpartlib/writers/CTraxDBPartDefWritable.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The part definitions of a library, with their details.
class CTraxDBPartDefWriter : public DBChildWriter<PartDefAccess, CTraxDBPartDefWritable> {
public:
    CTraxDBPartDefWriter(pathHandle_t path, LibraryAccessor &library);

    std::string getWriteItem(std::shared_ptr<PartDefAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
