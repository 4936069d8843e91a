#pragma once

#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "ctraxdbpartlib/writers/CTraxDBGateDataWritable.h"
#include "interface/GateDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of a gate.
class CTraxDBGateDataWriter : public DBChildWriter<GateDataAccess, CTraxDBGateDataWritable> {
public:
    CTraxDBGateDataWriter(pathHandle_t path, GateAccessor &parent);

    std::string getWriteItem(std::shared_ptr<GateDataAccess> item) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
