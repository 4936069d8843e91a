#pragma once

#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "ctraxdbpartlib/writers/DBGroupPinWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of one gate.
class CTraxDBGateDataWritable : public DBGroupPinWritable<GateDataAccess, GatePinAccessor> {
public:
    CTraxDBGateDataWritable(pathHandle_t path, GateAccessor &gate);

protected:
    const std::vector<int32_t> &pendingLinks() override;
    void bufferLink(int32_t pinKey) override;
    std::string identifierOf(GateDataAccess &item, bool &create) override;

private:
    int32_t gateId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
