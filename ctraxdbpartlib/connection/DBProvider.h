#pragma once

// The engine behind the session layer. A provider is chosen by the
// Provider keyword of the initialisation string: SQLite (the embedded
// default) or ODBC. Every operation returns a result code and, on failure,
// leaves the engine's descriptions as error records (CDBErrorInfo).

#include "ctraxdbpartlib/OleDbTypes.h"
#include "ctraxdbpartlib/connection/ChangeableSelect.h"
#include "ctraxdbpartlib/connection/DBVariant.h"
#include "ctraxdbpartlib/connection/Dialect.h"
#include "ctraxdbpartlib/connection/RowTally.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class LibraryPrefetch;

// A text that is a whole decimal number (blanks around it allowed), as a
// number; false for any other text and for one beyond 64 bits.
bool wholeNumber(const char *text, size_t length, int64_t &value);

// One parameter value of a statement.
struct DBParam {
    enum Kind { NUL, I4, TEXT };
    Kind kind = NUL;
    int32_t intVal = 0;
    std::string text;

    static DBParam fromInt(int32_t value) {
        DBParam param;
        param.kind = I4;
        param.intVal = value;
        return param;
    }
    static DBParam fromText(std::string value) {
        DBParam param;
        param.kind = TEXT;
        param.text = std::move(value);
        return param;
    }
    bool operator==(const DBParam &other) const {
        return kind == other.kind && (kind != I4 || intVal == other.intVal) && (kind != TEXT || text == other.text);
    }
};

// A prepared statement with a result.
class ProviderStatement {
public:
    virtual ~ProviderStatement() = default;
    // Binds the parameters (1-based positions of the '?' markers) and runs
    // the statement; may be called again to re-run it from its first row.
    virtual HRESULT execute(const std::vector<DBParam> &params) = 0;
    // S_OK with a current row, DB_S_ENDOFROWSET after the last one.
    virtual HRESULT fetch() = 0;
    virtual int columnCount() = 0;
    virtual std::string columnName(int ordinal) = 0; // 1-based
    // Values of the current row (ordinals 1-based).
    virtual bool isNull(int ordinal) = 0;
    virtual int32_t getInt(int ordinal) = 0;
    // The value as a whole number; false when it holds none (a text that is
    // not one, a fraction).
    virtual bool getInteger(int ordinal, int64_t &value) = 0;
    // isNull and getInteger in one: engines that tell both by one look at
    // the value answer without asking twice.
    enum class Integer { NUL, NUMBER, NOT_A_NUMBER };
    virtual Integer integer(int ordinal, int64_t &value) {
        if (isNull(ordinal))
            return Integer::NUL;
        return getInteger(ordinal, value) ? Integer::NUMBER : Integer::NOT_A_NUMBER;
    }
    // The table a column of the result comes from; empty when unknown.
    virtual std::string tableName(int /*ordinal*/) { return std::string(); }
    // The text of the column and its length; valid until the next fetch.
    virtual const char *getText(int ordinal, size_t &length) = 0;
    // isNull and getText in one: no text (nullptr) for NULL.
    virtual const char *nullableText(int ordinal, size_t &length) {
        return isNull(ordinal) ? nullptr : getText(ordinal, length);
    }
    // The value of a column of the current row as a parameter for another
    // statement (used for the keys of rowset changes). By default a text
    // or NULL; engines that know the column's type give an integer too.
    virtual DBParam value(int ordinal) {
        DBParam param;
        if (isNull(ordinal))
            return param;
        size_t length = 0;
        const char *text = getText(ordinal, length);
        param.kind = DBParam::TEXT;
        param.text.assign(text, length);
        return param;
    }
    // The kind of value() without its text: engines answer it without
    // copying one.
    virtual DBParam::Kind kind(int ordinal) { return value(ordinal).kind; }

    // What kind(), getText(), getInteger() and getInt() give for a column,
    // taken at once: a whole number of kind I4 keeps no text (its text is
    // its digits), and getInt() of it is its low 32 bits.
    struct Snapshot {
        DBParam::Kind kind = DBParam::NUL;
        const char *text = nullptr; // valid until the next fetch
        size_t length = 0;
        bool whole = false; // getInteger's answer, in `integer`
        int64_t integer = 0;
        int32_t intValue = 0;

        // A whole number within 32 bits is that number on every engine.
        bool wholeInt32() const { return whole && integer >= INT32_MIN && integer <= INT32_MAX; }
    };
    // By default through those four, the text first; engines that look at a
    // value once override it.
    virtual void snapshot(int ordinal, Snapshot &value);
};

// One open connection, with its one session.
class ProviderConnection {
public:
    virtual ~ProviderConnection() = default;

    virtual HRESULT execute(const std::string &sql) = 0;
    virtual HRESULT prepare(const std::string &sql, std::unique_ptr<ProviderStatement> &statement) = 0;

    virtual HRESULT begin() = 0; // read committed
    // A transaction that is going to write: engines that lock the whole
    // database take the write lock at once, waiting for another writer a
    // bounded time, and say so plainly when it does not finish in time.
    virtual HRESULT beginWrite() { return begin(); }
    virtual HRESULT commit() = 0;
    virtual HRESULT rollback() = 0;
    virtual bool inTransaction() const = 0;

