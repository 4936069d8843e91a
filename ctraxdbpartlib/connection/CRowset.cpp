#include "ctraxdbpartlib/connection/CRowset.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/connection/RowBinding.h"
#include "ctraxdbpartlib/connection/RowCache.h"
#include "ctraxdbpartlib/connection/RowsetChanges.h"

#include <algorithm>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

struct CRowset::Impl {
    ProviderConnection *connection = nullptr;
    std::unique_ptr<ProviderStatement> statement;
    std::vector<DBParam> params;
    RowBinding binding;
    bool fresh = false; // executed, no row fetched since
    bool onRow = false;
    RowsetChanges changes;
    // The key columns are looked up at the first use of a change or the copy,
    // which most rowsets (those of the readers) never make.
    bool keysSettled = false;

    // The in-memory copy behind FindFirstRow and MoveToRow, and its current row.
    bool cached = false;
    RowCache rows;
    size_t current = 0;

    void settleKeys() {
        if (keysSettled || !statement)
            return;
        if (changes.unchangeable.empty())
            changes.settleKeys(*statement, binding.columns);
        keysSettled = true;
    }

    // Reads the rest of the result, from the first row, into `rows`.
    HRESULT loadCache() {
        settleKeys();
        if (!fresh) {
            HRESULT result = statement->execute(params);
            if (FAILED(result))
                return result;
        }
        fresh = false;
        onRow = false;
        rows.clear(binding.columns.size());
        for (;;) {
            HRESULT result = statement->fetch();
            if (result != S_OK)
                break;
            for (const DBBinding &column : binding.columns) {
                DBParam value;
                if (!RowBinding::rowValue(*statement, column, value)) {
                    cached = false;
                    return RowBinding::misfit(*statement, column.ordinal, column);
                }
                if (column.type == DBBinding::STR) {
                    const HRESULT readable = RowBinding::unreadableText(*statement, column.ordinal, column,
                                                                        value.text.data(), value.text.size());
                    if (FAILED(readable)) {
                        cached = false;
                        return readable;
                    }
                }
                rows.values.push_back(std::move(value));
            }
            rows.deleted.push_back(false);
            if (changes.unchangeable.empty() && changes.unboundKey)
                rows.keys.push_back(currentKey());
        }
        cached = true;
        return S_OK;
    }

    // Makes cached row `row` the current row and copies it into the buffer.
    void moveToCached(size_t row) {
        current = row;
        onRow = true;
        binding.copyValues(rows.row(current));
    }

    HRESULT fetch() {
        cached = false;
        fresh = false;
        HRESULT result = statement->fetch();
        onRow = result == S_OK;
        return onRow ? binding.copyRow(*statement) : result;
    }

    // The key of the current row; in the copy, a key column that is bound is
    // read from the row's values, which the rowset's own changes keep current.
    std::vector<DBParam> currentKey() const {
        if (cached && changes.unboundKey)
            return rows.keys[current];
        if (cached) {
            std::vector<DBParam> key;
            for (int keyBinding : changes.keyBindings)
                key.push_back(rows.row(current)[keyBinding]);
            return key;
        }
        std::vector<DBParam> key;
        for (int ordinal : changes.keyOrdinals)
            key.push_back(statement->value(ordinal));
        return key;
    }

    // The position of the binding of column `ordinal`, or -1 when none.
    int bindingOf(int ordinal) const {
        const std::vector<DBBinding> &columns = binding.columns;
        auto found = std::find_if(columns.begin(), columns.end(),
                                  [ordinal](const DBBinding &b) { return b.ordinal == ordinal; });
        return found == columns.end() ? -1 : static_cast<int>(found - columns.begin());
    }
};

CRowset::CRowset() : impl(new Impl) {}

CRowset::~CRowset() = default;

bool CRowset::isOpen() const {
    return impl->statement != nullptr;
}

HRESULT CRowset::open(const CSession &session, const std::string &sql, const CDBPropSet *properties, ColumnMap &map) {
    CDBErrorInfo::clear();
    close();
    if (!session.isOpen())
        return failWith("The session is not open", E_UNEXPECTED);
    Impl &r = *impl;
    r.connection = session.getConnection();
    r.binding.columns = map.columns;
    // Parameters in the order of their markers, read from the buffer now.
    for (const DBBinding &binding : map.params) {
        if (binding.ordinal < 1)
            return failWith("A parameter has no position", E_INVALIDARG);
        if (r.params.size() < static_cast<size_t>(binding.ordinal))
            r.params.resize(binding.ordinal);
        r.params[binding.ordinal - 1] = bufferValue(binding);
    }
    std::string query = sql;
    if (RowsetChanges::wanted(properties))
        r.changes.prepare(*r.connection, query);
    else
        r.changes.unchangeable = "The rowset was opened without change properties";
    HRESULT result = prepareQuery(*r.connection, query, r.statement);
    if (SUCCEEDED(result)) {
        const int count = r.statement->columnCount();
        for (const DBBinding &binding : r.binding.columns)
            if (binding.ordinal < 1 || binding.ordinal > count ||
                (binding.type == DBBinding::STR && binding.width == 0)) {
                result =
                    failWith("Column " + std::to_string(binding.ordinal) + " is not in the select list", E_INVALIDARG);
                break;
            }
    }
    if (SUCCEEDED(result))
        result = r.statement->execute(r.params);
    if (FAILED(result)) {
        CDBErrorInfo::Kept failure;
        close();
        return result;
    }
    r.fresh = true;
    return S_OK;
}

