#include "ctraxdbpartlib/access/CTraxDBLibHierarchyOnlyAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBLibHierarchyOnlyAccess"};

} // namespace

CTraxDBLibHierarchyOnlyAccess::CTraxDBLibHierarchyOnlyAccess(pathHandle_t path, const LibHierarchyOnlyAccessor &row)
    : CTraxDBLibRecord(std::move(path), row, traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,LibHierarchyOnlyAccessor)"));
}

std::shared_ptr<Reader<HierarchyAccess>> CTraxDBLibHierarchyOnlyAccess::getHierarchyReader() {
    TXDB_TRACE(LOG_FINE, traced("getHierarchyReader"));
    return std::make_shared<CTraxDBHierarchyReader>(path, *this);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
