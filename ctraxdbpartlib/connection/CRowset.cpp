#include "ctraxdbpartlib/connection/CRowset.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

HRESULT failWith(const std::string &text, HRESULT result) {
    CDBErrorInfo::add(text);
    return result;
}

// The first bytes of a stored value for a message, control bytes as \xNN;
// a UTF-8 character is not cut in two.
std::string shownStart(const char *text, size_t length) {
    const std::string start = fitted(std::string_view(text, length), 40);
    return storedEscaped(start) + (start.size() < length ? "..." : "");
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
// one table, optionally filtered and ordered. Gives the table, its name as
// the select writes it (quoted or not, so that the changes name the same
// table where unquoted names fold), and where FROM starts, so that key
// columns can be added to the list.
bool parseChangeableSelect(const std::string &sql, std::string &table, std::string &tableText, size_t &fromOffset,
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
    const size_t tableBegin = tokens[i].begin;
    table = tokens[i++].name;
    if (i + 1 < tokens.size() && tokens[i].isSymbol('.') && tokens[i + 1].isIdentifier()) {
        table = tokens[i + 1].name; // schema.table
        i += 2;
    }
    tableText = sql.substr(tableBegin, tokens[i - 1].end - tableBegin);
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
    std::string tableText;
    std::vector<std::string> columnNames;
    std::vector<std::string> keyNames;
    std::vector<int> keyOrdinals;
    std::vector<int> keyBindings; // per key column its binding, or -1 when unbound
    bool unboundKey = false;
    int hiddenCount = 0;
    std::vector<Change> pending;

    // The in-memory copy behind FindFirstRow and MoveToRow: every row's
    // bound values (by binding) and key, rows deleted through the rowset
    // marked, and per searched column the rows of each value in order.
    // The values of all rows in one array, a row's after another's (one per
    // binding), so that a find touches as little memory as it can.
    struct CachedRows {
        std::vector<DBParam> values;
        std::vector<char> deleted;
        std::vector<std::vector<DBParam>> keys; // only when a key column is unbound
        size_t width = 0;
        size_t size() const { return deleted.size(); }
        DBParam *row(size_t at) { return values.data() + at * width; }
        const DBParam *row(size_t at) const { return values.data() + at * width; }
        void clear(size_t columns) {
            values.clear();
            deleted.clear();
            keys.clear();
            width = columns;
        }
    };
    // The rows of each value of one column: an open-addressing table from a
    // value to the first row that holds it, and per row the next row with the
    // same value (NONE at the end), in the rowset's order.
    static constexpr size_t NONE = static_cast<size_t>(-1);
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
    bool cached = false;
    CachedRows rows;
    std::unordered_map<int, ValueIndex> indexes; // by binding position
    size_t current = 0;

    // A value that its integer binding cannot hold is a failure naming its
    // column, never a different number.
    HRESULT misfit(int ordinal, const DBBinding &binding) {
        size_t length = 0;
        const char *text = statement->getText(ordinal, length);
        return failWith(columnText(ordinal) + " holds a value that is not a " +
                            (binding.type == DBBinding::I4 ? "32" : "16") + "-bit integer: " + shownStart(text, length),
                        DB_E_CANTCONVERTVALUE);
    }

    // A text that its binding cannot hold whole (longer than the binding
    // takes, or with a NUL byte inside, at which every reader of the buffer
    // would stop) is a failure naming its column, never a value cut short.
    HRESULT unreadableText(int ordinal, const DBBinding &binding, const char *text, size_t length) {
        const size_t most = binding.mostBytes();
        if (length <= most && std::memchr(text, '\0', length) == nullptr)
            return S_OK;
        const std::string what = length > most ? "a text of " + std::to_string(length) + " bytes, longer than the " +
                                                     std::to_string(most) + " bytes it is read in,"
                                               : "a text with a NUL byte inside,";
        return failWith(columnText(ordinal) + " holds " + what + " and is not read cut: " + shownStart(text, length),
                        DB_E_CANTCONVERTVALUE);
    }

    std::string columnText(int ordinal) const {
        const std::string from = statement->tableName(ordinal);
        return "Column " + statement->columnName(ordinal) + (from.empty() ? "" : " of table " + from);
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
                const HRESULT readable = unreadableText(ordinal, binding, text, length);
                if (FAILED(readable))
                    return readable;
                char *target = static_cast<char *>(binding.value);
                std::memcpy(target, text, length);
                target[length] = '\0';
                if (binding.length)
                    *binding.length = length;
            }
            if (binding.status)
                *binding.status = DBSTATUS_S_OK;
        }
        return S_OK;
    }

    // The value of one binding in the current row of the statement; false
    // for an integer that the binding cannot hold.
    bool rowValue(const DBBinding &binding, DBParam &value) const {
        ProviderStatement &row = *statement;
        value = DBParam();
        if (row.isNull(binding.ordinal))
            return true;
        if (binding.type != DBBinding::STR) {
            const bool wide = binding.type == DBBinding::I4;
            int64_t number = 0;
            if (!row.getInteger(binding.ordinal, number) || number < (wide ? INT32_MIN : INT16_MIN) ||
                number > (wide ? INT32_MAX : INT16_MAX))
                return false;
            value = DBParam::fromInt(static_cast<int32_t>(number));
            return true;
        }
        size_t length = 0;
        const char *text = row.getText(binding.ordinal, length);
        value = DBParam::fromText(std::string(text, length));
        return true;
    }

    // Reads the rest of the result, from the first row, into `rows`.
    HRESULT loadCache() {
        if (!fresh) {
            HRESULT result = statement->execute(params);
            if (FAILED(result))
                return result;
        }
        fresh = false;
        onRow = false;
        rows.clear(columns.size());
        indexes.clear();
        for (;;) {
            HRESULT result = statement->fetch();
            if (result != S_OK)
                break;
            for (const DBBinding &binding : columns) {
                DBParam value;
                if (!rowValue(binding, value)) {
                    cached = false;
                    return misfit(binding.ordinal, binding);
                }
                if (binding.type == DBBinding::STR) {
                    const HRESULT readable =
                        unreadableText(binding.ordinal, binding, value.text.data(), value.text.size());
                    if (FAILED(readable)) {
                        cached = false;
                        return readable;
                    }
                }
                rows.values.push_back(std::move(value));
            }
            rows.deleted.push_back(false);
            if (unchangeable.empty() && unboundKey)
                rows.keys.push_back(currentKey());
        }
        cached = true;
        return S_OK;
    }

    static size_t hashOf(const DBParam &value) {
        return value.kind == DBParam::I4 ? std::hash<int32_t>()(value.intVal) * 0x9E3779B97F4A7C15ull
                                         : std::hash<std::string>()(value.text);
    }

    // The slot of the value in the column's index: the one that holds it,
    // else the first free one on its probe sequence.
    ValueIndex::Slot *slotOf(ValueIndex &index, size_t binding, const DBParam &value, size_t hash) {
        const size_t mask = index.slots.size() - 1;
        ValueIndex::Slot *freed = nullptr;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            ValueIndex::Slot &slot = index.slots[at];
            if (slot.row == NONE)
                return freed ? freed : &slot;
            if (slot.row == ValueIndex::FREED) {
                if (!freed)
                    freed = &slot;
            } else if (slot.hash == hash && rows.row(slot.row)[binding] == value) {
                return &slot;
            }
        }
    }

    // Adds the row as the head of its value's rows, growing the table first
    // when it is half full.
    void linkFirst(ValueIndex &index, size_t binding, size_t row) {
        if ((index.used + 1) * 2 > index.slots.size()) {
            std::vector<ValueIndex::Slot> old(std::max<size_t>(16, index.slots.size() * 2));
            old.swap(index.slots);
            index.used = 0;
            for (const ValueIndex::Slot &slot : old)
                if (slot.row != NONE && slot.row != ValueIndex::FREED) {
                    *slotOf(index, binding, rows.row(slot.row)[binding], slot.hash) = slot;
                    ++index.used;
                }
        }
        const DBParam &value = rows.row(row)[binding];
        const size_t hash = hashOf(value);
        ValueIndex::Slot *slot = slotOf(index, binding, value, hash);
        if (slot->row == NONE)
            ++index.used;
        index.next[row] = slot->row == NONE || slot->row == ValueIndex::FREED ? NONE : slot->row;
        *slot = {hash, row};
    }

    ValueIndex &indexOf(size_t binding) {
        auto found = indexes.find(static_cast<int>(binding));
        if (found != indexes.end())
            return found->second;
        ValueIndex &index = indexes[static_cast<int>(binding)];
        size_t size = 16;
        while (size < rows.size() * 2 + 2)
            size *= 2;
        index.slots.resize(size);
        index.next.assign(rows.size(), NONE);
        // From the last row back, so that each chain runs in the rowset's order.
        for (size_t i = rows.size(); i-- > 0;)
            if (!rows.deleted[i] && rows.row(i)[binding].kind != DBParam::NUL)
                linkFirst(index, binding, i);
        return index;
    }

    // The first row holding the value, or NONE.
    size_t firstRow(ValueIndex &index, size_t binding, const DBParam &value) {
        const size_t row = slotOf(index, binding, value, hashOf(value))->row;
        return row == ValueIndex::FREED ? NONE : row;
    }

    // Takes the row out of every index, under the value it has now.
    void unindex(size_t row) {
        for (auto &entry : indexes) {
            ValueIndex &index = entry.second;
            const DBParam &value = rows.row(row)[entry.first];
            if (value.kind == DBParam::NUL)
                continue;
            ValueIndex::Slot *slot = slotOf(index, entry.first, value, hashOf(value));
            if (slot->row == NONE || slot->row == ValueIndex::FREED)
                continue;
            if (slot->row == row) {
                slot->row = index.next[row] == NONE ? ValueIndex::FREED : index.next[row];
                continue;
            }
            for (size_t at = slot->row; at != NONE; at = index.next[at])
                if (index.next[at] == row) {
                    index.next[at] = index.next[row];
                    break;
                }
        }
    }

    // Puts the row into every index, in its place among the rows of its value.
    void reindex(size_t row) {
        for (auto &entry : indexes) {
            ValueIndex &index = entry.second;
            const DBParam &value = rows.row(row)[entry.first];
            if (index.next.size() <= row)
                index.next.resize(row + 1, NONE);
            index.next[row] = NONE;
            if (value.kind == DBParam::NUL)
                continue;
            const size_t head = firstRow(index, entry.first, value);
            if (head == NONE || row < head) {
                linkFirst(index, entry.first, row);
                continue;
            }
            size_t at = head;
            while (index.next[at] != NONE && index.next[at] < row)
                at = index.next[at];
            index.next[row] = index.next[at];
            index.next[at] = row;
        }
    }

    // Makes cached row `row` the current row and copies it into the buffer.
    void moveToCached(size_t row) {
        current = row;
        onRow = true;
        copyCached();
    }

    void copyCached() {
        const DBParam *row = rows.row(current);
        for (size_t i = 0; i < columns.size(); ++i) {
            const DBBinding &binding = columns[i];
            const DBParam &value = row[i];
            const bool null = value.kind == DBParam::NUL;
            if (binding.type == DBBinding::STR) {
                const size_t copied = null ? 0 : std::min(value.text.size(), binding.width - 1);
                char *target = static_cast<char *>(binding.value);
                if (copied)
                    std::memcpy(target, value.text.data(), copied);
                target[copied] = '\0';
                if (binding.length)
                    *binding.length = copied;
            } else if (binding.type == DBBinding::I4) {
                *static_cast<int32_t *>(binding.value) = value.intVal;
                if (binding.length)
                    *binding.length = null ? 0 : sizeof(int32_t);
            } else {
                *static_cast<int16_t *>(binding.value) = static_cast<int16_t>(value.intVal);
                if (binding.length)
                    *binding.length = null ? 0 : sizeof(int16_t);
            }
            if (binding.status)
                *binding.status = null ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK;
        }
    }

    // The rowset's own changes, carried into the copy.
    void cacheSetData(const std::vector<DBParam> &values) {
        unindex(current);
        std::copy(values.begin(), values.end(), rows.row(current));
        reindex(current);
    }
    void cacheDelete() {
        unindex(current);
        rows.deleted[current] = true;
    }
    // An inserted row joins the copy when its key is among its values.
    void cacheInsert(const std::vector<DBParam> &values) {
        if (unboundKey)
            return;
        rows.values.insert(rows.values.end(), values.begin(), values.end());
        rows.deleted.push_back(false);
        reindex(rows.size() - 1);
    }

    HRESULT fetch() {
        cached = false;
        fresh = false;
        HRESULT result = statement->fetch();
        onRow = result == S_OK;
        return onRow ? copyRow() : result;
    }

    // Finds the base table and its key; adds missing key columns to `sql`.
    void prepareChanges(std::string &sql) {
        size_t fromOffset = 0;
        std::vector<std::string> items;
        if (!parseChangeableSelect(sql, table, tableText, fromOffset, items)) {
            unchangeable = "The rows of this query cannot be changed: it does not select plain columns of one table";
            return;
        }
        if (FAILED(connection->cachedPrimaryKey(table, keyNames))) {
            unchangeable = "The key of table " + table + " cannot be read";
            CDBErrorInfo::clear();
            keyNames.clear();
            return;
        }
        char open = '"', close = '"';
        connection->dialect().quoteChars(open, close);
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
                if (equalsNoCase(statement->columnName(c), key))
                    ordinal = c;
            keyOrdinals.push_back(ordinal ? ordinal : nextHidden++);
            auto bound = std::find_if(columns.begin(), columns.end(),
                                      [&](const DBBinding &b) { return b.ordinal == keyOrdinals.back(); });
            keyBindings.push_back(bound == columns.end() ? -1 : static_cast<int>(bound - columns.begin()));
            unboundKey = unboundKey || keyBindings.back() < 0;
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

    // The key of the current row; in the copy, a key column that is bound is
    // read from the row's values, which the rowset's own changes keep current.
    std::vector<DBParam> currentKey() const {
        if (cached && unboundKey)
            return rows.keys[current];
        if (cached) {
            std::vector<DBParam> key;
            for (int binding : keyBindings)
                key.push_back(rows.row(current)[binding]);
            return key;
        }
        std::vector<DBParam> key;
        for (int ordinal : keyOrdinals)
            key.push_back(statement->value(ordinal));
        return key;
    }

    // The statement of one change, with its parameters.
    std::string changeSql(const Change &change, std::vector<DBParam> &values) const {
        char open = '"', close = '"';
        connection->dialect().quoteChars(open, close);
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
    if (impl->cached) {
        impl->copyCached();
        return S_OK;
    }
    return impl->copyRow();
}

HRESULT CRowset::Insert() {
    CDBErrorInfo::clear();
    HRESULT result = impl->checkChangeable(false);
    if (SUCCEEDED(result)) {
        impl->pending.push_back({Impl::Change::INSERT, impl->bufferValues(), {}});
        if (impl->cached)
            impl->cacheInsert(impl->pending.back().values);
    }
    return result;
}

HRESULT CRowset::SetData() {
    CDBErrorInfo::clear();
    HRESULT result = impl->checkChangeable(true);
    if (FAILED(result))
        return result;
    std::vector<DBParam> values = impl->bufferValues();
    // A row that already holds the values is not written again.
    if (impl->cached && std::equal(values.begin(), values.end(), impl->rows.row(impl->current)))
        return result;
    impl->pending.push_back({Impl::Change::UPDATE, std::move(values), impl->currentKey()});
    if (impl->cached)
        impl->cacheSetData(impl->pending.back().values);
    return result;
}

HRESULT CRowset::Delete() {
    CDBErrorInfo::clear();
    HRESULT result = impl->checkChangeable(true);
    if (SUCCEEDED(result)) {
        impl->pending.push_back({Impl::Change::DELETE, {}, impl->currentKey()});
        if (impl->cached)
            impl->cacheDelete();
        // A deleted row cannot be changed or deleted again.
        impl->onRow = false;
    }
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
            return r.copyRow();
    }
}

