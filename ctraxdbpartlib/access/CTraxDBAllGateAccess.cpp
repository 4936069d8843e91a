#include "ctraxdbpartlib/access/CTraxDBAllGateAccess.h"

#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAllGateAccess::CTraxDBAllGateAccess(pathHandle_t path, const AllGateAccessor &row, int index)
    : CTraxDBGateRecord(std::move(path), row, "CTraxDBAllGateAccess", row.partDefId, index) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAllGateAccess::CTraxDBAllGateAccess(pathHandle_t,AllGateAccessor &,int)");
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBAllGateAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllGateAccess::getPinIdentifier(bool &, TCHAR *, size_t)");
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

std::shared_ptr<Reader<GateDataAccess>> CTraxDBAllGateAccess::getGateDataReader() {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllGateAccess::getGateDataReader");
    return std::make_shared<CTraxDBGateDataReader>(path, id);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
