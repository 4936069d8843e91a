#pragma once

// The shared mechanism of the writables: the path, an updatable rowset over
// the parent's rows of one table (opened on first use, with the parameters
// already in its row record), finds by a column's value and by position,
// changes and deletions of the found row applied at flush, and the delete
// that waits until the item's children have been written. A writable whose
// parent row is new in this write knows that no stored row belongs to it
// and finds nothing without asking the database. The writable reaches the
// statement buffers of its library write through its path.

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/writers/CTraxDBStatementBuffers.h"
#include "ctraxdbpartlib/writers/CTraxDBWriter.h"

#include <memory>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The status of a value that an item reports with a null flag.
inline DBSTATUS statusOf(bool isNull) {
    return isNull ? DBSTATUS_S_ISNULL : DBSTATUS_S_OK;
}

template <class T, class TRow> class DBTableWritable : public Writable<T> {
public:
    using Rowset = CCommand<CAccessor<TRow>>;

    void flush() override {
        if (rowset.isOpen())
            checkResult(rowset.Update());
    }

    // Deletion waits for the children by default: writeSubItems purges.
    void del(std::shared_ptr<T>) override { deletePending = true; }

    // The row record: the row last found or inserted, from which child
    // writers take their parent key.
    TRow &row() { return rowset; }

protected:
    DBTableWritable(pathHandle_t path, std::string select) : path(std::move(path)), select(std::move(select)) {}
    // The rows below a parent row of `parentTable`: when this write has
    // buffered the parent, none of them is stored.
    DBTableWritable(pathHandle_t path, std::string select, WriteTable parentTable, int32_t parentId)
        : path(std::move(path)), select(std::move(select)),
          parentStored(!statements().isNewKey(parentTable, parentId)) {}

    CTraxDBPath &database() { return dbPath(path); }
    // The statement buffers of the library write that runs on the path.
    CTraxDBStatementBuffers &statements() { return CTraxDBStatementBuffers::of(database()); }

    // Finds the first row whose column `ordinal` equals the value the row
    // record holds in that column.
    bool findEqual(const std::shared_ptr<T> &item, int ordinal) {
        return found(item, searched() && isFound(openRowset().FindFirstRow(ordinal)));
    }
    // Finds the row at `position` (0 for the first) in the rowset's order.
    bool findAt(const std::shared_ptr<T> &item, int position) {
        return found(item, searched() && position >= 0 && isFound(openRowset().MoveToRow(position)));
    }
    // Notes the outcome of a find made another way.
    bool found(const std::shared_ptr<T> &item, bool result) {
        current = result ? std::weak_ptr<T>(item) : std::weak_ptr<T>();
        return result;
    }
    // Notes that the row record now holds the item, newly inserted.
    void inserted(const std::shared_ptr<T> &item) { current = item; }
    // True when the last find or insert was of this item.
    bool holds(const std::shared_ptr<T> &item) const {
        return !current.owner_before(item) && !item.owner_before(current) && !current.expired();
    }

    // While details are replayed, nothing is written: the row record alone
    // changes.
    bool replaying() { return statements().replay() != Replay::Off; }
    // An insert that a replay leaves out; the item counts as inserted, so
    // that its members' loops run.
    bool replayedInsert(const std::shared_ptr<T> &item) {
        if (!replaying())
            return false;
        inserted(item);
        return true;
    }

    // Changes the found row to the row record's values; its texts are held
    // to their columns as an insert's are.
    void setFound() {
        if (replaying())
            return;
        checkTexts(statements(), rowset, 0);
        checkResult(rowset.SetData());
    }
    // The checks of setFound for a row that already holds the record's
    // values, which is not written again. Whether the rows take changes is
    // asked of the first rowset of the query in the write.
    void keepFound() {
        if (replaying())
            return;
        checkTexts(statements(), rowset, 0);
        if (statements().changeable(select))
            return;
        checkResult(openRowset().checkChangeable());
        statements().setChangeable(select);
    }
    void deleteFound() {
        if (!replaying())
            checkResult(rowset.Delete());
    }
    void deleteFoundNow() {
        deleteFound();
        flush();
    }

    // Runs the purge that del left for after the children.
    void purgeIfPending(DBWriter<T> &writer, const std::shared_ptr<T> &item, CANCEL_CALLBACK cancel) {
        if (!deletePending)
            return;
        deletePending = false;
        this->purge(writer, item, cancel);
    }

    // Child writers take over the observers of the calling writer.
    template <class TWriter> TWriter &adopt(TWriter &child, Subject<WriterEvent> &parent) {
        child.attachAll(parent);
        return child;
    }

    pathHandle_t path;
    Rowset rowset;
    bool deletePending = false;

    // The rowset, opened on first use.
    Rowset &openRowset() {
        if (!rowset.isOpen())
            database().open(rowset, select);
        return rowset;
    }

private:
    // Whether a find asks the stored rows: not when the parent is new in this
    // write, and not while a replay writes the source's rows as new.
    bool searched() { return parentStored && statements().replay() != Replay::Rewrite; }

    // The buffers' text check of the row type, for the row types that have
    // one; rows of keys and codes alone have none.
    template <class Row>
    static auto checkTexts(const CTraxDBStatementBuffers &buffers, const Row &row, int)
        -> decltype(buffers.checkTexts(row)) {
        buffers.checkTexts(row);
    }
    template <class Row> static void checkTexts(const CTraxDBStatementBuffers &, const Row &, long) {}

    static bool isFound(HRESULT result) {
        checkResult(result);
        return result == S_OK;
    }

    std::string select;
    bool parentStored = true;
    std::weak_ptr<T> current;
};

// A writer that holds its writable by value and traces its life.
template <class T, class TWritable> class DBChildWriter : public DBWriter<T> {
public:
    ~DBChildWriter() override { TXDB_TRACE(LOG_FINEST, className + "::~" + className); }
    Writable<T> &getWritable() override { return writable; }
    int getWriteType() override { return writeType; }

protected:
    template <class... Args>
    DBChildWriter(std::string className, int writeType, Args &&...args)
        : writable(std::forward<Args>(args)...), className(std::move(className)), writeType(writeType) {
        TXDB_TRACE(LOG_FINER, this->className + "::" + this->className);
    }

    TWritable writable;

private:
    std::string className;
    int writeType;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
