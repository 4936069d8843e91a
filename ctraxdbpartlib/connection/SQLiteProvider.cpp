#include "ctraxdbpartlib/connection/SQLiteProvider.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CDBErrorInfo.h"
#include "ctraxdbpartlib/connection/SQLiteDdl.h"
#include "ctraxdbpartlib/connection/SQLiteDialect.h"
#include "ctraxdbpartlib/connection/SqlTokenizer.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

// Whether the database file or its journal has come within a page of the
// largest file this process may write (RLIMIT_FSIZE).
bool atFileSizeLimit(const std::string &file) {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return false;
    constexpr off_t LARGEST_PAGE = 65536;
    for (const std::string &each : {file, file + "-journal", file + "-wal"}) {
        struct stat status {};
        if (::stat(each.c_str(), &status) == 0 && static_cast<rlim_t>(status.st_size + LARGEST_PAGE) >= limit.rlim_cur)
            return true;
    }
    return false;
}

bool fileExists(const std::string &file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0;
}

// Whether the folder a file would be made in is there (a missing folder is
// the engine's "unable to open", not a file to be created).
bool folderExists(const std::string &file) {
    const size_t slash = file.find_last_of('/');
    struct stat status {};
    return slash == std::string::npos || ::stat(file.substr(0, slash + 1).c_str(), &status) == 0;
}

// Why a database file that is not there was not opened, and how to have it
// made.
std::string missingFileText(const std::string &file, bool readOnly) {
    std::string text = "The SQLite file \"" + file + "\" does not exist";
    if (readOnly)
        return text + " (a read-only open never creates one)";
    return text + ": it is created only when the host allows prompting (doPromptValidationMsg(true)) and the user "
                  "agrees to create the part library in it (partlib init creates one)";
}

// A write that found no room, told as such: the engine says "database or
// disk is full" for a full disk and for a short write at the file-size
// limit alike, and "disk I/O error" for a write refused at that limit (its
// error number may be overwritten by the calls that follow). Empty for
// every other failure.
std::string noRoomText(sqlite3 *db, int kind, const std::string &file) {
    if (kind != SQLITE_FULL && kind != SQLITE_IOERR)
        return "";
    const int error = sqlite3_system_errno(db);
    if (error == EFBIG || atFileSizeLimit(file))
        return "Writing " + file + " failed: the file would grow past the size limit of this process";
    if (kind == SQLITE_FULL || error == ENOSPC || error == EDQUOT)
        return "Writing " + file + " failed: the disk is full";
    return "";
}

// A failing engine call: its message as the error record and the result
// code its kind stands for.
HRESULT failure(sqlite3 *db, int rc, bool preparing) {
    std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    // Failures of the file rather than of the statement name the file.
    const int kind = rc & 0xff;
    const char *file = db ? sqlite3_db_filename(db, "main") : nullptr;
    if (file && (kind == SQLITE_NOTADB || kind == SQLITE_BUSY || kind == SQLITE_LOCKED || kind == SQLITE_CORRUPT ||
                 kind == SQLITE_READONLY || kind == SQLITE_CANTOPEN || kind == SQLITE_IOERR || kind == SQLITE_FULL))
        text += ": " + std::string(file);
    if (const std::string noRoom = file && *file ? noRoomText(db, kind, file) : ""; !noRoom.empty())
        text = noRoom;
    CDBErrorInfo::add(text);
    CDBErrorInfo::setCause({std::string(), rc});
    if ((rc & 0xff) == SQLITE_CONSTRAINT)
        return DB_E_INTEGRITYVIOLATION;
    if (preparing && (rc & 0xff) == SQLITE_ERROR)
        return DB_E_ERRORSINCOMMAND;
    return E_FAIL;
}

// The prepared statements of a connection that no command uses, by their
// text, for the next command of the same text: a library write opens the
// same few readers and rowsets for every definition, and preparing such a
// statement costs more than running it. Statements handed back are reset
// and hold no lock; once the connection closes, they are finalized at once.
class StatementCache {
public:
    ~StatementCache() { close(); }

