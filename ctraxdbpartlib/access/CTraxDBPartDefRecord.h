#pragma once

// What the two part-definition record classes share: the snapshot of one
// [Part_Definition] row and the getters over it. Each class traces under
// its own name.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "ctraxdbpartlib/readers/PartDefAccessor.h"
#include "interface/Handles.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface> class CTraxDBPartDefRecord : public CTraxDBRecord<TInterface> {
public:
    void getName(TCHAR *buffer, size_t size, bool) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getName(TCHAR *,size_t,bool)"));
        getter::text(name, buffer, size);
    }
    void getPCBCompName(TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPCBCompName(TCHAR *,size_t)"));
        getter::text(pcbCompName, buffer, size);
    }
    void getPCBCompAltName(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPCBCompAltName(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(pcbAltName, isNull, buffer, size);
    }
    void getValue(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getValue(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(value, isNull, buffer, size);
    }
    void getGateSwapping(bool &out) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getGateSwapping(bool &)"));
        getter::flag(gateSwapping, out);
    }
    void getPinNumName(bool &out) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPinNumName(bool &)"));
        getter::flag(pinNumName, out);
    }
    void getIsFPGA(bool &out) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getIsFPGA(bool &)"));
        getter::flag(isFPGA, out);
    }
    void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getCompNameStem(bool,TCHAR *,size_t)"));
        getter::textBufferFirst(compNameStem, isNull, buffer, size);
    }
    void getMaxConnectorPins(int &out) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getMaxConnectorPins(int &)"));
        out = maxConnectorPins;
    }
    void getPSpice(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPSpice(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(pSpice, isNull, buffer, size);
    }
    void getPosition(int &position) override { position = -1; }
    int getLibID() override { return libraryId; }
    int getID() override { return id; }

protected:
    CTraxDBPartDefRecord(pathHandle_t path, const PartDefAccessor &row, const char *className)
        : CTraxDBRecord<TInterface>(className), path(std::move(path)), id(row.id), libraryId(row.libraryId),
          maxConnectorPins(row.maxConnectorPins), gateSwapping(row.gateSwapping), pinNumName(row.pinNumName),
          isFPGA(row.isFPGA) {
        name.assign(row.name);
        pcbCompName.assign(row.pcbCompName);
        pcbAltName.assign(row.pcbAltName, row.pcbAltNameStatus);
        value.assign(row.value, row.valueStatus);
        compNameStem.assign(row.compNameStem, row.compNameStemStatus);
        pSpice.assign(row.pSpice, row.pSpiceStatus);
    }
    // Written while the path handle is still held.
    ~CTraxDBPartDefRecord() override { TXDB_TRACE(LOG_FINEST, this->destructorText()); }

    pathHandle_t path;
    int32_t id;
    int32_t libraryId;
    DBText<51> name;
    DBText<51> pcbCompName;
    DBText<51> pcbAltName;
    DBText<256> value;
    DBText<21> compNameStem;
    DBText<81> pSpice;
    int32_t maxConnectorPins;
    int16_t gateSwapping;
    int16_t pinNumName;
    int16_t isFPGA;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
