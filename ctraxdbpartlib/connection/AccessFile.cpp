#include "ctraxdbpartlib/connection/AccessFile.h"

#include "ctraxdbpartlib/connection/StderrCapture.h"

// mdbtools.h includes glib inside extern "C", which glib's C++ parts do not
// stand; included first, glib is left out there.
#include <glib.h>

#include <mdbtools.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// The flags libmdb keeps in a row's offset.
constexpr int ROW_OFFSET_MASK = 0x1fff;

// What libmdb printed, as the cause at the end of a message.
std::string because(StderrCapture &capture) {
    const std::string cause = capture.lastLine();
    return cause.empty() ? std::string() : " (" + cause + ")";
}

struct TableDef {
    explicit TableDef(MdbTableDef *table) : table(table) {}
    ~TableDef() {
        if (table)
            mdb_free_tabledef(table);
    }
    TableDef(const TableDef &) = delete;
    TableDef &operator=(const TableDef &) = delete;
    MdbTableDef *table;
};

MdbColumn *columnAt(MdbTableDef *table, unsigned index) {
    return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index));
}

// One field of the row libmdb has just fetched, as its text.
AccessFile::Value valueOf(MdbHandle *mdb, const MdbColumn &column, const MdbField &field) {
    // A Yes/No column keeps its value in the row's null mask.
    if (column.col_type == MDB_BOOL)
        return std::string(field.is_null ? "0" : "1");
    if (field.is_null)
        return std::nullopt;
    char *text = mdb_col_to_string(mdb, mdb->pg_buf, field.start, column.col_type, field.siz);
    AccessFile::Value value = std::string(text ? text : "");
    g_free(text);
    return value;
}

} // namespace

struct AccessFile::Handle {
    Handle(MdbHandle *mdb, std::string path) : mdb(mdb), path(std::move(path)) {}
    ~Handle() { mdb_close(mdb); }
    MdbHandle *mdb;
    std::string path;
};

AccessFile::AccessFile(std::unique_ptr<Handle> handle, std::vector<std::string> tables)
    : handle(std::move(handle)), tables(std::move(tables)) {}

AccessFile::~AccessFile() = default;

std::unique_ptr<AccessFile> AccessFile::open(const std::string &path, std::string &error) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || ::access(path.c_str(), R_OK) != 0) {
        error = "Cannot open the Access file " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        error = path + " is not a file, so no Access file";
        return nullptr;
    }
    StderrCapture capture;
    MdbHandle *mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!mdb) {
        error = path + " is not an Access file (.mdb or .accdb)" + because(capture);
        return nullptr;
    }
    std::unique_ptr<Handle> handle(new Handle(mdb, path));
    GPtrArray *catalog = mdb_read_catalog(mdb, MDB_TABLE);
    if (!catalog) {
        error = "The Access file " + path + " is damaged: its list of tables cannot be read" + because(capture);
        return nullptr;
    }
    std::vector<std::string> tables;
    for (guint i = 0; i < catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            tables.emplace_back(entry->object_name);
    }
    return std::unique_ptr<AccessFile>(new AccessFile(std::move(handle), std::move(tables)));
}

bool AccessFile::readTable(const std::string &name,
                           const std::function<bool(const std::vector<std::string> &)> &onColumns,
                           const std::function<bool(const Row &)> &onRow, std::string &error) {
    MdbHandle *mdb = handle->mdb;
    StderrCapture capture;
    const std::string damaged = "The Access file " + handle->path + " is damaged: its table " + name;
    std::string tableName = name;
    TableDef def(mdb_read_table_by_name(mdb, tableName.data(), MDB_TABLE));
    MdbTableDef *table = def.table;
    if (!table || !mdb_read_columns(table)) {
        error = damaged + " cannot be read" + because(capture);
        return false;
    }
    std::vector<std::string> columns;
    for (unsigned i = 0; i < table->num_cols; ++i)
        columns.emplace_back(columnAt(table, i)->name);
    if (!onColumns(columns))
        return false;
    mdb_rewind_table(table);
    std::vector<MdbField> fields(table->num_cols + 1);
    Row row(table->num_cols);
    unsigned rows = 0;
    while (mdb_fetch_row(table)) {
        // The fetch has read the row on the page at hand; it is taken apart
        // again here, as the fetch tells an empty text from NULL nowhere.
        int start = 0;
        size_t size = 0;
        if (table->cur_row == 0 || mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(table, start & ROW_OFFSET_MASK, size, fields.data()) < static_cast<int>(table->num_cols)) {
            error = damaged + " holds a row that cannot be read" + because(capture);
            return false;
        }
        for (unsigned i = 0; i < table->num_cols; ++i) {
            const unsigned column = static_cast<unsigned>(fields[i].colnum);
            if (column >= table->num_cols) {
                error = damaged + " holds a row that cannot be read";
                return false;
            }
            row[column] = valueOf(mdb, *columnAt(table, column), fields[i]);
        }
        ++rows;
        if (!onRow(row))
            return false;
    }
    if (rows != table->num_rows) {
        error = damaged + " gave " + std::to_string(rows) + " of its " + std::to_string(table->num_rows) + " rows" +
                because(capture);
        return false;
    }
    return true;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
