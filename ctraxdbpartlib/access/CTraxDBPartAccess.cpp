#include "ctraxdbpartlib/access/CTraxDBPartAccess.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPartAccess"};

} // namespace

CTraxDBPartAccess::CTraxDBPartAccess(pathHandle_t path, const PartAccessor &row)
    : CTraxDBPartRecord(std::move(path), row, traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,PartAccessor &)"));
    partType.assign(row.partType, row.partTypeStatus);
}

hierarchyAccessHandle_t CTraxDBPartAccess::getPartHierarchy() {
    TXDB_TRACE(LOG_FINE, traced("getPartHierarchy"));
    return CTraxDBHierarchyAccess::lookup(path, CTraxDBHierarchyAccess::FOLDER_BY_ID, hierarchyId);
}

void CTraxDBPartAccess::getPartDefID(int &value) {
    value = partDefId;
}

void CTraxDBPartAccess::getPartType(bool &isNull, int &value) {
    getter::value(partType, isNull, value, OnNull::MinusOne);
}

void CTraxDBPartAccess::getLibraryPath(int &libraryPath) {
    std::vector<TCHAR> buffer(4096, '\0');
    path->getPathStr(buffer.data(), buffer.size());
    libraryPath = getLibraryPathByFilename(buffer.data());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
