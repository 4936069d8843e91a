#include "ctraxdbpartlib/writers/CTraxDBGateSwapPinDataWritable.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapPinDataWritable::CTraxDBGateSwapPinDataWritable(pathHandle_t path, SwapGateWriteAccessor &swapGate)
    : DBGroupPinWritable(std::move(path),
                         "SELECT [Pin_data_ID],[Gate_equiv_gate_ID],[ID] FROM [Gate_Equiv_has_Pin_Data] WHERE "
                         "[Gate_equiv_gate_ID] = ? ORDER BY([ID]);",
                         WriteTable::GateEquivGate, swapGate.id, swapGate.partDefId,
                         "Pin %s not found for this gate swap gate"),
      swapGateId(swapGate.id) {
    rowset.parentId = swapGateId;
}

const std::vector<int32_t> &CTraxDBGateSwapPinDataWritable::pendingLinks() {
    return statements().swapGatePins(swapGateId);
}

void CTraxDBGateSwapPinDataWritable::bufferLink(int32_t pinKey) {
    statements().bufferGateSwapPinRow(swapGateId, pinKey);
}

std::string CTraxDBGateSwapPinDataWritable::identifierOf(GateSwapPinDataAccess &item, bool &create) {
    create = false;
    return textOf<11>([&](char *buffer, size_t size) {
        bool isNull = false;
        item.getPinIdentifier(isNull, buffer, size);
    });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
