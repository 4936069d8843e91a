#pragma once

// What the part record classes share: the snapshot of a part's own columns
// and the getters over them, including the lookups of the part's folder
// and definition. Each class traces under its own name.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "interface/Handles.h"
#include "interface/HierarchyAccess.h"
#include "interface/PartDefAccess.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The part definition with the given ID, or an empty handle.
std::shared_ptr<PartDefAccess> lookupPartDefinition(const pathHandle_t &path, int32_t partDefId);

template <class TInterface> class CTraxDBPartRecord : public CTraxDBRecord<TInterface> {
public:
    void getName(TCHAR *buffer, size_t size, bool) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getName(TCHAR *,size_t,bool)"));
        getter::text(name, buffer, size);
    }
    void getNumber(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getNumber(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(number, isNull, buffer, size);
    }
    void getLibraryNumber(int *libraryID) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getLibraryNumber(int *)"));
        *libraryID = libraryId;
    }
    void getVersion(bool &isNull, int &value) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getVersion(bool &,int &)"));
        getter::value(version, isNull, value, OnNull::KeepValue);
    }
    // The buffer must hold 51 characters; a longer description is cut to
    // the buffer rather than overrun it.
    void getDescription(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getDescription(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(description, isNull, buffer, size, 51);
    }
    void getPSpice(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPSpice(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(pSpice, isNull, buffer, size);
    }
    void getPartAcceptance(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPartAcceptance(bool &,TCHAR *,size_t)"));
        getter::textBufferFirst(acceptance, isNull, buffer, size);
    }
    std::shared_ptr<PartDefAccess> getPartPartDefn() override {
        TXDB_TRACE(LOG_FINE, this->traceText("getPartPartDefn"));
        return lookupPartDefinition(path, partDefId);
    }
    void getHierarchyPosition(int &position) override { position = -1; }
    void getPartDefPosition(int &position) override { position = -1; }

protected:
    CTraxDBPartRecord(pathHandle_t path, const PartColumns &row, const char *className)
        : CTraxDBRecord<TInterface>(className), path(std::move(path)), id(row.id), libraryId(row.libraryId),
          partDefId(row.partDefId), hierarchyId(row.hierarchyId) {
        name.assign(row.name);
        number.assign(row.number, row.numberStatus);
        description.assign(row.description, row.descriptionStatus);
        pSpice.assign(row.pSpice, row.pSpiceStatus);
        acceptance.assign(row.acceptance, row.acceptanceStatus);
        version.assign(row.version, row.versionStatus);
    }
    // Written while the path handle is still held.
    ~CTraxDBPartRecord() override { TXDB_TRACE(LOG_FINEST, this->destructorText()); }

    pathHandle_t path;
    int32_t id;
    int32_t libraryId;
    int32_t partDefId;
    int32_t hierarchyId;
    DBText<51> name;
    DBText<51> number;
    DBText<256> description;
    DBText<81> pSpice;
    DBText<256> acceptance;
    DBValue<int32_t> version;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
