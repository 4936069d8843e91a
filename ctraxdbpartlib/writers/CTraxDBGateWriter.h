#pragma once

#include "ctraxdbpartlib/writers/CTraxDBGateWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The gates of a part definition.
class CTraxDBGateWriter : public DBChildWriter<GateAccess, CTraxDBGateWritable> {
public:
    CTraxDBGateWriter(pathHandle_t path, PartDefAccessor &parent);

    std::string getWriteItem(std::shared_ptr<GateAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
