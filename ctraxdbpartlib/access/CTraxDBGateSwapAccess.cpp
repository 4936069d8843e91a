#include "ctraxdbpartlib/access/CTraxDBGateSwapAccess.h"

#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapAccess::CTraxDBGateSwapAccess(pathHandle_t path, const GateSwapAccessor &row, int index)
    : CTraxDBDetailRecord("CTraxDBGateSwapAccess", index), path(std::move(path)), id(row.id) {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateSwapAccess::CTraxDBGateSwapAccess(pathHandle_t,GateSwapAccessor &,int)");
    name.assign(row.name);
}

void CTraxDBGateSwapAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapAccess::getIndex(int &)");
    out = index;
}

void CTraxDBGateSwapAccess::getName(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapAccess::getName(TCHAR *,size_t)");
    getter::text(name, buffer, size);
}

std::shared_ptr<Reader<GateSwapGateAccess>> CTraxDBGateSwapAccess::getGateSwapGateReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapAccess::getGateSwapGateReader");
    return std::make_shared<CTraxDBGateSwapGateReader>(path, *this);
}

int CTraxDBGateSwapAccess::getID() {
    TXDB_TRACE(LOG_FINEST, "CTraxDBGateSwapAccess::getID");
    return id;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
