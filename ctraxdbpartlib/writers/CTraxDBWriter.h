#pragma once

// The mechanism of every writer: the item loop over a source reader, the
// dispatch on each item's write state, events to the observers before each
// item, cancellation polled once per item, and the companion Writable that
// touches the database. Concrete writers only say which writable they hold,
// how an item is named and which write type their events carry.

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/Writer.h"

#include <memory>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class T> class DBWriter;

// The write states a source reader gives its items.
enum WriteState { STATE_UNCHANGED = 0, STATE_NEW = 1, STATE_MODIFIED = 2, STATE_DELETED = 3, STATE_WRITE = 4 };

// The write types of the events, one per kind of writer.
enum WriteType {
    WRITE_TYPE_LIBRARY = 0,
    WRITE_TYPE_HIERARCHY = 1,
    WRITE_TYPE_PART_DEF = 2,
    WRITE_TYPE_PART = 3,
    WRITE_TYPE_GATE = 4,
    WRITE_TYPE_GATE_SWAP = 5,
    WRITE_TYPE_ATTRIBUTE = 6,
    WRITE_TYPE_PIN_DATA = 7,
    WRITE_TYPE_PIN_EQUIV = 8,
    WRITE_TYPE_PIN_EQUIV_DATA = 9,
    WRITE_TYPE_PROGRESS = 10,
};

// The companion of a writer that touches the database for one kind of record.
template <class T> class Writable {
public:
    // Applies the pending changes of the writable's rowset.
    virtual void flush() = 0;
    // True when the item is in the database; remembers the found row.
    virtual bool find(std::shared_ptr<T> item) = 0;
    virtual void insert(std::shared_ptr<T> item) = 0;
    virtual void update(std::shared_ptr<T> item) = 0;
    virtual void del(std::shared_ptr<T> item) = 0;
    // Writes the item's children through child writers that take over the
    // calling writer's observers.
    virtual void writeSubItems(DBWriter<T> &writer, std::shared_ptr<T> item, CANCEL_CALLBACK cancel) = 0;
    // Removes what belongs to the found item, and the item's own row.
    virtual void purge(DBWriter<T> &writer, std::shared_ptr<T> item, CANCEL_CALLBACK cancel) = 0;
    virtual ~Writable() = default;
    // Makes the found item's row the item's whole (state 4, insert or
    // replace); by default the same as update.
    virtual void replace(std::shared_ptr<T> item) { update(item); }
};

template <class T> class DBWriter : public Writer<T> {
public:
    void write(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) override { loop(reader, cancel, Loop::All); }
    // As write, but items in state 3 are neither checked nor deleted.
    virtual void writeNoDelete(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) {
        loop(reader, cancel, Loop::NoDelete);
    }
    // As write, acting only on the items in state 3.
    virtual void writeDeletions(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) {
        loop(reader, cancel, Loop::Deletions);
    }
    // Purges every item that is found, as the items are read.
    virtual void purgeFound(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) {
        Items items(*this, reader);
        Writable<T> &writable = getWritable();
        while (std::shared_ptr<T> item = items.next(cancel))
            if (writable.find(item))
                writable.purge(*this, item, cancel);
        writable.flush();
    }
    // Reads every item first, then purges each; an item that is not found
    // raises.
    virtual void purgeAll(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) {
        Items items(*this, reader);
        std::vector<std::shared_ptr<T>> all;
        while (std::shared_ptr<T> item = items.next(nullptr))
            all.push_back(item);
        Writable<T> &writable = getWritable();
        if (!cancelled(cancel)) {
            items.restart();
            for (const std::shared_ptr<T> &item : all) {
                items.announce(item);
                if (!writable.find(item))
                    raiseError(1, item);
                writable.purge(*this, item, cancel);
                if (cancelled(cancel))
                    break;
            }
        }
        writable.flush();
    }

    virtual Writable<T> &getWritable() = 0;

    // Kind 0: the item already exists; kind 1: it is not in the database.
    [[noreturn]] virtual void raiseError(int kind, std::shared_ptr<T> item) {
        std::string text;
        if (kind == 0 || kind == 1)
            text = formatNumbered(loadMessage(kind == 0 ? IDS_ITEM_EXISTS : IDS_ITEM_NOT_FOUND), {getWriteItem(item)});
        TXDB_RAISE_TEXT(text);
    }

    virtual std::string getWriteItem(std::shared_ptr<T> item) = 0;
    virtual int getWriteType() = 0;

    virtual void onInsert(std::shared_ptr<T> item) {
        Writable<T> &writable = getWritable();
        if (isDevEnabled() && writable.find(item))
            raiseError(0, item);
        writable.insert(item);
        writable.flush();
    }
    virtual void onUpdate(std::shared_ptr<T> item) {
        onVerify(item);
        getWritable().update(item);
        getWritable().flush();
    }
    virtual void onDelete(std::shared_ptr<T> item) {
        onVerify(item);
        getWritable().del(item);
    }
    virtual void onVerify(std::shared_ptr<T> item) {
        if (!getWritable().find(item))
            raiseError(1, item);
    }
    virtual void onWrite(std::shared_ptr<T> item) {
        Writable<T> &writable = getWritable();
        if (writable.find(item))
            writable.replace(item);
        else
            writable.insert(item);
    }

protected:
    // A null callback (child writers of a host that passes none) never cancels.
    static bool cancelled(CANCEL_CALLBACK cancel) { return cancel != nullptr && cancel(); }

private:
    enum class Loop { All, NoDelete, Deletions };

    // The items of a source reader, each announced to the observers before
    // it is handed out. An empty reader handle has no items.
    class Items {
    public:
        Items(DBWriter<T> &writer, const std::shared_ptr<Reader<T>> &reader)
            : writer(writer), reader(reader), event(writer.getWriteType(), "", 0, reader ? reader->getCount() : 0) {}

        // The next item, announced; empty at the end or when cancelled.
        std::shared_ptr<T> next(CANCEL_CALLBACK cancel) {
            if (!reader || cancelled(cancel))
                return nullptr;
            std::shared_ptr<T> item = reader->getNext();
            if (item)
                announce(item);
            return item;
        }
        void announce(const std::shared_ptr<T> &item) {
            event.text = writer.getWriteItem(item);
            event.index = counter++;
            writer.notify(event);
        }
        int stateOf(const std::shared_ptr<T> &item) { return reader->getItemState(item); }
        // Announces the items once more from index 0.
        void restart() { counter = 0; }

    private:
        DBWriter<T> &writer;
        std::shared_ptr<Reader<T>> reader;
        WriterEvent event;
        int counter = 0;
    };

    void loop(const std::shared_ptr<Reader<T>> &reader, CANCEL_CALLBACK cancel, Loop kind) {
        Items items(*this, reader);
        Writable<T> &writable = getWritable();
        while (std::shared_ptr<T> item = items.next(cancel)) {
            const int state = items.stateOf(item);
            if (kind == Loop::Deletions && state != STATE_DELETED)
                continue;
            dispatch(item, state, kind);
            writable.writeSubItems(*this, item, cancel);
        }
        writable.flush();
    }

    void dispatch(const std::shared_ptr<T> &item, int state, Loop kind) {
        switch (state) {
        case STATE_UNCHANGED:
            onVerify(item);
            break;
        case STATE_NEW:
            onInsert(item);
            break;
        case STATE_MODIFIED:
            onUpdate(item);
            break;
        case STATE_DELETED:
            if (kind != Loop::NoDelete)
                onDelete(item);
            break;
        case STATE_WRITE:
            onWrite(item);
            break;
        default:
            break;
        }
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
