#include "ctraxdbpartlib/access/CTraxDBPinEquivDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinEquivDataAccess::CTraxDBPinEquivDataAccess(const PinEquivDataAccessor &row, int index)
    : CTraxDBDetailRecord("CTraxDBPinEquivDataAccess", index) {
    TXDB_TRACE(LOG_FINER, "CTraxDBPinEquivDataAccess::CTraxDBPinEquivDataAccess(PinEquivDataAccessor &,int)");
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBPinEquivDataAccess::getEquivIndex(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinEquivDataAccess::getEquivIndex(int &)");
    out = index;
}

void CTraxDBPinEquivDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinEquivDataAccess::getPinIdentifier(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
