#include "ctraxdbpartlib/writers/CTraxDBGateSwapPinDataWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapPinDataWriter::CTraxDBGateSwapPinDataWriter(pathHandle_t path, SwapGateWriteAccessor &parent)
    : DBChildWriter("CTraxDBGateSwapPinDataWriter", WRITE_TYPE_GATE_SWAP, path, parent) {}

std::string CTraxDBGateSwapPinDataWriter::getWriteItem(std::shared_ptr<GateSwapPinDataAccess> item) {
    int index = 0;
    item->getIndex(index);
    return "swap group pin data " + std::to_string(index);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
