#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class PinEquivDataAccess;

/// One pin-equivalence group of a part definition, with the reader of its pins.
/// PartDefAccess::getPinEquivReader hands these records out; the writer of
/// getLibraryWriter reads them from a source definition's getPinEquivReader.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// A host implements it to hand its own records to a writer.
/// Its reader calls run their queries on the caller's thread and nothing is
/// synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class PinEquivAccess : public Access {
public:
    /// Sets `index` to the record's equiv index.
    virtual void getEquivIndex(int &index) = 0;
    /// @return a new reader of the pin equiv data records of this pin equiv; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PinEquivDataAccess>> getEquivilentPins() = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
