#pragma once

// What the attribute records of a part definition and of a library share:
// the snapshot of an attribute's columns and the getters over them. TRow is
// the reader's accessor record (AttributeAccessor or AllAttributeAccessor);
// TBase is the family's base over the record's interface, whose arguments
// follow the row in the constructor.

#include "ctraxdbpartlib/access/CTraxDBRecord.h"
#include "ctraxdbpartlib/readers/TextWidths.h"

#include <cstdint>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class TBase> class CTraxDBAttribRecord : public TBase {
public:
    void getName(TCHAR *buffer, size_t size, bool) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getName(TCHAR *,size_t,bool)"));
        getter::text(name, buffer, size, textWidth::ATTRIBUTE_NAME_MIN);
    }
    void getValue(TCHAR *buffer, size_t size) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getValue(TCHAR *,size_t)"));
        getter::text(value, buffer, size);
    }
    void getType(int &out) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getType(int &)"));
        out = usageType;
    }
    void getReadOnly(int &out) override {
        TXDB_TRACE(LOG_FINE, this->traceText("getReadOnly(int &)"));
        out = readOnly;
    }

protected:
    template <class TRow, class... TBaseArgs>
    explicit CTraxDBAttribRecord(const TRow &row, TBaseArgs... baseArgs)
        : TBase(baseArgs...), usageType(row.usageType), readOnly(row.readOnly) {
        name.assign(row.name);
        value.assign(row.value);
    }

    DBText<textWidth::ATTRIBUTE_NAME> name;
    DBText<256> value;
    int32_t usageType;
    int32_t readOnly; // a NULL arrives from the fetch as 0
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
