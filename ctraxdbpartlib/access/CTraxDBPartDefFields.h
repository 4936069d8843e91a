#pragma once

// What the part-definition records and the combined part record share: the
// snapshot of a definition's own columns and the getters over them that
// both spell alike. The name, the simulator data and the name stem have
// getters of each class's own (the combined record names the first two
// after the definition; the definition records trace the stem's flag
// argument without its '&'). TBase is the record's base, whose arguments
// follow the columns in the constructor.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "ctraxdbpartlib/readers/PartDefAccessor.h"

#include <cstdint>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TBase> class CTraxDBPartDefFields : public TBase {
public:
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
    void getMaxConnectorPins(int &out) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getMaxConnectorPins(int &)"));
        out = maxConnectorPins;
    }

protected:
    template <class... TBaseArgs>
    explicit CTraxDBPartDefFields(const PartDefColumns &row, TBaseArgs &&...baseArgs)
        : TBase(std::forward<TBaseArgs>(baseArgs)...), maxConnectorPins(row.maxConnectorPins),
          gateSwapping(row.gateSwapping), pinNumName(row.pinNumName), isFPGA(row.isFPGA) {
        defName.assign(row.name);
        pcbCompName.assign(row.pcbCompName);
        pcbAltName.assign(row.pcbAltName, row.pcbAltNameStatus);
        value.assign(row.value, row.valueStatus);
        compNameStem.assign(row.compNameStem, row.compNameStemStatus);
        defPSpice.assign(row.pSpice, row.pSpiceStatus);
    }

    DBText<51> defName;
    DBText<51> pcbCompName;
    DBText<51> pcbAltName;
    DBText<256> value;
    DBText<21> compNameStem;
    DBText<textWidth::DEFINITION_PSPICE> defPSpice;
    int32_t maxConnectorPins;
    int16_t gateSwapping;
    int16_t pinNumName;
    int16_t isFPGA;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