void CRowset::close() {
    impl.reset(new Impl);
}

HRESULT CRowset::MoveFirst() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    if (!r.fresh) {
        HRESULT result = r.statement->execute(r.params);
        if (FAILED(result))
            return result;
    }
    return r.fetch();
}

HRESULT CRowset::MoveNext() {
    CDBErrorInfo::clear();
    if (!impl->statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    return impl->fetch();
}

HRESULT CRowset::GetData() {
    CDBErrorInfo::clear();
    if (!impl->statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    if (!impl->onRow)
        return failWith("The rowset has no current row", DB_E_BADROWHANDLE);
    if (impl->cached) {
        impl->binding.copyValues(impl->rows.row(impl->current));
        return S_OK;
    }
    return impl->binding.copyRow(*impl->statement);
}

HRESULT CRowset::Insert() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    r.settleKeys();
    HRESULT result = r.changes.check(r.statement != nullptr, false, r.onRow);
    if (SUCCEEDED(result)) {
        r.changes.pending.push_back({RowsetChanges::Change::INSERT, r.binding.bufferValues(), {}});
        // An inserted row joins the copy when its key is among its values.
        if (r.cached && !r.changes.unboundKey)
            r.rows.append(r.changes.pending.back().values);
    }
    return result;
}

HRESULT CRowset::SetData() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    r.settleKeys();
    HRESULT result = r.changes.check(r.statement != nullptr, true, r.onRow);
    if (FAILED(result))
        return result;
    std::vector<DBParam> values = r.binding.bufferValues();
    // A row that already holds the values is not written again.
    if (r.cached && std::equal(values.begin(), values.end(), r.rows.row(r.current)))
        return result;
    r.changes.pending.push_back({RowsetChanges::Change::UPDATE, std::move(values), r.currentKey()});
    if (r.cached)
        r.rows.setRow(r.current, r.changes.pending.back().values);
    return result;
}

HRESULT CRowset::checkChangeable() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    r.settleKeys();
    return r.changes.check(r.statement != nullptr, true, true);
}

HRESULT CRowset::Delete() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    r.settleKeys();
    HRESULT result = r.changes.check(r.statement != nullptr, true, r.onRow);
    if (SUCCEEDED(result)) {
        r.changes.pending.push_back({RowsetChanges::Change::DELETE, {}, r.currentKey()});
        if (r.cached)
            r.rows.remove(r.current);
        // A deleted row cannot be changed or deleted again.
        r.onRow = false;
    }
    return result;
}

HRESULT CRowset::FindNextRow(int ordinal) {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    const int position = r.bindingOf(ordinal);
    if (position < 0)
        return failWith("Column " + std::to_string(ordinal) + " is not bound", E_INVALIDARG);
    const DBBinding *binding = &r.binding.columns[static_cast<size_t>(position)];
    // The value sought is taken before the fetches overwrite the buffer.
    const DBParam sought = bufferValue(*binding);
    r.cached = false;
    for (;;) {
        r.fresh = false;
        HRESULT result = r.statement->fetch();
        r.onRow = result == S_OK;
        if (result != S_OK)
            return result;
        DBParam candidate;
        if (!r.statement->isNull(ordinal)) {
            if (binding->type == DBBinding::STR) {
                size_t length = 0;
                const char *text = r.statement->getText(ordinal, length);
                candidate = DBParam::fromText(std::string(text, length));
            } else {
                candidate = DBParam::fromInt(r.statement->getInt(ordinal));
            }
        }
        // NULL never equals anything, not even NULL.
        if (sought.kind != DBParam::NUL && candidate == sought)
            return r.binding.copyRow(*r.statement);
    }
}

HRESULT CRowset::FindFirstRow(int ordinal) {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    const int position = r.bindingOf(ordinal);
    if (position < 0)
        return failWith("Column " + std::to_string(ordinal) + " is not bound", E_INVALIDARG);
    const DBBinding *binding = &r.binding.columns[static_cast<size_t>(position)];
    // The value sought is taken before the copy is read into the buffer.
    const DBParam sought = bufferValue(*binding);
    if (!r.cached) {
        HRESULT result = r.loadCache();
        if (FAILED(result))
            return result;
    }
    r.onRow = false;
    if (sought.kind == DBParam::NUL) // NULL never equals anything
        return DB_S_ENDOFROWSET;
    const size_t row = r.rows.find(static_cast<size_t>(position), sought);
    if (row == RowCache::NONE)
        return DB_S_ENDOFROWSET;
    r.moveToCached(row);
    return S_OK;
}

HRESULT CRowset::MoveToRow(int position) {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    if (!r.cached) {
        HRESULT result = r.loadCache();
        if (FAILED(result))
            return result;
    }
    r.onRow = false;
    if (position < 0 || static_cast<size_t>(position) >= r.rows.size() || r.rows.deleted[position])
        return DB_S_ENDOFROWSET;
    r.moveToCached(static_cast<size_t>(position));
    return S_OK;
}

HRESULT CRowset::Update() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    if (LibraryPrefetch *prefetch = r.connection->getPrefetch(); prefetch && !r.changes.pending.empty()) {
        std::vector<std::vector<DBParam>> keys;
        for (const RowsetChanges::Change &change : r.changes.pending)
            keys.push_back(change.key);
        prefetch->changing(*r.statement, r.changes.table, keys);
    }
    return r.changes.apply(*r.connection);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
