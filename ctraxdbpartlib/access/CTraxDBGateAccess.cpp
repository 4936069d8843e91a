#include "ctraxdbpartlib/access/CTraxDBGateAccess.h"

#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateAccess::CTraxDBGateAccess(pathHandle_t path, const GateAccessor &row, int index)
    : CTraxDBDetailRecord("CTraxDBGateAccess", index), path(std::move(path)), id(row.id) {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateAccess::CTraxDBGateAccess(pathHandle_t,GateAccessor &,int)");
    name.assign(row.name);
    altName.assign(row.altName, row.altNameStatus);
}

void CTraxDBGateAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateAccess::getIndex(int &)");
    out = index;
}

void CTraxDBGateAccess::getName(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateAccess::getName(TCHAR *,size_t)");
    getter::text(name, buffer, size);
}

void CTraxDBGateAccess::getAltName(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateAccess::getAltName(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(altName, isNull, buffer, size);
}

std::shared_ptr<Reader<GateDataAccess>> CTraxDBGateAccess::getGateDataReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateAccess::getGateDataReader");
    return std::make_shared<CTraxDBGateDataReader>(path, *this);
}

int CTraxDBGateAccess::getID() {
    TXDB_TRACE(LOG_FINEST, "CTraxDBGateAccess::getID");
    return id;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
