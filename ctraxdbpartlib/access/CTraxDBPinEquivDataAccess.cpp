#include "ctraxdbpartlib/access/CTraxDBPinEquivDataAccess.h"

#include "ctraxdbpartlib/TraceName.h"
namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPinEquivDataAccess"};

} // namespace

CTraxDBPinEquivDataAccess::CTraxDBPinEquivDataAccess(const PinEquivDataAccessor &row, int index)
    : CTraxDBDetailRecord(traced.name, index) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(PinEquivDataAccessor &,int)"));
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBPinEquivDataAccess::getEquivIndex(int &out) {
    TXDB_TRACE(LOG_FINE, traced("getEquivIndex(int &)"));
    out = index;
}

void CTraxDBPinEquivDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPinIdentifier(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
