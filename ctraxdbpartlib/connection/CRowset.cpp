#include "ctraxdbpartlib/connection/CRowset.h"

#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <algorithm>
#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

HRESULT failWith(const std::string &text, HRESULT result) {
    CDBErrorInfo::add(text);
    return result;
}

// The buffer's value of one binding; NULL when its status says so.
DBParam bufferValue(const DBBinding &binding) {
    if (binding.status && *binding.status == DBSTATUS_S_ISNULL)
        return DBParam();
    switch (binding.type) {
    case DBBinding::I4:
        return DBParam::fromInt(*static_cast<const int32_t *>(binding.value));
    case DBBinding::I2:
        return DBParam::fromInt(*static_cast<const int16_t *>(binding.value));
    case DBBinding::STR:
        break;
    }
    const char *text = static_cast<const char *>(binding.value);
    return DBParam::fromText(std::string(text, strnlen(text, binding.width)));
}

bool wantsChanges(const CDBPropSet *properties) {
    if (!properties)
        return false;
    for (const auto &property : properties->properties())
        if ((property.first == DBPROP_IRowsetChange || property.first == DBPROP_IRowsetUpdate) &&
            property.second.type == DBVariant::BOOL && property.second.boolVal)
            return true;
    return false;
}

// A select whose rows can be changed: a plain list of columns (or *) from
// one table, optionally filtered and ordered. Gives the table and where
// FROM starts, so that key columns can be added to the list.
bool parseChangeableSelect(const std::string &sql, std::string &table, size_t &fromOffset,
                           std::vector<std::string> &items) {
    const std::vector<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    size_t i = 0;
    if (tokens.empty() || !tokens[i++].is("SELECT"))
        return false;
    // Items: name(.name)* or *, separated by commas.
    for (;;) {
        bool item = false;
        while (i < tokens.size() && (tokens[i].isIdentifier() || tokens[i].isSymbol('*')) && !tokens[i].is("FROM") &&
               !tokens[i].is("DISTINCT") && !tokens[i].is("ALL")) {
            if (!item)
                items.emplace_back();
            item = true;
            items.back() = tokens[i].name; // the last part names the column
            ++i;
            if (i < tokens.size() && tokens[i].isSymbol('.'))
                ++i;
            else
                break;
        }
        if (!item || i >= tokens.size())
            return false;
        if (tokens[i].isSymbol(',')) {
            ++i;
            continue;
        }
        break;
    }
    if (!tokens[i].is("FROM"))
        return false;
    fromOffset = tokens[i++].begin;
    if (i >= tokens.size() || !tokens[i].isIdentifier())
        return false;
    table = tokens[i++].name;
    if (i + 1 < tokens.size() && tokens[i].isSymbol('.') && tokens[i + 1].isIdentifier()) {
        table = tokens[i + 1].name; // schema.table
        i += 2;
    }
    if (i < tokens.size() && tokens[i].is("AS"))
        ++i;
    if (i < tokens.size() && tokens[i].isIdentifier() && !tokens[i].is("WHERE") && !tokens[i].is("ORDER") &&
        !tokens[i].is("LIMIT"))
        ++i; // alias
    if (i < tokens.size() && !tokens[i].is("WHERE") && !tokens[i].is("ORDER") && !tokens[i].is("LIMIT") &&
        !tokens[i].isSymbol(';'))
        return false;
    // Nothing at the top level that joins, groups or combines rows.
    int depth = 0;
    for (; i < tokens.size(); ++i) {
        if (tokens[i].isSymbol('('))
            ++depth;
        else if (tokens[i].isSymbol(')'))
            --depth;
        else if (depth == 0 && (tokens[i].is("GROUP") || tokens[i].is("UNION") || tokens[i].is("INTERSECT") ||
                                tokens[i].is("EXCEPT") || tokens[i].is("HAVING")))
            return false;
    }
    return true;
}

} // namespace

struct CRowset::Impl {
    struct Change {
        enum Kind { INSERT, UPDATE, DELETE };
        Kind kind;
        std::vector<DBParam> values; // INSERT / UPDATE: one per bound column
        std::vector<DBParam> key;    // UPDATE / DELETE: the row's key
    };

    ProviderConnection *connection = nullptr;
    std::unique_ptr<ProviderStatement> statement;
    std::vector<DBParam> params;
    std::vector<DBBinding> columns;
    bool fresh = false; // executed, no row fetched since
    bool onRow = false;

    // Changes: the base table, the names of the bound columns, the key
    // columns and their ordinals in the result (hidden ones after the
    // select list). `unchangeable` says why changes are refused.
    std::string unchangeable;
    std::string table;
    std::vector<std::string> columnNames;
    std::vector<std::string> keyNames;
    std::vector<int> keyOrdinals;
    int hiddenCount = 0;
    std::vector<Change> pending;

