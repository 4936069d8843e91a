#pragma once

// Compile-time agreement of a SELECT list, its accessor and the column
// catalogue. A reader states next to its statement text
//
//   static_assert(selectAgrees<PinDataAccessor>(SELECT_PINS));
//
// and the build fails when the list names a column the catalogue does not
// hold for its table, or when the accessor binds the list's columns at other
// ordinals, to other types or to text buffers of another width.
//
// The accessors declare their bind as `template <class Map> constexpr void
// bind(Map &)`, so that it runs on a ColumnMap at run time and on the
// ColumnShapes below at compile time. The lists are those the readers write: items "[Table].[Column]" or
// "[Column]" (of the statement's table, the first after FROM) separated by
// commas and blanks.

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

enum class SelectFault {
    None,
    UnknownColumn, // an item is no column of the catalogue (or no "[Table].[Column]" at all)
    ColumnCount,   // the accessor binds more or fewer columns than the list names
    Ordinal,       // an ordinal outside the list, or bound twice
    Type,          // an integer column not bound to an integer wide enough, or a text not to a text
    TextWidth,     // a text bound to a buffer that takes other than the column's bytes
};

namespace select {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\n' || c == '\t';
}

constexpr std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

constexpr char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where the keyword (lower case, e.g. "from") stands as a word outside
// brackets, or npos.
constexpr size_t keyword(std::string_view text, std::string_view word) {
    bool inName = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '[' || text[i] == ']')
            inName = text[i] == '[';
        if (inName || i + word.size() > text.size() || (i > 0 && !isBlank(text[i - 1]) && text[i - 1] != ']'))
            continue;
        bool same = true;
        for (size_t j = 0; j < word.size() && same; ++j)
            same = lower(text[i + j]) == word[j];
        if (same && (i + word.size() == text.size() || isBlank(text[i + word.size()]) || text[i + word.size()] == '['))
            return i;
    }
    return std::string_view::npos;
}

// The name in the first brackets of the text, or empty.
constexpr std::string_view firstName(std::string_view text) {
    const size_t open = text.find('[');
    const size_t close = open == std::string_view::npos ? open : text.find(']', open);
    return close == std::string_view::npos ? std::string_view() : text.substr(open + 1, close - open - 1);
}

// The list of a statement "SELECT <list> [FROM ...]".
constexpr std::string_view listOf(std::string_view statement) {
    statement = trimmed(statement);
    const size_t start = keyword(statement, "select");
    if (start != 0)
        return {};
    statement.remove_prefix(6);
    return trimmed(statement.substr(0, keyword(statement, "from")));
}

// The first table after the statement's FROM, or empty without one.
constexpr std::string_view tableOf(std::string_view statement) {
    const size_t from = keyword(statement, "from");
    return from == std::string_view::npos ? std::string_view() : firstName(statement.substr(from));
}

constexpr size_t itemCount(std::string_view list) {
    if (trimmed(list).empty())
        return 0;
    size_t count = 1;
    for (char c : list)
        count += c == ',';
    return count;
}

// The catalogue place of the list's item `index` (from 0), or COLUMN_COUNT.
constexpr size_t itemColumn(std::string_view list, size_t index, std::string_view table) {
    for (; index > 0; --index)
        list.remove_prefix(list.find(',') + 1);
    std::string_view item = trimmed(list.substr(0, list.find(',')));
    std::string_view name = item;
    const size_t dot = item.find("].[");
    if (dot != std::string_view::npos) {
        table = item.substr(1, dot - 1);
        name = item.substr(dot + 2);
    }
    if (name.size() < 3 || name.front() != '[' || name.back() != ']')
        return COLUMN_COUNT;
    return columnIndex(table, name.substr(1, name.size() - 2));
}

// The result columns an accessor binds, recorded at compile time: the same
// calls as ColumnMap's, kept by ordinal, type and the bytes they take.
class ColumnShapes {
public:
    static constexpr size_t MOST = 32;

    constexpr void column(int ordinal, int32_t &, DBSTATUS * = nullptr) { add(ordinal, DBBinding::I4, 0); }
    constexpr void column(int ordinal, int16_t &, DBSTATUS * = nullptr) { add(ordinal, DBBinding::I2, 0); }
    template <size_t N> constexpr void column(int ordinal, char (&)[N], DBSTATUS * = nullptr, size_t * = nullptr) {
        add(ordinal, DBBinding::STR, N - 1);
    }
    template <size_t N> constexpr void columnUpTo(int ordinal, char (&)[N], DBSTATUS *, size_t limit) {
        add(ordinal, DBBinding::STR, limit < N - 1 ? limit : N - 1);
    }
    constexpr void param(int, int32_t &) {}
    template <size_t N> constexpr void param(int, char (&)[N]) {}

    struct Shape {
        int ordinal = 0;
        DBBinding::Type type = DBBinding::I4;
        size_t bytes = 0; // STR: the most bytes a value may have
    };
    Shape shapes[MOST] = {};
    size_t count = 0;
    bool overflow = false;

private:
    constexpr void add(int ordinal, DBBinding::Type type, size_t bytes) {
        if (count == MOST) {
            overflow = true;
            return;
        }
        shapes[count++] = Shape{ordinal, type, bytes};
    }
};

constexpr SelectFault shapeFault(const ColumnShapes::Shape &shape, const CatalogueColumn &column) {
    switch (column.type) {
    case ColumnType::Integer:
        return shape.type == DBBinding::I4 ? SelectFault::None : SelectFault::Type;
    case ColumnType::SmallInt:
        return shape.type == DBBinding::STR ? SelectFault::Type : SelectFault::None;
    case ColumnType::Varchar:
        if (shape.type != DBBinding::STR)
            return SelectFault::Type;
        return shape.bytes == textBytes(column.width + 1) - 1 ? SelectFault::None : SelectFault::TextWidth;
    }
    return SelectFault::Type;
}

} // namespace select

// The first disagreement of the list (its columns of `table` where an item
// names no table of its own) with the catalogue and with what the accessor
// A binds, or SelectFault::None.
template <class A> constexpr SelectFault listFault(std::string_view list, std::string_view table) {
    const size_t items = select::itemCount(list);
    for (size_t i = 0; i < items; ++i)
        if (select::itemColumn(list, i, table) == COLUMN_COUNT)
            return SelectFault::UnknownColumn;
    A accessor{};
    select::ColumnShapes map;
    accessor.bind(map);
    if (map.overflow || map.count != items)
        return SelectFault::ColumnCount;
    for (size_t i = 0; i < map.count; ++i) {
        const select::ColumnShapes::Shape &shape = map.shapes[i];
        if (shape.ordinal < 1 || static_cast<size_t>(shape.ordinal) > items)
            return SelectFault::Ordinal;
        for (size_t j = 0; j < i; ++j)
            if (map.shapes[j].ordinal == shape.ordinal)
                return SelectFault::Ordinal;
        const SelectFault fault = select::shapeFault(
            shape, COLUMN_CATALOGUE[select::itemColumn(list, static_cast<size_t>(shape.ordinal) - 1, table)]);
        if (fault != SelectFault::None)
            return fault;
    }
    return SelectFault::None;
}

// The same for a whole statement "SELECT <list> FROM <table>..."; a
// statement head without its FROM names its table.
template <class A> constexpr SelectFault statementFault(std::string_view statement, std::string_view table = {}) {
    const std::string_view from = select::tableOf(statement);
    return listFault<A>(select::listOf(statement), from.empty() ? table : from);
}

template <class A> constexpr bool selectAgrees(std::string_view statement, std::string_view table = {}) {
    return statementFault<A>(statement, table) == SelectFault::None;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
