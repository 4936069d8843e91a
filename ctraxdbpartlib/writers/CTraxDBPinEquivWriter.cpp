#include "ctraxdbpartlib/writers/CTraxDBPinEquivWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinEquivWriter::CTraxDBPinEquivWriter(pathHandle_t path, PartDefAccessor &parent)
    : DBChildWriter("CTraxDBPinEquivWriter", WRITE_TYPE_PIN_EQUIV, path, parent) {}

std::string CTraxDBPinEquivWriter::getWriteItem(std::shared_ptr<PinEquivAccess> item) {
    int index = 0;
    item->getEquivIndex(index);
    return "Equivilence group " + std::to_string(index);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