    // A value that its integer binding cannot hold is a failure naming its
    // column, never a different number.
    HRESULT misfit(int ordinal, const DBBinding &binding) {
        size_t length = 0;
        const char *text = statement->getText(ordinal, length);
        const std::string from = statement->tableName(ordinal);
        return failWith("Column " + statement->columnName(ordinal) + (from.empty() ? "" : " of table " + from) +
                            " holds a value that is not a " + (binding.type == DBBinding::I4 ? "32" : "16") +
                            "-bit integer: " + std::string(text, std::min<size_t>(length, 40)),
                        DB_E_CANTCONVERTVALUE);
    }

    // Copies the current row into the bindings. No allocation unless a value
    // does not fit: this runs once per fetched row.
    HRESULT copyRow() {
        ProviderStatement &row = *statement;
        for (const DBBinding &binding : columns) {
            const int ordinal = binding.ordinal;
            if (row.isNull(ordinal)) {
                if (binding.type == DBBinding::I4)
                    *static_cast<int32_t *>(binding.value) = 0;
                else if (binding.type == DBBinding::I2)
                    *static_cast<int16_t *>(binding.value) = 0;
                else
                    static_cast<char *>(binding.value)[0] = '\0';
                if (binding.length)
                    *binding.length = 0;
                if (binding.status)
                    *binding.status = DBSTATUS_S_ISNULL;
                continue;
            }
            if (binding.type == DBBinding::I4 || binding.type == DBBinding::I2) {
                const bool wide = binding.type == DBBinding::I4;
                int64_t value = 0;
                if (!row.getInteger(ordinal, value) || value < (wide ? INT32_MIN : INT16_MIN) ||
                    value > (wide ? INT32_MAX : INT16_MAX))
                    return misfit(ordinal, binding);
                if (wide)
                    *static_cast<int32_t *>(binding.value) = static_cast<int32_t>(value);
                else
                    *static_cast<int16_t *>(binding.value) = static_cast<int16_t>(value);
                if (binding.length)
                    *binding.length = wide ? sizeof(int32_t) : sizeof(int16_t);
            } else {
                size_t length = 0;
                const char *text = row.getText(ordinal, length);
                const size_t copied = std::min(length, binding.width - 1);
                char *target = static_cast<char *>(binding.value);
                std::memcpy(target, text, copied);
                target[copied] = '\0';
                if (binding.length)
                    *binding.length = copied;
            }
            if (binding.status)
                *binding.status = DBSTATUS_S_OK;
        }
        return S_OK;
    }

    HRESULT fetch() {
        fresh = false;
        HRESULT result = statement->fetch();
        onRow = result == S_OK;
        return onRow ? copyRow() : result;
    }

    // Finds the base table and its key; adds missing key columns to `sql`.
    void prepareChanges(std::string &sql) {
        size_t fromOffset = 0;
        std::vector<std::string> items;
        if (!parseChangeableSelect(sql, table, fromOffset, items)) {
            unchangeable = "The rows of this query cannot be changed: it does not select plain columns of one table";
            return;
        }
        if (FAILED(connection->primaryKey(table, keyNames))) {
            unchangeable = "The key of table " + table + " cannot be read";
            CDBErrorInfo::clear();
            keyNames.clear();
            return;
        }
        char open = '"', close = '"';
        connection->quoteChars(open, close);
        const bool all = std::find(items.begin(), items.end(), "*") != items.end();
        std::string hidden;
        for (const std::string &key : keyNames) {
            auto same = [&key](const std::string &item) { return SqlTokenizer::sameName(item, key); };
            if (!all && std::none_of(items.begin(), items.end(), same)) {
                hidden += ", " + SqlTokenizer::quote(key, open, close);
                ++hiddenCount;
            }
        }
        // The ordinals are settled once the statement is prepared.
        if (!hidden.empty())
            sql.insert(fromOffset, hidden + " ");
    }

    // Ordinals of the key columns: a visible column of that name, else
    // the hidden one added for it.
    void settleKeys() {
        const int visible = statement->columnCount() - hiddenCount;
        int nextHidden = visible + 1;
        for (const std::string &key : keyNames) {
            int ordinal = 0;
            for (int c = 1; c <= visible && ordinal == 0; ++c)
                if (SqlTokenizer::sameName(statement->columnName(c), key))
                    ordinal = c;
            keyOrdinals.push_back(ordinal ? ordinal : nextHidden++);
        }
        for (const DBBinding &binding : columns)
            columnNames.push_back(statement->columnName(binding.ordinal));
    }

    HRESULT checkChangeable(bool needsKey) const {
        if (!statement)
            return failWith("The rowset is not open", E_UNEXPECTED);
        if (!unchangeable.empty())
            return failWith(unchangeable, DB_E_NOTSUPPORTED);
        if (needsKey && keyNames.empty())
            return failWith("Table " + table + " has no primary key: its rows cannot be changed", DB_E_NOTSUPPORTED);
        if (needsKey && !onRow)
            return failWith("The rowset has no current row", DB_E_BADROWHANDLE);
        return S_OK;
    }

    std::vector<DBParam> bufferValues() const {
        std::vector<DBParam> values;
        values.reserve(columns.size());
        for (const DBBinding &binding : columns)
            values.push_back(bufferValue(binding));
        return values;
    }