    // An idle statement of this text, or null.
    sqlite3_stmt *take(const std::string &sql) {
        auto found = idle.find(sql);
        if (found == idle.end())
            return nullptr;
        sqlite3_stmt *stmt = found->second;
        idle.erase(found);
        return stmt;
    }
    void give(const std::string &sql, sqlite3_stmt *stmt) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        if (closed || idle.size() >= LIMIT)
            sqlite3_finalize(stmt);
        else
            idle.emplace(sql, stmt);
    }
    void close() {
        for (auto &entry : idle)
            sqlite3_finalize(entry.second);
        idle.clear();
        closed = true;
    }

private:
    static constexpr size_t LIMIT = 64;
    std::unordered_multimap<std::string, sqlite3_stmt *> idle;
    bool closed = false;
};

class SQLiteStatement : public ProviderStatement {
public:
    SQLiteStatement(sqlite3 *db, sqlite3_stmt *stmt, std::shared_ptr<StatementCache> cache, std::string sql)
        : db(db), stmt(stmt), cache(std::move(cache)), sql(std::move(sql)) {}
    ~SQLiteStatement() override { cache->give(sql, stmt); }

    // Binds and runs the statement up to its first row, which fetch then
    // hands out; a statement without rows is finished here.
    HRESULT execute(const std::vector<DBParam> &params) override {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        for (size_t i = 0; i < params.size(); ++i) {
            const DBParam &p = params[i];
            const int index = static_cast<int>(i + 1);
            int rc = p.kind == DBParam::I4     ? sqlite3_bind_int(stmt, index, p.intVal)
                     : p.kind == DBParam::TEXT ? sqlite3_bind_text(stmt, index, p.text.data(),
                                                                   static_cast<int>(p.text.size()), SQLITE_TRANSIENT)
                                               : sqlite3_bind_null(stmt, index);
            if (rc != SQLITE_OK)
                return failure(db, rc, false);
        }
        atEnd = false;
        rowWaiting = false;
        HRESULT result = step();
        rowWaiting = result == S_OK;
        return FAILED(result) ? result : S_OK;
    }

    HRESULT fetch() override {
        if (rowWaiting) {
            rowWaiting = false;
            return S_OK;
        }
        if (atEnd)
            return DB_S_ENDOFROWSET;
        return step();
    }

    int columnCount() override { return sqlite3_column_count(stmt); }
    std::string columnName(int ordinal) override {
        const char *name = sqlite3_column_name(stmt, ordinal - 1);
        return name ? name : "";
    }
    bool isNull(int ordinal) override { return sqlite3_column_type(stmt, ordinal - 1) == SQLITE_NULL; }
    int32_t getInt(int ordinal) override { return sqlite3_column_int(stmt, ordinal - 1); }
    bool getInteger(int ordinal, int64_t &value) override { return integer(ordinal, value) == Integer::NUMBER; }
    // SQLite keeps what it is given: an integer column may hold a text or a real.
    Integer integer(int ordinal, int64_t &value) override {
        const auto number = [](bool whole) { return whole ? Integer::NUMBER : Integer::NOT_A_NUMBER; };
        switch (sqlite3_column_type(stmt, ordinal - 1)) {
        case SQLITE_NULL:
            return Integer::NUL;
        case SQLITE_INTEGER:
            value = sqlite3_column_int64(stmt, ordinal - 1);
            return Integer::NUMBER;
        case SQLITE_FLOAT: {
            const double real = sqlite3_column_double(stmt, ordinal - 1);
            value = static_cast<int64_t>(real);
            return number(real >= -9.2e18 && real <= 9.2e18 && static_cast<double>(value) == real);
        }
        default: {
            size_t length = 0;
            const char *text = getText(ordinal, length);
            return number(wholeNumber(text, length, value));
        }
        }
    }
    std::string tableName(int ordinal) override {
        const char *name = sqlite3_column_table_name(stmt, ordinal - 1);
        return name ? name : "";
    }
    const char *getText(int ordinal, size_t &length) override {
        const char *text = nullableText(ordinal, length);
        return text ? text : "";
    }
    // SQLite gives no text for NULL, and none when it runs out of memory,
    // which reads as an empty text.
    const char *nullableText(int ordinal, size_t &length) override {
        const unsigned char *text = sqlite3_column_text(stmt, ordinal - 1);
        length = static_cast<size_t>(sqlite3_column_bytes(stmt, ordinal - 1));
        if (text)
            return reinterpret_cast<const char *>(text);
        length = 0;
        return sqlite3_column_type(stmt, ordinal - 1) == SQLITE_NULL ? nullptr : "";
    }

