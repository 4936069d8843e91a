#include "ctraxdbpartlib/access/CTraxDBAllGateAccess.h"

#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAllGateAccess::CTraxDBAllGateAccess(pathHandle_t path, const AllGateAccessor &row, int index)
    : CTraxDBAllRecord("CTraxDBAllGateAccess", row.partDefId, index), path(std::move(path)), id(row.id) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAllGateAccess::CTraxDBAllGateAccess(pathHandle_t,AllGateAccessor &,int)");
    name.assign(row.name);
    altName.assign(row.altName, row.altNameStatus);
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBAllGateAccess::getIndex(int &value) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllGateAccess::getIndex(int &)");
    value = index;
}

void CTraxDBAllGateAccess::getName(TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllGateAccess::getName(TCHAR *, size_t)");
    getter::text(name, buffer, size);
}

void CTraxDBAllGateAccess::getAltName(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllGateAccess::getAltName(bool &, TCHAR *, size_t)");
    getter::textBufferFirst(altName, isNull, buffer, size);
}

void CTraxDBAllGateAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllGateAccess::getPinIdentifier(bool &, TCHAR *, size_t)");
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

int CTraxDBAllGateAccess::getID() {
    TXDB_TRACE(LOG_FINEST, "CTraxDBAllGateAccess::getID");
    return id;
}

std::shared_ptr<Reader<GateDataAccess>> CTraxDBAllGateAccess::getGateDataReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllGateAccess::getGateDataReader");
    return std::make_shared<CTraxDBGateDataReader>(path, id);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