    std::vector<DBParam> currentKey() const {
        std::vector<DBParam> key;
        for (int ordinal : keyOrdinals)
            key.push_back(statement->value(ordinal));
        return key;
    }

    // The statement of one change, with its parameters.
    std::string changeSql(const Change &change, std::vector<DBParam> &values) const {
        char open = '"', close = '"';
        connection->quoteChars(open, close);
        auto quoted = [&](const std::string &name) { return SqlTokenizer::quote(name, open, close); };
        std::string sql;
        if (change.kind == Change::INSERT) {
            std::string names, markers;
            for (size_t i = 0; i < columnNames.size(); ++i) {
                names += (i ? "," : "") + quoted(columnNames[i]);
                markers += i ? ",?" : "?";
            }
            values = change.values;
            return "INSERT INTO " + quoted(table) + " (" + names + ") VALUES (" + markers + ")";
        }
        if (change.kind == Change::UPDATE) {
            sql = "UPDATE " + quoted(table) + " SET ";
            for (size_t i = 0; i < columnNames.size(); ++i)
                sql += (i ? "," : "") + quoted(columnNames[i]) + "=?";
            values = change.values;
        } else {
            sql = "DELETE FROM " + quoted(table);
            values.clear();
        }
        for (size_t k = 0; k < keyNames.size(); ++k) {
            sql += (k ? " AND " : " WHERE ") + quoted(keyNames[k]);
            if (change.key[k].kind == DBParam::NUL) {
                sql += " IS NULL";
            } else {
                sql += "=?";
                values.push_back(change.key[k]);
            }
        }
        return sql;
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
    r.columns = map.columns;
    // Parameters in the order of their markers, read from the buffer now.
    for (const DBBinding &binding : map.params) {
        if (binding.ordinal < 1)
            return failWith("A parameter has no position", E_INVALIDARG);
        if (r.params.size() < static_cast<size_t>(binding.ordinal))
            r.params.resize(binding.ordinal);
        r.params[binding.ordinal - 1] = bufferValue(binding);
    }
    std::string query = sql;
    if (wantsChanges(properties))
        r.prepareChanges(query);
    else
        r.unchangeable = "The rowset was opened without change properties";
    HRESULT result = r.connection->prepare(query, r.statement);
    if (SUCCEEDED(result)) {
        const int count = r.statement->columnCount();
        for (const DBBinding &binding : r.columns)
            if (binding.ordinal < 1 || binding.ordinal > count ||
                (binding.type == DBBinding::STR && binding.width == 0)) {
                result =
                    failWith("Column " + std::to_string(binding.ordinal) + " is not in the select list", E_INVALIDARG);
                break;
            }
    }
    if (SUCCEEDED(result) && r.unchangeable.empty())
        r.settleKeys();
    if (SUCCEEDED(result))
        result = r.statement->execute(r.params);
    if (FAILED(result)) {
        HRESULT failed = result;
        std::vector<std::string> records = CDBErrorInfo::records();
        close();
        CDBErrorInfo::clear();
        for (const std::string &record : records)
            CDBErrorInfo::add(record);
        return failed;
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
    return impl->copyRow();
}

HRESULT CRowset::Insert() {
    CDBErrorInfo::clear();
    HRESULT result = impl->checkChangeable(false);
    if (SUCCEEDED(result))
        impl->pending.push_back({Impl::Change::INSERT, impl->bufferValues(), {}});
    return result;
}

HRESULT CRowset::SetData() {
    CDBErrorInfo::clear();
    HRESULT result = impl->checkChangeable(true);
    if (SUCCEEDED(result))
        impl->pending.push_back({Impl::Change::UPDATE, impl->bufferValues(), impl->currentKey()});
    return result;
}

HRESULT CRowset::Delete() {
    CDBErrorInfo::clear();
    HRESULT result = impl->checkChangeable(true);
    if (SUCCEEDED(result))
        impl->pending.push_back({Impl::Change::DELETE, {}, impl->currentKey()});
    return result;
}

HRESULT CRowset::FindNextRow(int ordinal) {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    auto binding = std::find_if(r.columns.begin(), r.columns.end(),
                                [ordinal](const DBBinding &b) { return b.ordinal == ordinal; });
    if (binding == r.columns.end())
        return failWith("Column " + std::to_string(ordinal) + " is not bound", E_INVALIDARG);
    // The value sought is taken before the fetches overwrite the buffer.
    const DBParam sought = bufferValue(*binding);
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
            return r.copyRow();
    }
}

HRESULT CRowset::Update() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    // Applied changes leave the list; a failing one stays with those after it.
    while (!r.pending.empty()) {
        std::vector<DBParam> values;
        const std::string sql = r.changeSql(r.pending.front(), values);
        std::unique_ptr<ProviderStatement> statement;
        HRESULT result = r.connection->prepare(sql, statement);
        if (SUCCEEDED(result))
            result = statement->execute(values);
        if (FAILED(result))
            return result;
        r.pending.erase(r.pending.begin());
    }
    return S_OK;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
