#pragma once

// The pins of a gate or of a gate of a swap group: link rows found by
// position (first among the links this write has buffered for the gate,
// then among the stored ones), each pointing at a pin of the definition
// that the pin rule resolves. A link is deleted at once, the links of a
// purge when its loop ends.

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class T, class TRow> class DBGroupPinWritable : public DBTableWritable<T, TRow> {
public:
    bool find(std::shared_ptr<T> item) override {
        int index = -1;
        item->getIndex(index);
        const Replay replay = this->statements().replay();
        pendingFound = replay != Replay::Rewrite && index >= 0 && static_cast<size_t>(index) < pendingLinks().size();
        if (pendingFound)
            return this->found(item, true);
        // A replayed purge goes through the links a reader of the stored
        // ones delivers, no more than the gate's rows: each one is there.
        if (replay == Replay::Purge)
            return this->found(item, index >= 0);
        return this->findAt(item, index);
    }
    void insert(std::shared_ptr<T> item) override {
        if (this->replayedInsert(item))
            return;
        bufferLink(pinKey(*item));
        this->inserted(item);
    }
    void update(std::shared_ptr<T> item) override {
        refusePending(*item);
        this->rowset.pinDataId = pinKey(*item);
        this->setFound();
    }
    void del(std::shared_ptr<T> item) override {
        refusePending(*item);
        this->deleteFoundNow();
    }
    void writeSubItems(DBWriter<T> &, std::shared_ptr<T>, CANCEL_CALLBACK) override {}
    // The links of a purged gate go together, when the purge's loop ends.
    void purge(DBWriter<T> &, std::shared_ptr<T> item, CANCEL_CALLBACK) override {
        refusePending(*item);
        this->deleteFound();
    }

protected:
    DBGroupPinWritable(pathHandle_t path, std::string select, WriteTable parentTable, int32_t parentId,
                       int32_t partDefId, const char *notFoundFormat)
        : DBTableWritable<T, TRow>(std::move(path), std::move(select), parentTable, parentId), partDefId(partDefId),
          notFoundFormat(notFoundFormat) {}

    // The links this write has buffered for the gate, in order.
    virtual const std::vector<int32_t> &pendingLinks() = 0;
    // Buffers a link of the gate to the pin.
    virtual void bufferLink(int32_t pinKey) = 0;
    // The identifier the item names, and whether the pin is to be created.
    virtual std::string identifierOf(T &item, bool &create) = 0;

private:
    int32_t pinKey(T &item) {
        bool create = false;
        const std::string identifier = identifierOf(item, create);
        return resolvePinKey(this->database(), partDefId, identifier, create, notFoundFormat);
    }
    // A link buffered earlier in this write is not in the database yet.
    void refusePending(T &item) {
        if (!pendingFound)
            return;
        int index = -1;
        item.getIndex(index);
        TXDB_RAISE_TEXT("The pin at position " + std::to_string(index) +
                        " was written earlier in this write and cannot be changed or removed in the same write");
    }

    int32_t partDefId;
    const char *notFoundFormat;
    bool pendingFound = false;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
