#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Adds `text` to the thread's error records and returns `result`.
HRESULT failWith(const std::string &text, HRESULT result);

// The buffer's value of one binding; NULL when its status says so.
DBParam bufferValue(const DBBinding &binding);

// The column bindings of a rowset: copies a row of its statement, or a row
// of values taken before, into the accessor's buffer, and takes the
// buffer's values back.
class RowBinding {
public:
    std::vector<DBBinding> columns;

    // Copies the current row of `row` into the bindings. No allocation
    // unless a value does not fit: this runs once per fetched row.
    HRESULT copyRow(ProviderStatement &row) const;
    // Copies one value per binding into the bindings.
    void copyValues(const DBParam *values) const;
    // The buffer's values, one per binding.
    std::vector<DBParam> bufferValues() const;

    // The value of one binding in the current row of `row`; false for an
    // integer that the binding cannot hold.
    static bool rowValue(ProviderStatement &row, const DBBinding &binding, DBParam &value);
    // A value that its integer binding cannot hold is a failure naming its
    // column, never a different number.
    static HRESULT misfit(ProviderStatement &row, int ordinal, const DBBinding &binding);
    // A text that its binding cannot hold whole (longer than the binding
    // takes, or with a NUL byte inside, at which every reader of the buffer
    // would stop) is a failure naming its column, never a value cut short.
    static HRESULT unreadableText(ProviderStatement &row, int ordinal, const DBBinding &binding, const char *text,
                                  size_t length);
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
