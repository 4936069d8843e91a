#include "ctraxdbpartlib/writers/CTraxDBAttribWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAttribWriter::CTraxDBAttribWriter(pathHandle_t path, PartDefAccessor &parent)
    : DBChildWriter("CTraxDBAttribWriter", WRITE_TYPE_ATTRIBUTE, path, parent) {}

std::string CTraxDBAttribWriter::getWriteItem(std::shared_ptr<AttributeAccess> item) {
    std::string name = textOf<256>([&](char *buffer, size_t size) { item->getName(buffer, size, false); });
    return name + ":" + textOf<256>([&](char *buffer, size_t size) { item->getValue(buffer, size); });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
