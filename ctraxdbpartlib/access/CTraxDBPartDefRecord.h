#pragma once

// What the two part-definition record classes share: the snapshot of one
// [Part_Definition] row and the getters over it. Each class traces under
// its own name.

#include "ctraxdbpartlib/access/CTraxDBPartDefFields.h"
#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "ctraxdbpartlib/readers/PartDefAccessor.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TInterface> class CTraxDBPartDefRecord : public CTraxDBPartDefFields<CTraxDBRecord<TInterface>> {
public:
    void getName(TCHAR *buffer, size_t size, bool) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getName(TCHAR *,size_t,bool)"));
        getter::text(this->defName, buffer, size);
    }
    void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getCompNameStem(bool,TCHAR *,size_t)"));
        getter::textBufferFirst(this->compNameStem, isNull, buffer, size);
    }
    void getPSpice(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPSpice(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(this->defPSpice, isNull, buffer, size, textWidth::DEFINITION_PSPICE_MIN);
    }
    void getPosition(int &position) override { position = -1; }
    int getLibID() override { return libraryId; }
    int getID() override { return id; }

protected:
    CTraxDBPartDefRecord(pathHandle_t path, const PartDefAccessor &row, const char *className)
        : CTraxDBPartDefFields<CTraxDBRecord<TInterface>>(row, className), path(std::move(path)), id(row.id),
          libraryId(row.libraryId) {}
    // Written while the path handle is still held.
    ~CTraxDBPartDefRecord() override { TXDB_TRACE(LOG_FINEST, this->destructorText()); }

    pathHandle_t path;
    int32_t id;
    int32_t libraryId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
