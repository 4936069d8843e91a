#include "ctraxdbpartlib/writers/CTraxDBPartWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPartWriter::CTraxDBPartWriter(pathHandle_t path, LibraryAccessor &library)
    : DBChildWriter("CTraxDBPartWriter", WRITE_TYPE_PART, path, library) {}

std::string CTraxDBPartWriter::getWriteItem(std::shared_ptr<PartAccess> item) {
    return textOf<51>([&](char *buffer, size_t size) { item->getName(buffer, size, false); });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
