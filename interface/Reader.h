#pragma once

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// A forward-only, single-pass cursor over records of type T.
/// The plug-in makes its readers in getLibraryReader, getPathDataReader and the
/// records' reader calls, and hands them out in std::shared_ptr. Such a reader runs
/// its query when it is made, so a failure (a malformed filter among them) comes
/// out of that call and no reader is made. It keeps no pointer to its filter or to
/// the record it was made from; it holds the path (a PathData reader its source),
/// so the database stays open while it lives. To read again, ask for a new reader.
/// A host implements it to hand its own records to a writer, which calls getCount
/// once, then getNext until the end or a cancel, and getItemState for each record.
/// Every call runs on the caller's thread and nothing is synchronised: use a reader
/// from one thread.
/// The declared order of the virtual functions, the destructor first, is the
/// host's vtable slot order: never reorder, remove or insert one; the class
/// grows only at its end (SlotOrderTest holds the order).
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