HRESULT CRowset::FindFirstRow(int ordinal) {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    auto binding = std::find_if(r.columns.begin(), r.columns.end(),
                                [ordinal](const DBBinding &b) { return b.ordinal == ordinal; });
    if (binding == r.columns.end())
        return failWith("Column " + std::to_string(ordinal) + " is not bound", E_INVALIDARG);
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
    Impl::ValueIndex &index = r.indexOf(static_cast<size_t>(binding - r.columns.begin()));
    const size_t row = r.firstRow(index, static_cast<size_t>(binding - r.columns.begin()), sought);
    if (row == Impl::NONE)
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
    return DB_S_ENDOFROWSET;
}

HRESULT CRowset::Update() {
    CDBErrorInfo::clear();
    Impl &r = *impl;
    if (!r.statement)
        return failWith("The rowset is not open", E_UNEXPECTED);
    // Applied changes leave the list; a failing one stays with those after it.
    // A statement text is prepared once and run again for the changes that
    // share it.
    std::map<std::string, std::unique_ptr<ProviderStatement>> prepared;
    size_t applied = 0;
    HRESULT result = S_OK;
    for (; applied < r.pending.size(); ++applied) {
        std::vector<DBParam> values;
        const std::string sql = r.changeSql(r.pending[applied], values);
        std::unique_ptr<ProviderStatement> &statement = prepared[sql];
        if (!statement && FAILED(result = r.connection->prepare(sql, statement)))
            break;
        if (FAILED(result = statement->execute(values)))
            break;
        RowChanges &changes = r.connection->rowTally()[r.table];
        const Impl::Change::Kind kind = r.pending[applied].kind;
        ++(kind == Impl::Change::INSERT   ? changes.added
           : kind == Impl::Change::UPDATE ? changes.changed
                                          : changes.removed);
    }
    r.pending.erase(r.pending.begin(), r.pending.begin() + static_cast<std::ptrdiff_t>(applied));
    return result;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
