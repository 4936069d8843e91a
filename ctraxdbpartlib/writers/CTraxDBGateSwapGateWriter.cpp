#include "ctraxdbpartlib/writers/CTraxDBGateSwapGateWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapGateWriter::CTraxDBGateSwapGateWriter(pathHandle_t path, GateSwapAccessor &parent)
    : DBChildWriter("CTraxDBGateSwapGateWriter", WRITE_TYPE_GATE_SWAP, path, parent) {}

std::string CTraxDBGateSwapGateWriter::getWriteItem(std::shared_ptr<GateSwapGateAccess> item) {
    int index = 0;
    item->getIndex(index);
    return "swap group gate " + std::to_string(index);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