    // One look at the type, and at a text once. A real goes the long way.
    void snapshot(int ordinal, Snapshot &value) override {
        const int column = ordinal - 1;
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            value = Snapshot();
            return;
        case SQLITE_INTEGER:
            value = Snapshot();
            value.kind = DBParam::I4;
            value.whole = true;
            value.integer = sqlite3_column_int64(stmt, column);
            value.intValue = static_cast<int32_t>(value.integer);
            return;
        case SQLITE_FLOAT:
            ProviderStatement::snapshot(ordinal, value);
            return;
        default:
            value = Snapshot();
            value.kind = DBParam::TEXT;
            value.text = getText(ordinal, value.length);
            value.whole = wholeNumber(value.text, value.length, value.integer);
            value.intValue =
                value.wholeInt32() ? static_cast<int32_t>(value.integer) : sqlite3_column_int(stmt, column);
        }
    }
    DBParam::Kind kind(int ordinal) override {
        switch (sqlite3_column_type(stmt, ordinal - 1)) {
        case SQLITE_NULL:
            return DBParam::NUL;
        case SQLITE_INTEGER:
            return DBParam::I4;
        default:
            return DBParam::TEXT;
        }
    }
    DBParam value(int ordinal) override {
        switch (kind(ordinal)) {
        case DBParam::NUL:
            return DBParam();
        case DBParam::I4:
            return DBParam::fromInt(sqlite3_column_int(stmt, ordinal - 1));
        default:
            return ProviderStatement::value(ordinal);
        }
    }

private:
    // One step; at the end the statement is reset so that it holds no lock,
    // and stays at its end until it is executed again.
    HRESULT step() {
        int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            return S_OK;
        atEnd = true;
        HRESULT result = rc == SQLITE_DONE ? DB_S_ENDOFROWSET : failure(db, sqlite3_extended_errcode(db), false);
        sqlite3_reset(stmt);
        return result;
    }

    sqlite3 *db;
    sqlite3_stmt *stmt;
    std::shared_ptr<StatementCache> cache;
    std::string sql;
    bool atEnd = false;
    bool rowWaiting = false;
};

// How long a statement waits for another connection's lock. A reader is
// locked out while a writer commits, or spills its cache into the file,
// which lasts until that writer's transaction ends: the reads of a command
// wait as long as its write does.
constexpr int BUSY_TIMEOUT_MS = 10000;

