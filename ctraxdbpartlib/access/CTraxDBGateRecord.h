#pragma once

// What the gate records of a part definition and of a library add to the
// named members: the alternate name and its getter.

#include "ctraxdbpartlib/access/CTraxDBNamedMemberRecord.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TBase> class CTraxDBGateRecord : public CTraxDBNamedMemberRecord<TBase> {
public:
    void getAltName(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getAltName(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(altName, isNull, buffer, size);
    }

protected:
    template <class TRow, class... TBaseArgs>
    CTraxDBGateRecord(pathHandle_t path, const TRow &row, TBaseArgs... baseArgs)
        : CTraxDBNamedMemberRecord<TBase>(std::move(path), row, baseArgs...) {
        altName.assign(row.altName, row.altNameStatus);
    }

    DBText<51> altName;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
