#pragma once

// What the records of a definition's gates and gate-swap groups share,
// per definition and library-wide: the path handle their sub-reader needs,
// the row's ID and name, the index from the reader, and the getters over
// them. TRow is the reader's accessor record; TBase is the family's base
// over the record's interface, whose arguments follow the row in the
// constructor.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "interface/Handles.h"

#include <cstdint>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TBase> class CTraxDBNamedMemberRecord : public TBase {
public:
    void getIndex(int &value) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getIndex(int &)"));
        value = this->index;
    }
    void getName(TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getName(TCHAR *,size_t)"));
        getter::text(name, buffer, size);
    }
    int getID() override {
        TXDB_TRACE(LOG_FINEST, this->traceText("getID"));
        return id;
    }

protected:
    template <class TRow, class... TBaseArgs>
    CTraxDBNamedMemberRecord(pathHandle_t path, const TRow &row, TBaseArgs... baseArgs)
        : TBase(baseArgs...), path(std::move(path)), id(row.id) {
        name.assign(row.name);
    }

    pathHandle_t path;
    int32_t id;
    DBText<51> name;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
