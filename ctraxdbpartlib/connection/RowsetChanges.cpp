#include "ctraxdbpartlib/connection/RowsetChanges.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/ChangeableSelect.h"
#include "ctraxdbpartlib/connection/Dialect.h"
#include "ctraxdbpartlib/connection/RowBinding.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <algorithm>
#include <map>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

bool RowsetChanges::wanted(const CDBPropSet *properties) {
    if (!properties)
        return false;
    for (const auto &property : properties->properties())
        if ((property.first == DBPROP_IRowsetChange || property.first == DBPROP_IRowsetUpdate) &&
            property.second.type == DBVariant::BOOL && property.second.boolVal)
            return true;
    return false;
}

void RowsetChanges::prepare(ProviderConnection &connection, std::string &sql) {
    const ChangeableSelect *parsed = connection.cachedChangeableSelect(sql);
    if (parsed == nullptr) {
        unchangeable = "The rows of this query cannot be changed: it does not select plain columns of one table";
        return;
    }
    const ChangeableSelect &select = *parsed;
    table = select.table;
    tableText = select.tableText;
    if (FAILED(connection.cachedPrimaryKey(table, keyNames))) {
        unchangeable = "The key of table " + table + " cannot be read";
        CDBErrorInfo::clear();
        keyNames.clear();
        return;
    }
    char open = '"', close = '"';
    connection.dialect().quoteChars(open, close);
    const std::vector<std::string> &items = select.items;
    const bool all = std::find(items.begin(), items.end(), "*") != items.end();
    std::string hidden;
    for (const std::string &key : keyNames) {
        auto same = [&key](const std::string &item) { return equalsNoCase(item, key); };
        if (!all && std::none_of(items.begin(), items.end(), same)) {
            hidden += ", " + SqlTokenizer::quote(key, open, close);
            ++hiddenCount;
        }
    }
    // The ordinals are settled once the statement is prepared.
    if (!hidden.empty())
        sql.insert(select.fromOffset, hidden + " ");
}

void RowsetChanges::settleKeys(ProviderStatement &statement, const std::vector<DBBinding> &columns) {
    const int visible = statement.columnCount() - hiddenCount;
    int nextHidden = visible + 1;
    for (const std::string &key : keyNames) {
        int ordinal = 0;
        for (int c = 1; c <= visible && ordinal == 0; ++c)
            if (equalsNoCase(statement.columnName(c), key))
                ordinal = c;
        keyOrdinals.push_back(ordinal ? ordinal : nextHidden++);
        auto bound = std::find_if(columns.begin(), columns.end(),
                                  [&](const DBBinding &b) { return b.ordinal == keyOrdinals.back(); });
        keyBindings.push_back(bound == columns.end() ? -1 : static_cast<int>(bound - columns.begin()));
        unboundKey = unboundKey || keyBindings.back() < 0;
    }
    for (const DBBinding &binding : columns)
        columnNames.push_back(statement.columnName(binding.ordinal));
}

HRESULT RowsetChanges::check(bool open, bool needsKey, bool onRow) const {
    if (!open)
        return failWith("The rowset is not open", E_UNEXPECTED);
    if (!unchangeable.empty())
        return failWith(unchangeable, DB_E_NOTSUPPORTED);
    if (needsKey && keyNames.empty())
        return failWith("Table " + table + " has no primary key: its rows cannot be changed", DB_E_NOTSUPPORTED);
    if (needsKey && !onRow)
        return failWith("The rowset has no current row", DB_E_BADROWHANDLE);
    return S_OK;
}

std::string RowsetChanges::statementOf(const ProviderConnection &connection, const Change &change,
                                       std::vector<DBParam> &values) const {
    char open = '"', close = '"';
    connection.dialect().quoteChars(open, close);
    auto quoted = [&](const std::string &name) { return SqlTokenizer::quote(name, open, close); };
    std::string sql;
    if (change.kind == Change::INSERT) {
        std::string names, markers;
        for (size_t i = 0; i < columnNames.size(); ++i) {
            names += (i ? "," : "") + quoted(columnNames[i]);
            markers += i ? ",?" : "?";
        }
        values = change.values;
        return "INSERT INTO " + tableText + " (" + names + ") VALUES (" + markers + ")";
    }
    if (change.kind == Change::UPDATE) {
        sql = "UPDATE " + tableText + " SET ";
        for (size_t i = 0; i < columnNames.size(); ++i)
            sql += (i ? "," : "") + quoted(columnNames[i]) + "=?";
        values = change.values;
    } else {
        sql = "DELETE FROM " + tableText;
        values.clear();
    }
    return sql + " WHERE " + keyCondition(connection, change.key, values);
}

std::string RowsetChanges::keyCondition(const ProviderConnection &connection, const std::vector<DBParam> &key,
                                        std::vector<DBParam> &values) const {
    char open = '"', close = '"';
    connection.dialect().quoteChars(open, close);
    std::string condition;
    for (size_t k = 0; k < keyNames.size(); ++k) {
        condition += (k ? " AND " : "") + SqlTokenizer::quote(keyNames[k], open, close);
        if (key[k].kind == DBParam::NUL) {
            condition += " IS NULL";
        } else {
            condition += "=?";
            values.push_back(key[k]);
        }
    }
    return condition;
}

size_t RowsetChanges::deletionsAt(size_t first) const {
    size_t count = 0;
    for (size_t i = first; i < pending.size() && count < DELETIONS_PER_STATEMENT; ++i, ++count) {
        const Change &change = pending[i];
        if (change.kind != Change::DELETE || std::any_of(change.key.begin(), change.key.end(),
                                                         [](const DBParam &part) { return part.kind == DBParam::NUL; }))
            break;
    }
    return count;
}

std::string RowsetChanges::deletionOf(const ProviderConnection &connection, size_t first, size_t count,
                                      std::vector<DBParam> &values) const {
    std::string sql = "DELETE FROM " + tableText + " WHERE ";
    values.clear();
    for (size_t i = first; i < first + count; ++i)
        sql += (i > first ? " OR (" : "(") + keyCondition(connection, pending[i].key, values) + ")";
    return sql;
}

HRESULT RowsetChanges::apply(ProviderConnection &connection) {
    // A statement text is prepared once and run again for the changes that
    // share it. Deletions in a row go in one statement (a round trip each
    // on a server), changes one by one in their order.
    std::map<std::string, std::unique_ptr<ProviderStatement>> prepared;
    size_t applied = 0;
    HRESULT result = S_OK;
    while (applied < pending.size()) {
        const size_t deletions = deletionsAt(applied);
        const size_t count = std::max<size_t>(deletions, 1);
        std::vector<DBParam> values;
        const std::string sql = deletions > 1 ? deletionOf(connection, applied, deletions, values)
                                              : statementOf(connection, pending[applied], values);
        std::unique_ptr<ProviderStatement> &statement = prepared[sql];
        if (!statement && FAILED(result = connection.prepare(sql, statement)))
            break;
        if (FAILED(result = statement->execute(values)))
            break;
        RowChanges &changes = connection.rowTally()[table];
        const Change::Kind kind = pending[applied].kind;
        (kind == Change::INSERT   ? changes.added
         : kind == Change::UPDATE ? changes.changed
                                  : changes.removed) += static_cast<long>(count);
        applied += count;
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(applied));
    return result;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
