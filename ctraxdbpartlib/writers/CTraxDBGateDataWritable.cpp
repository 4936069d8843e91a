#include "ctraxdbpartlib/writers/CTraxDBGateDataWritable.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateDataWritable::CTraxDBGateDataWritable(pathHandle_t path, GateAccessor &gate)
    : DBGroupPinWritable(std::move(path),
                         "SELECT [ID],[Pin_data_ID],[Gate_ID] FROM [Gate_has_Pin_Data] WHERE [Gate_ID] = ? ORDER "
                         "BY([ID]);",
                         WriteTable::Gate, gate.id, gate.partDefId, "Pin %s not found for this gate"),
      gateId(gate.id) {
    rowset.parentId = gateId;
}

const std::vector<int32_t> &CTraxDBGateDataWritable::pendingLinks() {
    return statements().gatePins(gateId);
}

void CTraxDBGateDataWritable::bufferLink(int32_t pinKey) {
    statements().bufferGatePinRow(gateId, pinKey);
}

std::string CTraxDBGateDataWritable::identifierOf(GateDataAccess &item, bool &create) {
    return textOf<11>([&](char *buffer, size_t size) {
        bool isNull = false;
        item.getPinIdentifier(isNull, buffer, size, create);
    });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
