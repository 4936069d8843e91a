#pragma once

// What the two library writables share: the [Library] row, found by name,
// inserted with a key of its own counter, changed through the rowset, and
// written to the database before the library's content refers to it.

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/readers/LibraryAccessor.h"
#include "ctraxdbpartlib/writers/CTraxDBWriteTransaction.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/TextWidthCheck.h"
#include "interface/LibHierarchyOnlyAccess.h"
#include "interface/LibraryAccess.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class T> class DBLibraryWritable : public DBTableWritable<T, LibraryAccessor> {
public:
    bool find(std::shared_ptr<T> item) override {
        item->getName(this->rowset.name, sizeof this->rowset.name, false);
        const bool found = this->findEqual(item, 1);
        libraryId = found ? this->rowset.id : -1;
        return found;
    }
    void insert(std::shared_ptr<T> item) override {
        // A new library may come without a find before it.
        this->openRowset();
        if (keyCounter == -1)
            keyCounter = runCount(this->database(), "SELECT MAX([ID]) FROM [Library];");
        libraryId = ++keyCounter;
        this->rowset.id = libraryId;
        fill(*item);
        checkResult(this->rowset.Insert());
        this->inserted(item);
    }
    void update(std::shared_ptr<T> item) override {
        fill(*item);
        this->setFound();
    }

    CTraxDBPath &getPath() { return this->database(); }
    // Starts a write afresh: the rowset is read again inside its transaction.
    void restart() {
        this->rowset.Close();
        keyCounter = -1;
        libraryId = -1;
    }

protected:
    explicit DBLibraryWritable(pathHandle_t handle)
        : DBTableWritable<T, LibraryAccessor>(
              checkedPath(handle), "SELECT [Name],[ID],[Enabled],[Comment] from [Library] ORDER BY([Name]);") {
        this->database().open(this->rowset, "SELECT [Name],[ID],[Enabled],[Comment] from [Library] ORDER BY([Name]);");
        this->rowset.Close();
        TXDB_TRACE(LOG_FINEST, "Opened library table OK");
    }

    // Executes a table's buffered statements until they are done or the
    // write is cancelled.
    void flushTable(WriteTable table, CANCEL_CALLBACK cancel) {
        CTraxDBStatementBuffers &buffers = this->statements();
        for (std::string statement = buffers.nextStatement(table);
             !(cancel && cancel()) && statement != NO_MORE_TO_WRITE; statement = buffers.nextStatement(table))
            this->database().execute(statement);
    }

    int32_t libraryId = -1;

private:
    void fill(T &item) {
        bool enabled = false;
        bool isNull = false;
        item.getName(this->rowset.name, sizeof this->rowset.name, false);
        if (!storedEnabled(item, this->rowset.enabled)) {
            item.getEnabled(enabled);
            this->rowset.enabled = enabled;
        }
        item.getComment(isNull, this->rowset.comment, sizeof this->rowset.comment);
        this->rowset.commentStatus = statusOf(isNull);
        CTraxDBStatementBuffers &buffers = this->statements();
        buffers.setLibraryName(this->rowset.name);
        const TextWidthCheck fits(this->database(), buffers.getLibraryName(), "Library", nullptr, nullptr);
        fits("Name", this->rowset.name);
        fits("Comment", this->rowset.comment, this->rowset.commentStatus);
    }

    // The stored [Enabled] of a library record that offers it; the
    // hierarchy-only records offer none.
    static bool storedEnabled(LibraryAccess &item, int32_t &enabled) { return item.getStoredEnabled(enabled); }
    static bool storedEnabled(LibHierarchyOnlyAccess &, int32_t &) { return false; }

    static pathHandle_t checkedPath(pathHandle_t handle) {
        if (!handle)
            TXDB_RAISE(IDS_NULL_PATH_HANDLE);
        if (!dynamic_cast<CTraxDBPath *>(handle.get()))
            TXDB_RAISE(IDS_INVALID_PATH_HANDLE);
        return handle;
    }

    int32_t keyCounter = -1;
};

// The two top writers: observers must not be null, and write owns the
// transaction and the statement buffers of the whole write. The buffers
// bind to the path first, so that a second write on the path is refused
// before it begins anything.
template <class T, class TWritable> class DBLibraryWriter : public DBChildWriter<T, TWritable> {
public:
    void attach(std::shared_ptr<Observer<WriterEvent>> observer) override {
        if (!observer)
            TXDB_RAISE(IDS_NULL_OBSERVER);
        DBChildWriter<T, TWritable>::attach(observer);
    }
    void detach(std::shared_ptr<Observer<WriterEvent>> observer) override {
        if (!observer)
            TXDB_RAISE(IDS_NULL_OBSERVER);
        DBChildWriter<T, TWritable>::detach(observer);
    }

    void write(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) override {
        TXDB_TRACE(LOG_FINE, writeText);
        if (!reader)
            TXDB_RAISE(IDS_NULL_READER);
        if (!cancel)
            TXDB_RAISE(IDS_NULL_CANCEL_CALLBACK);
        CTraxDBStatementBuffers buffers(this->writable.getPath());
        CTraxDBWriteTransaction transaction(this->writable.getPath());
        this->writable.restart();
        DBWriter<T>::write(reader, cancel);
        TXDB_TRACE(LOG_FINER, "Written Libraries OK");
        if (cancel()) {
            TXDB_TRACE(LOG_FINER, "Writing Libraries Canceled");
            transaction.abort();
        } else {
            transaction.commit();
        }
    }

    std::string getWriteItem(std::shared_ptr<T> item) override {
        TextBuffer<51> name = {};
        item->getName(name, sizeof name, false);
        return name;
    }

protected:
    DBLibraryWriter(const char *className, pathHandle_t path)
        : DBChildWriter<T, TWritable>(className, WRITE_TYPE_LIBRARY, std::move(path)),
          writeText(std::string(className) + "::write") {}

private:
    std::string writeText;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
