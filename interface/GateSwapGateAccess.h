#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class GateSwapPinDataAccess;

/// One gate of a gate-swap group, with the reader of its pins.
/// GateSwapAccess::getGateSwapGateReader and AllGateSwapAccess::getGateSwapGateReader
/// hand these records out; the writer of getLibraryWriter reads them from a source
/// group's getGateSwapGateReader.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// A host implements it to hand its own records to a writer.
/// Its reader calls run their queries on the caller's thread and nothing is
/// synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class GateSwapGateAccess : public Access {
public:
    /// Sets `index` to the record's index.
    virtual void getIndex(int &index) = 0;
    /// Sets `equivType` to the record's equiv type.
    virtual void getEquivType(int &equivType) = 0;
    /// @return a new reader of the gate swap pin data records of this gate swap gate; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<GateSwapPinDataAccess>> getGateSwapPinDataReader() = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
