#include "ctraxdbpartlib/writers/CTraxDBPinEquivDataWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinEquivDataWriter::CTraxDBPinEquivDataWriter(pathHandle_t path, PinEquivAccessor &parent)
    : DBChildWriter("CTraxDBPinEquivDataWriter", WRITE_TYPE_PIN_EQUIV_DATA, path, parent) {}

std::string CTraxDBPinEquivDataWriter::getWriteItem(std::shared_ptr<PinEquivDataAccess> item) {
    return "Equivilent pin " + textOf<11>([&](char *buffer, size_t size) {
               bool isNull = false;
               item->getPinIdentifier(isNull, buffer, size);
           });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
