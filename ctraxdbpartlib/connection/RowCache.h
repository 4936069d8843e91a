#pragma once

#include "ctraxdbpartlib/connection/DBProvider.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The in-memory copy of a rowset's result: every row's bound values (by
// binding) and key, rows deleted through the rowset marked, and per
// searched column the rows of each value in order. The values of all rows
// are in one array, a row's after another's (one per binding), so that a
// find touches as little memory as it can.
class RowCache {
public:
    static constexpr size_t NONE = static_cast<size_t>(-1);

    std::vector<DBParam> values;
    std::vector<char> deleted;
    std::vector<std::vector<DBParam>> keys; // only when a key column is unbound

    size_t size() const { return deleted.size(); }
    DBParam *row(size_t at) { return values.data() + at * width; }
    const DBParam *row(size_t at) const { return values.data() + at * width; }
    // Empties the copy for rows of `columns` values each.
    void clear(size_t columns);

    // The first row, in the rowset's order, whose value of `binding` is
    // `value`; NONE when there is none. The first find of a binding indexes
    // its column.
    size_t find(size_t binding, const DBParam &value);

    // The rowset's own changes, carried into the copy and its indexes.
    void setRow(size_t at, const std::vector<DBParam> &rowValues);
    void remove(size_t at);
    void append(const std::vector<DBParam> &rowValues);

private:
    // The rows of each value of one column: an open-addressing table from a
    // value to the first row that holds it, and per row the next row with the
    // same value (NONE at the end), in the rowset's order.
    struct ValueIndex {
        struct Slot {
            size_t hash = 0;
            size_t row = NONE; // NONE: never used; FREED: used before
        };
        static constexpr size_t FREED = NONE - 1;
        std::vector<Slot> slots;
        size_t used = 0; // slots that are not NONE
        std::vector<size_t> next;
    };

    static size_t hashOf(const DBParam &value);
    ValueIndex::Slot *slotOf(ValueIndex &index, size_t binding, const DBParam &value, size_t hash);
    void linkFirst(ValueIndex &index, size_t binding, size_t at);
    ValueIndex &indexOf(size_t binding);
    size_t firstRow(ValueIndex &index, size_t binding, const DBParam &value);
    void unindex(size_t at);
    void reindex(size_t at);

    size_t width = 0;
    std::unordered_map<int, ValueIndex> indexes; // by binding position
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
