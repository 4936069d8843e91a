#include "ctraxdbpartlib/access/CTraxDBGateSwapPinDataAccess.h"

#include "ctraxdbpartlib/TraceName.h"
namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBGateSwapPinDataAccess"};

} // namespace

CTraxDBGateSwapPinDataAccess::CTraxDBGateSwapPinDataAccess(const GateSwapPinDataReadAccessor &row, int index)
    : CTraxDBDetailRecord(traced.name, index) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(GateSwapPinDataReadAccessor &,int)"));
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBGateSwapPinDataAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, traced("getIndex(int &)"));
    out = index;
}

void CTraxDBGateSwapPinDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPinIdentifier(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
