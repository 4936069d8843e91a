#pragma once

// A query over the rows of one parent (ParentQuery.h) while a library
// prefetch runs on its connection. Each execution whose parent the
// prefetch can answer for is served from the rows read for the whole
// library; any other runs the statement itself, prepared when first
// needed. Either way the statement remembers the parent it last ran for,
// so that changes made through a rowset over it mark that parent's part
// definition as changed.

#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/ParentQuery.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class LibraryPrefetch;

// The result of a library-wide read: per column its name and table, the
// values row after row, and per parent the range of its rows. A count has
// one row per parent that has rows and a last row of 0 for the others.
struct PrefetchedRows {
    struct Cell {
        int64_t integer = 0; // getInteger's value, when it has one
        int32_t intValue = 0;
        size_t offset = 0; // of the text in `texts`
        size_t length = 0;
        uint8_t flags = 0;
    };
    // TEXT_OF_INTEGER: the cell keeps no text; its text is `integer` in decimal.
    static constexpr uint8_t IS_NULL = 1, HAS_INTEGER = 2, INT_VALUE = 4, TEXT_OF_INTEGER = 8;
    static constexpr size_t NONE = static_cast<size_t>(-1);

    size_t columns = 0;
    std::vector<std::string> names;
    std::vector<std::string> tables;
    std::vector<std::string> tablesRead; // every name in the query's text, its tables among them
    std::vector<Cell> cells;
    std::string texts;
    std::unordered_map<int32_t, std::pair<size_t, size_t>> ranges; // parent -> first row, rows
    size_t zeroRow = NONE;

    const Cell &cell(size_t row, int ordinal) const { return cells[row * columns + static_cast<size_t>(ordinal - 1)]; }

    // The cell of a whole number of an integer column: its 32-bit value is
    // its low half and its text its decimal digits, as the engines give them.
    static Cell integerCell(int64_t number) {
        Cell cell;
        cell.integer = number;
        cell.intValue = static_cast<int32_t>(number);
        cell.flags = HAS_INTEGER | INT_VALUE | TEXT_OF_INTEGER;
        return cell;
    }
};

class PrefetchedStatement : public ProviderStatement {
public:
    // `rows` is null when the prefetch holds none for the query; `real`
    // the statement prepared already, or null.
    PrefetchedStatement(std::shared_ptr<LibraryPrefetch> prefetch, std::string sql, ParentKind parent,
                        std::shared_ptr<const PrefetchedRows> rows, int generation,
                        std::unique_ptr<ProviderStatement> real);

    HRESULT execute(const std::vector<DBParam> &params) override;
    HRESULT fetch() override;
    int columnCount() override;
    std::string columnName(int ordinal) override;
    bool isNull(int ordinal) override;
    int32_t getInt(int ordinal) override;
    bool getInteger(int ordinal, int64_t &value) override;
    Integer integer(int ordinal, int64_t &value) override;
    std::string tableName(int ordinal) override;
    const char *getText(int ordinal, size_t &length) override;
    const char *nullableText(int ordinal, size_t &length) override;
    DBParam value(int ordinal) override;

    // Of the prefetch, the parent of the last execution; false before any
    // or when it had no whole-number parameter.
    bool lastParent(const LibraryPrefetch *of, ParentKind &kind, int32_t &parent) const;

private:
    const PrefetchedRows::Cell &cell(int ordinal) const { return rows->cell(row, ordinal); }

    std::shared_ptr<LibraryPrefetch> prefetch;
    std::string sql;
    ParentKind parent;
    std::shared_ptr<const PrefetchedRows> rows;
    int generation;
    std::unique_ptr<ProviderStatement> real;

    bool hasParent = false;
    int32_t parentKey = 0;
    // Whether the last execution was answered from `rows`; then the current
    // row, the next and the end of the parent's range.
    bool served = false;
    size_t row = 0;
    size_t next = 0;
    size_t end = 0;
    std::vector<std::string> formatted; // per column, the text of its integer cell last asked for
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
