#pragma once

#include "ctraxdbpartlib/writers/CTraxDBPartWritable.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The parts of a library.
class CTraxDBPartWriter : public DBChildWriter<PartAccess, CTraxDBPartWritable> {
public:
    CTraxDBPartWriter(pathHandle_t path, LibraryAccessor &library);

    std::string getWriteItem(std::shared_ptr<PartAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
