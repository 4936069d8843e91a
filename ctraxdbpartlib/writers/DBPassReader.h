#pragma once

// The two passes over a library's part definitions and parts. A source
// whose readers ignore the selection values (the database's own records do)
// delivers every item in both passes; the second pass then skips what the
// first one delivered, so that nothing is written twice. A source that
// splits its items between the passes by the selection values never
// delivers a name twice and sees no difference. Names are unique in both
// tables, so an item is known by its name.

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "interface/Reader.h"

#include <memory>
#include <string>
#include <unordered_set>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class T> class DBPassReader : public Reader<T> {
public:
    using Names = std::unordered_set<std::string>;

    // The first pass: every item, its name noted in `written`.
    static std::shared_ptr<Reader<T>> first(std::shared_ptr<Reader<T>> source, Names &written) {
        return wrap(std::move(source), written, false);
    }
    // The second pass: the items whose names the first pass did not deliver.
    static std::shared_ptr<Reader<T>> second(std::shared_ptr<Reader<T>> source, Names &written) {
        return wrap(std::move(source), written, true);
    }

    std::shared_ptr<T> getNext() override {
        for (;;) {
            std::shared_ptr<T> item = source->getNext();
            if (!item)
                return item;
            TextBuffer<256> name = {};
            item->getName(name, sizeof name, false);
            if (!skipWritten)
                written.insert(name);
            else if (written.count(name) != 0)
                continue;
            return item;
        }
    }
    int getItemState(std::shared_ptr<T> item) override { return source->getItemState(item); }
    int getCount() override { return source->getCount(); }

private:
    DBPassReader(std::shared_ptr<Reader<T>> source, Names &written, bool skipWritten)
        : source(std::move(source)), written(written), skipWritten(skipWritten) {}

    static std::shared_ptr<Reader<T>> wrap(std::shared_ptr<Reader<T>> source, Names &written, bool skipWritten) {
        if (!source)
            return source;
        return std::shared_ptr<Reader<T>>(new DBPassReader(std::move(source), written, skipWritten));
    }

    std::shared_ptr<Reader<T>> source;
    Names &written;
    bool skipWritten;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
