#include "ctraxdbpartlib/access/CTraxDBGateDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateDataAccess::CTraxDBGateDataAccess(const GateDataReadAccessor &row, int index)
    : CTraxDBDetailRecord("CTraxDBGateDataAccess", index) {
    TXDB_TRACE(LOG_FINER, "CTraxDBGateDataAccess::CTraxDBGateDataAccess(GateDataReadAccessor &,int)");
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBGateDataAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateDataAccess::getIndex(int &)");
    out = index;
}

void CTraxDBGateDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size, bool &flag) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateDataAccess::getPinIdentifier(bool &,TCHAR *,size_t,bool &)");
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
    if (!isNull)
        flag = false;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