    // Names of the tables of the current catalog / of the catalogs offered.
    virtual HRESULT tables(std::vector<std::string> &names) = 0;
    virtual HRESULT catalogs(std::vector<std::string> &names) = 0;
    // Columns of a table's primary key, in key order.
    virtual HRESULT primaryKey(const std::string &table, std::vector<std::string> &columns) = 0;
    // The same, read once per table and connection: every updatable rowset
    // asks for its table's key. forgetPrimaryKeys drops what was read (a
    // statement that may change the schema calls it).
    HRESULT cachedPrimaryKey(const std::string &table, std::vector<std::string> &columns) {
        auto known = primaryKeys.find(table);
        if (known != primaryKeys.end()) {
            columns = known->second;
            return S_OK;
        }
        HRESULT result = primaryKey(table, columns);
        if (SUCCEEDED(result))
            primaryKeys[table] = columns;
        return result;
    }
    void forgetPrimaryKeys() { primaryKeys.clear(); }

    // parseChangeableSelect of the text, parsed once per text and
    // connection: the readers and writables open the same few statements
    // for every parent row. Null for a select whose rows cannot be changed.
    const ChangeableSelect *cachedChangeableSelect(const std::string &sql) {
        auto known = changeableSelects.find(sql);
        if (known == changeableSelects.end()) {
            // Filters make texts without end; the statements of a write are few.
            if (changeableSelects.size() >= CHANGEABLE_SELECTS_KEPT)
                changeableSelects.clear();
            ChangeableSelect select;
            const bool changeable = parseChangeableSelect(sql, select);
            known = changeableSelects
                        .emplace(sql, changeable ? std::optional<ChangeableSelect>(std::move(select)) : std::nullopt)
                        .first;
        }
        return known->second ? &*known->second : nullptr;
    }

    // DBPROP_DATASOURCENAME, DBPROP_DATASOURCEREADONLY, DBPROP_INIT_CATALOG;
    // a failure code when the provider has no answer.
    virtual HRESULT property(DBPropSet set, DBPROPID id, DBVariant &value) = 0;
    // What the engine behind the connection accepts beyond standard SQL.
    virtual const Dialect &dialect() const = 0;
    // The schema version the file itself holds, for a provider that serves
    // it as another (an old file read as upgraded); false when the database
    // is served as it is stored.
    virtual bool storedVersion(int & /*major*/, int & /*minor*/) const { return false; }
    // A second connection to the same database, for reads on another
    // thread that see what a read on this one sees: null while this one
    // runs a transaction (the other would not see its changes), and where
    // the engine offers none.
    virtual std::unique_ptr<ProviderConnection> openReader() { return nullptr; }
    // Has the statement under way, and those started until none runs, stop
    // with an error; may be called from another thread.
    virtual void interrupt() {}

    // The rows written through the connection since the tally was cleared:
    // the rowsets' applied changes and the rows of the library writes'
    // buffered INSERT statements.
    RowTally &rowTally() { return tally; }

    // Whether the engine takes an INSERT of several rows, once a library
    // write has probed it: the later writes on the connection do not ask
    // again.
    std::optional<bool> &multiRowInsert() { return multiRow; }

    // The library prefetch that runs on the connection, or null; set and
    // cleared by LibraryPrefetch::Scope.
    LibraryPrefetch *getPrefetch() const { return prefetch; }
    void setPrefetch(LibraryPrefetch *running) { prefetch = running; }

    // A number that names this connection for the life of the process:
    // unlike its address, it never names a connection opened after this
    // one is closed.
    uint64_t serial() const { return serialNumber; }

private:
    static uint64_t nextSerial();

    static constexpr size_t CHANGEABLE_SELECTS_KEPT = 256;

    std::map<std::string, std::vector<std::string>> primaryKeys;
    std::unordered_map<std::string, std::optional<ChangeableSelect>> changeableSelects;
    RowTally tally;
    std::optional<bool> multiRow;
    LibraryPrefetch *prefetch = nullptr;
    const uint64_t serialNumber = nextSerial();
};

// Whether an initialisation string's key names a password (Password, PWD;
// any case).
bool isPasswordKey(const std::string &key);

// The parsed initialisation string: keys as written (case kept), values
// unquoted, in their order of appearance.
class InitString {
public:
    static HRESULT parse(const std::string &text, InitString &out);
    // Case-insensitive lookup; empty when the key is absent.
    std::string get(const std::string &key) const;
    bool has(const std::string &key) const;
    // Rebuilds "key=value;" pairs, quoting values that need it; the
    // password keys (Password, PWD) are left out unless asked for.
    std::string toString(bool includePassword) const;

    std::vector<std::pair<std::string, std::string>> pairs;
};

// What opening a database file that does not exist does: create it (an
// empty database); create it for something to be written into it, and
// remove it again if the connection closes with nothing written (the user
// may still decline); or fail and leave no file behind.
enum class MissingFile { Create, CreateIfWritten, Refuse };

// Opens the provider the string names (SQLite when it names none).
HRESULT openProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection,
                     MissingFile missing = MissingFile::Create);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
