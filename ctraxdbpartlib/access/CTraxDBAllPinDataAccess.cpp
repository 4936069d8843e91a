#include "ctraxdbpartlib/access/CTraxDBAllPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAllPinDataAccess::CTraxDBAllPinDataAccess(pathHandle_t path, const AllPinDataAccessor &row)
    : CTraxDBAllRecord("CTraxDBAllPinDataAccess", row.partDefId), path(std::move(path)) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAllPinDataAccess::CTraxDBAllPinDataAccess(pathHandle_t,AllPinDataAccessor &)");
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
    signal.assign(row.signal, row.signalStatus);
    name.assign(row.name, row.nameStatus);
    label.assign(row.label, row.labelStatus);
    pinType.assign(row.pinType, row.pinTypeStatus);
    loading.assign(row.loading, row.loadingStatus);
    pinPosition.assign(row.pinPosition, row.pinPositionStatus);
    equivGroup.assign(row.equivGroup, row.equivGroupStatus);
}

void CTraxDBAllPinDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getPinIdentifier(bool &, TCHAR *, size_t)");
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

void CTraxDBAllPinDataAccess::getName(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getName(bool &, TCHAR *, size_t)");
    getter::textBufferFirst(name, isNull, buffer, size);
}

void CTraxDBAllPinDataAccess::getLabel(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getLabel(bool &, TCHAR *, size_t)");
    getter::textBufferFirst(label, isNull, buffer, size);
}

void CTraxDBAllPinDataAccess::getPosition(bool &isNull, int &position) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getPosition(bool &, int &)");
    getter::value(pinPosition, isNull, position, OnNull::KeepValue);
}

void CTraxDBAllPinDataAccess::getType(bool &isNull, int &type) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getType(bool &, int &)");
    getter::value(pinType, isNull, type, OnNull::KeepValue);
}

void CTraxDBAllPinDataAccess::getLoading(bool &isNull, int &value) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getLoading(bool &, int &)");
    getter::value(loading, isNull, value, OnNull::KeepValue);
}

void CTraxDBAllPinDataAccess::getSignal(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getSignal(bool &, TCHAR *, size_t)");
    getter::textBufferFirst(signal, isNull, buffer, size);
}

void CTraxDBAllPinDataAccess::getPinEquivGroupID(bool &isNull, int &groupID) {
    TXDB_TRACE(LOG_FINE, "CTraxDBAllPinDataAccess::getPinEquivGroupID(bool &, int &)");
    getter::value(equivGroup, isNull, groupID, OnNull::KeepValue);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
