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
    /// @return the next record, a new snapshot that stays valid after the
    /// reader goes; an empty pointer at the end, and on every call after it.
    /// @throws Exception* the database's message when the next row cannot be read.
    virtual std::shared_ptr<T> getNext() = 0;
    /// @return the state under which a writer is to treat `item`: 0 unchanged
    /// (must exist), 1 new, 2 modified, 3 deleted, 4 write (insert or replace).
    /// The plug-in's readers answer 4 for every record.
    virtual int getItemState(std::shared_ptr<T> item) = 0;
    /// @return the number of records the reader hands out in all (the `total`
    /// of the writers' events), counted when the reader was made.
    virtual int getCount() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
