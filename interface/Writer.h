#pragma once

#include "interface/Handles.h"
#include "interface/Reader.h"
#include "interface/Subject.h"
#include "interface/WriterEvent.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// Writes records of type T into the database, reporting to its observers.
/// getLibraryWriter (Writer<LibraryAccess>) and getLibHierarchyOnlyWriter
/// (Writer<LibHierarchyOnlyAccess>) make the plug-in's writers and hand them out in
/// std::shared_ptr. Such a writer holds its path, and its observers until it goes
/// or they are detached. Each call of its write begins its own transaction on the
/// path, owns it for the whole call and ends it before returning: committed, or
/// aborted on a cancel or an Exception. A second write on the same path while one
/// runs is refused with an Exception*, and so are a null reader, callback or
/// observer.
/// write runs on the caller's thread, and so do the observers' updates, the cancel
/// callback and the calls of the source reader and its records. Nothing is
/// synchronised: use a writer from one thread.
/// The declared order of the virtual functions, after Subject's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
template <class T> class Writer : public Subject<WriterEvent> {
public:
    /// Writes every record the reader hands out, each by its getItemState, with
    /// what lies below it, reporting to the attached observers before each item.
    /// The library writers begin a transaction first, commit it at the end and
    /// abort it when `cancel` answers true or an Exception comes out.
    /// @param reader the records to write: the host's own reader or one of the
    ///        plug-in's, of any database.
    /// @param cancel polled before every item of every level and once at the end;
    ///        true stops the write. A cancelled write aborts and returns normally:
    ///        the caller must remember that it cancelled.
    /// @throws Exception* "Invalid NULL Reader passed" (32968), "Invalid NULL
    ///         CANCEL_CALLBACK passed" (32969), "Failed to find item ...  in the
    ///         database" (32974) for a state 0, 2 or 3 item that is not there,
    ///         "Insert Failed. Item ... already exists in the database" (32975), or
    ///         the database's message; the transaction is aborted first.
    virtual void write(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
