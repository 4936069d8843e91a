#pragma once

#include "ctraxdbpartlib/OleDbTypes.h"
#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The buffer of a text column of width W (its characters plus the
// terminator, 51 for a VARCHAR(50)): room for W - 1 characters of UTF-8
// whatever their bytes. Every text field of an accessor and a record is one;
// a column's own is TextBuffer<bufferWidth(table, column)> (ColumnCatalogue.h).
template <size_t W> using TextBuffer = char[textBytes(W)];

// One binding of an accessor: a result column or an input parameter, by
// ordinal (1-based), onto a field of the accessor record.
struct DBBinding {
    enum Type { I4, I2, STR };
    int ordinal = 0;
    Type type = I4;
    void *value = nullptr;
    size_t width = 0;           // STR: buffer size including the NUL
    size_t *length = nullptr;   // optional: bytes returned
    DBSTATUS *status = nullptr; // optional: DBSTATUS_S_OK / DBSTATUS_S_ISNULL
    size_t limit = 0;           // STR: the most bytes a value may have, when fewer than the buffer holds

    size_t mostBytes() const { return limit != 0 && limit < width ? limit : width - 1; }
};

// How a fetch fills a binding: an integer column into I4 / I2; a text
// NUL-terminated (status DBSTATUS_S_OK, length = bytes copied). A text with
// more bytes than the binding takes (width-1, or its limit), or with a NUL
// byte inside, fails the fetch: no value is handed out cut. For SQL NULL
// the status is DBSTATUS_S_ISNULL, the length 0, and the value holds 0 or
// the empty string.

// The column map and parameter map of an accessor record. An accessor
// record T declares them in one member function:
//
//   struct LibraryAccessor {
//       TextBuffer<bufferWidth("Library", "Name")> name; int32_t id; int16_t enabled;
//       TextBuffer<bufferWidth("Library", "Comment")> comment;
//       DBSTATUS commentStatus;
//       void bind(ColumnMap &map) {
//           map.column(1, name);
//           map.column(2, id);
//           map.column(3, enabled);
//           map.column(4, comment, &commentStatus);
//       }
//   };
//
// Parameters are declared with map.param(n, field) in the same function.
class ColumnMap {
public:
    void column(int ordinal, int32_t &field, DBSTATUS *status = nullptr) {
        add(columns, ordinal, DBBinding::I4, &field, 0, nullptr, status);
    }
    void column(int ordinal, int16_t &field, DBSTATUS *status = nullptr) {
        add(columns, ordinal, DBBinding::I2, &field, 0, nullptr, status);
    }
    template <size_t N>
    void column(int ordinal, char (&field)[N], DBSTATUS *status = nullptr, size_t *length = nullptr) {
        add(columns, ordinal, DBBinding::STR, field, N, length, status);
    }
    // A text column whose values may have at most `limit` bytes, fewer than
    // the field holds.
    template <size_t N> void columnUpTo(int ordinal, char (&field)[N], DBSTATUS *status, size_t limit) {
        add(columns, ordinal, DBBinding::STR, field, N, nullptr, status);
        columns.back().limit = limit;
    }
    void param(int ordinal, int32_t &field) { add(params, ordinal, DBBinding::I4, &field, 0, nullptr, nullptr); }
    // A text parameter: the NUL-terminated text in the field (at most N-1 bytes).
    template <size_t N> void param(int ordinal, char (&field)[N]) {
        add(params, ordinal, DBBinding::STR, field, N, nullptr, nullptr);
    }

    std::vector<DBBinding> columns;
    std::vector<DBBinding> params;

private:
    static void add(std::vector<DBBinding> &list, int ordinal, DBBinding::Type type, void *value, size_t width,
                    size_t *length, DBSTATUS *status) {
        DBBinding b;
        b.ordinal = ordinal;
        b.type = type;
        b.value = value;
        b.width = width;
        b.length = length;
        b.status = status;
        list.push_back(b);
    }
};

// An accessor over the record T: the record is the buffer, T::bind its map.
template <class T> class CAccessor : public T {
public:
    CAccessor() : T() {}
    ColumnMap &getMap() {
        if (!mapped) {
            T::bind(map);
            mapped = true;
        }
        return map;
    }

private:
    ColumnMap map;
    bool mapped = false;
    // The map points into this object: copying would leave it pointing at the original.
    CAccessor(const CAccessor &) = delete;
    CAccessor &operator=(const CAccessor &) = delete;
};

// For commands that return no rows.
class CNoAccessor {};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