class SQLiteConnection : public ProviderConnection {
public:
    // `made`: the open created the file, for something to be written.
    SQLiteConnection(sqlite3 *db, std::string file, bool made) : db(db), file(std::move(file)) {
        const char *full = sqlite3_db_filename(db, "main");
        struct stat status {};
        if (full && *full && ::stat(full, &status) == 0)
            atOpen = {true, status.st_dev, status.st_ino};
        // By its full name: the working folder may change before the close.
        if (made && full && *full)
            madeFile = full;
    }
    // A file that the open made and nothing was written into (a part
    // library the user chose not to create) goes with the connection.
    ~SQLiteConnection() override {
        cache->close();
        sqlite3_close_v2(db);
        struct stat status {};
        if (!madeFile.empty() && ::stat(madeFile.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            status.st_size == 0)
            ::unlink(madeFile.c_str());
    }

    // Runs one statement; the schema's ALTER TABLE forms SQLite lacks are
    // carried out by the DDL unit.
    HRESULT execute(const std::string &sql) override {
        SQLiteDdl ddl(*this);
        bool handled = false;
        HRESULT result = ddl.run(sql, handled);
        if (handled)
            return result;
        return run(sql);
    }

    HRESULT run(const std::string &sql) {
        sqlite3_stmt *stmt = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
        if (rc != SQLITE_OK)
            return failure(db, sqlite3_extended_errcode(db), true);
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        HRESULT result = rc == SQLITE_DONE ? S_OK : failure(db, sqlite3_extended_errcode(db), false);
        sqlite3_finalize(stmt);
        return result;
    }

    HRESULT prepare(const std::string &sql, std::unique_ptr<ProviderStatement> &statement) override {
        if (sqlite3_stmt *idle = cache->take(sql)) {
            statement.reset(new SQLiteStatement(db, idle, cache, sql));
            return S_OK;
        }
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
            return failure(db, sqlite3_extended_errcode(db), true);
        if (stmt == nullptr) {
            CDBErrorInfo::add("The statement is empty");
            return DB_E_ERRORSINCOMMAND;
        }
        statement.reset(new SQLiteStatement(db, stmt, cache, sql));
        return S_OK;
    }

    HRESULT begin() override {
        if (inTransaction()) {
            CDBErrorInfo::add("A transaction is already running on this session");
            return XACT_E_XTIONEXISTS;
        }
        return execute("BEGIN;");
    }
    HRESULT beginWrite() override {
        if (inTransaction()) {
            CDBErrorInfo::add("A transaction is already running on this session");
            return XACT_E_XTIONEXISTS;
        }
        // Statement journals (a multi-row INSERT in a transaction keeps
        // one) in memory rather than in temporary files while the write
        // runs. Reads keep the default: with temporary storage in memory,
        // SQLite's sorter allocates every row of an ORDER BY apart instead
        // of filling one buffer (a library export took about 4% longer).
        // A larger page cache was tried for the library writes' big
        // transactions: it spilled no syncs, only buffered writes, and cost
        // more time than it saved.
        // The setting changes only while no temporary database is open:
        // a change closes it, and with it a client's TEMP tables.
        journalsInMemory = !tempDatabaseOpen() &&
                           sqlite3_exec(db, "PRAGMA temp_store=MEMORY;", nullptr, nullptr, nullptr) == SQLITE_OK;
        HRESULT result = run("BEGIN IMMEDIATE;");
        if (FAILED(result)) {
            if ((sqlite3_extended_errcode(db) & 0xff) == SQLITE_BUSY) {
                const CDBErrorInfo::Cause cause = CDBErrorInfo::cause();
                CDBErrorInfo::clear();
                CDBErrorInfo::setCause(cause);
                CDBErrorInfo::add("The database " + file + " is busy: another program has been writing to it for " +
                                  std::to_string(BUSY_TIMEOUT_MS / 1000) +
                                  " seconds. Nothing was written; try again when it has finished.");
            }
            restoreTempStore();
        }
        return result;
    }
    HRESULT commit() override { return endTransaction("COMMIT;"); }
    HRESULT rollback() override {
        // A write that failed on the file (a full disk) ends the transaction
        // in the engine, but leaves the journal and the grown file to the
        // next reader: a read plays the journal back now.
        if (!inTransaction()) {
            std::vector<std::string> ignored;
            column("SELECT count(*) FROM sqlite_master;", ignored);
        }
        return endTransaction("ROLLBACK;");
    }
    bool inTransaction() const override { return sqlite3_get_autocommit(db) == 0; }

    // The settings of every connection, and the first read.
    HRESULT setUp(int busyTimeout = BUSY_TIMEOUT_MS) {
        sqlite3_busy_timeout(db, busyTimeout);
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        // Reading the schema tells a file that is not a database, or a locked one, at once.
        std::vector<std::string> ignored;
        HRESULT result = column("SELECT name FROM sqlite_master LIMIT 1;", ignored);
        if (FAILED(result))
            return result;
        if (FAILED(result = run("PRAGMA foreign_keys=ON;")))
            return result;
        // LIKE tells case as '=' does, and as it does on the server engines.
        return run("PRAGMA case_sensitive_like=ON;");
    }

    // The file opened once more, read-only, to read what this connection
    // reads: not while it runs a transaction or a statement (in WAL mode a
    // statement under way keeps reading the data of its start), holds TEMP
    // tables, views or triggers (a client's TEMP table hides the file's
    // table of its name), was opened by a URI (its parameters may name
    // another VFS or locking), or when its file was replaced on disk or it
    // has none (in memory). The other connection gives up at once on a
    // locked file: this one then reads as it always does. The thread's
    // error records stay as they were.
    std::unique_ptr<ProviderConnection> openReader() override {
        CDBErrorInfo::Kept errors;
        const char *full = sqlite3_db_filename(db, "main");
        if (inTransaction() || runsStatement() || full == nullptr || *full == '\0' ||
            equalsNoCase(file.substr(0, 5), "file:") || !sameFile(full) || holdsTemporaryObjects())
            return nullptr;
        sqlite3 *reader = nullptr;
        if (sqlite3_open_v2(full, &reader, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            sqlite3_close_v2(reader);
            return nullptr;
        }
        auto opened = std::make_unique<SQLiteConnection>(reader, full, false);
        if (FAILED(opened->setUp(0)))
            return nullptr;
        return opened;
    }
    void interrupt() override { sqlite3_interrupt(db); }
    HRESULT tables(std::vector<std::string> &names) override {
        return column("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY name;",
                      names);
    }
    HRESULT catalogs(std::vector<std::string> &names) override {
        names.assign(1, file);
        return S_OK;
    }
    HRESULT primaryKey(const std::string &table, std::vector<std::string> &columns) override {
        std::vector<std::pair<int, std::string>> keyed;
        std::unique_ptr<ProviderStatement> statement;
        HRESULT result = prepare("PRAGMA table_info(" + SqlTokenizer::quote(table, '"', '"') + ");", statement);
        if (FAILED(result))
            return result;
        if (FAILED(result = statement->execute({})))
            return result;
        while ((result = statement->fetch()) == S_OK) {
            size_t length = 0;
            int pk = statement->getInt(6);
            if (pk > 0)
                keyed.emplace_back(pk, std::string(statement->getText(2, length)));
        }
        if (FAILED(result))
            return result;
        std::sort(keyed.begin(), keyed.end());
        columns.clear();
        for (auto &entry : keyed)
            columns.push_back(entry.second);
        return S_OK;
    }

    HRESULT property(DBPropSet set, DBPROPID id, DBVariant &value) override {
        if (set == DBPropSet::DATASOURCEINFO && id == DBPROP_DATASOURCENAME) {
            value = DBVariant::fromString(file);
            return S_OK;
        }
        if (set == DBPropSet::DATASOURCEINFO && id == DBPROP_DATASOURCEREADONLY) {
            value = DBVariant::fromBool(sqlite3_db_readonly(db, "main") == 1);
            return S_OK;
        }
        // A file has no catalog to select.
        return DB_E_NOTSUPPORTED;
    }

    const Dialect &dialect() const override {
        static const SQLiteDialect sqlite;
        return sqlite;
    }

    // Every value of the first column of a query.
    HRESULT column(const std::string &sql, std::vector<std::string> &values) {
        std::unique_ptr<ProviderStatement> statement;
        HRESULT result = prepare(sql, statement);
        if (FAILED(result) || FAILED(result = statement->execute({})))
            return result;
        values.clear();
        while ((result = statement->fetch()) == S_OK) {
            size_t length = 0;
            const char *text = statement->getText(1, length);
            values.emplace_back(text, length);
        }
        return FAILED(result) ? result : S_OK;
    }

private:
    HRESULT endTransaction(const char *sql) {
        if (!inTransaction()) {
            restoreTempStore();
            CDBErrorInfo::add("No transaction is running on this session");
            return XACT_E_NOTRANSACTION;
        }
        const HRESULT result = execute(sql);
        if (!inTransaction())
            restoreTempStore();
        return result;
    }
    // A failure of either setting is no failure of the work: it is only
    // slower, so it is told nowhere.
    void restoreTempStore() {
        if (journalsInMemory && !tempDatabaseOpen() &&
            sqlite3_exec(db, "PRAGMA temp_store=DEFAULT;", nullptr, nullptr, nullptr) == SQLITE_OK)
            journalsInMemory = false;
    }
    // SQLite names no file of a temporary database that is not open.
    bool tempDatabaseOpen() const { return sqlite3_db_filename(db, "temp") != nullptr; }
    // A temporary database that is not open holds nothing; one that is open
    // is asked (a failure counts as holding something).
    bool holdsTemporaryObjects() {
        if (!tempDatabaseOpen())
            return false;
        std::vector<std::string> count;
        const bool asked = SUCCEEDED(column("SELECT count(*) FROM temp.sqlite_master;", count));
        return !asked || count.empty() || count[0] != "0";
    }
    bool runsStatement() const {
        for (sqlite3_stmt *stmt = sqlite3_next_stmt(db, nullptr); stmt; stmt = sqlite3_next_stmt(db, stmt))
            if (sqlite3_stmt_busy(stmt))
                return true;
        return false;
    }
    // Whether `name` is still the file the connection opened.
    bool sameFile(const char *name) const {
        struct stat status {};
        return atOpen.known && ::stat(name, &status) == 0 && status.st_dev == atOpen.device &&
               status.st_ino == atOpen.inode;
    }

    sqlite3 *db;
    std::string file;
    std::string madeFile; // the file the open created, for something to be written
    struct {
        bool known = false;
        dev_t device = 0;
        ino_t inode = 0;
    } atOpen; // the file when the connection opened it
    bool journalsInMemory = false;
    std::shared_ptr<StatementCache> cache = std::make_shared<StatementCache>();
};

} // namespace

HRESULT SQLiteDdl::run(const std::string &sql) {
    return static_cast<SQLiteConnection &>(connection).run(sql);
}

HRESULT SQLiteDdl::column(const std::string &sql, std::vector<std::string> &values) {
    return static_cast<SQLiteConnection &>(connection).column(sql, values);
}

HRESULT openSQLiteProvider(const InitString &init, std::unique_ptr<ProviderConnection> &connection,
                           MissingFile missing) {
    const std::string file = init.get("Data Source");
    if (file.empty()) {
        CDBErrorInfo::add("The initialisation string names no Data Source (the SQLite file)");
        return E_INVALIDARG;
    }
    // OLE DB modes: Read, ReadWrite, Share Deny None...; only Read opens read-only.
    const std::string mode = init.get("Mode");
    const bool readOnly = equalsNoCase(mode, "Read") || equalsNoCase(mode, "ReadOnly");
    sqlite3 *db = nullptr;
    // A connection is used by one thread at a time (the session's), so it
    // takes no lock of its own: in serialized mode every column read of a
    // fetch locked and unlocked the connection's mutex.
    int access = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!readOnly && missing != MissingFile::Refuse)
        access |= SQLITE_OPEN_CREATE;
    const bool made = !readOnly && missing == MissingFile::CreateIfWritten && !fileExists(file);
    int rc = sqlite3_open_v2(file.c_str(), &db, access | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_CANTOPEN && (readOnly || missing == MissingFile::Refuse) && !fileExists(file) &&
        folderExists(file)) {
        sqlite3_close_v2(db);
        CDBErrorInfo::add(missingFileText(file, readOnly));
        return E_FAIL;
    }
    if (rc != SQLITE_OK) {
        CDBErrorInfo::add(std::string(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ": " + file);
        sqlite3_close_v2(db);
        return E_FAIL;
    }
    std::unique_ptr<SQLiteConnection> opened(new SQLiteConnection(db, file, made));
    HRESULT result = opened->setUp();
    if (FAILED(result))
        return result;
    connection = std::move(opened);
    return S_OK;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
