#include "ctraxdbpartlib/writers/CTraxDBGateDataWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateDataWriter::CTraxDBGateDataWriter(pathHandle_t path, GateAccessor &parent)
    : DBChildWriter("CTraxDBGateDataWriter", WRITE_TYPE_GATE, path, parent) {}

std::string CTraxDBGateDataWriter::getWriteItem(std::shared_ptr<GateDataAccess> item) {
    int index = 0;
    item->getIndex(index);
    return "group pin data " + std::to_string(index);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
