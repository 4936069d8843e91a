#pragma once

// The shared mechanism of the library-wide detail readers: one query over
// the details of a whole library, of the part definitions a filter text
// selects, or of one part definition; its Count(*) over the same rows; and
// the row index that numbers the records across the whole result.

#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A library-wide query in pieces. The statement is
//   "SELECT " select " FROM " from " WHERE " <ID column> <test> order
// and its count "SELECT Count(*) FROM " from " WHERE " <ID column> <test> ";",
// where the test is " = ?" or a blank and the caller's filter text.
struct DetailQuery {
    const char *select;
    const char *from;
    const char *order; // from the blank before ORDER BY up to the ';'
};

// Whether the query's list agrees with the accessor A and the catalogue
// (SelectCheck.h); its unqualified columns are of the first table of `from`.
template <class A> constexpr bool detailAgrees(const DetailQuery &query) {
    return listFault<A>(query.select, select::firstName(query.from)) == SelectFault::None;
}

template <class TInterface, class TAccessor> class DBAllDetailReader : public DBRowReader<TInterface, TAccessor> {
protected:
    using DBRowReader<TInterface, TAccessor>::DBRowReader;

    // The rows whose `idColumn` equals `id` (a library or a part definition).
    void openFor(const DetailQuery &query, const char *idColumn, int32_t id) {
        this->command.parentId = id;
        const std::string where = std::string(" WHERE ") + idColumn + " = ?";
        this->open(mainStatement(query, where));
        this->count = runCount(this->database(), countStatement(query, where), id);
    }

    // The rows of the part definitions that `filterText`, a condition on
    // `idColumn` that begins with its operator, selects. The text is
    // spliced as given; a text that is no valid condition fails the open.
    void openFiltered(const DetailQuery &query, const char *idColumn, const std::string &filterText) {
        this->command.hasParameter = false;
        const std::string where = std::string(" WHERE ") + idColumn + " " + filterText;
        this->open(mainStatement(query, where));
        this->count = runCount(this->database(), countStatement(query, where));
    }

    // The library form: an empty (or absent) text reads the whole library
    // through `libraryQuery`, any other text the definitions it selects
    // through `filteredQuery`.
    void openLibrary(const DetailQuery &libraryQuery, const DetailQuery &filteredQuery, const char *filteredIdColumn,
                     CTraxDBLibAccess &library, const TCHAR *filterText) {
        if (filterText == nullptr || *filterText == '\0')
            openFor(libraryQuery, "[Part_Definition].[Library_ID]", library.getID());
        else
            openFiltered(filteredQuery, filteredIdColumn, filterText);
    }

    // The index of the record being made: 0 for the first row of the
    // result, one more for each row after it.
    int nextIndex() { return ++rowIndex; }

private:
    static std::string mainStatement(const DetailQuery &query, const std::string &where) {
        return std::string("SELECT ") + query.select + " FROM " + query.from + where + query.order;
    }
    static std::string countStatement(const DetailQuery &query, const std::string &where) {
        return std::string("SELECT Count(*) FROM ") + query.from + where + ";";
    }

    int rowIndex = -1;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
