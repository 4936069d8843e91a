#pragma once

// What the pin records of a part definition and of a library share: the
// snapshot of a pin's columns and the getters over them. TBase is the
// family's base over the record's interface (CTraxDBDetailRecord or
// CTraxDBAllRecord), whose arguments follow the row in the constructor.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TBase> class CTraxDBPinRecord : public TBase {
public:
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPinIdentifier(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(pinIdentifier, isNull, buffer, size);
    }
    void getName(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getName(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(name, isNull, buffer, size);
    }
    void getLabel(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getLabel(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(label, isNull, buffer, size);
    }
    void getPosition(bool &isNull, int &value) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPosition(bool &,int &)"));
        getter::value(position, isNull, value, OnNull::KeepValue);
    }
    void getType(bool &isNull, int &value) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getType(bool &,int &)"));
        getter::value(pinType, isNull, value, OnNull::KeepValue);
    }
    void getLoading(bool &isNull, int &value) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getLoading(bool &,int &)"));
        getter::value(loading, isNull, value, OnNull::KeepValue);
    }
    void getSignal(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getSignal(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(signal, isNull, buffer, size, textWidth::PIN_SIGNAL_MIN);
    }

    // Whether the pin's own columns in `row` (all but the equivalence group
    // and the keys) hold the record's values, as a rowset compares them.
    bool holds(const PinColumns &row) const {
        return pinIdentifier.holds(row.pinIdentifier, row.pinIdentifierStatus) &&
               name.holds(row.name, row.nameStatus) && label.holds(row.label, row.labelStatus) &&
               signal.holds(row.signal, row.signalStatus) && pinType.holds(row.pinType, row.pinTypeStatus) &&
               loading.holds(row.loading, row.loadingStatus) && position.holds(row.pinPosition, row.pinPositionStatus);
    }

protected:
    // Each text column is copied only when present.
    template <class... TBaseArgs>
    explicit CTraxDBPinRecord(const PinColumns &row, TBaseArgs... baseArgs) : TBase(baseArgs...) {
        pinIdentifier.assign(row.pinIdentifier, row.pinIdentifierStatus);
        signal.assign(row.signal, row.signalStatus);
        name.assign(row.name, row.nameStatus);
        label.assign(row.label, row.labelStatus);
        pinType.assign(row.pinType, row.pinTypeStatus);
        loading.assign(row.loading, row.loadingStatus);
        position.assign(row.pinPosition, row.pinPositionStatus);
    }

    DBText<11> pinIdentifier;
    DBText<11> name;
    DBText<51> label;
    DBText<textWidth::PIN_SIGNAL> signal;
    DBValue<int32_t> pinType;
    DBValue<int32_t> loading;
    DBValue<int32_t> position;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
