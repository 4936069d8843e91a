#include "ctraxdbpartlib/writers/CTraxDBPartDefWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPartDefWriter::CTraxDBPartDefWriter(pathHandle_t path, LibraryAccessor &library)
    : DBChildWriter("CTraxDBPartDefWriter", WRITE_TYPE_PART_DEF, path, library) {}

std::string CTraxDBPartDefWriter::getWriteItem(std::shared_ptr<PartDefAccess> item) {
    return textOf<51>([&](char *buffer, size_t size) { item->getName(buffer, size, false); });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
