#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/connection/CDBPropSet.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The changes of a rowset to the rows of its base table: the table, the
// names of the bound columns, the key columns and their ordinals in the
// result (hidden ones after the select list), the changes held pending
// until they are applied, and the statements that apply them.
class RowsetChanges {
public:
    struct Change {
        enum Kind { INSERT, UPDATE, DELETE };
        Kind kind;
        std::vector<DBParam> values; // INSERT / UPDATE: one per bound column
        std::vector<DBParam> key;    // UPDATE / DELETE: the row's key
    };

    // Whether the rowset's properties ask for changes.
    static bool wanted(const CDBPropSet *properties);

    // Finds the base table and its key; adds missing key columns to `sql`.
    void prepare(ProviderConnection &connection, std::string &sql);
    // Ordinals of the key columns, once the statement is prepared: a visible
    // column of that name, else the hidden one added for it.
    void settleKeys(ProviderStatement &statement, const std::vector<DBBinding> &columns);
    // Refuses a change of a rowset that is not open or not changeable, and
    // one that needs the current row's key without one.
    HRESULT check(bool open, bool needsKey, bool onRow) const;
    // Runs the pending changes in order. Applied changes leave the list; a
    // failing one stays with those after it.
    HRESULT apply(ProviderConnection &connection);

    // Why changes are refused; empty when they are not.
    std::string unchangeable;
    std::string table;
    std::vector<int> keyOrdinals;
    std::vector<int> keyBindings; // per key column its binding, or -1 when unbound
    bool unboundKey = false;
    std::vector<Change> pending;

private:
    // The deletions that one statement takes at most.
    static constexpr size_t DELETIONS_PER_STATEMENT = 100;

    // The statement of one change, with its parameters.
    std::string statementOf(const ProviderConnection &connection, const Change &change,
                            std::vector<DBParam> &values) const;
    // "k1=? AND k2 IS NULL ..." for a row's key, its non-NULL parts added to
    // `values`.
    std::string keyCondition(const ProviderConnection &connection, const std::vector<DBParam> &key,
                             std::vector<DBParam> &values) const;
    // How many pending changes from `first` on are deletions of rows whose
    // keys hold no NULL, up to one statement's number.
    size_t deletionsAt(size_t first) const;
    // The statement that deletes `count` rows from `first` on, with their keys.
    std::string deletionOf(const ProviderConnection &connection, size_t first, size_t count,
                           std::vector<DBParam> &values) const;

    std::string tableText;
    std::vector<std::string> columnNames;
    std::vector<std::string> keyNames;
    int hiddenCount = 0;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
