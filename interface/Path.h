#pragma once

#include <cstddef>

#ifndef TCHAR_DEFINED
#define TCHAR_DEFINED
typedef char TCHAR;
#endif

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// An opened part-library database: its connection, its schema checked when it was
/// opened.
/// openPath(TCHAR *) and openPath(CWnd *) make it and hand it out as pathHandle_t
/// (std::shared_ptr). Every reader and writer made from it, and every record that
/// can read further, holds it too: the connection stays open while any of them
/// lives, and closes when the last pointer goes.
/// getLibraryReader, getLibraryWriter and getLibHierarchyOnlyWriter refuse an empty
/// handle (32966) and a Path of another plug-in (32967) with an Exception*.
/// Every call runs on the caller's thread and nothing is synchronised: use the path,
/// and everything made from it, from one thread.
/// The declared order of the virtual functions, the destructor first, is the
/// host's vtable slot order: never reorder, remove or insert one; the class
/// grows only at its end (SlotOrderTest holds the order).
class Path {
public:
    virtual ~Path() = default;
    /// Copies the database's initialisation string, without its password, into
    /// `buffer` of `size` bytes.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) when it cannot hold the whole string.
    virtual void getPathStr(TCHAR *buffer, size_t size) = 0;
    /// Begins a transaction on the path's session. The library writers begin
    /// and end their own: do not call this around Writer::write.
    /// @throws Exception* the database's message (one already running, among others).
    virtual void startTransaction() = 0;
    /// Commits the transaction begun with startTransaction.
    /// @throws Exception* the database's message; none running is a failure.
    virtual void commitTransation() = 0;
    /// Rolls the transaction begun with startTransaction back.
    /// @throws Exception* the database's message; none running is a failure.
    virtual void abortTransaction() = 0;
    /// @return false only when the provider says the database is writable
    /// (an Access file, a Mode=Read string and a read-only file are read-only).
    virtual bool isReadOnly() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
