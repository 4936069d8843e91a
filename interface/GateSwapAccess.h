#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class GateSwapGateAccess;

/// One gate-swap group of a part definition, with the reader of its gates.
/// PartDefAccess::getGateSwapReader hands these records out; the writer of
/// getLibraryWriter reads them from a source definition's getGateSwapReader.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// A host implements it to hand its own records to a writer.
/// Its reader calls run their queries on the caller's thread and nothing is
/// synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class GateSwapAccess : public Access {
public:
    /// Sets `index` to the record's index.
    virtual void getIndex(int &index) = 0;
    /// Copies the record's name into `buffer` of `size` bytes.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size) = 0;
    /// @return a new reader of the gate swap gate records of this gate swap; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<GateSwapGateAccess>> getGateSwapGateReader() = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
