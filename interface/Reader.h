#pragma once

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// A forward-only cursor over records of type T.
// The declared order of the virtual functions, the destructor first, is the
// host's vtable slot order: never reorder, remove or insert one; the class
// grows only at its end (SlotOrderTest holds the order).
template <class T> class Reader {
public:
    virtual ~Reader() = default;
    // The next record; an empty pointer at the end (and after it).
    virtual std::shared_ptr<T> getNext() = 0;
    // The state under which a writer is to treat the item (0 to 4).
    virtual int getItemState(std::shared_ptr<T> item) = 0;
    // The number of records, the total of progress events.
    virtual int getCount() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
