#include "ctraxdbpartlib/writers/CTraxDBGateWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateWriter::CTraxDBGateWriter(pathHandle_t path, PartDefAccessor &parent)
    : DBChildWriter("CTraxDBGateWriter", WRITE_TYPE_GATE, path, parent) {}

std::string CTraxDBGateWriter::getWriteItem(std::shared_ptr<GateAccess> item) {
    return textOf<51>([&](char *buffer, size_t size) { item->getName(buffer, size); });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
