#include "ctraxdbpartlib/access/CTraxDBGateSwapPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapPinDataAccess::CTraxDBGateSwapPinDataAccess(const GateSwapPinDataReadAccessor &row, int index)
    : CTraxDBDetailRecord("CTraxDBGateSwapPinDataAccess", index) {
    TXDB_TRACE(LOG_FINER,
               "CTraxDBGateSwapPinDataAccess::CTraxDBGateSwapPinDataAccess(GateSwapPinDataReadAccessor &,int)");
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBGateSwapPinDataAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapPinDataAccess::getIndex(int &)");
    out = index;
}

void CTraxDBGateSwapPinDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBGateSwapPinDataAccess::getPinIdentifier(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
