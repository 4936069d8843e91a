#include "ctraxdbpartlib/writers/CTraxDBPinDataWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinDataWriter::CTraxDBPinDataWriter(pathHandle_t path, PartDefAccessor &parent, StoredPins *stored)
    : DBChildWriter("CTraxDBPinDataWriter", WRITE_TYPE_PIN_DATA, path, parent, stored) {}

std::string CTraxDBPinDataWriter::getWriteItem(std::shared_ptr<PinDataAccess> item) {
    return "Pin " + textOf<11>([&](char *buffer, size_t size) {
               bool isNull = false;
               item->getPinIdentifier(isNull, buffer, size);
           });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
