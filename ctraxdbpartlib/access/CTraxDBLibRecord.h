#pragma once

// What the two library record classes share: the snapshot of one
// [Library] row and the getters over it. Each class traces under its own
// name, so the name is given by the class.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "ctraxdbpartlib/readers/LibraryAccessor.h"
#include "interface/Handles.h"
#include "interface/Reader.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class PartAccess;
namespace DBIMPL {

template <class TInterface> class CTraxDBLibRecord : public CTraxDBRecord<TInterface> {
public:
    void getName(TCHAR *buffer, size_t size, bool) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getName(TCHAR *, size_t, bool)"));
        getter::text(name, buffer, size);
    }
    void getEnabled(bool &value) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getEnabled(bool &)"));
        getter::flag(enabled, value);
    }
    void getComment(bool &isNull, TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getComment(bool &, TCHAR *, size_t)"));
        getter::textBufferFirst(comment, isNull, buffer, size);
    }
    std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() override {
        TXDB_TRACE(LOG_FINE, this->traceText("getHierarchyElementReader"));
        return nullptr;
    }
    int getID() override {
        TXDB_TRACE(LOG_FINEST, this->traceText("getID"));
        return id;
    }

    const pathHandle_t &getPath() const { return path; }

protected:
    CTraxDBLibRecord(pathHandle_t path, const LibraryAccessor &row, const char *className)
        : CTraxDBRecord<TInterface>(className), path(std::move(path)), id(row.id), enabled(row.enabled) {
        name.assign(row.name);
        comment.assign(row.comment, row.commentStatus);
    }
    // Written while the path handle is still held.
    ~CTraxDBLibRecord() override { TXDB_TRACE(LOG_FINEST, this->destructorText()); }

    pathHandle_t path;
    int32_t id;
    int32_t enabled;
    DBText<51> name;
    DBText<256> comment;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
