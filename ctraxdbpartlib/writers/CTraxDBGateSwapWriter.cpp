#include "ctraxdbpartlib/writers/CTraxDBGateSwapWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapWriter::CTraxDBGateSwapWriter(pathHandle_t path, PartDefAccessor &parent)
    : DBChildWriter("CTraxDBGateSwapWriter", WRITE_TYPE_GATE_SWAP, path, parent) {}

std::string CTraxDBGateSwapWriter::getWriteItem(std::shared_ptr<GateSwapAccess> item) {
    return textOf<51>([&](char *buffer, size_t size) { item->getName(buffer, size); });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
