#pragma once

#include "ctraxdbpartlib/access/CTraxDBPartDefRecord.h"
#include "interface/PartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One part definition, with the readers of its details and of the parts
// built on it.
class CTraxDBPartDefAccess : public CTraxDBPartDefRecord<PartDefAccess> {
public:
    CTraxDBPartDefAccess(pathHandle_t path, const PartDefAccessor &row);

    std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() override;
    std::shared_ptr<Reader<PinEquivAccess>> getPinEquivReader() override;
    std::shared_ptr<Reader<GateSwapAccess>> getGateSwapReader() override;
    std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() override;
    std::shared_ptr<Reader<GateAccess>> getGateReader() override;
    std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter) override;
    bool getStoredFlags(int &gateSwapping, int &pinNumName, int &isFPGA) override;
    bool getStoredMaxConnectorPins(bool &isNull, int &value) override;

private:
    DBValue<int32_t> storedMaxConnectorPins;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
