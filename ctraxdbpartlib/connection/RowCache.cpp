#include "ctraxdbpartlib/connection/RowCache.h"

#include <algorithm>
#include <functional>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

void RowCache::clear(size_t columns) {
    values.clear();
    deleted.clear();
    keys.clear();
    width = columns;
    indexes.clear();
}

size_t RowCache::hashOf(const DBParam &value) {
    return value.kind == DBParam::I4 ? std::hash<int32_t>()(value.intVal) * 0x9E3779B97F4A7C15ull
                                     : std::hash<std::string>()(value.text);
}

// The slot of the value in the column's index: the one that holds it, else
// the first free one on its probe sequence.
RowCache::ValueIndex::Slot *RowCache::slotOf(ValueIndex &index, size_t binding, const DBParam &value, size_t hash) {
    const size_t mask = index.slots.size() - 1;
    ValueIndex::Slot *freed = nullptr;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        ValueIndex::Slot &slot = index.slots[at];
        if (slot.row == NONE)
            return freed ? freed : &slot;
        if (slot.row == ValueIndex::FREED) {
            if (!freed)
                freed = &slot;
        } else if (slot.hash == hash && row(slot.row)[binding] == value) {
            return &slot;
        }
    }
}

// Adds the row as the head of its value's rows, growing the table first when
// it is half full.
void RowCache::linkFirst(ValueIndex &index, size_t binding, size_t at) {
    if ((index.used + 1) * 2 > index.slots.size()) {
        std::vector<ValueIndex::Slot> old(std::max<size_t>(16, index.slots.size() * 2));
        old.swap(index.slots);
        index.used = 0;
        for (const ValueIndex::Slot &slot : old)
            if (slot.row != NONE && slot.row != ValueIndex::FREED) {
                *slotOf(index, binding, row(slot.row)[binding], slot.hash) = slot;
                ++index.used;
            }
    }
    const DBParam &value = row(at)[binding];
    const size_t hash = hashOf(value);
    ValueIndex::Slot *slot = slotOf(index, binding, value, hash);
    if (slot->row == NONE)
        ++index.used;
    index.next[at] = slot->row == NONE || slot->row == ValueIndex::FREED ? NONE : slot->row;
    *slot = {hash, at};
}

RowCache::ValueIndex &RowCache::indexOf(size_t binding) {
    auto found = indexes.find(static_cast<int>(binding));
    if (found != indexes.end())
        return found->second;
    ValueIndex &index = indexes[static_cast<int>(binding)];
    size_t slots = 16;
    while (slots < size() * 2 + 2)
        slots *= 2;
    index.slots.resize(slots);
    index.next.assign(size(), NONE);
    // From the last row back, so that each chain runs in the rowset's order.
    for (size_t i = size(); i-- > 0;)
        if (!deleted[i] && row(i)[binding].kind != DBParam::NUL)
            linkFirst(index, binding, i);
    return index;
}

// The first row holding the value, or NONE.
size_t RowCache::firstRow(ValueIndex &index, size_t binding, const DBParam &value) {
    const size_t at = slotOf(index, binding, value, hashOf(value))->row;
    return at == ValueIndex::FREED ? NONE : at;
}

size_t RowCache::find(size_t binding, const DBParam &value) {
    return firstRow(indexOf(binding), binding, value);
}

// Takes the row out of every index, under the value it has now.
void RowCache::unindex(size_t at) {
    for (auto &entry : indexes) {
        ValueIndex &index = entry.second;
        const DBParam &value = row(at)[entry.first];
        if (value.kind == DBParam::NUL)
            continue;
        ValueIndex::Slot *slot = slotOf(index, entry.first, value, hashOf(value));
        if (slot->row == NONE || slot->row == ValueIndex::FREED)
            continue;
        if (slot->row == at) {
            slot->row = index.next[at] == NONE ? ValueIndex::FREED : index.next[at];
            continue;
        }
        for (size_t other = slot->row; other != NONE; other = index.next[other])
            if (index.next[other] == at) {
                index.next[other] = index.next[at];
                break;
            }
    }
}

// Puts the row into every index, in its place among the rows of its value.
void RowCache::reindex(size_t at) {
    for (auto &entry : indexes) {
        ValueIndex &index = entry.second;
        const DBParam &value = row(at)[entry.first];
        if (index.next.size() <= at)
            index.next.resize(at + 1, NONE);
        index.next[at] = NONE;
        if (value.kind == DBParam::NUL)
            continue;
        const size_t head = firstRow(index, entry.first, value);
        if (head == NONE || at < head) {
            linkFirst(index, entry.first, at);
            continue;
        }
        size_t before = head;
        while (index.next[before] != NONE && index.next[before] < at)
            before = index.next[before];
        index.next[at] = index.next[before];
        index.next[before] = at;
    }
}

void RowCache::setRow(size_t at, const std::vector<DBParam> &rowValues) {
    unindex(at);
    std::copy(rowValues.begin(), rowValues.end(), row(at));
    reindex(at);
}

void RowCache::remove(size_t at) {
    unindex(at);
    deleted[at] = true;
}

void RowCache::append(const std::vector<DBParam> &rowValues) {
    values.insert(values.end(), rowValues.begin(), rowValues.end());
    deleted.push_back(false);
    reindex(size() - 1);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
