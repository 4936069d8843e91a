#include "ctraxdbpartlib/access/CTraxDBGateDataAccess.h"

#include "ctraxdbpartlib/TraceName.h"
namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBGateDataAccess"};

} // namespace

CTraxDBGateDataAccess::CTraxDBGateDataAccess(const GateDataReadAccessor &row, int index)
    : CTraxDBDetailRecord(traced.name, index) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(GateDataReadAccessor &,int)"));
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBGateDataAccess::getIndex(int &out) {
    TXDB_TRACE(LOG_FINE, traced("getIndex(int &)"));
    out = index;
}

void CTraxDBGateDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size, bool &flag) {
    TXDB_TRACE(LOG_FINE, traced("getPinIdentifier(bool &,TCHAR *,size_t,bool &)"));
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
    if (!isNull)
        flag = false;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
