#include "ctraxdbpartlib/access/CTraxDBLibHierarchyOnlyAccess.h"

#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBLibHierarchyOnlyAccess::CTraxDBLibHierarchyOnlyAccess(pathHandle_t path, const LibHierarchyOnlyAccessor &row)
    : CTraxDBLibRecord(std::move(path), row, "CTraxDBLibHierarchyOnlyAccess") {
    TXDB_TRACE(LOG_FINER,
               "CTraxDBLibHierarchyOnlyAccess::CTraxDBLibHierarchyOnlyAccess(pathHandle_t,LibHierarchyOnlyAccessor)");
}

std::shared_ptr<Reader<HierarchyAccess>> CTraxDBLibHierarchyOnlyAccess::getHierarchyReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBLibHierarchyOnlyAccess::getHierarchyReader");
    return std::make_shared<CTraxDBHierarchyReader>(path, *this);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
