#include "ctraxdbpartlib/access/CTraxDBPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinDataAccess::CTraxDBPinDataAccess(const PinDataAccessor &row) : CTraxDBDetailRecord("CTraxDBPinDataAccess") {
    TXDB_TRACE(LOG_FINER, "CTraxDBPinDataAccess::CTraxDBPinDataAccess(PinDataAccessor &)");
    pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
    signal.assign(row.signal, row.signalStatus);
    name.assign(row.name, row.nameStatus);
    label.assign(row.label, row.labelStatus);
    pinType.assign(row.pinType, row.pinTypeStatus);
    loading.assign(row.loading, row.loadingStatus);
    position.assign(row.pinPosition, row.pinPositionStatus);
}

void CTraxDBPinDataAccess::getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinDataAccess::getPinIdentifier(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
}

void CTraxDBPinDataAccess::getPinNumber(bool &isNull, TCHAR *buffer, size_t size) {
    getPinIdentifier(isNull, buffer, size);
}

void CTraxDBPinDataAccess::getName(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinDataAccess::getName(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(name, isNull, buffer, size);
}

void CTraxDBPinDataAccess::getLabel(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinDataAccess::getLabel(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(label, isNull, buffer, size);
}

void CTraxDBPinDataAccess::getPosition(bool &isNull, int &value) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinDataAccess::getPosition(bool &,int &)");
    getter::value(position, isNull, value, OnNull::KeepValue);
}

void CTraxDBPinDataAccess::getType(bool &isNull, int &value) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinDataAccess::getType(bool &,int &)");
    getter::value(pinType, isNull, value, OnNull::KeepValue);
}

void CTraxDBPinDataAccess::getLoading(bool &isNull, int &value) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinDataAccess::getLoading(bool &,int &)");
    getter::value(loading, isNull, value, OnNull::KeepValue);
}

void CTraxDBPinDataAccess::getSignal(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, "CTraxDBPinDataAccess::getSignal(bool &,TCHAR *,size_t)");
    getter::textBufferFirst(signal, isNull, buffer, size);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
