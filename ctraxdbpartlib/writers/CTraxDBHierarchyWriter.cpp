#include "ctraxdbpartlib/writers/CTraxDBHierarchyWriter.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBHierarchyWriter::CTraxDBHierarchyWriter(pathHandle_t path, LibraryAccessor &library)
    : DBChildWriter("CTraxDBHierarchyWriter", WRITE_TYPE_HIERARCHY, path, library) {}

CTraxDBHierarchyWriter::CTraxDBHierarchyWriter(pathHandle_t path, HierarchyAccessor &parent)
    : DBChildWriter("CTraxDBHierarchyWriter", WRITE_TYPE_HIERARCHY, path, parent) {}

std::string CTraxDBHierarchyWriter::getWriteItem(std::shared_ptr<HierarchyAccess> item) {
    return textOf<51>([&](char *buffer, size_t size) { item->getName(buffer, size, false); });
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
