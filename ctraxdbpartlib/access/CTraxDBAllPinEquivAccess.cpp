#include "ctraxdbpartlib/access/CTraxDBAllPinEquivAccess.h"

#include "ctraxdbpartlib/TraceName.h"
namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBAllPinEquivAccess"};

} // namespace

CTraxDBAllPinEquivAccess::CTraxDBAllPinEquivAccess(pathHandle_t path, const AllPinEquivAccessor &row, int index)
    : CTraxDBAllRecord(traced.name, row.partDefId, index), path(std::move(path)), pinEquivId(row.pinEquivId) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,AllPinEquivAccessor &,int)"));
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
}

void CTraxDBAllPinEquivAccess::getEquivIndex(int &value) {
    TXDB_TRACE(LOG_FINE, traced("getEquivIndex(int &)"));
    value = index;
}

void CTraxDBAllPinEquivAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPinIdentifier(bool &, TCHAR *, size_t)"));
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

void CTraxDBAllPinEquivAccess::getPinEquivID(int &value) {
    TXDB_TRACE(LOG_FINE, traced("getPinEquivID(int &)"));
    value = pinEquivId;
}

int CTraxDBAllPinEquivAccess::getID() {
    return pinEquivId;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
